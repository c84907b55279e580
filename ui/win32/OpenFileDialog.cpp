// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenFileDialog.h"

#include <commdlg.h>

#include <vector>

#include "FileKind.h"
#include "WideText.h"

namespace varnock::win32 {
namespace {

// Room for the longest path the system takes.
constexpr std::size_t kPathRoom = 32768;

// "Name\0Pattern\0\0", as the dialog wants its filter.
std::wstring filterOf(const FileKind& kind) {
    std::wstring filter = wide(kind.filterName());
    filter += L'\0';
    filter += wide(kind.pattern());
    filter += L'\0';
    return filter;
}

}  // namespace

std::string OpenFileDialog::chooseFile(const FileKind& kind, const std::string& startFolder) {
    const std::wstring filter = filterOf(kind);
    const std::wstring folder = wide(startFolder);
    std::vector<wchar_t> file(kPathRoom, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR | OFN_ENABLESIZING | OFN_DONTADDTORECENT;

    BOOL chosen = FALSE;
    {
        const ModalCount::Scope open(m_modal);
        chosen = ::GetOpenFileNameW(&dialog);
    }
    if (!chosen) {
        return {};
    }
    return utf8(std::wstring(file.data()));
}

}  // namespace varnock::win32
