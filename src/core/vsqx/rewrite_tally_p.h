// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/vsqx/put_phonetic_to_vsqx.h"

#include <QString>
#include <QStringView>
#include <utility>

namespace lirobel::vsqx {

/// The counts and the failure of one rewrite, kept alike by the rewrites of both versions.
class RewriteTally {
protected:
    RewriteTally(QStringView phonetic, const RewriteOptions& options)
        : m_noteItems(options.noteItems), m_itemCount(m_noteItems ? 0 : phonetic.count(u'|')) {}

    /// With RewriteOptions::noteItems, the item of the next note the rewrite meets, or empty to leave it.
    QStringView NextNoteItem() const {
        const qsizetype note = m_notesWritten + m_notesLeft + m_heldSkipped;
        return note < m_noteItems->size() ? QStringView(m_noteItems->at(note)) : QStringView();
    }

    bool Fail(QString why) {
        m_failure = std::move(why);
        return false;
    }
    PhoneticRewrite Failure() const { return {false, {}, m_notesWritten, m_failure}; }
    PhoneticRewrite Done(QByteArray text) const {
        PhoneticRewrite done{true, std::move(text), m_notesWritten, {}};
        done.itemsLeft = m_noteItems ? 0 : static_cast<int>(m_itemCount - m_notesWritten);
        done.notesLeft = m_notesLeft;
        done.notesFound = m_notesWritten + m_heldSkipped + m_notesLeft;
        done.heldSkipped = m_heldSkipped;
        return done;
    }

    const QStringList* m_noteItems; ///< RewriteOptions::noteItems
    qsizetype m_itemCount;          ///< items that a "|" ends, empty ones included
    int m_notesWritten = 0;
    int m_notesLeft = 0;   ///< notes after the last item written, held ones excepted
    int m_heldSkipped = 0; ///< held notes passed over, with RewriteOptions::skipHeld
    QString m_failure;
};

} // namespace lirobel::vsqx
