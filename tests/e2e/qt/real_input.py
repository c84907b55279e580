# SPDX-License-Identifier: GPL-3.0-or-later
"""Real input through the X server (XTEST, as a person's keyboard and mouse would send it)."""

from accessibility import extents
from x_desktop import xdotool

KEY_DELAY_MS = "8"


def press(*keys):
    """Presses and releases each key in turn, e.g. press("ctrl+a", "Return")."""
    xdotool("key", "--delay", KEY_DELAY_MS, *keys)


def type_text(text):
    xdotool("type", "--delay", KEY_DELAY_MS, text)


def click(node, scale=1, modifier=None, button=1):
    """Clicks the middle of a widget; button 3 is the right one."""
    x, y, width, height = extents(node)
    click_at(x + width / 2, y + height / 2, scale, modifier, button)


def click_at(x, y, scale=1, modifier=None, button=1):
    """The bus gives device-independent pixels; the screen has scale times as many."""
    move = ["mousemove", "--sync", str(int(x * scale)), str(int(y * scale))]
    if modifier:
        xdotool("keydown", modifier, *move, "click", str(button), "keyup", modifier)
    else:
        xdotool(*move, "click", str(button))
