// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window's controls stand: the design in twips (1/1440 inch), placed in pixels at a
// given number of dots per inch, so that every front end lays the window out alike.
#pragma once

#include <array>
#include <string_view>

namespace varnock {

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

enum class Control { cmdArchive, lblArchive, cmdINI, lblINI, lstArchives, cmdUnpatch, cmdPatch };

struct ControlDesign {
    Control control;
    std::string_view name;     // the control's object name
    std::string_view caption;  // a button's caption; empty for the others
    std::string_view accessibleName;
};

// From top to bottom.
inline constexpr std::array<ControlDesign, 7> kControls{{
    {Control::cmdArchive, "cmdArchive", "Select BSA", "Select BSA"},
    {Control::lblArchive, "lblArchive", "", "Selected archive"},
    {Control::cmdINI, "cmdINI", "Select INI", "Select INI"},
    {Control::lblINI, "lblINI", "", "Selected settings file"},
    {Control::lstArchives, "lstArchives", "", "Registered archives"},
    {Control::cmdUnpatch, "cmdUnpatch", "Unregister Archive", "Unregister Archive"},
    {Control::cmdPatch, "cmdPatch", "Register Archive", "Register Archive"},
}};

// Keyboard focus moves through the focusable controls in this order; labels take no focus.
inline constexpr std::array<Control, 5> kTabOrder{Control::cmdArchive, Control::cmdINI,
                                                  Control::cmdPatch, Control::lstArchives,
                                                  Control::cmdUnpatch};

inline constexpr int kStandardDpi = 96;

// The client area as designed, at dpi: the window opens at this size and is never smaller.
PixelRect clientArea(int dpi);
// Where control stands in the designed client area at dpi: the labels and the list span the
// window with equal margins, the two lower buttons are centred, the others stand as drawn.
PixelRect placeOf(Control control, int dpi);
// The same in a client area of width by height pixels, taken as at least the designed one:
// the labels and the list take the added width, the list the added height, and the two lower
// buttons stay centred below it.
PixelRect placeOf(Control control, int dpi, int width, int height);

}  // namespace varnock
