// SPDX-License-Identifier: GPL-3.0-or-later
// What the rewrites of both versions write into a note, and how they tell a held note.
#pragma once

#include "core/phonetic/phonetic_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QStringView>
#include <algorithm>
#include <array>

namespace lirobel::vsqx {

/// The lyric of every note that takes an item.
inline constexpr QByteArrayView kWrittenLyric = "<![CDATA[a]]>";
/// What follows the item in a written phonemes element's content.
inline constexpr QByteArrayView kPhonemesContentEnd = "]]>";
/// The opening value of a note whose item is marked.
inline constexpr QByteArrayView kClosedOpening = "0";

/// An item without its marker, and whether it had one: a marked item closes its note's opening.
struct MarkedItem {
    QStringView phonemes;
    bool marked = false;
};

inline MarkedItem SplitOpeMarker(QStringView item) {
    constexpr QLatin1StringView kMarker(phonetic::kOpeMarker.data(),
                                        static_cast<qsizetype>(phonetic::kOpeMarker.size()));
    if (!item.endsWith(kMarker))
        return {item, false};
    return {item.chopped(kMarker.size()), true};
}

/// The contents of a lyric that make its note a held one, the continuation of the note before: "-", as the
/// editor writes it, plain or as a CDATA section.
inline constexpr std::array<QByteArrayView, 2> kHeldLyrics = {"-", "<![CDATA[-]]>"};

inline bool IsHeldLyric(QByteArrayView content) {
    return std::find(kHeldLyrics.begin(), kHeldLyrics.end(), content) != kHeldLyrics.end();
}

/// Appends an item in UTF-8. Items are ASCII but for a rare pasted character: those go byte by byte,
/// with no string made for each of the notes.
inline void AppendItem(QByteArray& out, QStringView item) {
    if (std::all_of(item.begin(), item.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        const qsizetype at = out.size();
        out.resize(at + item.size());
        std::transform(item.begin(), item.end(), out.begin() + at,
                       [](QChar c) { return static_cast<char>(c.unicode()); });
    } else {
        out.append(item.toUtf8());
    }
}

} // namespace lirobel::vsqx
