// SPDX-License-Identifier: GPL-3.0-or-later
// A save of a large settings file killed at random moments, inside its long writes as well
// as between its system calls: the file is old or new, or its old bytes are in the backup.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "TemporaryFolder.h"

extern char** environ;

namespace varnock {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::readBytes;
using testing::TemporaryFolder;
using testing::writeBytes;

constexpr int kKills = 150;

// 5 MB of other sections after [Archives], so that the change near the start rewrites them all.
std::string largeSettings() {
    std::string text = "[Archives]\r\nArchive 0=Meshes.bsa\r\n\r\n[Filler]\r\n";
    while (text.size() < (5u << 20)) {
        text += "sFillerSetting" + std::to_string(text.size()) + "=some value\r\n";
    }
    return text;
}

// Starts the probe saving "Archive 0"; its process id.
pid_t startSave(const fs::path& ini, const fs::path& cache) {
    const std::string cacheVariable = "XDG_CACHE_HOME=" + cache.string();
    std::vector<char*> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        environment.push_back(*variable);
    }
    environment.push_back(const_cast<char*>(cacheVariable.c_str()));
    environment.push_back(nullptr);
    const std::string probe = VARNOCK_SAVE_PROBE;
    const std::string path = ini.string();
    const char* argv[] = {probe.c_str(), "set", path.c_str(), "Archive 0", "New.bsa", nullptr};
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, probe.c_str(), nullptr, nullptr, const_cast<char**>(argv),
                            environment.data()),
              0);
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

class SaveKilledAtRandom : public ::testing::TestWithParam<bool> {};

TEST_P(SaveKilledAtRandom, TheFileIsOldOrNewOrItsOldBytesAreKept) {
    const bool inPlace = GetParam();
    TemporaryFolder folder;
    TemporaryFolder cache;
    const auto ini = folder / "app.ini";
    const auto backups = cache / "varnock";
    const std::string old = largeSettings();
    std::string fresh = old;
    fresh.replace(fresh.find("Meshes.bsa"), 10, "New.bsa");

    // How long an unhurried save takes sets the range of the moments to kill at.
    writeBytes(ini, old);
    if (inPlace) {
        fs::create_hard_link(ini, folder / "other.ini");
    }
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(waitFor(startSave(ini, cache.path())), 0);
    const auto span = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(readBytes(ini), fresh);

    std::mt19937 random(20261208);
    int oldFiles = 0, newFiles = 0, recovered = 0;
    std::string broken;
    for (int kill = 0; kill < kKills && broken.empty(); ++kill) {
        fs::remove(ini);
        fs::remove(folder / "other.ini");
        writeBytes(ini, old);
        if (inPlace) {
            fs::create_hard_link(ini, folder / "other.ini");
        }
        const auto delay = std::uniform_int_distribution<long long>(
            0, std::chrono::duration_cast<std::chrono::microseconds>(span).count())(random);
        const pid_t pid = startSave(ini, cache.path());
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(pid, SIGKILL);
        waitFor(pid);
        const std::string now = readBytes(ini);
        if (now == old) {
            ++oldFiles;
        } else if (now == fresh) {
            ++newFiles;
        } else if (fs::exists(backups) && !fs::is_empty(backups) &&
                   readBytes(fs::directory_iterator(backups)->path()) == old) {
            ++recovered;
        } else {
            broken = "killed after " + std::to_string(delay) + " µs: the file holds " +
                     std::to_string(now.size()) + " bytes, neither old nor new, and no backup";
        }
        if (fs::exists(backups)) {
            fs::remove_all(backups);
        }
    }
    EXPECT_EQ(broken, "");
    std::cout << "[   NOTE   ] " << (inPlace ? "in place" : "by rename") << ": " << oldFiles
              << " old, " << newFiles << " new, " << recovered
              << " torn with the old bytes in the backup\n";
    // Leftovers of the killed saves are gone after the next one.
    std::this_thread::sleep_for(1100ms);
    writeBytes(ini, old);
    ASSERT_EQ(waitFor(startSave(ini, cache.path())), 0);
    EXPECT_EQ(folder.listing(), inPlace ? "app.ini other.ini" : "app.ini");
}

INSTANTIATE_TEST_SUITE_P(Routes, SaveKilledAtRandom, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InPlace" : "ByRename"; });

}  // namespace
}  // namespace varnock
