# SPDX-License-Identifier: GPL-3.0-or-later
"""The window at 200 %: every control whole and inside the window, and still usable."""
import itertools

import accessibility as a11y
from varnock_case import VarnockCase


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


class ScaledWindow(VarnockCase):
    scale = 2

    def test_every_control_inside_the_window_and_none_overlapping(self):
        window_box = a11y.extents(self.window.main())
        controls = {f"{c.getRoleName()} {c.name!r}": a11y.extents(c)
                    for c in a11y.children(self.window.main())}
        self.assertEqual(len(controls), 7, f"controls: {sorted(controls)}")
        for name, box in controls.items():
            self.assertTrue(inside(box, window_box), f"{name} at {box} outside {window_box}")
            self.assertTrue(box[2] > 0 and box[3] > 0, f"{name} has no size: {box}")
        for (a, box_a), (b, box_b) in itertools.combinations(controls.items(), 2):
            self.assertFalse(overlap(box_a, box_b), f"{a} {box_a} overlaps {b} {box_b}")

    def test_clicks_land_on_the_scaled_buttons(self):
        self.window.click(self.window.button("Register Archive"))
        self.expect_message("Select Archive first.")
        self.window.click(self.window.button_in_message("OK"))
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
