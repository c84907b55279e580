// SPDX-License-Identifier: GPL-3.0-or-later
// The system's icons that mark the list's entries, one for each mark, loaded at the size the
// entries are drawn and kept until that size changes.
#pragma once

#include <windows.h>

#include <array>

namespace varnock::win32 {

class MarkIcons {
public:
    MarkIcons() = default;
    MarkIcons(const MarkIcons&) = delete;
    MarkIcons& operator=(const MarkIcons&) = delete;
    ~MarkIcons();

    // The icon for an entry's icon bits (EntryItemData.h) at size pixels; null for none.
    HICON get(LPARAM icon, int size);

private:
    void release();

    std::array<HICON, 4> m_icons{};
    int m_size = 0;
};

}  // namespace varnock::win32
