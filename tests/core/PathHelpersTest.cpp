// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathHelpers.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

TEST(PathHelpers, SplitAtTheLastSeparator) {
    EXPECT_EQ(lastComponent("/game/Data Files/x.bsa"), "x.bsa");
    EXPECT_EQ(folderOf("/game/Data Files/x.bsa"), "/game/Data Files/");
    EXPECT_EQ(lastComponent("x.bsa"), "x.bsa");
    EXPECT_EQ(folderOf("x.bsa"), "");
    EXPECT_EQ(lastComponent("/game/"), "");
    EXPECT_EQ(folderOf("/game/"), "/game/");
    EXPECT_EQ(lastComponent(""), "");
}

TEST(PathHelpers, BackslashSeparatesOnlyOnWindows) {
#ifdef _WIN32
    EXPECT_EQ(lastComponent("C:\\Game\\Data Files\\x.bsa"), "x.bsa");
    EXPECT_EQ(folderOf("C:\\Game\\Data Files\\x.bsa"), "C:\\Game\\Data Files\\");
    EXPECT_EQ(lastComponent("C:\\Game/sub\\x.bsa"), "x.bsa");
    EXPECT_EQ(folderOf("C:/Game/x.bsa"), "C:/Game/");
#else
    EXPECT_EQ(lastComponent("/a/odd\\name.bsa"), "odd\\name.bsa");
    EXPECT_EQ(folderOf("/a/odd\\name.bsa"), "/a/");
#endif
}

TEST(PathHelpers, Utf8PathsSurviveTheRoundTrip) {
    const std::string text = "/tmp/\u00C9t\u00E9/\u65E5\u672C.ini";
    EXPECT_EQ(utf8FromPath(pathFromUtf8(text)), text);
}

}  // namespace
}  // namespace varnock
