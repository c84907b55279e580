# SPDX-License-Identifier: GPL-3.0-or-later
"""What the screen shows where the probe cannot look: the colours of a part of it, read from
the X server."""
import subprocess


class Pixels:
    """A rectangle of the screen, [left, top, right, bottom] as the probe gives places."""

    def __init__(self, rect):
        self.left, self.top, right, bottom = rect
        self.width, self.height = right - self.left, bottom - self.top
        ppm = subprocess.run(["import", "-window", "root", "-crop",
                              "%dx%d+%d+%d" % (self.width, self.height, self.left, self.top),
                              "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
        self.data = ppm.split(b"\n", 3)[3]

    def at(self, x, y):
        """The colour at screen point (x, y)."""
        i = 3 * ((y - self.top) * self.width + (x - self.left))
        return tuple(self.data[i:i + 3])

    def row(self, y, left, right):
        return [self.at(x, y) for x in range(left, right)]


def luminance(colour):
    def linear(channel):
        c = channel / 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in colour)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    """WCAG 2's contrast ratio of two colours, 1 to 21."""
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)
