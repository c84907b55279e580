// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace varnock::testing {
namespace {

constexpr uid_t kNobody = 65534;

}  // namespace

bool runInChild(const std::function<bool()>& action) {
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        ::_exit(action() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool runUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    return runInChild([&] { return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check(); });
}

void giveToUnprivilegedUser(const std::filesystem::path& path) {
    if (::geteuid() == 0) {
        [[maybe_unused]] const int ignored = ::chown(path.c_str(), kNobody, kNobody);
    }
}

}  // namespace varnock::testing
