// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

namespace lirobel::vsqx {

/// The line by which a VSQX file is recognised, compared exactly and case-sensitively.
inline constexpr QByteArrayView kVendorLine = "<vender><![CDATA[Yamaha corporation]]></vender>";

/// IsVsqxFile tells apart no more lines than these: a count that stops there serves it.
inline constexpr qsizetype kLinesJudged = 5;

/// Whether the file's bytes, of lineCount lines (CountFileLines, up to kLinesJudged), are a VSQX file. A file of one
/// line must hold the vendor line at its characters 256 to 302, which is where it lies once a file in the editor's
/// layout has been joined into one line; a file of five lines or more must end its fifth line with it (a tab before it
/// is the editor's way). Files of 0, 2, 3 or 4 lines never are.
bool IsVsqxFile(QByteArrayView fileBytes, qsizetype lineCount);

/// Whether the root element, the first element after the XML declaration, comments, processing
/// instructions and a document type declaration, is named "vsq4": a file of the editor's fourth version,
/// whose notes are written with their own tags. Looks no further than the root's name.
bool HasVersion4Root(QByteArrayView fileBytes);

} // namespace lirobel::vsqx
