// SPDX-License-Identifier: GPL-3.0-or-later
// One save or one copy in a process of its own, so that a test can kill it or make its system
// calls fail from outside.
#include <cstdio>
#include <cstring>

#include "SettingsFile.h"
#include "platform/CopyFile.h"

// Under AddressSanitizer: its leak check would stop the process with ptrace, which strace
// already holds. Built in, because a run whose reads fail may not see the environment.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "set") == 0) {
        const varnock::Status status =
            varnock::SettingsFile(argv[2]).write("Archives", argv[3], argv[4]);
        if (!status) {
            std::printf("%s\n", status.reason().c_str());
            return 1;
        }
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0) {
        const auto result = varnock::platform::copyFile(
            argv[2], argv[3], [](std::uint64_t, std::uint64_t) { return true; });
        if (!result) {
            std::printf("%s\n", result.reason().c_str());
            return 1;
        }
        return result.value() == varnock::platform::CopyOutcome::Copied ? 0 : 2;
    }
    std::fprintf(stderr, "usage: %s set INI KEY VALUE | copy SOURCE DESTINATION\n", argv[0]);
    return 64;
}
