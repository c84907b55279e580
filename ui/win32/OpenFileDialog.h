// SPDX-License-Identifier: GPL-3.0-or-later
// The system's open-file dialog, with the one file type asked for.
#pragma once

#include <windows.h>

#include <string>

#include "FileChooser.h"
#include "ModalCount.h"

namespace varnock::win32 {

class OpenFileDialog final : public FileChooser {
public:
    OpenFileDialog(HWND owner, ModalCount& modal) : m_owner(owner), m_modal(modal) {}

    std::string chooseFile(const FileKind& kind, const std::string& startFolder) override;

private:
    HWND m_owner;
    ModalCount& m_modal;
};

}  // namespace varnock::win32
