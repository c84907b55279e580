// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a file to open: the window's one seam to the system's file dialog.
#pragma once

#include <string>

namespace varnock {

struct FileKind;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full path (UTF-8, the system's separators) of the file chosen through kind's filter,
    // or an empty text when the user cancelled. The dialog opens in startFolder (UTF-8, the
    // system's separators), or where the system chooses when that is empty. Keyboard focus is
    // back where it was before.
    virtual std::string chooseFile(const FileKind& kind, const std::string& startFolder) = 0;
};

}  // namespace varnock
