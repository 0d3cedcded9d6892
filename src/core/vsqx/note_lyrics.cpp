// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/note_lyrics.h"

#include "core/vsqx/rewrite_note_p.h"
#include "core/vsqx/vsqx_recognition.h"
#include "core/vsqx/xml_markup_p.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace lirobel::vsqx {

namespace {

using Kind = Markup::Kind;

// The tags of a version, where the two differ.
struct Tags {
    QByteArrayView part;
    QByteArrayView start; ///< a part's or a note's start tick
    QByteArrayView lyric;
    QByteArrayView phonemes;
    QByteArrayView signatureMeasure;
    QByteArrayView signatureNumerator;
    QByteArrayView signatureDenominator;
};

constexpr Tags kTags3{"musicalPart", "posTick", "lyric", "phnms", "posMes", "nume", "denomi"};
constexpr Tags kTags4{"vsPart", "t", "y", "p", "m", "nu", "de"};

struct TimeSignature {
    qint64 measure = 0;
    qint64 numerator = 4;
    qint64 denominator = 4;
};

// Appends the character that the reference at bytes[at] ("&amp;", "&#x4F60;") stands for and returns
// where the text goes on; a reference that is not one stays as its bytes.
qsizetype AppendReference(QByteArrayView bytes, qsizetype at, QByteArray& out) {
    const qsizetype end = bytes.indexOf(';', at);
    if (end < 0 || end - at > 12) {
        out.append('&');
        return at + 1;
    }
    const QByteArrayView name = bytes.sliced(at + 1, end - at - 1);
    static constexpr std::pair<QByteArrayView, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, character] : kNamed) {
        if (name == entity) {
            out.append(character);
            return end + 1;
        }
    }
    if (name.startsWith('#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == 'x' || name[1] == 'X') ? name.sliced(2).toUInt(&ok, 16)
                                                                                : name.sliced(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
            const char32_t character = code;
            out.append(QString::fromUcs4(&character, 1).toUtf8());
            return end + 1;
        }
    }
    out.append('&');
    return at + 1;
}

// The text of an element's content: CDATA sections as they stand, references resolved, comments and other
// markup dropped.
QString ContentText(QByteArrayView content) {
    QByteArray text;
    for (qsizetype at = 0; at < content.size();) {
        if (content.sliced(at).startsWith("<![CDATA[")) {
            const qsizetype end = content.indexOf("]]>", at + 9);
            const qsizetype stop = end < 0 ? content.size() : end;
            text.append(content.sliced(at + 9, stop - at - 9));
            at = end < 0 ? stop : end + 3;
        } else if (content.sliced(at).startsWith("<!--")) {
            const qsizetype end = content.indexOf("-->", at + 4);
            at = end < 0 ? content.size() : end + 3;
        } else if (content[at] == '<') {
            const qsizetype end = content.indexOf('>', at);
            at = end < 0 ? content.size() : end + 1;
        } else if (content[at] == '&') {
            at = AppendReference(content, at, text);
        } else {
            text.append(content[at++]);
        }
    }
    return QString::fromUtf8(text);
}

class LyricsReader {
public:
    explicit LyricsReader(QByteArrayView file)
        : m_file(file), m_tags(HasVersion4Root(file) ? kTags4 : kTags3), m_version4(&m_tags == &kTags4) {}

    SongLyrics Run() {
        for (Markup markup = NextMarkup(m_file, 0); markup.kind != Kind::None;) {
            if (markup.kind == Kind::Other) {
                markup = NextMarkup(m_file, markup.next);
                continue;
            }
            const qsizetype tagEnd = TagEnd(m_file, markup.next);
            if (tagEnd < 0)
                break;
            qsizetype next = tagEnd;
            if (markup.kind == Kind::EndTag) {
                Close(markup.name);
            } else if (!IsSelfClosing(m_file, tagEnd)) {
                next = Open(markup.name, tagEnd);
            } else if (m_version4 && SameName(markup.name, "note")) {
                m_noteStart = 0;
                m_noteLyric.reset();
                Emit(QString());
            }
            markup = NextMarkup(m_file, next);
        }
        for (NoteLyric& note : m_lyrics.notes)
            note.place.bar = BarText(note.place.tick);
        return std::move(m_lyrics);
    }

private:
    // A start tag whose content begins at contentStart; returns where the walk goes on.
    qsizetype Open(QByteArrayView name, qsizetype contentStart) {
        const int depth = m_depth++;
        if (SameName(name, "masterTrack"))
            m_inMaster = true;
        else if (m_inMaster && SameName(name, "timeSig"))
            m_signatures.push_back({});
        else if (m_inMaster && (SameName(name, "resolution") || SameName(name, "preMeasure")))
            return ReadNumber(name, contentStart, SameName(name, "resolution") ? m_resolution : m_preMeasures);
        else if (m_inMaster && !m_signatures.empty() && SameName(name, m_tags.signatureMeasure))
            return ReadNumber(name, contentStart, m_signatures.back().measure);
        else if (m_inMaster && !m_signatures.empty() && SameName(name, m_tags.signatureNumerator))
            return ReadNumber(name, contentStart, m_signatures.back().numerator);
        else if (m_inMaster && !m_signatures.empty() && SameName(name, m_tags.signatureDenominator))
            return ReadNumber(name, contentStart, m_signatures.back().denominator);
        else if (SameName(name, "vsTrack"))
            ++m_track, m_part = 0;
        else if (SameName(name, m_tags.part))
            ++m_part, m_note = 0, m_partDepth = depth, m_partStart = 0;
        else if (SameName(name, "note"))
            m_noteDepth = depth, m_noteStart = 0, m_noteLyric.reset();
        else if (SameName(name, m_tags.start) && depth == m_noteDepth + 1)
            return ReadNumber(name, contentStart, m_noteStart);
        else if (SameName(name, m_tags.start) && depth == m_partDepth + 1 && m_noteDepth < 0)
            return ReadNumber(name, contentStart, m_partStart);
        else if (SameName(name, m_tags.lyric) && !(m_version4 && m_noteLyric))
            return ReadLyric(name, contentStart);
        else if (!m_version4 && SameName(name, m_tags.phonemes))
            Emit(m_lastLyric);
        return contentStart;
    }

