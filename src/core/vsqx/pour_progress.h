// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

namespace lirobel::vsqx {

/// How many bytes the pour-in reads or scans between two chances to yield. A yield per byte, as a
/// progress window would like it, costs more than the rewrite itself.
inline constexpr qsizetype kYieldBytes = 64 * 1024;

/// What a pour-in run tells the one who watches it. Every call happens on the caller's thread, inside
/// the run; the defaults do nothing, which suits a caller that shows no progress.
class PourProgress {
public:
    virtual ~PourProgress() = default;

    /// Whether the values are shown: only then does the run count every line of the file for them.
    virtual bool Shown() const { return false; }

    /// The file is a VSQX file and the run goes on: the time to disable the writer window and show the
    /// progress window. Not called when the run ends before that (not found, not a VSQX file).
    virtual void Start() {}
    virtual void SetMaximum(double /*maximum*/) {}
    virtual void SetValue(double /*value*/) {}
    virtual void SetState(QStringView /*state*/) {}
    /// A chance to let the event loop run, offered after about every kYieldBytes bytes read or scanned.
    virtual void Yield() {}
};

} // namespace lirobel::vsqx
