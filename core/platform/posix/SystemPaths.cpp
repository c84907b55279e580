// SPDX-License-Identifier: GPL-3.0-or-later
// How this system names files, and the folders it names in its environment: outside Windows,
// "/" alone, and no program folders.
#include "PathHelpers.h"
#include "session/VirtualStore.h"

namespace varnock {

std::string_view pathSeparators() {
    return "/";
}

ProgramFolders ProgramFolders::fromEnvironment() {
    return {};
}

}  // namespace varnock
