// SPDX-License-Identifier: GPL-3.0-or-later
// The copy into "Data Files": the same archive, bytes and date, and nothing else left there.
#include <gtest/gtest.h>

#include <chrono>

#include "TemporaryFolder.h"
#include "platform/CopyFile.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TemporaryFolder;
using testing::writeBytes;

TEST(CopyFileTest, TheCopyHasTheSourcesBytesAndDate) {
    TemporaryFolder folder;
    const auto source = folder / "Mod.bsa";
    std::string bytes(3 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 131 >> 7);
    }
    writeBytes(source, bytes);
    // A date long past, so that a copy stamped with the time of copying cannot pass.
    const auto date = fs::last_write_time(source) - std::chrono::hours(24 * 365 * 10);
    fs::last_write_time(source, date);
    fs::create_directory(folder / "Data Files");
    const auto destination = folder / "Data Files" / "Mod.bsa";

    const auto copied = platform::copyFile(source, destination, [](auto, auto) { return true; });
    ASSERT_TRUE(copied) << copied.reason();
    ASSERT_EQ(copied.value(), platform::CopyOutcome::Copied);
    EXPECT_EQ(readBytes(destination), bytes);
    EXPECT_EQ(fs::last_write_time(destination), date);
    EXPECT_EQ(TemporaryFolder::listingOf(folder / "Data Files"), "Mod.bsa");
}

}  // namespace
}  // namespace varnock
