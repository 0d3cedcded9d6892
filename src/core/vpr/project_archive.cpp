// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/project_archive.h"

#include "core/vpr/zip_library.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <zlib.h>

namespace lirobel::vpr {

// The new sequence as a deflated entry's data, which libzip copies as it is: the stream, and the size and
// CRC of what it holds.
struct DeflatedContent {
    explicit DeflatedContent(const ZipLibrary& library) : zip(library) {}
    const ZipLibrary& zip;
    QByteArray stream;
    zip_uint64_t size = 0;
    zip_uint32_t crc = 0;
    qsizetype served = 0;
};

namespace {

// A sequence beyond this is no song's, and the file it would make could not be handled whole anyway.
constexpr zip_uint64_t kLargestSequence = 1u << 30;

constexpr QByteArrayView kLocalHeaderSignature = "PK\x03\x04";
// An archive ends with its end of central directory record and a comment of at most 64 KiB: libzip reads
// no archive without that record in the last 64 KiB and some bytes. Twice that is searched to be safe.
constexpr QByteArrayView kEndRecordSignature = "PK\x05\x06";
constexpr qsizetype kEndRecordReach = 128 * 1024;

// Whether libzip could read the bytes as an archive, judged without it: a file of another kind, such as
// the text that a pour is sometimes given by mistake, is told so without loading libzip (nor failing when
// it is missing).
bool MayBeArchive(QByteArrayView bytes) {
    return bytes.startsWith(kLocalHeaderSignature) ||
           bytes.last(std::min(bytes.size(), kEndRecordReach)).contains(kEndRecordSignature);
}

QString ZipErrorText(const ZipLibrary& zip, zip_error_t* error) {
    return QString::fromUtf8(zip.zip_error_strerror(error));
}

void YieldWhileWriting(zip_t*, double, void* yield) {
    if (const auto& call = *static_cast<const std::function<void()>*>(yield))
        call();
}

// The editors of version 5 write their entries deflated as stored blocks, the data as it is in blocks of
// up to 64 KiB: a sequence that was so (its data no smaller than its content) is written so again, which
// keeps the project the size it had and costs no more than a copy. One that was really compressed is
// compressed again, quickly: a project repacked by an archiver should not grow tenfold.
int DeflateLevelLike(const zip_stat_t& status) {
    const bool stored =
        (status.valid & ZIP_STAT_COMP_SIZE) && (status.valid & ZIP_STAT_SIZE) && status.comp_size >= status.size;
    return stored ? Z_NO_COMPRESSION : Z_BEST_SPEED;
}

bool Deflate(QByteArrayView content, int level, DeflatedContent& deflated) {
    z_stream stream{};
    // Raw deflate, as a ZIP entry holds it: no zlib header, a window of 32 KiB.
    if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    const auto size = static_cast<uLong>(content.size());
    deflated.stream = QByteArray(static_cast<qsizetype>(deflateBound(&stream, size)), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.next_out = reinterpret_cast<Bytef*>(deflated.stream.data());
    // zlib counts in 32 bits: a sequence of up to 1 GiB passes in pieces.
    qsizetype left = content.size();
    int result = Z_OK;
    while (result == Z_OK) {
        const auto piece = static_cast<uInt>(std::min<qsizetype>(left, std::numeric_limits<int>::max()));
        stream.avail_in = piece;
        stream.avail_out = static_cast<uInt>(std::min<qsizetype>(
            deflated.stream.size() - static_cast<qsizetype>(stream.total_out), std::numeric_limits<int>::max()));
        left -= piece;
        result = deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
    }
    deflated.stream.truncate(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return false;
    deflated.size = static_cast<zip_uint64_t>(content.size());
    deflated.crc = static_cast<zip_uint32_t>(crc32_z(
        crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(content.data()), static_cast<z_size_t>(content.size())));
    return true;
}

// A libzip source of the deflated content that says what it is, so that libzip neither compresses it
// again nor reads it to find its CRC.
zip_int64_t ServeDeflated(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& deflated = *static_cast<DeflatedContent*>(state);
    const ZipLibrary& zip = deflated.zip;
    switch (command) {
    case ZIP_SOURCE_OPEN:
        deflated.served = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const auto piece = static_cast<qsizetype>(
            std::min<zip_uint64_t>(length, static_cast<zip_uint64_t>(deflated.stream.size() - deflated.served)));
        std::memcpy(data, deflated.stream.constData() + deflated.served, static_cast<size_t>(piece));
        deflated.served += piece;
        return piece;
    }
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t))
            return -1;
        auto* status = static_cast<zip_stat_t*>(data);
        zip.zip_stat_init(status);
        status->valid =
            ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
        status->size = deflated.size;
        status->comp_size = static_cast<zip_uint64_t>(deflated.stream.size());
        status->comp_method = ZIP_CM_DEFLATE;
        status->crc = deflated.crc;
        status->encryption_method = ZIP_EM_NONE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR: {
        // Nothing here fails; libzip asks only after a failure of its own.
        zip_error_t none;
        zip.zip_error_init(&none);
        const zip_int64_t size = zip.zip_error_to_data(&none, data, length);
        zip.zip_error_fini(&none);
        return size;
    }
    case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_READABLE;
    default:
        return -1;
    }
}

} // namespace

