// SPDX-License-Identifier: GPL-3.0-or-later
// How Windows names files, and the folders it names in its environment.
#include <cstdlib>
#include <filesystem>

#include "PathHelpers.h"
#include "session/VirtualStore.h"

namespace varnock {
namespace {

std::string environment(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    return value ? utf8FromPath(std::filesystem::path(value)) : std::string();
}

}  // namespace

std::string_view pathSeparators() {
    return "\\/";
}

ProgramFolders ProgramFolders::fromEnvironment() {
    return {environment(L"LOCALAPPDATA"), environment(L"ProgramFiles"),
            environment(L"ProgramFiles(x86)"), environment(L"ProgramW6432")};
}

}  // namespace varnock
