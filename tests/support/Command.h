// SPDX-License-Identifier: GPL-3.0-or-later
// Runs another program to its end, with a time limit, and keeps what it printed.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnock::testing {

struct CommandResult {
    bool started = false;   // false when the process could not even be created
    bool timedOut = false;  // killed, with everything it started, for running too long
    int exitCode = -1;      // when it exited
    int signal = 0;         // when a signal ended it
    std::string output;     // standard output and standard error, interleaved

    bool exited(int code) const { return started && !timedOut && signal == 0 && exitCode == code; }
    // How it ended, for a failure message: "exit 1", "signal 9" or "timed out".
    std::string ending() const;
};

// Runs argv[0] (looked up in PATH) with argv, its environment being this process's with the
// "NAME=value" entries of environment added or replaced, and waits until it and everything
// that still holds its output have ended. A run longer than timeout is killed with its whole
// process group.
CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {},
                         std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The program's path found in PATH, or nothing.
std::optional<std::filesystem::path> findProgram(std::string_view name);

}  // namespace varnock::testing
