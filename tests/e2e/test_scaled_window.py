# SPDX-License-Identifier: GPL-3.0-or-later
"""The window at 200 %: every control whole and inside the window, and still usable."""
import itertools
import subprocess

import accessibility as a11y
import real_input
from polling import wait_for
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

    def test_the_window_manager_grows_the_list_and_never_shrinks_the_window(self):
        main = self.window.main()
        designed = a11y.extents(main)
        window_id = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                                    str(self.program.process.pid),
                                    "--name", "^Varnock$"], check=True, capture_output=True,
                                   text=True).stdout.split()[0]

        def controls():
            return {c.name: a11y.extents(c) for c in a11y.children(main)}

        # The accessibility bus tells sizes before scaling; the window manager sizes pixels.
        before = controls()
        real_input.xdotool("windowsize", "--sync", window_id, str((designed[2] + 150) * self.scale),
                           str((designed[3] + 100) * self.scale))
        wait_for(lambda: a11y.extents(main)[3] == designed[3] + 100, "the window grown")
        after = controls()
        list_before, list_after = before["Registered archives"], after["Registered archives"]
        self.assertEqual(list_after[2:], (list_before[2] + 150, list_before[3] + 100),
                         "the list takes the added room")
        window_box = a11y.extents(main)
        for name in ("Register Archive", "Unregister Archive"):
            x, y, w, _ = after[name]
            self.assertLessEqual(abs(x + w / 2 - (window_box[0] + window_box[2] / 2)), 1,
                                 f"{name} centred: {after[name]} in {window_box}")
            self.assertGreater(y, list_after[1] + list_after[3], f"{name} below the list")

        real_input.xdotool("windowsize", "--sync", window_id, "100", "100")
        wait_for(lambda: a11y.extents(main)[2:] == designed[2:], "the designed size kept")
