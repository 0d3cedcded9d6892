// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lirobel::kana {

/// Sequence romaji, or the reason why the lyrics cannot be converted.
struct RomajiConversion {
    bool succeeded = true;
    QString romaji;  ///< tokens joined by single spaces, when succeeded
    QString failure; ///< what is wrong with the lyrics, when not

    static RomajiConversion Failed(QString reason) { return {false, {}, std::move(reason)}; }
};

} // namespace lirobel::kana
