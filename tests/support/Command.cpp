// SPDX-License-Identifier: GPL-3.0-or-later
#include "Command.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace varnock::testing {
namespace {

std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    const auto nameOf = [](std::string_view entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view current(*entry);
        bool replaced = false;
        for (const auto& change : changes) {
            replaced = replaced || nameOf(change) == nameOf(current);
        }
        if (!replaced) {
            result.emplace_back(current);
        }
    }
    result.insert(result.end(), changes.begin(), changes.end());
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::string CommandResult::ending() const {
    if (!started) {
        return "not started";
    }
    if (timedOut) {
        return "timed out";
    }
    if (signal != 0) {
        return "signal " + std::to_string(signal);
    }
    return "exit " + std::to_string(exitCode);
}

CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment,
                         std::chrono::milliseconds timeout) {
    CommandResult result;
    // Prepared before fork: the child only calls what is safe between fork and exec.
    std::vector<std::string> arguments = argv;
    std::vector<std::string> variables = environmentWith(environment);
    const std::vector<char*> argp = pointersTo(arguments);
    const std::vector<char*> envp = pointersTo(variables);
    int channel[2];
    if (argv.empty() || ::pipe2(channel, O_CLOEXEC) != 0) {
        return result;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return result;
    }
    if (child == 0) {
        // A group of its own, so that a timeout can end the program and all it started.
        ::setpgid(0, 0);
        ::dup2(channel[1], STDOUT_FILENO);
        ::dup2(channel[1], STDERR_FILENO);
        ::execvpe(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
    ::setpgid(child, child);  // also here, so that the group exists before any kill below
    ::close(channel[1]);
    result.started = true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{channel[0], POLLIN, 0};
        const int ready =
            left.count() > 0 ? ::poll(&readable, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            result.timedOut = true;
            ::kill(-child, SIGKILL);
            break;
        }
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;  // every holder of the pipe has ended or closed it
        }
        result.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

std::optional<std::filesystem::path> findProgram(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const auto end = folders.find(':');
        const std::string_view folder = folders.substr(0, end);
        folders = end == std::string_view::npos ? std::string_view() : folders.substr(end + 1);
        const auto candidate = std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace varnock::testing
