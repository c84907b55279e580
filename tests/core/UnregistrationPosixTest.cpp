// SPDX-License-Identifier: GPL-3.0-or-later
// Unregistration where permissions come into play.
#include <sys/stat.h>

#include "Unprivileged.h"
#include "UnregistrationFixture.h"

namespace varnock {
namespace {

using testing::kFiveSlots;
using testing::UnregistrationTest;

TEST_F(UnregistrationTest, AFailedRemovalIsReportedAndNotConfirmed) {
    testing::giveToUnprivilegedUser(ini);
    ::chmod(ini.c_str(), 0444);
    EXPECT_TRUE(testing::runUnprivileged([&]() -> std::string {
        if (unregister({2, 4}) != Unregistration::NotUnregistered) {
            return "the removal was not reported as failed";
        }
        if (prompts.shown.size() != 1) {
            return "expected one message, saw " + std::to_string(prompts.shown.size());
        }
        return prompts.shown[0].starts_with(
                   "The 2 selected archives were not unregistered. Cannot save")
                   ? ""
                   : "the message does not say why: " + prompts.shown[0];
    }));
    EXPECT_EQ(testing::readBytes(ini), kFiveSlots);
}

}  // namespace
}  // namespace varnock
