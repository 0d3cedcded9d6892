// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/pour_texts.h"

#include "core/vsqx/pour_run.h"

namespace lirobel::vsqx {

QString PourCountsText(const PourOutcome& outcome) {
    QString text = QStringLiteral("写入了 %1 个音符").arg(outcome.notesWritten);
    if (outcome.heldSkipped > 0)
        text += QStringLiteral("；跳过了 %1 个延音音符").arg(outcome.heldSkipped);
    if (outcome.itemsLeft > 0)
        text += QStringLiteral("；还有 %1 个音标没有对应的音符").arg(outcome.itemsLeft);
    if (outcome.notesLeft > 0)
        text += QStringLiteral("；还有 %1 个音符没有写入音标").arg(outcome.notesLeft);
    if (outcome.kept.notHanzi > 0)
        text += QStringLiteral("；%1 个音符的歌词不是单个汉字，保持不变").arg(outcome.kept.notHanzi);
    if (outcome.kept.noReading > 0)
        text += QStringLiteral("；%1 个汉字没有读音，保持不变").arg(outcome.kept.noReading);
    if (outcome.kept.noPhonetic > 0)
        text += QStringLiteral("；%1 个读音没有对应的音标，保持不变").arg(outcome.kept.noPhonetic);
    return text + u'。';
}

bool ItemsAndNotesDiffer(const PourOutcome& outcome) {
    return outcome.itemsLeft > 0 || outcome.notesLeft > 0 || outcome.kept.notHanzi > 0 || outcome.kept.noReading > 0 ||
           outcome.kept.noPhonetic > 0;
}

} // namespace lirobel::vsqx
