// SPDX-License-Identifier: GPL-3.0-or-later
// The labels that show the chosen paths: shortened in the middle when too long, whole in their
// tooltip.
#pragma once

#include <windows.h>

#include <string>

namespace varnock::win32 {

class PathLabels {
public:
    PathLabels() = default;
    PathLabels(const PathLabels&) = delete;
    PathLabels& operator=(const PathLabels&) = delete;
    ~PathLabels();

    // The tooltip window that serves every label of window.
    void create(HWND window);
    // A label takes its tooltip here; it must have been made with SS_PATHELLIPSIS | SS_NOTIFY.
    void add(HWND label);
    void setPath(HWND label, const std::string& path);

private:
    HWND m_window = nullptr;
    HWND m_tooltip = nullptr;
};

}  // namespace varnock::win32
