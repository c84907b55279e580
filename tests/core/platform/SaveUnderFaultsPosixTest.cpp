// SPDX-License-Identifier: GPL-3.0-or-later
// A save and a copy attacked from outside: the probe runs under strace, which kills it at each
// of its system calls in turn or makes each of its file calls fail, on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "StraceProbe.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::bytesOf;
using testing::Call;
using testing::CommandResult;
using testing::files;
using testing::firstLine;
using testing::joined;
using testing::kStuck;
using testing::note;
using testing::ProbeTest;
using testing::readBytes;
using testing::runCommand;
using testing::straysIn;
using testing::StrayWatch;
using testing::writeBytes;

// Varnock sweeps only leftovers older than a second: a younger one may be another save's, still
// being written.
constexpr auto kTemporaryAge = 1100ms;
// Failures tried per system call; more would only repeat the same failure on the same path.
constexpr std::size_t kOccurrencesPerCall = 20;

// Calls that reach a file, a folder or their metadata: the ones worth making fail.
const std::set<std::string> kFileCalls = {
    "openat",    "open",      "read",       "pread64",  "write",    "pwrite64",        "fsync",
    "fdatasync", "fstat",     "newfstatat", "statx",    "stat",     "lstat",           "rename",
    "renameat",  "renameat2", "fchmod",     "fchmodat", "fchown",   "fchownat",        "flock",
    "ftruncate", "fallocate", "close",      "unlink",   "unlinkat", "getdents64",      "flistxattr",
    "fgetxattr", "fsetxattr", "ioctl",      "linkat",   "mkdir",    "mkdirat",         "utimensat",
    "access",    "faccessat", "faccessat2", "lseek",    "fcntl",    "copy_file_range", "readlink",
    "readlinkat"};
// What strace makes of a file system without locks.
constexpr std::string_view kLocksUnsupported = "flock:error=ENOLCK";
// Calls that can also fail for want of space.
const std::set<std::string> kSpaceCalls = {"write", "pwrite64", "fallocate", "copy_file_range"};

// Locks unsupported by the file system (flock failing every time), then the lock and the
// identity checks around each temporary's creation failing once at each of their calls.
std::vector<std::string> lockAndIdentityFailures(const std::vector<Call>& calls) {
    static const std::set<std::string> kChecks = {"flock", "fstat", "newfstatat", "statx", "stat"};
    std::vector<std::string> injections = {std::string(kLocksUnsupported)};
    std::set<std::string> seen;
    for (const auto& call : calls) {
        const std::string injection =
            call.name + ":error=EIO:when=" + std::to_string(call.occurrence);
        if (call.afterStart && kChecks.contains(call.name) && seen.insert(injection).second) {
            injections.push_back(injection);
        }
    }
    return injections;
}

// The temporaries (".varnock-…") in folder.
std::vector<std::string> temporariesIn(const fs::path& folder) {
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().starts_with(".varnock-")) {
            found.push_back(it->path().string());
        }
    }
    return found;
}

// A settings file of a few kilobytes as the owning application leaves it: CRLF, comments,
// the archive list between other sections.
std::string realisticSettings() {
    std::string text = "; Settings of the application\r\n[General]\r\nsLanguage=ENGLISH\r\n";
    for (int i = 0; i < 40; ++i) {
        text += "iGeneralSetting" + std::to_string(i) + "=" + std::to_string(i * 37) + "\r\n";
    }
    text += "\r\n[Archives]\r\nArchive 0=Meshes.bsa\r\n  archive 1 =  Textures.bsa\r\n";
    text += "; user archives follow\r\n\r\n[Display]\r\n";
    for (int i = 0; i < 40; ++i) {
        text += "fDisplaySetting" + std::to_string(i) + "=" + std::to_string(i) + ".5000\r\n";
    }
    text += "\r\n[Controls]\r\n";
    for (int i = 0; i < 30; ++i) {
        text += "bInvertAxis" + std::to_string(i) + "=" + std::to_string(i % 2) + "\r\n";
    }
    return text;
}

enum class Route { ByRename, InPlace };

void PrintTo(Route route, std::ostream* out) {
    *out << (route == Route::ByRename ? "by rename" : "in place for a hard-linked file");
}

class SaveUnderFaults : public ProbeTest, public ::testing::WithParamInterface<Route> {
protected:
    void SetUp() override {
        ProbeTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        fs::create_directories(settings);
        // The new bytes are what a save that nothing disturbs makes of the old ones.
        const fs::path clean = temp / "clean.ini";
        writeBytes(clean, old);
        const auto run = probe(saveArgs(clean));
        ASSERT_TRUE(run.exited(0)) << "a clean save failed: " << run.output;
        fresh = readBytes(clean);
        ASSERT_NE(fresh, old);
        fs::remove(clean);
    }

