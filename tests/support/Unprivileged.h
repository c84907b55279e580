// SPDX-License-Identifier: GPL-3.0-or-later
// Permission failures cannot be provoked as root, who may read and write anything, so tests
// of them run their check in a child process that has given up root.
#pragma once

#include <filesystem>
#include <functional>

namespace varnock::testing {

// Runs check as an ordinary user (in a child process when running as root) and returns its
// result; false when the child could not be started or did not finish.
bool runUnprivileged(const std::function<bool()>& check);

// Makes path belong to the user that runUnprivileged runs as.
void giveToUnprivilegedUser(const std::filesystem::path& path);

// Runs action in a child process and returns its result; the parent's state stays untouched.
bool runInChild(const std::function<bool()>& action);

}  // namespace varnock::testing
