// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/native_path.h"

namespace lirobel::files {

namespace {

constexpr char16_t kFirstRawByte = 0xDC80; // stands for the byte 0x80; 0xDCFF for 0xFF

bool IsRawByte(char16_t unit) {
    return unit >= kFirstRawByte && unit <= kFirstRawByte + 0x7F;
}

// The length of the valid UTF-8 sequence at the start of bytes, or 0 when it does not begin with one.
qsizetype ValidSequence(QByteArrayView bytes) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QString PathFromNative(QByteArrayView bytes) {
    QString path;
    path.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        // The longest run of valid sequences is decoded at once.
        qsizetype end = start;
        for (qsizetype length; end < bytes.size() && (length = ValidSequence(bytes.sliced(end))) > 0;)
            end += length;
        path += QString::fromUtf8(bytes.sliced(start, end - start));
        if (end < bytes.size())
            path += QChar(static_cast<char16_t>(kFirstRawByte + static_cast<unsigned char>(bytes[end]) - 0x80));
        start = end + 1;
    }
    return path;
}

QByteArray NativeFromPath(QStringView path) {
    QByteArray bytes;
    bytes.reserve(path.size() * 3);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsRawByte(path[i].unicode()))
            continue;
        bytes += path.sliced(start, i - start).toUtf8();
        if (i < path.size())
            bytes += static_cast<char>(path[i].unicode() - kFirstRawByte + 0x80);
        start = i + 1;
    }
    return bytes;
}

bool HasRawBytes(QStringView path) {
    for (QChar unit : path) {
        if (IsRawByte(unit.unicode()))
            return true;
    }
    return false;
}

} // namespace lirobel::files