ProjectArchive::ProjectArchive(QByteArrayView bytes) {
    if (!MayBeArchive(bytes))
        return;
    m_zip = LoadedZipLibrary(&m_error);
    if (!m_zip) {
        m_state = State::NoLibrary;
        return;
    }
    zip_error_t error;
    m_zip->zip_error_init(&error);
    m_source = m_zip->zip_source_buffer_create(bytes.data(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (m_source)
        m_archive = m_zip->zip_open_from_source(m_source, ZIP_CHECKCONS, &error);
    if (m_archive) {
        // Kept beyond zip_close, which writes the new archive into it.
        m_zip->zip_source_keep(m_source);
        m_state = State::Open;
    } else {
        m_state = bytes.startsWith(kLocalHeaderSignature) ? State::Damaged : State::NotArchive;
        m_error = ZipErrorText(*m_zip, &error);
    }
    m_zip->zip_error_fini(&error);
}

ProjectArchive::~ProjectArchive() {
    if (m_archive)
        m_zip->zip_discard(m_archive);
    if (m_source)
        m_zip->zip_source_free(m_source);
}

bool ProjectArchive::Fail(QString cause) {
    m_error = std::move(cause);
    return false;
}

ProjectArchive::Sequence ProjectArchive::FindSequence() {
    const zip_int64_t count = m_zip->zip_get_num_entries(m_archive, 0);
    int found = 0;
    for (zip_int64_t index = 0; index < count; ++index) {
        const char* name = m_zip->zip_get_name(m_archive, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
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
    if (m_zip->zip_stat_index(m_archive, index, 0, &status) != 0 || !(status.valid & ZIP_STAT_SIZE))
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    if (status.size > kLargestSequence)
        return Fail(QStringLiteral("it is larger than 1 GiB"));
    zip_file_t* file = m_zip->zip_fopen_index(m_archive, index, 0);
    if (!file)
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    content.resize(static_cast<qsizetype>(status.size));
    const zip_int64_t read = m_zip->zip_fread(file, content.data(), status.size);
    QString cause = read < 0 ? QString::fromUtf8(m_zip->zip_file_strerror(file)) : QString();
    // Reading on past the end is what makes libzip check the CRC.
    char beyond = 0;
    if (read >= 0 && m_zip->zip_fread(file, &beyond, 1) != 0)
        cause = QString::fromUtf8(m_zip->zip_file_strerror(file));
    if (m_zip->zip_fclose(file) != 0 && cause.isEmpty())
        cause = QString::fromUtf8(m_zip->zip_strerror(m_archive));
    if (cause.isEmpty() && static_cast<zip_uint64_t>(read) != status.size)
        cause = QStringLiteral("it is shorter than the archive says");
    return cause.isEmpty() || Fail(std::move(cause));
}

bool ProjectArchive::ReplaceSequence(QByteArray content, const std::function<void()>& yield, QByteArray& archive) {
    const auto index = static_cast<zip_uint64_t>(m_sequenceIndex);
    zip_stat_t status;
    if (m_zip->zip_stat_index(m_archive, index, 0, &status) != 0)
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    // Without its method given again, libzip would deflate a stored entry.
    const auto method = static_cast<zip_int32_t>(status.comp_method);
    if (!m_zip->zip_compression_method_supported(method, 1))
        return Fail(QStringLiteral("the sequence's compression method (%1) cannot be written").arg(method));
    zip_source_t* replacement = nullptr;
    if (method == ZIP_CM_DEFLATE) {
        // Deflated here, not by libzip, which would take its slowest level whatever it is asked for.
        const int level = DeflateLevelLike(status);
        m_deflated = std::make_unique<DeflatedContent>(*m_zip);
        if (!Deflate(content, level, *m_deflated))
            return Fail(QStringLiteral("cannot compress the sequence"));
        content = QByteArray();
        replacement = m_zip->zip_source_function(m_archive, ServeDeflated, m_deflated.get());
    } else {
        m_content = std::move(content);
        replacement =
            m_zip->zip_source_buffer(m_archive, m_content.constData(), static_cast<zip_uint64_t>(m_content.size()), 0);
    }
    if (!replacement)
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    if (m_zip->zip_file_replace(m_archive, index, replacement, 0) != 0) {
        m_zip->zip_source_free(replacement);
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    }
    // The entry's time stays too, so that pouring the same items again gives the same file.
    if (m_zip->zip_set_file_compression(m_archive, index, method, 0) != 0 ||
        ((status.valid & ZIP_STAT_MTIME) && m_zip->zip_file_set_mtime(m_archive, index, status.mtime, 0) != 0))
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    m_zip->zip_register_progress_callback_with_state(m_archive, 0.01, YieldWhileWriting, nullptr,
                                                     const_cast<std::function<void()>*>(&yield));
    if (m_zip->zip_close(m_archive) != 0)
        return Fail(QString::fromUtf8(m_zip->zip_strerror(m_archive)));
    m_archive = nullptr;
    // libzip has freed the sources that read them.
    m_content = QByteArray();
    m_deflated.reset();

    zip_stat_t written;
    if (m_zip->zip_source_open(m_source) != 0)
        return Fail(ZipErrorText(*m_zip, m_zip->zip_source_error(m_source)));
    bool ok = m_zip->zip_source_stat(m_source, &written) == 0 && (written.valid & ZIP_STAT_SIZE) &&
              written.size <= static_cast<zip_uint64_t>(std::numeric_limits<qsizetype>::max());
    if (ok) {
        archive = QByteArray(static_cast<qsizetype>(written.size), Qt::Uninitialized);
        ok = m_zip->zip_source_read(m_source, archive.data(), written.size) == static_cast<zip_int64_t>(written.size);
    }
    if (!ok)
        Fail(ZipErrorText(*m_zip, m_zip->zip_source_error(m_source)));
    m_zip->zip_source_close(m_source);
    return ok;
}

} // namespace lirobel::vpr
