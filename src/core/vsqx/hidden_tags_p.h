// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <span>

namespace lirobel::vsqx {

/// Why a text cannot go through a scan that takes the given tags for elements wherever they lie: a
/// comment, CDATA section, processing instruction or declaration holds one of them, in English with the
/// start of that markup. Empty when none does. Costs a pass over the text.
QString HiddenTagCause(QByteArrayView text, std::span<const QByteArrayView> tags);

} // namespace lirobel::vsqx
