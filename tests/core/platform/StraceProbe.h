// SPDX-License-Identifier: GPL-3.0-or-later
// The save probe run under strace, which kills it at one of its system calls or makes one of
// them fail: what the tests that attack a save or a copy from outside are built on.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"
#include "TemporaryFolder.h"

namespace varnock::testing {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

inline const std::string kProbe = VARNOCK_SAVE_PROBE;
constexpr int kProbeUsage = 64;
// One run takes a fraction of a second; one that takes this long is stuck, and ends the test.
constexpr auto kRunTimeout = 10s;
// Failures listed in a message; the count says how many there were in all.
constexpr std::size_t kListed = 12;

// One system call of a traced run, as strace counts them for when=: the how-manieth call of
// that system call it was.
struct Call {
    std::string name;
    int occurrence = 0;
    bool afterStart = false;  // made once the probe had turned to the files under test

    std::string describe(std::size_t index, std::size_t total) const {
        return "system call " + std::to_string(index + 1) + " of " + std::to_string(total) + " (" +
               name + " #" + std::to_string(occurrence) + ")";
    }
};

// The calls of a strace -f log, in order. start is a path whose first mention marks where the
// probe's own work begins; everything before it is the loader's and the runtime's.
inline std::vector<Call> callsIn(const std::string& log, std::string_view start) {
    std::vector<Call> calls;
    std::map<std::string, int> seen;
    bool started = false;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find_first_not_of("0123456789 ");
        const std::size_t end = line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_", at);
        if (at == std::string::npos || end == std::string::npos || end == at || line[end] != '(') {
            continue;  // a signal, an exit or a resumed call: not a call of its own
        }
        std::string name = line.substr(at, end - at);
        if (calls.empty() && name == "execve") {
            continue;  // strace's own start of the probe, which it can neither stop nor fail
        }
        started = started || line.find(start) != std::string::npos;
        const int occurrence = ++seen[name];
        calls.push_back({std::move(name), occurrence, started});
    }
    return calls;
}

inline const std::string kStuck = "the run did not end in time; the runs after it were not made";

inline std::string joined(const std::vector<std::string>& failures) {
    std::string text;
    for (std::size_t i = 0; i < failures.size() && i < kListed; ++i) {
        text += "\n  " + failures[i];
    }
    if (failures.size() > kListed) {
        text += "\n  … and " + std::to_string(failures.size() - kListed) + " more";
    }
    return text;
}

inline std::string files(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

inline std::string firstLine(const std::string& output) {
    const std::string line = output.substr(0, output.find('\n'));
    return line.empty() ? "no output" : "\"" + line + "\"";
}

inline bool wasKilled(const CommandResult& run) {
    return run.signal == SIGKILL || run.exitCode == 128 + SIGKILL;
}

// Which kill a run was, and whether it came: strace cannot stop the first execve, and a run
// can take another path than the traced one.
inline std::string killedDescription(const std::vector<Call>& calls, std::size_t index,
                                     const CommandResult& run) {
    std::string what = "killed at " + calls[index].describe(index, calls.size());
    if (!wasKilled(run)) {
        what += " (the kill did not come: " + run.ending() + ")";
    }
    return what;
}

inline std::optional<std::string> bytesOf(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) ? std::optional(readBytes(file)) : std::nullopt;
}