    bool inPlace() const { return GetParam() == Route::InPlace; }
    // A save that shortens the file, so that bytes written over the old ones in place leave
    // some old bytes beyond the new end until the file is cut there.
    std::vector<std::string> saveArgs(const fs::path& file) const {
        return {"set", file.string(), "Archive 0", "New.bsa"};
    }
    std::vector<std::string> saveArgs() const { return saveArgs(ini); }

    // The old file again, and its second link for the in-place route; what earlier runs left
    // in the folder stays, for the sweep at the end.
    void resetSettings() {
        fs::remove(ini);
        fs::remove(link);
        writeBytes(ini, old);
        // A file written a moment ago is read twice, which would move the kill points.
        fs::last_write_time(ini, fs::file_time_type::clock::now() - 1h);
        if (inPlace()) {
            fs::create_hard_link(ini, link);
        }
        // A backup left by an earlier run must not pass for this run's.
        fs::remove_all(cache);
        fs::create_directories(cache);
    }

    std::string describe(const std::optional<std::string>& bytes) const {
        if (!bytes) {
            return "no file";
        }
        if (*bytes == old) {
            return "the old bytes";
        }
        if (*bytes == fresh) {
            return "the new bytes";
        }
        const auto differ = std::mismatch(bytes->begin(), bytes->end(), old.begin(), old.end());
        return std::to_string(bytes->size()) + " bytes, neither old nor new (unlike the old from " +
               "byte " + std::to_string(differ.first - bytes->begin()) + " on)";
    }

    // Backups in Varnock's cache folder that hold exactly the old bytes.
    std::vector<fs::path> backupsOfOld() const {
        std::vector<fs::path> found;
        std::error_code ec;
        for (fs::directory_iterator it(cache / "varnock", ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->is_regular_file() && readBytes(it->path()) == old) {
                found.push_back(it->path());
            }
        }
        return found;
    }

    // What is wrong with the settings file after run, or with the run itself (strace refused
    // it, it did not end); nothing when all is well. A killed run
    // may leave old or new bytes; a finished one new bytes when it succeeded, old ones when it
    // failed. In place, a torn file is allowed only beside a backup of the old bytes (which a
    // failed run must also name). backedUp counts the runs that needed the backup.
    std::string wrongAfter(const CommandResult& run, bool killed, std::size_t& backedUp) const {
        if (std::string refused = straceRefusal(run); !refused.empty()) {
            return refused;
        }
        if (run.timedOut) {
            return kStuck;
        }
        const auto bytes = bytesOf(ini);
        if (inPlace() && bytesOf(link) != bytes) {
            return "the settings file holds " + describe(bytes) + " but its other link holds " +
                   describe(bytesOf(link));
        }
        const bool succeeded = run.exited(0);
        if (killed ? (bytes == old || bytes == fresh) : bytes == (succeeded ? fresh : old)) {
            return "";
        }
        if (inPlace() && (killed || !succeeded)) {
            for (const auto& backup : backupsOfOld()) {
                if (killed || run.output.find(backup.filename().string()) != std::string::npos) {
                    ++backedUp;
                    return "";
                }
            }
        }
        std::string wrong = killed      ? ""
                            : succeeded ? "the probe succeeded, but "
                                        : "the probe failed (" + run.ending() + ", " +
                                              firstLine(run.output) + "), but ";
        wrong += "the settings file holds " + describe(bytes);
        if (inPlace() && bytes != old && bytes != fresh) {
            wrong += killed ? " and no backup of the old bytes is in the cache"
                            : " and the output names no backup of the old bytes";
        }
        return wrong;
    }

    // What the runs leave in the settings folder beside the settings file and its link.
    StrayWatch strays() const { return {settings, {"app.ini", "other.ini"}}; }

    // Leftovers of the attacked runs, once old enough, go with the next save.
    void expectOnlyTheSettingsFileAfterACleanSave(const std::string& after, StrayWatch& strays) {
        std::this_thread::sleep_for(kTemporaryAge);
        resetSettings();
        const auto run = probe(saveArgs());
        strays.ran("the clean save");
        EXPECT_TRUE(run.exited(0)) << "a clean save after " << after << " failed: " << run.output;
        EXPECT_EQ(describe(bytesOf(ini)), "the new bytes") << "after a clean save after " << after;
        const auto left = strays.remaining();
        EXPECT_TRUE(left.empty()) << "after " << after << " and a clean save, the settings folder "
                                  << "holds " << files(left.size()) << " besides the settings file"
                                  << (inPlace() ? " and its other link" : "") << ":"
                                  << joined(left);
    }

