// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that the phonetic pour-in shows to the user, in one place for the window and the CLI.
#pragma once

#include <QString>
#include <QStringView>

namespace lirobel::vsqx {

inline constexpr QStringView kNotVsqxText = u"这不是一个VSQX文件！";
inline constexpr QStringView kVsqxNotFoundText = u"没有找到VSQX文件，请确认文件路径是否正确！";
inline constexpr QStringView kUnexpectedFailureText = u"发生意外错误！";
inline constexpr QStringView kPourCompletedText = u"VOCALOID音标灌入完成！";

inline constexpr QStringView kReadingState = u"正在读取VSQX文件...";
inline constexpr QStringView kProcessingState = u"正在处理VSQX文件...";
inline constexpr QStringView kExportingState = u"正在导出VSQX文件...";

struct PourOutcome;

/// What went where in a completed pour, e.g. "写入了 2 个音符；还有 1 个音符没有写入音标。".
QString PourCountsText(const PourOutcome& outcome);
/// Whether the items and the notes (held ones apart) differed in number, or notes were left as they were
/// because their lyrics made no item.
bool ItemsAndNotesDiffer(const PourOutcome& outcome);

} // namespace lirobel::vsqx
