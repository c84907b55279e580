# SPDX-License-Identifier: GPL-3.0-or-later
"""The window at 150 % and 200 % and resized through the window manager: every control whole
and where the design puts it, the list and the labels taking the room, the two lower buttons
centred below the list, everything drawn where it now stands, and never smaller than
designed."""
import itertools
import os
import subprocess
import time

from polling import wait_for
from scenario import Scenario
from screen_pixels import Pixels
from window import CONTROLS
from x_desktop import xdotool

# The design in twips: the client area, the margins and the list, the buttons below it.
CLIENT = (4680, 4215)
MARGIN = 233
LIST_TOP, LIST_HEIGHT = 1800, 1230
BUTTON_TOPS = {"cmdUnpatch": 3240, "cmdPatch": 3720}
# The path far wider than the label, however wide the window is made here, yet shorter than
# MAX_PATH, beyond which the Windows file dialog gives up.
LONG_FOLDER = ("shortened in the middle " * 5).strip()


def pixels(twips, scale):
    return int(twips * 96 * scale / 1440 + 0.5)


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def x_window_info(window):
    """The X window's place on the screen and size, as xwininfo tells them."""
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                          check=True).stdout
    return {line.split(":")[0].strip(): int(line.split(":")[1])
            for line in info.splitlines() if line.count(":") == 1 and
            line.split(":")[1].strip().lstrip("-").isdigit()}


class SizedWindow(Scenario):
    def designed(self):
        return [pixels(CLIENT[0], self.scale), pixels(CLIENT[1], self.scale)]

    def client(self):
        return list(self.window.rect("main")[2:])

    def assertNear(self, expected, seen, what):
        # Qt scales device-independent pixels, Windows scales twips: a pixel apart at most.
        self.assertLessEqual(abs(expected - seen), 1, f"{what}: {seen}, designed {expected}")

    def assert_laid_out(self):
        left, top, width, height = self.window.rect("main")
        for control in ("lstArchives", "lblArchive", "lblINI"):
            x, _, w, _ = self.window.rect(control)
            self.assertNear(pixels(MARGIN, self.scale), x - left, f"{control}'s left margin")
            self.assertNear(pixels(MARGIN, self.scale), left + width - (x + w),
                            f"{control}'s right margin")
        lx, ly, lw, lh = self.window.rect("lstArchives")
        self.assertNear(pixels(LIST_TOP, self.scale), ly - top, "the list's top")
        self.assertNear(pixels(LIST_HEIGHT, self.scale) + height - self.designed()[1], lh,
                        "the list's height")
        for control, designed_top in BUTTON_TOPS.items():
            x, y, w, _ = self.window.rect(control)
            self.assertLessEqual(abs((x + w / 2) - (lx + lw / 2)), 1, f"{control} centred")
            self.assertNear(pixels(designed_top - LIST_TOP - LIST_HEIGHT, self.scale),
                            y - (ly + lh), f"{control} below the list")

    def wait_client(self, accept, what):
        return wait_for(self.client, what, accept)


class ScaledWindow(SizedWindow):
    scale = 2

    def test_every_control_at_its_place_inside_the_window_and_none_overlapping(self):
        self.assertEqual(self.client(), self.designed(), "the client area")
        self.assert_laid_out()
        main = self.window.rect("main")
        controls = {control: self.window.rect(control) for control in CONTROLS}
        for name, box in controls.items():
            self.assertTrue(inside(box, main), f"{name} at {box} outside {main}")
            self.assertTrue(box[2] > 0 and box[3] > 0, f"{name} has no size: {box}")
        for (a, box_a), (b, box_b) in itertools.combinations(controls.items(), 2):
            self.assertFalse(overlap(box_a, box_b), f"{a} {box_a} overlaps {b} {box_b}")

    def test_clicks_land_on_the_scaled_buttons(self):
        self.window.click("cmdPatch")
        self.expect_message("Select Archive first.")
        self.answer_by_click("OK")
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])

    def test_the_window_manager_grows_the_list_and_never_shrinks_the_window(self):
        window_id = self.window.window_id()
        designed = self.designed()
        xdotool("windowsize", "--sync", window_id, str(designed[0] + 300),
                str(designed[1] + 200))
        self.wait_client(lambda c: c == [designed[0] + 300, designed[1] + 200], "the window grown")
        self.assert_laid_out()
        xdotool("windowsize", window_id, "100", "100")
        time.sleep(1)  # what the window manager asked settles, then is undone
        self.wait_client(lambda c: c == designed, "the designed size kept")
        self.assert_laid_out()


