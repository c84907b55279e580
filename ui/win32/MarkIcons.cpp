// SPDX-License-Identifier: GPL-3.0-or-later
#include "MarkIcons.h"

#include <commctrl.h>

#include "EntryItemData.h"

namespace varnock::win32 {
namespace {

// Each mark its own icon, the gravest the sternest: an entry the other application does not
// load at all stops there, a missing file warns, a second registration only informs.
const wchar_t* stockIconFor(LPARAM icon) {
    switch (icon) {
        case kEntryNotLoadedIcon:
            return IDI_ERROR;
        case kEntryMissingIcon:
            return IDI_WARNING;
        case kEntryRegisteredTwiceIcon:
            return IDI_INFORMATION;
        default:
            return nullptr;
    }
}

// The system's icon drawn for size: scaled down from a larger image where comctl32 offers it
// (the import libraries at hand lack it), else the nearest image of the icon.
HICON loadStockIcon(const wchar_t* which, int size) {
    using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    const HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
    const auto scaleDown = controls ? reinterpret_cast<ScaleDown>(reinterpret_cast<void*>(
                                          ::GetProcAddress(controls, "LoadIconWithScaleDown")))
                                    : nullptr;
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(nullptr, which, size, size, &icon))) {
        return icon;
    }
    return static_cast<HICON>(::LoadImageW(nullptr, which, IMAGE_ICON, size, size, 0));
}

}  // namespace

MarkIcons::~MarkIcons() {
    release();
}

HICON MarkIcons::get(LPARAM icon, int size) {
    const wchar_t* stock = stockIconFor(icon);
    if (!stock) {
        return nullptr;
    }
    if (size != m_size) {
        release();
        m_size = size;
    }
    HICON& loaded = m_icons[static_cast<std::size_t>(icon)];
    if (!loaded) {
        loaded = loadStockIcon(stock, size);
    }
    return loaded;
}

void MarkIcons::release() {
    for (HICON& icon : m_icons) {
        if (icon) {
            ::DestroyIcon(icon);
            icon = nullptr;
        }
    }
}

}  // namespace varnock::win32
