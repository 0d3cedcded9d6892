// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP archive of a .vpr project, read and written in memory: libzip's own temporary file never comes
// into play, so that the pour's replacement of the file alone puts the new bytes in place.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

struct zip;
struct zip_source;

namespace lirobel::vpr {

struct DeflatedContent;
struct ZipLibrary;

/// The sequence entry's name with "/" as separator; an archive may spell it with "\" (raw 0x5C) instead.
inline constexpr QByteArrayView kSequenceName = "Project/sequence.json";

class ProjectArchive {
public:
    enum class State {
        NotArchive, ///< the bytes are not a ZIP archive
        Damaged,    ///< they begin as one but cannot be read as one (cut short, inconsistent): ErrorString
        NoLibrary,  ///< they may be one, but libzip cannot be loaded to read it: ErrorString names it
        Open,
    };
    enum class Sequence {
        None,      ///< no entry is named kSequenceName, either spelling
        One,       ///< exactly one is; SequenceEntryName gives it as the archive holds it
        Ambiguous, ///< more than one is (both spellings)
    };

    /// Opens the archive that the bytes hold, which must outlive this object.
    explicit ProjectArchive(QByteArrayView bytes);
    ~ProjectArchive();
    ProjectArchive(const ProjectArchive&) = delete;
    ProjectArchive& operator=(const ProjectArchive&) = delete;

    State Opened() const { return m_state; }
    /// Looks for the sequence entry, "\" read as "/". Only when Open.
    Sequence FindSequence();
    /// The sequence entry's name bytes, after FindSequence found one.
    QByteArray SequenceEntryName() const { return m_sequenceName; }
    /// Reads the sequence entry's content; false with ErrorString when it cannot (damaged, encrypted,
    /// larger than 1 GiB).
    bool ReadSequence(QByteArray& content);
    /// Writes the whole archive anew into `archive` with the sequence entry's content replaced: the entry
    /// keeps its name bytes, place, compression method and time, every other entry its local header and
    /// data byte for byte. A deflated sequence is deflated as it was: as stored blocks when its data was
    /// no smaller than its content, as the editors of version 5 write it, and otherwise at zlib's fastest
    /// level. `yield` is called as the writing goes on. The content is let go as soon as it is no longer
    /// needed. False with ErrorString when it cannot; the archive is of no further use either way.
    bool ReplaceSequence(QByteArray content, const std::function<void()>& yield, QByteArray& archive);

    /// Why the last step failed, in English.
    QString ErrorString() const { return m_error; }

private:
    bool Fail(QString cause);

    const ZipLibrary* m_zip = nullptr; ///< set unless the bytes cannot be an archive
    struct zip_source* m_source = nullptr;
    struct zip* m_archive = nullptr;
    State m_state = State::NotArchive;
    qint64 m_sequenceIndex = -1;
    QByteArray m_sequenceName;
    QByteArray m_content;                        ///< the new sequence as it is, while libzip may read it
    std::unique_ptr<DeflatedContent> m_deflated; ///< the new sequence deflated, likewise
    QString m_error;
};

} // namespace lirobel::vpr
