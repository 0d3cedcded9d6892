// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/sequence_json.h"

#include <QLatin1StringView>
#include <QVarLengthArray>
#include <utility>

namespace lirobel::vpr {

namespace {

constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// One pass over the text: the parts of the structure that lead to notes are walked by their own functions,
// everything else by SkipValue, which checks it as strictly. Only the known levels recurse, so that deep
// nesting elsewhere cannot exhaust the stack.
class Scanner {
public:
    explicit Scanner(QByteArrayView json) : m_text(json) {}

    SequenceScan Run() {
        if (m_text.startsWith(kByteOrderMark))
            m_at = kByteOrderMark.size();
        SkipSpace();
        bool ok = Peek() == '{' ? Top() : SkipValue();
        SkipSpace();
        if (ok && m_at != m_text.size())
            ok = Fail("text after the end of the JSON value");
        m_scan.valid = ok;
        if (!ok) {
            m_scan.failure = m_failure;
            m_scan.hasTracks = false;
            m_scan.notes.clear();
        }
        return std::move(m_scan);
    }

private:
    bool Fail(const char* what) {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("%1 at byte %2").arg(QLatin1StringView(what)).arg(m_at);
        return false;
    }

    char Peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }

    void SkipSpace() {
        while (m_at < m_text.size() && IsSpace(m_text[m_at]))
            ++m_at;
    }

    bool String() {
        ++m_at;
        while (m_at < m_text.size()) {
            const auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (c < 0x20)
                return Fail("a control character in a string");
            if (c != '\\') {
                ++m_at;
                continue;
            }
            const char escaped = m_at + 1 < m_text.size() ? m_text[m_at + 1] : '\0';
            if (escaped == 'u') {
                for (qsizetype digit = m_at + 2; digit < m_at + 6; ++digit)
                    if (digit >= m_text.size() || !IsHexDigit(m_text[digit]))
                        return Fail("a \\u escape without four hexadecimal digits");
                m_at += 6;
            } else if (escaped != '\0' && QByteArrayView("\"\\/bfnrt").contains(escaped)) {
                m_at += 2;
            } else {
                return Fail("an unknown escape in a string");
            }
        }
        return Fail("a string without its closing quote");
    }

    bool Digits() {
        if (!IsDigit(Peek()))
            return Fail("a digit expected");
        while (IsDigit(Peek()))
            ++m_at;
        return true;
    }

    bool Number() {
        if (Peek() == '-')
            ++m_at;
        if (Peek() == '0')
            ++m_at;
        else if (!Digits())
            return false;
        if (Peek() == '.') {
            ++m_at;
            if (!Digits())
                return false;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_at;
            if (Peek() == '+' || Peek() == '-')
                ++m_at;
            return Digits();
        }
        return true;
    }

    bool Scalar() {
        const char c = Peek();
        if (c == '"')
            return String();
        if (c == '-' || IsDigit(c))
            return Number();
        for (const QByteArrayView literal : {"true", "false", "null"}) {
            if (m_text.sliced(m_at).startsWith(literal)) {
                m_at += literal.size();
                return true;
            }
        }
        return Fail("a value expected");
    }

    // A key and its colon, spaces around them skipped; keyEnd is where the key's string ends.
    bool Key(qsizetype* keyEnd = nullptr) {
        SkipSpace();
        if (Peek() != '"')
            return Fail("a key expected");
        if (!String())
            return false;
        if (keyEnd)
            *keyEnd = m_at;
        SkipSpace();
        if (Peek() != ':')
            return Fail("\":\" expected");
        ++m_at;
        return true;
    }

    bool SkipValue() {
        QVarLengthArray<char, 64> closers;
        for (;;) {
            SkipSpace();
            const char c = Peek();
            if (c == '{' || c == '[') {
                const char closer = c == '{' ? '}' : ']';
                ++m_at;
                SkipSpace();
                if (Peek() != closer) {
                    closers.push_back(closer);
                    if (c == '{' && !Key())
                        return false;
                    continue;
                }
                ++m_at;
            } else if (!Scalar()) {
                return false;
            }
            // A value ended: close what it ended, or go on to the next member or element.
            for (;;) {
                if (closers.isEmpty())
                    return true;
                SkipSpace();
                if (Peek() == closers.back()) {
                    ++m_at;
                    closers.pop_back();
                    continue;
                }
                if (Peek() != ',')
                    return Fail(closers.back() == '}' ? "\",\" or \"}\" expected" : "\",\" or \"]\" expected");
                ++m_at;
                if (closers.back() == '}' && !Key())
                    return false;
                break;
            }
        }
    }

    // At "{": calls onMember(key, keyStart) with the position at the member's value, which it must pass.
    template <typename OnMember> bool Object(OnMember onMember) {
        ++m_at;
        SkipSpace();
        if (Peek() == '}') {
            ++m_at;
            return true;
        }
        for (;;) {
            SkipSpace();
            const qsizetype keyStart = m_at;
            qsizetype keyEnd = 0;
            if (!Key(&keyEnd))
                return false;
            SkipSpace();
            if (!onMember(m_text.sliced(keyStart + 1, keyEnd - keyStart - 2), keyStart))
                return false;
            SkipSpace();
            if (Peek() == '}') {
                ++m_at;
                return true;
            }
            if (Peek() != ',')
                return Fail("\",\" or \"}\" expected");
            ++m_at;
        }
    }

