// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vsqx/put_phonetic_to_vsqx.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lirobel::vsqx {

/// The rewritten text as a rewrite makes it: it collects in a buffer that goes to RewriteHooks::write in
/// pieces of about kPieceBytes, so that the buffer stays small, or stays whole for PhoneticRewrite::text.
class RewriteOutput {
public:
    static constexpr qsizetype kPieceBytes = 256 * 1024;

    /// wholeSize: what the whole text is likely to take, reserved when there is no write hook.
    RewriteOutput(const RewriteHooks& hooks, qsizetype wholeSize) : m_hooks(hooks) {
        m_buffer.reserve(m_hooks.write ? 2 * kPieceBytes : wholeSize);
    }

    /// Where the next bytes go; Deliver hands them on.
    QByteArray& Buffer() { return m_buffer; }
    /// The bytes made so far, delivered or not.
    qsizetype Size() const { return m_delivered + m_buffer.size(); }

    /// Hands the buffer to the write hook, when there is one and the buffer holds a piece (or anything, if
    /// all). False when the hook refuses it.
    bool Deliver(bool all) {
        if (!m_hooks.write || m_buffer.isEmpty() || (!all && m_buffer.size() < kPieceBytes))
            return true;
        return DeliverBuffer();
    }
    /// Appends the bytes, handing on each piece as it fills; false as Deliver.
    bool Append(QByteArrayView bytes);
    /// The whole text, when there is no write hook; empty otherwise.
    QByteArray TakeText() { return m_hooks.write ? QByteArray() : std::move(m_buffer); }

    /// Why a rewrite failed when Deliver or Append did, in English.
    static QString WriteRefused() { return QStringLiteral("the rewritten text could not be written"); }

private:
    bool DeliverBuffer();

    const RewriteHooks& m_hooks;
    QByteArray m_buffer;
    qsizetype m_delivered = 0;
};

} // namespace lirobel::vsqx
