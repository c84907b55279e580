// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileKind.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

TEST(FileKindTest, NamesTheFilterWithTheExtensionInCapitals) {
    EXPECT_EQ(kArchiveFile.filterName(), "Archive file (*.BSA)");
    EXPECT_EQ(kArchiveFile.pattern(), "*.BSA");
    EXPECT_EQ(kSettingsFile.filterName(), "Initialization settings file (*.INI)");
    EXPECT_EQ(kSettingsFile.pattern(), "*.INI");
}

TEST(FileKindTest, OnlyTheLastThreeCharactersCountInAnyCase) {
    for (const char* path : {"C:\\x\\a.bsa", "a.BSA", "/x/a.Bsa", "abcbsa", "bsa"}) {
        EXPECT_TRUE(kArchiveFile.matches(path)) << path;
    }
    for (const char* path : {"a.bsa.bak", "a.bs", "sa", "", "a.ini", "a.bs\xC3\xA4"}) {
        EXPECT_FALSE(kArchiveFile.matches(path)) << path;
    }
    EXPECT_TRUE(kSettingsFile.matches("C:\\Game\\App.INI"));
    EXPECT_FALSE(kSettingsFile.matches("C:\\x\\notes.txt"));
}

}  // namespace
}  // namespace varnock
