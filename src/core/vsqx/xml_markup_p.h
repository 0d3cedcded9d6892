// SPDX-License-Identifier: GPL-3.0-or-later
// A forward walk over the markup of a file's bytes, enough to find elements by name without parsing the
// document: '<' can stand in XML only where markup begins, so tags are found from one '<' to the next,
// with CDATA sections, comments, processing instructions and declarations passed over whole, which is
// where a '<' or a tag-like text may hide.
#pragma once

#include "core/vsqx/byte_scan_p.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstring>

namespace lirobel::vsqx {

/// Whether two names are the same bytes; cheaper than QByteArrayView's == for the short names of tags.
inline bool SameName(QByteArrayView name, QByteArrayView wanted) {
    return name.size() == wanted.size() &&
           std::memcmp(name.data(), wanted.data(), static_cast<size_t>(wanted.size())) == 0;
}

struct Markup {
    enum class Kind {
        None,     ///< no markup is left
        StartTag, ///< "<name", whose end TagEnd finds
        EndTag,   ///< "</name", likewise
        Other,    ///< a CDATA section, comment, processing instruction, declaration or a '<' that starts nothing
    };
    Kind kind = Kind::None;
    qsizetype start = 0; ///< where its '<' is
    qsizetype next = 0;  ///< where the walk goes on: past the name of a tag, past the whole of anything else
    QByteArrayView name; ///< a tag's name; empty for the others

    bool Is(Kind wanted, QByteArrayView wantedName) const { return kind == wanted && SameName(name, wantedName); }
};

/// The markup that begins with "<!" or "<?" at start.
Markup SectionAt(QByteArrayView bytes, qsizetype start);

/// The first markup at or after from. An unterminated section runs to the end of the bytes. Inline, as
/// a rewrite calls it for every tag of a file.
inline Markup NextMarkup(QByteArrayView bytes, qsizetype from) {
    if (from >= bytes.size())
        return {};
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // Tags mostly lie a few bytes apart, nearer than a call of memchr pays for.
    const char* at = begin + from;
    const char* const near = end - at > 16 ? at + 16 : end;
    while (at < near && *at != '<')
        ++at;
    if (at == near) {
        at = static_cast<const char*>(std::memchr(at, '<', static_cast<size_t>(end - at)));
        if (!at)
            return {};
    }
    const qsizetype start = at - begin;
    const char second = at + 1 < end ? at[1] : '\0';
    if (second == '!' || second == '?')
        return SectionAt(bytes, start);
    const char* const name = at + (second == '/' ? 2 : 1);
    const char* nameEnd = name;
    while (nameEnd < end && *nameEnd != '>' && *nameEnd != '/' && *nameEnd != '<' &&
           static_cast<unsigned char>(*nameEnd) > ' ')
        ++nameEnd;
    if (nameEnd == name)
        return {Markup::Kind::Other, start, start + 1, {}};
    return {second == '/' ? Markup::Kind::EndTag : Markup::Kind::StartTag, start, nameEnd - begin,
            QByteArrayView(name, nameEnd - name)};
}

/// Whether a walk that looks only for some tags stops at the markup: a section (which may hide a '<'),
/// a start tag whose name begins with one of startFirsts, an end tag whose name begins with one of
/// endFirsts.
inline bool IsAmong(const Markup& markup, QByteArrayView bytes, QByteArrayView startFirsts, QByteArrayView endFirsts) {
    switch (markup.kind) {
    case Markup::Kind::None:
        return true;
    case Markup::Kind::StartTag:
        return startFirsts.contains(markup.name[0]);
    case Markup::Kind::EndTag:
        return endFirsts.contains(markup.name[0]);
    case Markup::Kind::Other:
        return markup.start + 1 < bytes.size() && (bytes[markup.start + 1] == '!' || bytes[markup.start + 1] == '?');
    }
    return true;
}

/// The first markup at or after from that IsAmong those wanted, or None: what NextMarkup, called again and
/// again, would come to, without a stop at the many tags in between that the caller would pass over.
inline Markup NextMarkupAmong(QByteArrayView bytes, qsizetype from, QByteArrayView startFirsts,
                              QByteArrayView endFirsts) {
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // A block at a time: a '<', and after it a byte that begins a wanted name or a section, or a '/' and
    // such a byte. The first such '<' is the markup, since a section before it would have been one too.
    for (const char* at = begin + std::min(from, bytes.size()); end - at >= bytescan::kBlock + 2;
         at += bytescan::kBlock) {
        const bytescan::Block second = bytescan::Load(at + 1);
        const bytescan::Block third = bytescan::Load(at + 2);
        bytescan::Marks starts = bytescan::Equal(second, '!') | bytescan::Equal(second, '?');
        for (const char first : startFirsts)
            starts |= bytescan::Equal(second, first);
        bytescan::Marks ends = 0;
        for (const char first : endFirsts)
            ends |= bytescan::Equal(third, first);
        const bytescan::Marks marks =
            bytescan::Equal(bytescan::Load(at), '<') & (starts | (bytescan::Equal(second, '/') & ends));
        if (marks)
            return NextMarkup(bytes, (at - begin) + bytescan::First(marks));
        from = at + bytescan::kBlock - begin;
    }
    Markup markup = NextMarkup(bytes, from);
    while (!IsAmong(markup, bytes, startFirsts, endFirsts))
        markup = NextMarkup(bytes, markup.next);
    return markup;
}

/// Past the '>' that ends the tag whose name ends at nameEnd (Markup::next), quoted values skipped; -1 when
/// a '<' or the end of the bytes comes first: the tag is broken. Costs no more than the bytes up to the
/// next '<'.
qsizetype TagEnd(QByteArrayView bytes, qsizetype nameEnd);

/// Whether the tag that ends at end (TagEnd) is "<name .../>", an element without content.
inline bool IsSelfClosing(QByteArrayView bytes, qsizetype end) {
    return end >= 2 && bytes[end - 2] == '/';
}

/// Whether the start tag whose name ends at nameEnd has the attribute name="value" (or in single quotes).
/// Looks no further than the end of the tag or the next '<'.
bool HasAttribute(QByteArrayView bytes, qsizetype nameEnd, QByteArrayView name, QByteArrayView value);

} // namespace lirobel::vsqx
