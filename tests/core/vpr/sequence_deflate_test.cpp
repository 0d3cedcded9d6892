// SPDX-License-Identifier: GPL-3.0-or-later
// The pour deflates a project's new sequence itself, in the form the project had it.
#include "core/vpr/pour_song.h"
#include "support/test_files.h"
#include "support/vpr_generator.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zip.h>

namespace lirobel::vpr {
namespace {

using test::VprLayout;

// An archive as an archiver packs it: the sequence really compressed.
QByteArray Repacked(const QByteArray& sequence) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    zip_source_keep(target);
    zip_file_add(archive, "Project/sequence.json",
                 zip_source_buffer(archive, sequence.data(), static_cast<zip_uint64_t>(sequence.size()), 0), 0);
    zip_close(archive);
    zip_stat_t status;
    zip_source_open(target);
    zip_source_stat(target, &status);
    QByteArray bytes(static_cast<qsizetype>(status.size), Qt::Uninitialized);
    zip_source_read(target, bytes.data(), status.size);
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

TEST(SequenceDeflate, KeepsStoredBlocksStoredAndCompressedCompressed) {
    const std::vector<test::VprNote> notes = test::GenerateVprNotes(VprLayout::Version5, 400);
    const QByteArray sequence = test::GenerateSequence(VprLayout::Version5, notes);
    struct Row {
        const char* name;
        QByteArray file;
        bool compressed;
    };
    const Row rows[] = {{"editor", test::GenerateVpr(VprLayout::Version5, sequence), false},
                        {"repacked", Repacked(sequence), true}};
    for (const Row& row : rows) {
        QTemporaryDir folder;
        const QString path = test::WriteFile(folder.filePath(QStringLiteral("song.vpr")), row.file);
        vsqx::PourProgress quiet;
        ASSERT_EQ(PourPhoneticIntoSong(path, QStringLiteral("k a|J i[-OPE]|").repeated(200), quiet).notesWritten, 400)
            << row.name;
        const QByteArray poured = test::ReadFile(path);
        const test::ZipRecord before = test::ZipRecords(row.file).front();
        const test::ZipRecord after = test::ZipRecords(poured).front();
        EXPECT_EQ(after.method, 8) << row.name;
        EXPECT_NE(after.content, before.content) << row.name;
        // The general purpose flags (offset 6) stay as they were, whatever level made the data.
        EXPECT_EQ(after.record.mid(6, 2), before.record.mid(6, 2)) << row.name;
        const auto data = qFromLittleEndian<quint32>(after.record.constData() + 18);
        EXPECT_EQ(data < after.content.size() / 2, row.compressed) << row.name;
    }
}

} // namespace
} // namespace lirobel::vpr
