// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "text/SingleByteCodePage.h"

namespace varnock::text {
namespace {

std::optional<std::string> utf8ToWindows1252(std::string_view utf8) {
    return singleByteCodePage(1252)->encode(utf8);
}

std::string windows1252ToUtf8(std::string_view bytes) {
    return singleByteCodePage(1252)->decode(bytes);
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(byte)), byte) << b;
    }
    EXPECT_EQ(windows1252ToUtf8("\x80\x9F\xE9"), "\u20AC\u0178\u00E9");
}

TEST(Windows1252, TextItCannotHoldIsRefusedNotReplaced) {
    EXPECT_EQ(utf8ToWindows1252("\u03A9"), std::nullopt);        // Greek omega
    EXPECT_EQ(utf8ToWindows1252("a\U0001F600"), std::nullopt);   // outside the BMP
    EXPECT_EQ(utf8ToWindows1252("\xC0\x80"), std::nullopt);      // overlong NUL
    EXPECT_EQ(utf8ToWindows1252("\xED\xA0\x80"), std::nullopt);  // surrogate
    EXPECT_EQ(utf8ToWindows1252("\xE2\x82"), std::nullopt);      // cut short
    EXPECT_EQ(utf8ToWindows1252("\xE9"), std::nullopt);          // Latin-1, not UTF-8
}

}  // namespace
}  // namespace varnock::text