    const std::string old = realisticSettings();
    std::string fresh;
    fs::path settings = temp / "settings";
    fs::path ini = settings / "app.ini";
    fs::path link = settings / "other.ini";  // the in-place route's second hard link
};

TEST_P(SaveUnderFaults, KilledAtAnySystemCallTheFileIsOldOrNew) {
    resetSettings();
    const auto calls = traceOf(saveArgs(), settings.string());
    ASSERT_FALSE(calls.empty());
    std::size_t backedUp = 0;
    auto watch = strays();
    const auto [failures, killed] = killAtEach(
        calls, saveArgs(), watch, [&] { resetSettings(); },
        [&](const CommandResult& run) { return wrongAfter(run, true, backedUp); });
    note("kill points", calls.size());
    note("runs killed at their kill point", killed);
    note("torn files covered by a backup", backedUp);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << calls.size()
                                  << " kill points broke the settings file:" << joined(failures);
    expectOnlyTheSettingsFileAfterACleanSave("the killed saves", watch);
}

TEST_P(SaveUnderFaults, AnyFileCallFailingLeavesTheFileOldOrNew) {
    resetSettings();
    const auto calls = traceOf(saveArgs(), settings.string());
    ASSERT_FALSE(calls.empty());
    // Per call, the save's own occurrences first, then the loader's while the cap allows.
    std::map<std::string, std::set<int>> chosen;
    for (const bool fromSave : {true, false}) {
        for (const auto& call : calls) {
            if (call.afterStart == fromSave && kFileCalls.contains(call.name) &&
                chosen[call.name].size() < kOccurrencesPerCall) {
                chosen[call.name].insert(call.occurrence);
            }
        }
    }
    std::vector<std::string> injections;
    for (const auto& [name, occurrences] : chosen) {
        for (const int occurrence : occurrences) {
            const std::string when = ":when=" + std::to_string(occurrence);
            injections.push_back(name + ":error=EIO" + when);
            if (kSpaceCalls.contains(name)) {
                injections.push_back(name + ":error=ENOSPC" + when);
            }
        }
    }
    std::vector<std::string> failures;
    std::size_t failed = 0;
    std::size_t backedUp = 0;
    auto watch = strays();
    for (const auto& injection : injections) {
        resetSettings();
        const auto run = probe(saveArgs(), {"-o", "/dev/null", "-e", "inject=" + injection});
        watch.ran(injection);
        failed += run.exited(0) ? 0 : 1;
        const std::string wrong = wrongAfter(run, false, backedUp);
        if (!wrong.empty()) {
            failures.push_back(injection + ": " + wrong);
        }
        if (run.timedOut) {
            break;
        }
    }
    const std::size_t runs = injections.size();
    note("failures injected", runs);
    note("runs that reported a failure", failed);
    note("failed saves covered by a named backup", backedUp);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << runs
                                  << " injected failures broke the settings file:"
                                  << joined(failures);
    expectOnlyTheSettingsFileAfterACleanSave("the failed saves", watch);
}

// Nothing a save creates stays behind it, at once rather than at the next save's sweep, and a
// file system without locks saves all the same.
TEST_P(SaveUnderFaults, ALockOrIdentityCheckFailingLeavesNoTemporary) {
    resetSettings();
    const auto calls = traceOf(saveArgs(), settings.string());
    ASSERT_FALSE(calls.empty());
    std::vector<std::string> failures;
    const auto injections = lockAndIdentityFailures(calls);
    for (const auto& injection : injections) {
        resetSettings();
        const auto run = probe(saveArgs(), {"-o", "/dev/null", "-e", "inject=" + injection});
        std::vector<std::string> left = temporariesIn(cache / "varnock");
        for (const auto& name : straysIn(settings, {"app.ini", "other.ini"})) {
            left.push_back(name);
        }
        std::size_t backedUp = 0;
        std::string wrong = wrongAfter(run, false, backedUp);
        if (injection == kLocksUnsupported && !run.exited(0)) {
            wrong = "the save failed without locks: " + firstLine(run.output);
        }
        if (!left.empty()) {
            wrong += (wrong.empty() ? "" : "; ") + std::string("left") + joined(left);
        }
        if (!wrong.empty()) {
            failures.push_back(injection + ": " + wrong);
        }
    }
    note("failures injected", injections.size());
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << injections.size()
                                  << " injected failures went wrong:" << joined(failures);
}

INSTANTIATE_TEST_SUITE_P(Routes, SaveUnderFaults,
                         ::testing::Values(Route::ByRename, Route::InPlace),
                         [](const ::testing::TestParamInfo<Route>& info) {
                             return info.param == Route::ByRename ? "ByRename"
                                                                  : "InPlaceForAHardLinkedFile";
                         });