class ScaledWindowAt150(SizedWindow):
    scale = 1.5

    def test_every_control_at_its_place(self):
        self.assertEqual(self.client(), self.designed(), "the client area")
        self.assert_laid_out()
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])


class ResizedWindow(SizedWindow):
    def drag_corner_by(self, dx, dy):
        """Drags the lower right corner of the window manager's frame, as a user resizes."""
        info = x_window_info(self.window.window_id())
        # The frame's handle below the window, its grip at the right end.
        x = info["Absolute upper-left X"] + info["Width"] - 5
        y = info["Absolute upper-left Y"] + info["Height"] + 3
        xdotool("mousemove", str(x), str(y))
        time.sleep(0.2)
        xdotool("mousedown", "1")
        for step in range(1, 11):
            xdotool("mousemove", str(x + dx * step // 10), str(y + dy * step // 10))
            time.sleep(0.05)
        xdotool("mouseup", "1")

    def frame_size(self):
        info = x_window_info(self.window.window_id())
        return [info["Width"], info["Height"]]

    def double_click_title(self):
        info = x_window_info(self.window.window_id())
        # The title bar, which the window manager draws above the window.
        xdotool("mousemove", str(info["Absolute upper-left X"] + 40),
                str(info["Absolute upper-left Y"] - 12), "click", "--repeat", "2", "1")

    def assert_drawn_up_to_date(self):
        """The screen shows what the window draws afresh: nothing left from before."""
        if self.window.system == "windows":  # only the probe can have it drawn afresh
            time.sleep(0.5)  # what Wine has drawn, on the screen
            self.assertTrue(self.window.drawn_up_to_date(),
                            "the screen differs from a fresh drawing")

    def inked_end(self, control):
        """Where the text drawn in the control ends on the screen."""
        x, y, w, h = self.window.rect(control)
        middle = y + h // 2
        shown = Pixels([x, middle - 4, x + w, middle + 4])
        background = shown.at(x, middle)
        return max(column for column in range(x, x + w)
                   if any(shown.at(column, row) != background
                          for row in range(middle - 4, middle + 4)))

    def test_grows_with_the_frame_and_stops_at_the_design(self):
        folder = os.path.join(self.folder, LONG_FOLDER)
        os.makedirs(folder)
        archive = os.path.join(folder, "Long.bsa")
        self.game.write(archive, b"BSA\0")
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.choose_by_clicking("cmdArchive", archive)
        self.expect_shown_path("lblArchive", archive)
        designed = self.designed()
        self.assertEqual(designed, self.client())
        time.sleep(0.5)  # the label drawn
        designed_end = self.inked_end("lblArchive")

        self.drag_corner_by(300, 200)
        self.wait_client(lambda c: c[0] > designed[0] + 200 and c[1] > designed[1] + 100,
                         "the window grown")
        time.sleep(0.5)  # the drag's last steps
        self.assertEqual(self.client(), self.frame_size(), "the frame's size")
        self.assert_laid_out()
        self.assert_drawn_up_to_date()
        # The path shortened anew, to the label's new width.
        self.assertGreater(self.inked_end("lblArchive"), designed_end + 200)

        # Made smaller than designed, by the mouse and by a request to the window manager: the
        # window and its frame stay at the design's size.
        self.drag_corner_by(-500, -400)
        self.wait_client(lambda c: c == designed, "the window at the design's size")
        self.assert_laid_out()
        xdotool("windowsize", self.window.window_id(), "120", "90")
        time.sleep(1)
        wait_for(lambda: (self.client(), self.frame_size()),
                 "the window and its frame at the design's size",
                 lambda seen: seen == (designed, designed))
        self.assert_laid_out()
        self.assert_drawn_up_to_date()
        time.sleep(0.5)
        self.assertEqual(designed_end, self.inked_end("lblArchive"))

    def test_maximized_and_restored(self):
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.double_click_title()
        self.wait_client(lambda c: c[0] > 1000 and c[1] > 800, "the window maximized")
        self.assert_laid_out()
        self.assert_drawn_up_to_date()
        self.double_click_title()
        self.wait_client(lambda c: c == self.designed(), "the window restored")
        self.assert_laid_out()
