// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include "SettingsFile.h"
#include "TemporaryFolder.h"

namespace varnock::testing {

class SettingsFileTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path ini = folder / "app.ini";
    SettingsFile file{ini};
};

}  // namespace varnock::testing
