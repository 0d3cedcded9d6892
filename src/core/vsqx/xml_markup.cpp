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

// The closing quote of the value whose opening quote is at `quote`, or -1. A '<', which a value cannot
// hold, ends the search: the tag is broken, and a walk over many broken tags stays linear.
qsizetype ValueEnd(QByteArrayView bytes, qsizetype quote) {
    for (qsizetype at = quote + 1; at < bytes.size(); ++at) {
        if (bytes[at] == bytes[quote])
            return at;
        if (bytes[at] == '<')
            return -1;
    }
    return -1;
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
        // A declaration; one with an internal subset ends only after it. The subset is looked for only up to
        // the first '>', so that a run of declarations costs what it holds.
        const qsizetype close = bytes.indexOf('>', start);
        if (close < 0)
            return {Markup::Kind::Other, start, bytes.size(), {}};
        const qsizetype subset = bytes.first(close).indexOf('[', start);
        next = subset >= 0 ? Past(bytes, subset, "]>") : close + 1;
    }
    return {Markup::Kind::Other, start, next, {}};
}

qsizetype TagEnd(QByteArrayView bytes, qsizetype nameEnd) {
    for (qsizetype at = nameEnd; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (c == '>')
            return at + 1;
        if (c == '<')
            return -1;
        if (c == '"' || c == '\'') {
            at = ValueEnd(bytes, at);
            if (at < 0)
                return -1;
        }
    }
    return -1;
}

bool HasAttribute(QByteArrayView bytes, qsizetype nameEnd, QByteArrayView name, QByteArrayView value) {
    // Attribute by attribute, up to the end of the tag: name, optional spaces, '=', optional spaces, a
    // quoted value. A '<' ends the tag as a broken one.
    const qsizetype size = bytes.size();
    for (qsizetype at = nameEnd;;) {
        while (at < size && IsSpace(bytes[at]))
            ++at;
        const qsizetype nameStart = at;
        while (at < size && bytes[at] != '=' && bytes[at] != '>' && bytes[at] != '/' && bytes[at] != '<' &&
               !IsSpace(bytes[at]))
            ++at;
        const QByteArrayView found = bytes.sliced(nameStart, at - nameStart);
        while (at < size && IsSpace(bytes[at]))
            ++at;
        if (at == size || bytes[at] != '=')
            return false; // the end of the tag, or no attribute at all
        for (++at; at < size && IsSpace(bytes[at]);)
            ++at;
        if (at == size || (bytes[at] != '"' && bytes[at] != '\''))
            return false;
        const qsizetype valueEnd = ValueEnd(bytes, at);
        if (valueEnd < 0)
            return false;
        if (SameName(found, name) && SameName(bytes.sliced(at + 1, valueEnd - at - 1), value))
            return true;
        at = valueEnd + 1;
    }
}

} // namespace lirobel::vsqx
