// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/xml_markup_p.h"

namespace lirobel::vsqx {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Past the first terminator at or after from, or the end of the bytes.
qsizetype Past(QByteArrayView bytes, qsizetype from, QByteArrayView terminator) {
    const qsizetype found = bytes.indexOf(terminator, from);
    return found < 0 ? bytes.size() : found + terminator.size();
}

// Past the "]]>" of a CDATA section whose content starts at from. Lyrics and phonemes are short and hold
// no ']', so the first ']' is nearly always the end; a search for the whole terminator costs more.
qsizetype PastCdata(QByteArrayView bytes, qsizetype from) {
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    for (const char* at = begin + from;
         (at = static_cast<const char*>(std::memchr(at, ']', static_cast<size_t>(end - at)))); ++at) {
        if (end - at >= 3 && at[1] == ']' && at[2] == '>')
            return at + 3 - begin;
    }
    return bytes.size();
}

} // namespace

Markup SectionAt(QByteArrayView bytes, qsizetype start) {
    const QByteArrayView rest = bytes.sliced(start);
    qsizetype next = 0;
    if (rest.startsWith("<![CDATA["))
        next = PastCdata(bytes, start + 9);
    else if (rest.startsWith("<!--"))
        next = Past(bytes, start + 4, "-->");
    else if (rest[1] == '?')
        next = Past(bytes, start + 2, "?>");
    else {
        // A declaration; one with an internal subset ends only after it.
        const qsizetype close = bytes.indexOf('>', start);
        const qsizetype subset = bytes.indexOf('[', start);
        next = subset >= 0 && (close < 0 || subset < close) ? Past(bytes, subset, "]>") : Past(bytes, start, ">");
    }
    return {Markup::Kind::Other, start, next, {}};
}

qsizetype TagEnd(QByteArrayView bytes, qsizetype nameEnd) {
    for (qsizetype at = nameEnd; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (c == '>')
            return at + 1;
        if (c == '"' || c == '\'') {
            const auto* const quote = static_cast<const char*>(
                std::memchr(bytes.data() + at + 1, c, static_cast<size_t>(bytes.size() - at - 1)));
            if (!quote)
                return -1;
            at = quote - bytes.data();
        }
    }
    return -1;
}

bool HasAttribute(QByteArrayView bytes, qsizetype nameEnd, QByteArrayView name, QByteArrayView value) {
    // Attribute by attribute, up to the end of the tag: name, optional spaces, '=', optional spaces, a
    // quoted value.
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    for (const char* at = begin + nameEnd;;) {
        while (at < end && IsSpace(*at))
            ++at;
        const char* const nameStart = at;
        while (at < end && *at != '=' && *at != '>' && *at != '/' && !IsSpace(*at))
            ++at;
        const QByteArrayView found(nameStart, at - nameStart);
        while (at < end && IsSpace(*at))
            ++at;
        if (at == end || *at != '=')
            return false; // the end of the tag, or no attribute at all
        for (++at; at < end && IsSpace(*at);)
            ++at;
        if (at == end || (*at != '"' && *at != '\''))
            return false;
        const auto* const valueEnd =
            static_cast<const char*>(std::memchr(at + 1, *at, static_cast<size_t>(end - at - 1)));
        if (!valueEnd)
            return false;
        if (SameName(found, name) && SameName(QByteArrayView(at + 1, valueEnd - at - 1), value))
            return true;
        at = valueEnd + 1;
    }
}

} // namespace lirobel::vsqx
