// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/rewrite_output_p.h"

#include <algorithm>

namespace lirobel::vsqx {

bool RewriteOutput::DeliverBuffer() {
    m_delivered += m_buffer.size();
    const bool taken = m_hooks.write(m_buffer);
    m_buffer.resize(0);
    return taken;
}

bool RewriteOutput::Append(QByteArrayView bytes) {
    if (!m_hooks.write) {
        m_buffer.append(bytes);
        return true;
    }
    while (!bytes.isEmpty()) {
        const qsizetype piece = std::min(bytes.size(), kPieceBytes);
        m_buffer.append(bytes.first(piece));
        bytes = bytes.sliced(piece);
        if (!Deliver(false))
            return false;
    }
    return true;
}

} // namespace lirobel::vsqx
