// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/byte_scan_p.h"
#include "core/vsqx/hidden_tags_p.h"
#include "core/vsqx/xml_markup_p.h"

#include <algorithm>
#include <cstring>

namespace lirobel::vsqx {

namespace {

// How much of the markup a cause shows, enough for the user to find it in the file.
constexpr qsizetype kShownBytes = 60;

QString KindOf(QByteArrayView markup) {
    if (markup.startsWith("<!--"))
        return QStringLiteral("a comment");
    if (markup.startsWith("<![CDATA["))
        return QStringLiteral("a CDATA section");
    if (markup.startsWith("<?"))
        return QStringLiteral("a processing instruction");
    return QStringLiteral("a declaration");
}

} // namespace

QString HiddenTagCause(QByteArrayView text, std::span<const QByteArrayView> tags) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    // Only "<!" and "<?" start what may hide a tag, and their second bytes are far rarer than '<'.
    for (const char* at = begin + 1; at < end;) {
        if (end - at >= bytescan::kBlock) {
            const bytescan::Block block = bytescan::Load(at);
            const bytescan::Marks marks = bytescan::Equal(block, '!') | bytescan::Equal(block, '?');
            if (!marks) {
                at += bytescan::kBlock;
                continue;
            }
            at += bytescan::First(marks);
        }
        if ((*at != '!' && *at != '?') || at[-1] != '<') {
            ++at;
            continue;
        }
        const qsizetype start = at - 1 - begin;
        const Markup markup = SectionAt(text, start);
        const QByteArrayView inside = text.sliced(start + 1, markup.next - start - 1);
        for (qsizetype lt = inside.indexOf('<'); lt >= 0; lt = inside.indexOf('<', lt + 1)) {
            const auto hidden = std::find_if(tags.begin(), tags.end(),
                                             [&](QByteArrayView tag) { return inside.sliced(lt).startsWith(tag); });
            if (hidden != tags.end())
                return QStringLiteral("%1 holds \"%2\", which the rewrite would take for an element, and break the "
                                      "file (%3)")
                    .arg(KindOf(text.sliced(start)), QString::fromLatin1(*hidden),
                         QString::fromUtf8(text.sliced(start, std::min(kShownBytes, markup.next - start))));
        }
        // The next section's '<' may stand just past this one's end.
        at = begin + markup.next + 1;
    }
    return {};
}

} // namespace lirobel::vsqx
