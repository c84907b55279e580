# SPDX-License-Identifier: GPL-3.0-or-later
"""What the screen shows that the accessibility bus does not: the program's popup windows
and the colours of an icon."""
import subprocess

# Message box icons told apart by their dominant colour: the warning triangle is yellow.
ICON_COLOURS = {
    "warning": lambda r, g, b: r > 180 and g > 160 and b < 110,
    "critical": lambda r, g, b: r > 160 and g < 90 and b < 90,
    "information or question": lambda r, g, b: b > 140 and r < 120,
}


def _run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout


def popups(pid):
    """The program's popup windows on screen (completion lists, menus; tooltips aside)."""
    found = []
    for window in _run("xdotool", "search", "--onlyvisible", "--pid", str(pid)).split():
        if "Override Redirect State: yes" not in _run("xwininfo", "-id", window):
            continue
        if "TOOLTIP" not in _run("xprop", "-id", window, "_NET_WM_WINDOW_TYPE"):
            found.append(window)
    return found


def icon_kind(box, scale=1):
    """Which icon the screen shows in box (x, y, width, height in device-independent pixels)."""
    x, y, width, height = (int(v * scale) for v in box)
    ppm = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                          "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
    pixels = ppm.split(b"\n", 3)[3]
    counts = dict.fromkeys(ICON_COLOURS, 0)
    for i in range(0, len(pixels) - 2, 3):
        for kind, matches in ICON_COLOURS.items():
            counts[kind] += matches(pixels[i], pixels[i + 1], pixels[i + 2])
    kind, count = max(counts.items(), key=lambda item: item[1])
    return kind if count > 0.05 * width * height else "unknown"
