// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/project_archive.h"

#include <limits>
#include <utility>
#include <zip.h>

namespace lirobel::vpr {

namespace {

// A sequence beyond this is no song's, and the file it would make could not be handled whole anyway.
constexpr zip_uint64_t kLargestSequence = 1u << 30;

constexpr QByteArrayView kLocalHeaderSignature = "PK\x03\x04";

QString ZipErrorText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

void YieldWhileWriting(zip_t*, double, void* yield) {
    if (const auto& call = *static_cast<const std::function<void()>*>(yield))
        call();
}

} // namespace

ProjectArchive::ProjectArchive(QByteArrayView bytes) {
    zip_error_t error;
    zip_error_init(&error);
    m_source = zip_source_buffer_create(bytes.data(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (m_source)
        m_archive = zip_open_from_source(m_source, ZIP_CHECKCONS, &error);
    if (m_archive) {
        // Kept beyond zip_close, which writes the new archive into it.
        zip_source_keep(m_source);
        m_state = State::Open;
    } else {
        m_state = bytes.startsWith(kLocalHeaderSignature) ? State::Damaged : State::NotArchive;
        m_error = ZipErrorText(&error);
    }
    zip_error_fini(&error);
}

ProjectArchive::~ProjectArchive() {
    if (m_archive)
        zip_discard(m_archive);
    if (m_source)
        zip_source_free(m_source);
}

bool ProjectArchive::Fail(QString cause) {
    m_error = std::move(cause);
    return false;
}

ProjectArchive::Sequence ProjectArchive::FindSequence() {
    const zip_int64_t count = zip_get_num_entries(m_archive, 0);
    int found = 0;
    for (zip_int64_t index = 0; index < count; ++index) {
        const char* name = zip_get_name(m_archive, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
        if (!name)
            continue;
        if (QByteArray(name).replace('\\', '/') != kSequenceName)
            continue;
        if (++found == 1) {
            m_sequenceIndex = index;
            m_sequenceName = name;
        }
    }
    return found == 0 ? Sequence::None : found == 1 ? Sequence::One : Sequence::Ambiguous;
}

bool ProjectArchive::ReadSequence(QByteArray& content) {
    const auto index = static_cast<zip_uint64_t>(m_sequenceIndex);
    zip_stat_t status;
    if (zip_stat_index(m_archive, index, 0, &status) != 0 || !(status.valid & ZIP_STAT_SIZE))
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    if (status.size > kLargestSequence)
        return Fail(QStringLiteral("it is larger than 1 GiB"));
    zip_file_t* file = zip_fopen_index(m_archive, index, 0);
    if (!file)
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    content.resize(static_cast<qsizetype>(status.size));
    const zip_int64_t read = zip_fread(file, content.data(), status.size);
    QString cause = read < 0 ? QString::fromUtf8(zip_file_strerror(file)) : QString();
    // Reading on past the end is what makes libzip check the CRC.
    char beyond = 0;
    if (read >= 0 && zip_fread(file, &beyond, 1) != 0)
        cause = QString::fromUtf8(zip_file_strerror(file));
    if (zip_fclose(file) != 0 && cause.isEmpty())
        cause = QString::fromUtf8(zip_strerror(m_archive));
    if (cause.isEmpty() && static_cast<zip_uint64_t>(read) != status.size)
        cause = QStringLiteral("it is shorter than the archive says");
    return cause.isEmpty() || Fail(std::move(cause));
}

bool ProjectArchive::ReplaceSequence(QByteArrayView content, const std::function<void()>& yield, QByteArray& archive) {
    const auto index = static_cast<zip_uint64_t>(m_sequenceIndex);
    zip_stat_t status;
    if (zip_stat_index(m_archive, index, 0, &status) != 0)
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    // Without its method given again, libzip would deflate a stored entry. A deflated one is deflated at
    // libzip's best level: given the entry's own method, libzip drops any other level.
    const auto method = static_cast<zip_int32_t>(status.comp_method);
    if (!zip_compression_method_supported(method, 1))
        return Fail(QStringLiteral("the sequence's compression method (%1) cannot be written").arg(method));
    zip_source_t* replacement =
        zip_source_buffer(m_archive, content.data(), static_cast<zip_uint64_t>(content.size()), 0);
    if (!replacement)
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    if (zip_file_replace(m_archive, index, replacement, 0) != 0) {
        zip_source_free(replacement);
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    }
    // The entry's time stays too, so that pouring the same items again gives the same file.
    if (zip_set_file_compression(m_archive, index, method, 0) != 0 ||
        ((status.valid & ZIP_STAT_MTIME) && zip_file_set_mtime(m_archive, index, status.mtime, 0) != 0))
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    zip_register_progress_callback_with_state(m_archive, 0.01, YieldWhileWriting, nullptr,
                                              const_cast<std::function<void()>*>(&yield));
    if (zip_close(m_archive) != 0)
        return Fail(QString::fromUtf8(zip_strerror(m_archive)));
    m_archive = nullptr;

    zip_stat_t written;
    if (zip_source_open(m_source) != 0)
        return Fail(ZipErrorText(zip_source_error(m_source)));
    bool ok = zip_source_stat(m_source, &written) == 0 && (written.valid & ZIP_STAT_SIZE) &&
              written.size <= static_cast<zip_uint64_t>(std::numeric_limits<qsizetype>::max());
    if (ok) {
        archive.resize(static_cast<qsizetype>(written.size));
        ok = zip_source_read(m_source, archive.data(), written.size) == static_cast<zip_int64_t>(written.size);
    }
    if (!ok)
        Fail(ZipErrorText(zip_source_error(m_source)));
    zip_source_close(m_source);
    return ok;
}

} // namespace lirobel::vpr
