// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/vsqx_recognition.h"

#include "core/vsqx/file_lines.h"
#include "core/vsqx/xml_markup_p.h"

namespace lirobel::vsqx {

bool IsVsqxFile(QByteArrayView fileBytes, qsizetype lineCount) {
    if (lineCount == 1) {
        constexpr qsizetype kVendorStart = 255;
        const QByteArrayView line = FileLine(fileBytes, 1);
        return line.size() >= kVendorStart + kVendorLine.size() &&
               line.sliced(kVendorStart, kVendorLine.size()) == kVendorLine;
    }
    return lineCount >= 5 && FileLine(fileBytes, 5).endsWith(kVendorLine);
}

bool HasVersion4Root(QByteArrayView fileBytes) {
    Markup markup = NextMarkup(fileBytes, 0);
    while (markup.kind == Markup::Kind::Other)
        markup = NextMarkup(fileBytes, markup.next);
    return markup.Is(Markup::Kind::StartTag, "vsq4");
}

} // namespace lirobel::vsqx