    void Close(QByteArrayView name) {
        m_depth = std::max(0, m_depth - 1);
        if (SameName(name, "masterTrack")) {
            m_inMaster = false;
        } else if (SameName(name, "note")) {
            if (m_version4)
                Emit(m_noteLyric.value_or(QString()));
            m_noteDepth = -1;
        } else if (SameName(name, m_tags.part)) {
            m_partDepth = -1;
        }
    }

    // The content of the element up to its end tag, which closes it here and now.
    QByteArrayView ContentUpTo(QByteArrayView name, qsizetype contentStart, qsizetype& next) {
        for (Markup markup = NextMarkup(m_file, contentStart); markup.kind != Kind::None;
             markup = NextMarkup(m_file, markup.next)) {
            if (markup.Is(Kind::EndTag, name)) {
                const qsizetype end = TagEnd(m_file, markup.next);
                next = end < 0 ? m_file.size() : end;
                --m_depth;
                return m_file.sliced(contentStart, markup.start - contentStart);
            }
            if (markup.kind == Kind::StartTag)
                break;
        }
        next = contentStart;
        return {};
    }

    qsizetype ReadNumber(QByteArrayView name, qsizetype contentStart, qint64& value) {
        qsizetype next = 0;
        bool ok = false;
        const qint64 read = ContentUpTo(name, contentStart, next).trimmed().toLongLong(&ok);
        if (ok)
            value = read;
        return next;
    }

    qsizetype ReadLyric(QByteArrayView name, qsizetype contentStart) {
        qsizetype next = 0;
        const QByteArrayView content = ContentUpTo(name, contentStart, next);
        m_lastLyric = ContentText(content);
        m_lastHeld = IsHeldLyric(content);
        if (m_version4)
            m_noteLyric = m_lastLyric, m_noteHeld = m_lastHeld;
        return next;
    }

    void Emit(const QString& lyric) {
        NoteLyric note;
        note.place = {m_track, m_part, ++m_note, m_partStart + m_noteStart, {}};
        note.lyric = lyric;
        note.held = m_version4 ? m_noteLyric && m_noteHeld : m_lastHeld;
        m_lyrics.notes.append(std::move(note));
    }

    QString BarText(qint64 tick) const {
        if (m_signatures.empty() || m_resolution <= 0)
            return {};
        std::vector<TimeSignature> signatures = m_signatures;
        std::stable_sort(signatures.begin(), signatures.end(),
                         [](const TimeSignature& a, const TimeSignature& b) { return a.measure < b.measure; });
        qint64 measure = 0;
        qint64 start = 0; // the tick at which `measure` begins
        TimeSignature current = signatures.front();
        for (const TimeSignature& signature : signatures) {
            const qint64 length = MeasureTicks(current);
            if (length <= 0)
                return {};
            const qint64 signatureStart = start + (signature.measure - measure) * length;
            if (signatureStart > tick)
                break;
            measure = signature.measure, start = signatureStart, current = signature;
        }
        const qint64 length = MeasureTicks(current);
        if (length <= 0 || tick < start)
            return {};
        const qint64 beat = m_resolution * 4 / current.denominator;
        const qint64 into = (tick - start) % length;
        return QStringLiteral("%1:%2")
            .arg(measure + (tick - start) / length - m_preMeasures + 1)
            .arg(beat > 0 ? into / beat + 1 : 1);
    }

    qint64 MeasureTicks(const TimeSignature& signature) const {
        return signature.denominator > 0 ? m_resolution * 4 * signature.numerator / signature.denominator : 0;
    }

    QByteArrayView m_file;
    const Tags& m_tags;
    bool m_version4;
    SongLyrics m_lyrics;
    int m_depth = 0;
    bool m_inMaster = false;
    qint64 m_resolution = 480;
    qint64 m_preMeasures = 0;
    std::vector<TimeSignature> m_signatures;
    int m_track = 0;
    int m_part = 0;
    int m_note = 0;
    int m_partDepth = -1;
    int m_noteDepth = -1;
    qint64 m_partStart = 0;
    qint64 m_noteStart = 0;
    QString m_lastLyric;
    bool m_lastHeld = false;
    std::optional<QString> m_noteLyric; ///< version 4: the note's first lyric, once read
    bool m_noteHeld = false;
};

} // namespace

SongLyrics ReadVsqxLyrics(QByteArrayView fileBytes) {
    return LyricsReader(fileBytes).Run();
}

QString PlaceText(const NotePlace& place) {
    const QString where = QStringLiteral("%1.%2.%3").arg(place.track).arg(place.part).arg(place.note);
    return place.bar.isEmpty() ? QStringLiteral("%1 tick %2").arg(where).arg(place.tick)
                               : QStringLiteral("%1 %2").arg(where, place.bar);
}

} // namespace lirobel::vsqx
