// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/native_path.h"

#include <gtest/gtest.h>

namespace lirobel::files {
namespace {

TEST(NativePath, KeepsEveryByteOfAName) {
    const QByteArray names[] = {
        "song.vsqx",
        "/home/me/\xe6\xad\x8c/\xe4\xbd\xa0\xe5\xa5\xbd.vsqx", // UTF-8
        "\xb8\xe8\xc7\xfa.vsqx",                               // GBK
        "\xff.vsqx",
        "\xc0\xaf overlong",
        "\xed\xa0\x80 surrogate",
        "cut short \xe4\xbd",
        "\xf4\x90\x80\x80 past U+10FFFF",
        "\xef\xbf\xbd the replacement character itself",
    };
    for (const QByteArray& name : names) {
        const QString path = PathFromNative(name);
        EXPECT_EQ(NativeFromPath(path), name) << name.toHex().toStdString();
        EXPECT_EQ(HasRawBytes(path), QString::fromUtf8(name).toUtf8() != name) << name.toHex().toStdString();
    }
    EXPECT_EQ(PathFromNative("\xe4\xbd\xa0.vsqx"), QStringLiteral("你.vsqx"));
    // Two names that Qt would both decode to U+FFFD stay apart.
    EXPECT_NE(PathFromNative("\xff"), PathFromNative("\xfe"));
    EXPECT_NE(PathFromNative("\xff"), PathFromNative("\xef\xbf\xbd"));
}

} // namespace
} // namespace lirobel::files
