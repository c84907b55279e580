# SPDX-License-Identifier: GPL-3.0-or-later
"""The window resized through the window manager: the labels and the list take the room, the
two lower buttons stay centred below the list, everything is drawn where it now stands, and
the window is never smaller than designed."""
import os
import subprocess
import time

from screen_pixels import Pixels
from win_case import WinCase
from win_window import xdotool

# The path far wider than the label, however wide the window is made here, yet shorter than
# MAX_PATH, beyond which the file dialog gives up.
LONG_FOLDER = ("shortened in the middle " * 5).strip()


def pixels(twips, dpi=96):
    return int(twips * dpi / 1440 + 0.5)


DESIGNED = [pixels(4680), pixels(4215)]


def x_window_info(window):
    """The X window's place on the screen and size, as xwininfo tells them."""
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                          check=True).stdout
    return {line.split(":")[0].strip(): line.split(":")[1].strip()
            for line in info.splitlines() if line.count(":") == 1}


class ResizedWindow(WinCase):
    def setUp(self):
        super().setUp()
        self.x_window = subprocess.run(["xdotool", "getactivewindow"], capture_output=True,
                                       text=True, check=True).stdout.strip()

    def x_size(self):
        info = x_window_info(self.x_window)
        return [int(info["Width"]), int(info["Height"])]

    def drag_corner_by(self, dx, dy):
        """Drags the lower right corner of the window manager's frame, as a user resizes."""
        info = x_window_info(self.x_window)
        # The frame's handle below the window, its grip at the right end.
        x = int(info["Absolute upper-left X"]) + int(info["Width"]) - 5
        y = int(info["Absolute upper-left Y"]) + int(info["Height"]) + 3
        xdotool("mousemove", str(x), str(y))
        time.sleep(0.2)
        xdotool("mousedown", "1")
        for step in range(1, 11):
            xdotool("mousemove", str(x + dx * step // 10), str(y + dy * step // 10))
            time.sleep(0.05)
        xdotool("mouseup", "1")

    def wait_client(self, condition, what):
        self.window.wait(lambda s: condition(s["client"]), what)
        time.sleep(0.5)  # what Wine has drawn, on the screen
        return self.window.snapshot()

    def assert_laid_out(self, state):
        left = state["clientAt"][0]
        width, height = state["client"]
        controls = {name: c["rect"] for name, c in state["controls"].items()}
        listed = controls["lstArchives"]
        # The list and the labels span the window with the design's margins.
        for name in ("lstArchives", "lblArchive", "lblINI"):
            self.assertEqual(pixels(233), controls[name][0] - left, name)
            self.assertEqual(pixels(233), left + width - controls[name][2], name)
        self.assertEqual(pixels(1230) + height - DESIGNED[1], listed[3] - listed[1])
        # Below it, the two buttons centred under it, as far below it as designed.
        for name, top in (("cmdUnpatch", 3240), ("cmdPatch", 3720)):
            button = controls[name]
            self.assertLessEqual(abs((button[0] + button[2]) - (listed[0] + listed[2])), 1, name)
            self.assertEqual(pixels(top) - pixels(1800 + 1230), button[1] - listed[3], name)

    def assert_drawn_up_to_date(self, state):
        """The screen shows what the window draws afresh: nothing left from before."""
        left, top = state["clientAt"]
        client = [left, top, left + state["client"][0], top + state["client"][1]]
        shown = Pixels(client).data
        self.assertTrue(self.window.probe.ask("redraw")["redrawn"])
        time.sleep(0.5)
        self.assertTrue(shown == Pixels(client).data, "the screen differs from a fresh drawing")

    def inked_end(self, label):
        """Where the path drawn in label ends on the screen."""
        middle = (label[1] + label[3]) // 2
        shown = Pixels([label[0], middle - 4, label[2], middle + 4])
        background = shown.at(label[0], middle)
        return max(x for x in range(label[0], label[2])
                   if any(shown.at(x, y) != background for y in range(middle - 4, middle + 4)))

    def test_grows_with_the_frame_and_stops_at_the_design(self):
        folder = os.path.join(self.folder, LONG_FOLDER)
        os.makedirs(folder)
        archive = self.write(os.path.join(folder, "Long.bsa"), b"archive")
        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.choose_by_mouse("cmdArchive", archive)
        self.window.wait(lambda s: s["controls"]["lblArchive"]["text"].endswith("Long.bsa"),
                         "the archive shown")
        state = self.window.snapshot()
        self.assertEqual(DESIGNED, state["client"])
        designed_end = self.inked_end(state["controls"]["lblArchive"]["rect"])

        self.drag_corner_by(300, 200)
        state = self.wait_client(lambda c: c[0] > DESIGNED[0] + 200 and c[1] > DESIGNED[1] + 100,
                                 "the window grown")
        self.assertEqual(state["client"], self.x_size())
        self.assert_laid_out(state)
        self.assert_drawn_up_to_date(state)
        # The path shortened anew, to the label's new width.
        self.assertGreater(self.inked_end(state["controls"]["lblArchive"]["rect"]),
                           designed_end + 200)

        # Made smaller than designed, by the mouse and by a request to the window manager: the
        # window and its frame stay at the design's size.
        self.drag_corner_by(-500, -400)
        state = self.wait_client(lambda c: c == DESIGNED, "the window at the design's size")
        self.assert_laid_out(state)
        xdotool("windowsize", self.x_window, "120", "90")
        time.sleep(1)
        self.window.wait(lambda s: s["client"] == DESIGNED and self.x_size() == DESIGNED,
                         "the window and its frame at the design's size")
        state = self.wait_client(lambda c: c == DESIGNED, "the window at the design's size")
        self.assert_laid_out(state)
        self.assert_drawn_up_to_date(state)
        self.assertEqual(designed_end, self.inked_end(state["controls"]["lblArchive"]["rect"]))

    def test_maximized_and_restored(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        info = x_window_info(self.x_window)
        # A double click on the title bar, which the window manager draws above the window.
        title = [int(info["Absolute upper-left X"]) + 40, int(info["Absolute upper-left Y"]) - 12]
        xdotool("mousemove", str(title[0]), str(title[1]), "click", "--repeat", "2", "1")
        state = self.wait_client(lambda c: c[0] > 1000 and c[1] > 800, "the window maximized")
        self.assert_laid_out(state)
        self.assert_drawn_up_to_date(state)
        info = x_window_info(self.x_window)
        title = [int(info["Absolute upper-left X"]) + 40, int(info["Absolute upper-left Y"]) - 12]
        xdotool("mousemove", str(title[0]), str(title[1]), "click", "--repeat", "2", "1")
        state = self.wait_client(lambda c: c == DESIGNED, "the window restored")
        self.assert_laid_out(state)