    // At "[": calls onElement() with the position at each element, which it must pass.
    template <typename OnElement> bool Array(OnElement onElement) {
        ++m_at;
        SkipSpace();
        if (Peek() == ']') {
            ++m_at;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (!onElement())
                return false;
            SkipSpace();
            if (Peek() == ']') {
                ++m_at;
                return true;
            }
            if (Peek() != ',')
                return Fail("\",\" or \"]\" expected");
            ++m_at;
        }
    }

    // Walks an array of objects with `element`, and passes over other elements.
    template <typename Element> bool ArrayOfObjects(Element element) {
        return Array([&] { return Peek() == '{' ? element() : SkipValue(); });
    }

    bool Top() {
        return Object([&](QByteArrayView key, qsizetype) {
            if (key != "tracks" || m_scan.hasTracks || Peek() != '[')
                return SkipValue();
            m_scan.hasTracks = true;
            return Array([&] {
                ++m_track;
                return Peek() == '{' ? Track() : SkipValue();
            });
        });
    }

    bool Track() {
        const size_t firstNote = m_scan.notes.size();
        bool typeSeen = false;
        bool partsSeen = false;
        bool audio = false;
        const bool ok = Object([&](QByteArrayView key, qsizetype) {
            if (key == "type" && !typeSeen) {
                typeSeen = true;
                const qsizetype start = m_at;
                const bool passed = SkipValue();
                audio = m_text.sliced(start, m_at - start) == "1";
                return passed;
            }
            if (key != "parts" || partsSeen || Peek() != '[')
                return SkipValue();
            partsSeen = true;
            m_part = 0;
            return Array([&] {
                ++m_part;
                return Peek() == '{' ? Part() : SkipValue();
            });
        });
        // An audio track's parts hold no notes; should one hold some, they are not sung.
        if (audio)
            m_scan.notes.resize(firstNote);
        return ok;
    }

    bool Part() {
        const size_t firstNote = m_scan.notes.size();
        bool notesSeen = false;
        Span pos;
        const bool ok = Object([&](QByteArrayView key, qsizetype) {
            if (key == "pos" && !pos.Found()) {
                pos.start = m_at;
                const bool passed = SkipValue();
                pos.end = m_at;
                return passed;
            }
            if (key != "notes" || notesSeen || Peek() != '[')
                return SkipValue();
            notesSeen = true;
            return ArrayOfObjects([&] { return Note(); });
        });
        // The part's start may come after its notes.
        for (size_t k = firstNote; k < m_scan.notes.size(); ++k)
            m_scan.notes[k].partPos = pos;
        return ok;
    }

    bool Note() {
        NoteSpans note;
        note.track = m_track;
        note.part = m_part;
        note.lastValueEnd = m_at + 1;
        qsizetype previousEnd = -1;      // where the member before ended, when there was one
        bool positionsOpenEnded = false; // a first member phonemePositions, until the next key ends its span
        const bool ok = Object([&](QByteArrayView key, qsizetype keyStart) {
            if (positionsOpenEnded) {
                note.phonemePositions.end = keyStart;
                positionsOpenEnded = false;
            }
            const qsizetype start = m_at;
            const bool isExp = key == "exp" && !note.exp.Found();
            if (!(isExp && Peek() == '{' ? Exp(note) : SkipValue()))
                return false;
            const Span value{start, m_at};
            Span* slot = key == "lyric"         ? &note.lyric
                         : key == "phoneme"     ? &note.phoneme
                         : key == "isProtected" ? &note.isProtected
                         : key == "velocity"    ? &note.velocity
                         : key == "exp"         ? &note.exp
                         : key == "pos"         ? &note.pos
                                                : nullptr;
            if (slot && !slot->Found())
                *slot = value;
            if (key == "phonemePositions" && !note.phonemePositions.Found()) {
                // Taken out with the comma before it, or, as the first member, with the comma after it.
                note.phonemePositions = {previousEnd >= 0 ? previousEnd : keyStart, m_at};
                positionsOpenEnded = previousEnd < 0;
            }
            previousEnd = note.lastValueEnd = m_at;
            return true;
        });
        m_scan.notes.push_back(note);
        return ok;
    }

    bool Exp(NoteSpans& note) {
        note.expInside = m_at + 1;
        note.expEmpty = true;
        return Object([&](QByteArrayView key, qsizetype) {
            note.expEmpty = false;
            const qsizetype start = m_at;
            if (!SkipValue())
                return false;
            if (key == "opening" && !note.opening.Found())
                note.opening = {start, m_at};
            return true;
        });
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    QString m_failure;
    SequenceScan m_scan;
    int m_track = 0;
    int m_part = 0;
};

} // namespace

SequenceScan ScanSequence(QByteArrayView json) {
    return Scanner(json).Run();
}

} // namespace lirobel::vpr
