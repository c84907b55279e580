// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileKind.h"

#include <algorithm>

namespace varnock {
namespace {

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string FileKind::pattern() const {
    std::string upper = "*.";
    for (const char c : extension) {
        upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return upper;
}

std::string FileKind::filterName() const {
    return std::string(description) + " (" + pattern() + ")";
}

bool FileKind::matches(std::string_view path) const {
    // The extension is ASCII, so a last character outside ASCII (a UTF-8 byte) never matches.
    if (path.size() < extension.size()) {
        return false;
    }
    const std::string_view tail = path.substr(path.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(), extension.end(),
                      [](char a, char b) { return lowered(a) == b; });
}

}  // namespace varnock
