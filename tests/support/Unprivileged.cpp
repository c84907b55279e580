// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <exception>

namespace varnock::testing {
namespace {

constexpr uid_t kNobody = 65534;

::testing::AssertionResult verdict(const std::string& reason) {
    if (reason.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << reason;
}

}  // namespace

::testing::AssertionResult runInChild(const Check& check) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return ::testing::AssertionFailure() << "cannot make a pipe to the child";
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return ::testing::AssertionFailure() << "cannot start a child process";
    }
    if (child == 0) {
        ::close(channel[0]);
        std::string reason;
        try {
            reason = check();
        } catch (const std::exception& error) {
            reason = std::string("the check threw: ") + error.what();
        }
        std::size_t sent = 0;
        while (sent < reason.size()) {
            const ssize_t n = ::write(channel[1], reason.data() + sent, reason.size() - sent);
            if (n <= 0) {
                break;
            }
            sent += static_cast<std::size_t>(n);
        }
        ::_exit(reason.empty() ? 0 : 1);
    }
    ::close(channel[1]);
    std::string reason;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        reason.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        return ::testing::AssertionFailure()
               << "the child was ended by signal " << WTERMSIG(status);
    }
    if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && reason.empty())) {
        return ::testing::AssertionFailure() << "the child did not finish its check";
    }
    return verdict(reason);
}

::testing::AssertionResult runUnprivileged(const Check& check) {
    if (::geteuid() != 0) {
        return verdict(check());
    }
    return runInChild([&]() -> std::string {
        // A cache folder of the user's own: root's stays out of reach, as another user's would.
        char cache[] = "/tmp/varnock-cache-XXXXXX";
        if (::mkdtemp(cache) == nullptr || ::chown(cache, kNobody, kNobody) != 0 ||
            ::setenv("XDG_CACHE_HOME", cache, 1) != 0) {
            return "cannot make a cache folder for the unprivileged user";
        }
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            return "cannot become the unprivileged user";
        }
        std::string reason = check();
        std::error_code ignored;
        std::filesystem::remove_all(cache, ignored);
        return reason;
    });
}

void giveToUnprivilegedUser(const std::filesystem::path& path) {
    if (::geteuid() == 0) {
        [[maybe_unused]] const int ignored = ::chown(path.c_str(), kNobody, kNobody);
    }
}

}  // namespace varnock::testing
