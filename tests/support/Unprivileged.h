// SPDX-License-Identifier: GPL-3.0-or-later
// Permission failures cannot be provoked as root, who may read and write anything, so tests
// of them run their check in a child process that has given up root.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace varnock::testing {

// A check run apart from the test: what it found wrong, or an empty text when nothing was.
using Check = std::function<std::string()>;

// Runs check as an ordinary user (in a child process when running as root); a failure carries
// the check's reason, or why the child did not finish.
::testing::AssertionResult runUnprivileged(const Check& check);

// Makes path belong to the user that runUnprivileged runs as.
void giveToUnprivilegedUser(const std::filesystem::path& path);

// Runs check in a child process, whose reason comes back through a pipe; the parent's state
// stays untouched.
::testing::AssertionResult runInChild(const Check& check);

}  // namespace varnock::testing
