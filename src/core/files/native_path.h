// SPDX-License-Identifier: GPL-3.0-or-later
// File names as the system holds them: bytes, which need not be UTF-8 (names made on Chinese Windows are
// often GBK). Qt decodes them as UTF-8 and replaces what it cannot decode, which would name another file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lirobel::files {

/// A file name's bytes as text that keeps them all: valid UTF-8 is decoded, and each byte that is not
/// part of valid UTF-8 becomes the lone surrogate U+DC80 + (byte - 0x80), which no valid UTF-8 yields.
QString PathFromNative(QByteArrayView bytes);

/// The bytes that PathFromNative made the text from: lone surrogates U+DC80 to U+DCFF give their byte
/// back, everything else is encoded as UTF-8.
QByteArray NativeFromPath(QStringView path);

/// Whether the text holds bytes that are not UTF-8, which Qt's own file functions cannot open.
bool HasRawBytes(QStringView path);

} // namespace lirobel::files
