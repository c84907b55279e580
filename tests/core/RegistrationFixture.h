// SPDX-License-Identifier: GPL-3.0-or-later
// A game folder with its settings file, "Data Files" and a download folder, and scripted
// prompts, for the registration tests.
#pragma once

#include <gtest/gtest.h>

#include "PathHelpers.h"
#include "Registration.h"
#include "ScriptedPrompts.h"
#include "TemporaryFolder.h"

namespace varnock::testing {

namespace fs = std::filesystem;

inline const std::string kQuestion =
    "The archive you selected is not in the \"Data Files\" folder where it is supposed to be. "
    "Copy it?";

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dataFiles);
        fs::create_directories(elsewhere);
    }

    // An archive file with some content of its own.
    fs::path archive(const fs::path& folder, const std::string& name, std::size_t size = 1000) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i * 7 + name.size());
        }
        writeBytes(folder / name, bytes);
        return folder / name;
    }

    RegistrationOutcome registerFile(const fs::path& archivePath) {
        return registerArchive(utf8FromPath(archivePath), utf8FromPath(ini), prompts, progress)
            .outcome;
    }

    TemporaryFolder folder;
    fs::path game = folder / "Game";
    fs::path ini = game / "app.ini";
    fs::path dataFiles = game / "Data Files";
    fs::path elsewhere = folder / "Downloads";
    ScriptedPrompts prompts;
    ScriptedProgress progress;
};

class RegistrationFailureTest : public RegistrationTest {
protected:
    void expectNothingRegistered(const std::string& settingsBefore) {
        EXPECT_EQ(readBytes(ini), settingsBefore);
        for (const auto& text : prompts.shown) {
            EXPECT_EQ(text.find(" registered successfully."), std::string::npos) << text;
        }
    }
    const std::string settings = "[Archives]\r\nArchive 0=a.bsa\r\n";
};

}  // namespace varnock::testing
