// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFilesCheck.h"

#include <gtest/gtest.h>

#include "PathHelpers.h"
#include "TemporaryFolder.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

class DataFilesCheckTest : public ::testing::Test {
protected:
    std::vector<bool> missing(const std::vector<std::string>& names) const {
        return missingFromDataFiles({dataFilesFolderOf(utf8FromPath(folder / "app.ini"))}, names);
    }

    TemporaryFolder folder;
    fs::path dataFiles = folder / "Data Files";
};

TEST_F(DataFilesCheckTest, WithoutTheFolderEveryNameIsMissing) {
    EXPECT_EQ(missing({"a.bsa", "b.bsa"}), (std::vector<bool>{true, true}));
    EXPECT_TRUE(missing({}).empty());
}

TEST_F(DataFilesCheckTest, FindsFilesAsTheOtherApplicationDoes) {
    fs::create_directories(dataFiles / "Folder.bsa");
    testing::writeBytes(dataFiles / "Base.bsa", "x");
    testing::writeBytes(dataFiles / pathFromUtf8("\xC3\xA9t\xC3\xA9.bsa"), "x");  // "été.bsa"
    fs::create_directories(folder / "Elsewhere");
    testing::writeBytes(folder / "Elsewhere" / "Out.bsa", "x");
    EXPECT_EQ(missing({"Base.bsa", "BASE.BSA", "\xC3\x89T\xC3\x89.bsa", "Folder.bsa", "Gone.bsa",
                       "../Elsewhere/Out.bsa", "..", ""}),
              (std::vector<bool>{false, false, false, true, true, true, true, true}));
}

}  // namespace
}  // namespace varnock