// The entries of folder besides the kept ones.
inline std::set<std::string> straysIn(const fs::path& folder, const std::set<std::string>& kept) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!kept.contains(entry.path().filename().string())) {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

// Which run left each stray entry in a folder, so that a leftover that outlives the clean run
// at the end points at the kill or failure that made it.
class StrayWatch {
public:
    StrayWatch(fs::path folder, std::set<std::string> kept)
        : m_folder(std::move(folder)), m_kept(std::move(kept)) {}
    void ran(const std::string& run) {
        for (const auto& name : straysIn(m_folder, m_kept)) {
            if (m_leftBy.try_emplace(name, run).second) {
                m_order.push_back(name);
            }
        }
    }
    // What is still there, in the order the runs left it.
    std::vector<std::string> remaining() const {
        const auto now = straysIn(m_folder, m_kept);
        std::vector<std::string> left;
        for (const auto& name : m_order) {
            if (now.contains(name)) {
                left.push_back(name + ", left when " + m_leftBy.at(name));
            }
        }
        return left;
    }

private:
    fs::path m_folder;
    std::set<std::string> m_kept;
    std::map<std::string, std::string> m_leftBy;
    std::vector<std::string> m_order;
};

// Shown in a test's output and kept in its XML report.
inline void note(const std::string& key, std::size_t value) {
    ::testing::Test::RecordProperty(key, std::to_string(value));
    std::cout << "[   NOTE   ] " << key << ": " << value << '\n';
}

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kProbe)) << "the probe is not built: " << kProbe;
        if (const auto& why = found().whyNot) {
            GTEST_SKIP() << *why;
        }
        ASSERT_TRUE(found().broken.empty()) << found().broken;
    }

    // The probe with args, under strace given options when there are any.
    CommandResult probe(const std::vector<std::string>& args,
                        const std::vector<std::string>& straceOptions = {}) const {
        std::vector<std::string> argv;
        if (!straceOptions.empty()) {
            argv = {"strace", "-f", "-qq", "-e", "trace=all"};
            argv.insert(argv.end(), straceOptions.begin(), straceOptions.end());
            argv.push_back("--");
        }
        argv.push_back(kProbe);
        argv.insert(argv.end(), args.begin(), args.end());
        return runCommand(argv, {"XDG_CACHE_HOME=" + cache.string(), asanOptions()}, kRunTimeout);
    }
    CommandResult killedAt(const Call& call, const std::vector<std::string>& args) const {
        return probe(args, {"-o", "/dev/null", "-e",
                            "inject=" + call.name +
                                ":signal=SIGKILL:when=" + std::to_string(call.occurrence)});
    }
    // What killing a run at each of calls told: what each kill left wrong, how many kills came.
    struct Kills {
        std::vector<std::string> failures;
        std::size_t killed = 0;
    };
    // Runs args once per call, killed there, after reset; wrongAfter tells what a run left
    // wrong (nothing when all is well), and watch learns which run left each stray file.
    Kills killAtEach(const std::vector<Call>& calls, const std::vector<std::string>& args,
                     StrayWatch& watch, const std::function<void()>& reset,
                     const std::function<std::string(const CommandResult&)>& wrongAfter) const {
        Kills kills;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            reset();
            const auto run = killedAt(calls[i], args);
            const std::string what = killedDescription(calls, i, run);
            watch.ran(what);
            kills.killed += wasKilled(run) ? 1 : 0;
            if (const std::string wrong = wrongAfter(run); !wrong.empty()) {
                kills.failures.push_back(what + ": " + wrong);
            }
            if (run.timedOut) {
                break;
            }
        }
        return kills;
    }
    // The calls of one run that nothing disturbs; start as for callsIn.
    std::vector<Call> traceOf(const std::vector<std::string>& args, std::string_view start) {
        const fs::path log = temp / "trace.log";
        const CommandResult run = probe(args, {"-o", log.string(), "-s", "256"});
        EXPECT_TRUE(run.exited(0))
            << "the run to be traced failed (" << run.ending() << "): " << run.output;
        const std::string text = readBytes(log);
        fs::remove(log);
        return callsIn(text, start);
    }
    // strace's own complaints (a system call it does not know, say) would hide a lost run.
    static std::string straceRefusal(const CommandResult& run) {
        const auto at = run.output.find("strace: ");
        return at == std::string::npos ? "" : "strace refused: " + firstLine(run.output.substr(at));
    }

    testing::TemporaryFolder temp;
    fs::path cache = temp / "cache";  // XDG_CACHE_HOME, where backups go

private:
    // The leak check stops the process with ptrace, which strace already holds.
    static std::string asanOptions() {
        const char* options = std::getenv("ASAN_OPTIONS");
        return "ASAN_OPTIONS=" + std::string(options ? options : "") + ":detect_leaks=0";
    }
    // Run by its name, so that what it says of itself starts with "strace: ".
    struct Strace {
        std::optional<std::string> whyNot;  // a reason to skip
        std::string broken;                 // a reason to fail: the probe does not run under it
    };
    static const Strace& found() {
        static const Strace strace = []() -> Strace {
            if (!testing::findProgram("strace")) {
                return {"strace is not installed (Debian package strace)", ""};
            }
            const auto run =
                runCommand({"strace", "-qq", "-o", "/dev/null", kProbe}, {asanOptions()});
            if (run.exited(kProbeUsage)) {
                return {std::nullopt, ""};
            }
            const std::string seen = run.ending() + ", " + firstLine(run.output);
            if (run.output.starts_with("strace: ")) {
                return {"strace cannot trace here (is ptrace allowed?): " + seen, ""};
            }
            return {std::nullopt, "the probe does not run under strace: " + seen};
        }();
        return strace;
    }
};

}  // namespace varnock::testing
