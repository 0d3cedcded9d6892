// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/rewrite_project.h"

#include "core/vpr/project_archive.h"
#include "core/vpr/put_phonetic_to_sequence.h"
#include "core/vpr/sequence_json.h"

#include <utility>

namespace lirobel::vpr {

namespace {

vsqx::PhoneticRewrite Failure(QString cause) {
    return {false, {}, 0, std::move(cause)};
}

} // namespace

std::optional<QString> OpenSequence(ProjectArchive& archive, QByteArray& json, SequenceScan& scan) {
    if (archive.Opened() == ProjectArchive::State::NotArchive)
        return std::nullopt;
    if (archive.Opened() == ProjectArchive::State::Damaged)
        return QStringLiteral("the file is a ZIP archive that cannot be read: %1").arg(archive.ErrorString());
    if (archive.Opened() == ProjectArchive::State::NoLibrary)
        return QStringLiteral("the file may be a ZIP archive, which cannot be read here: %1")
            .arg(archive.ErrorString());
    switch (archive.FindSequence()) {
    case ProjectArchive::Sequence::None:
        return std::nullopt;
    case ProjectArchive::Sequence::Ambiguous:
        return QStringLiteral("the archive holds both \"Project\\sequence.json\" and "
                              "\"Project/sequence.json\", and which of them is the song is unclear");
    case ProjectArchive::Sequence::One:
        break;
    }
    const QString name = QString::fromUtf8(archive.SequenceEntryName());
    if (!archive.ReadSequence(json))
        return QStringLiteral("cannot read \"%1\" in the archive: %2").arg(name, archive.ErrorString());
    scan = ScanSequence(json);
    if (!scan.valid)
        return QStringLiteral("\"%1\" is not valid JSON: %2").arg(name, scan.failure);
    if (!scan.hasTracks)
        return std::nullopt;
    return QString();
}

std::optional<vsqx::PhoneticRewrite> RewriteProject(QByteArrayView file, QStringView phonetic,
                                                    const vsqx::RewriteOptions& options,
                                                    const std::function<void()>& yield) {
    ProjectArchive archive(file);
    QByteArray json;
    SequenceScan scan;
    const std::optional<QString> problem = OpenSequence(archive, json, scan);
    if (!problem)
        return std::nullopt;
    if (!problem->isEmpty())
        return Failure(*problem);
    if (yield)
        yield();
    vsqx::PhoneticRewrite rewrite = PutPhoneticToSequence(json, scan, phonetic, options);
    if (!rewrite.ok)
        return rewrite;
    if (yield)
        yield();
    // Written anew, even the same sequence would come out compressed differently.
    if (rewrite.text == json) {
        rewrite.text = file.toByteArray();
        return rewrite;
    }
    // Each copy of the sequence held is as large as the project: only those still needed are kept.
    json = QByteArray();
    QByteArray written;
    if (!archive.ReplaceSequence(std::move(rewrite.text), yield, written))
        return Failure(QStringLiteral("cannot write the archive anew: %1").arg(archive.ErrorString()));
    rewrite.text = std::move(written);
    return rewrite;
}

} // namespace lirobel::vpr