class CopyUnderFaults : public ProbeTest {};

// As for the save; and without locks, a registration with a copy (the copy, then the save
// beside it) goes through.
TEST_F(CopyUnderFaults, ALockOrIdentityCheckFailingLeavesNoTemporary) {
    const fs::path dataFiles = temp / "Data Files";
    const fs::path destination = dataFiles / "Source.bsa";
    const std::string bytes(1u << 20, 'b');
    writeBytes(temp / "Source.bsa", bytes);
    writeBytes(temp / "app.ini", "[Archives]\r\n");
    fs::create_directories(dataFiles);
    const std::vector<std::string> copy = {"copy", (temp / "Source.bsa").string(),
                                           destination.string()};
    const auto calls = traceOf(copy, dataFiles.string());
    ASSERT_FALSE(calls.empty());
    std::vector<std::string> failures;
    const auto injections = lockAndIdentityFailures(calls);
    for (const auto& injection : injections) {
        fs::remove(destination);
        const auto run = probe(copy, {"-o", "/dev/null", "-e", "inject=" + injection});
        std::string wrong = straceRefusal(run);
        const auto copied = bytesOf(destination);
        if (copied ? *copied != bytes || !run.exited(0) : run.exited(0)) {
            wrong += "the run " + run.ending() + " but the destination holds " +
                     (copied ? std::to_string(copied->size()) + " bytes" : "nothing");
        }
        if (const auto left = straysIn(dataFiles, {"Source.bsa"}); !left.empty()) {
            wrong += " left" + joined(std::vector<std::string>(left.begin(), left.end()));
        }
        if (injection == kLocksUnsupported && !run.exited(0)) {
            wrong += " the copy failed without locks: " + firstLine(run.output);
        }
        if (!wrong.empty()) {
            failures.push_back(injection + ": " + wrong);
        }
    }
    note("failures injected", injections.size());
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << injections.size()
                                  << " injected failures went wrong:" << joined(failures);

    const auto saved = probe({"set", (temp / "app.ini").string(), "Archive 0", "Source.bsa"},
                             {"-o", "/dev/null", "-e", "inject=" + std::string(kLocksUnsupported)});
    EXPECT_TRUE(saved.exited(0)) << "the save without locks failed: " << saved.output;
    EXPECT_EQ(readBytes(temp / "app.ini"), "[Archives]\r\nArchive 0=Source.bsa\r\n");
}

TEST_F(CopyUnderFaults, KilledAtAnySystemCallTheDestinationIsAbsentOrWhole) {
    const fs::path source = temp / "Source.bsa";
    const fs::path dataFiles = temp / "Data Files";
    const fs::path destination = dataFiles / "Source.bsa";
    std::string bytes(3u << 20, '\0');
    std::mt19937 random(5);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
    writeBytes(source, bytes);
    fs::create_directories(dataFiles);
    const std::vector<std::string> args = {"copy", source.string(), destination.string()};
    const auto describeCopy = [&](const std::optional<std::string>& copied) -> std::string {
        if (!copied) {
            return "no file";
        }
        return *copied == bytes
                   ? "the whole copy"
                   : std::to_string(copied->size()) + " bytes that are not the source's";
    };

    const auto calls = traceOf(args, dataFiles.string());
    ASSERT_FALSE(calls.empty());
    StrayWatch watch(dataFiles, {"Source.bsa"});
    const auto [failures, killed] = killAtEach(
        calls, args, watch, [&] { fs::remove(destination); },
        [&](const CommandResult& run) -> std::string {
            if (std::string refused = straceRefusal(run); !refused.empty()) {
                return refused;
            }
            if (run.timedOut) {
                return kStuck;
            }
            const auto copied = bytesOf(destination);
            return copied && *copied != bytes ? "the destination holds " + describeCopy(copied)
                                              : "";
        });
    note("kill points", calls.size());
    note("runs killed at their kill point", killed);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << calls.size()
                                  << " kill points left a broken copy:" << joined(failures);

    std::this_thread::sleep_for(kTemporaryAge);
    fs::remove(destination);
    const auto run = probe(args);
    watch.ran("the clean copy");
    EXPECT_TRUE(run.exited(0)) << "a clean copy after the killed ones failed: " << run.output;
    EXPECT_TRUE(bytesOf(destination) == bytes)
        << "a clean copy after the killed ones left " << describeCopy(bytesOf(destination));
    const auto left = watch.remaining();
    EXPECT_TRUE(left.empty()) << "after the killed copies and a clean one, \"Data Files\" holds "
                              << files(left.size()) << " besides the copy:" << joined(left);
}

}  // namespace
}  // namespace varnock
