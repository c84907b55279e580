// SPDX-License-Identifier: GPL-3.0-or-later
// A save and a copy of the Windows build killed (TerminateProcess) at random moments: the
// settings file is old or new or its old bytes are kept, "Data Files" never holds part of an
// archive under its name, and the next save sweeps what the killed ones left.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "PathHelpers.h"
#include "TemporaryFolder.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::readBytes;
using testing::TemporaryFolder;
using testing::writeBytes;

constexpr int kKills = 40;

// The probe beside the suite, whose path CMake gives as the build machine sees it.
fs::path probe() {
    const fs::path given = VARNOCK_SAVE_PROBE;
    return fs::exists(given) ? given : fs::path("Z:" + std::string(VARNOCK_SAVE_PROBE));
}

std::string bigText(std::string_view head, std::size_t size) {
    std::string text(head);
    while (text.size() < size) {
        text += "sFillerSetting" + std::to_string(text.size()) + "=some value\r\n";
    }
    return text;
}

// Runs the probe with args, with kept copies in cache; its process, to kill or wait for.
HANDLE start(const std::wstring& args, const fs::path& cache) {
    // The child inherits it; this process gets its own back, for the tests that follow.
    wchar_t before[MAX_PATH] = {};
    const bool had = ::GetEnvironmentVariableW(L"LOCALAPPDATA", before, MAX_PATH) > 0;
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", cache.c_str());
    std::wstring line = L"\"" + probe().wstring() + L"\" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &process);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", had ? before : nullptr);
    if (!started) {
        ADD_FAILURE() << "cannot start the probe: error " << ::GetLastError();
        return nullptr;
    }
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD finish(HANDLE process) {
    DWORD code = 1;
    ::WaitForSingleObject(process, INFINITE);
    ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    return code;
}

std::wstring quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

enum class Run { SaveByRename, SaveInPlace, Copy };

class KilledAtRandomWindows : public ::testing::TestWithParam<Run> {
protected:
    void reset() {
        std::error_code ec;
        fs::remove(ini, ec);
        fs::remove(folder / "other.ini", ec);
        fs::remove_all(cache.path() / "Varnock", ec);
        writeBytes(ini, old);
        writeBytes(copied, "an older archive");
        if (GetParam() == Run::SaveInPlace) {
            ASSERT_TRUE(::CreateHardLinkW((folder / "other.ini").c_str(), ini.c_str(), nullptr));
        }
    }
    std::wstring args() const {
        if (GetParam() == Run::Copy) {
            return L"copy " + quoted(archive) + L" " + quoted(copied);
        }
        return L"set " + quoted(ini) + L" \"Archive 0\" New.bsa";
    }
    // What a killed run left wrong; empty when all is well.
    std::string wrongAfterKill() const {
        if (GetParam() == Run::Copy) {
            if (!fs::exists(copied)) {
                return "";
            }
            const std::string now = readBytes(copied);
            return now == archiveBytes || now == "an older archive"
                       ? ""
                       : "\"Data Files\" holds " + std::to_string(now.size()) +
                             " bytes under the archive's name, neither the old file nor the copy";
        }
        const std::string now = readBytes(ini);
        if (now == old || now == fresh) {
            return "";
        }
        const fs::path kept = cache.path() / "Varnock";
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(kept, ec)) {
            if (!utf8FromPath(entry.path().filename()).starts_with(".") &&
                readBytes(entry.path()) == old) {
                return "";
            }
        }
        return "the settings file holds " + std::to_string(now.size()) +
               " bytes, neither old nor new, and no kept copy holds the old ones";
    }

    TemporaryFolder folder;
    TemporaryFolder cache;
    fs::path ini = folder / "app.ini";
    fs::path archive = folder / "Mod.bsa";
    fs::path copied = folder / "Data Files" / "Mod.bsa";
    std::string old = bigText("[Archives]\r\nArchive 0=Meshes.bsa\r\n\r\n[Filler]\r\n", 4u << 20);
    std::string fresh = [this] {
        std::string text = old;
        return text.replace(text.find("Meshes.bsa"), 10, "New.bsa");
    }();
    std::string archiveBytes = bigText("archive ", 24u << 20);
};

TEST_P(KilledAtRandomWindows, WhatStandsUnderTheNameIsWholeAndLeftoversAreSwept) {
    fs::create_directories(folder / "Data Files");
    writeBytes(archive, archiveBytes);
    reset();
    // How long an unhurried run takes sets the range of the moments to kill at.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(finish(start(args(), cache.path())), 0u) << "an undisturbed run failed";
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    ASSERT_EQ(GetParam() == Run::Copy ? readBytes(copied) : readBytes(ini),
              GetParam() == Run::Copy ? archiveBytes : fresh);

    std::mt19937 random(20261209);
    std::string broken;
    int changed = 0, leftBehind = 0;
    for (int kill = 0; kill < kKills && broken.empty(); ++kill) {
        reset();
        const auto delay = std::uniform_int_distribution<long long>(0, span.count())(random);
        const HANDLE process = start(args(), cache.path());
        ASSERT_NE(process, nullptr);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::TerminateProcess(process, 99);
        finish(process);
        if (const std::string wrong = wrongAfterKill(); !wrong.empty()) {
            broken = "killed after " + std::to_string(delay) + " µs: " + wrong;
        }
        changed += (GetParam() == Run::Copy ? readBytes(copied) : readBytes(ini)) !=
                   (GetParam() == Run::Copy ? "an older archive" : old);
        leftBehind += folder.listing().find(".varnock-") != std::string::npos ||
                      TemporaryFolder::listingOf(folder / "Data Files").find(".varnock-") !=
                          std::string::npos;
    }
    EXPECT_EQ(broken, "");
    std::cout << "[   NOTE   ] " << kKills << " kills: " << changed << " after the change, "
              << leftBehind << " with a temporary file standing\n";

    // The leftovers of the killed runs are gone after the next one.
    std::this_thread::sleep_for(1100ms);
    reset();
    ASSERT_EQ(finish(start(args(), cache.path())), 0u) << "the run after the kills failed";
    if (GetParam() == Run::Copy) {
        EXPECT_EQ(TemporaryFolder::listingOf(folder / "Data Files"), "Mod.bsa");
    } else {
        EXPECT_EQ(folder.listing(), GetParam() == Run::SaveInPlace
                                        ? "Data Files Mod.bsa app.ini other.ini"
                                        : "Data Files Mod.bsa app.ini");
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, KilledAtRandomWindows,
                         ::testing::Values(Run::SaveByRename, Run::SaveInPlace, Run::Copy),
                         [](const auto& info) {
                             switch (info.param) {
                                 case Run::SaveByRename:
                                     return "SaveByRename";
                                 case Run::SaveInPlace:
                                     return "SaveInPlace";
                                 case Run::Copy:
                                     break;
                             }
                             return "Copy";
                         });

}  // namespace
}  // namespace varnock
