# SPDX-License-Identifier: GPL-3.0-or-later
"""A long copy shows its progress window; Cancel stops it and leaves nothing behind."""
import os

from win_case import SETTINGS, WinCase

LARGE = 6 * 1024 ** 3


class CopyCancelled(WinCase):
    def test_cancel_from_the_progress_window(self):
        big = os.path.join(self.archives, "Big.bsa")
        with open(big, "wb") as file:
            file.truncate(LARGE)  # sparse: quick to make, long to copy
        self.choose_by_mouse("cmdINI", self.ini)
        self.choose_by_mouse("cmdArchive", big)
        self.window.click("cmdPatch")
        self.window.press_button(self.window.wait_message("Copy it?"), "Yes")
        self.window.press_button(self.window.wait_message("Data Files\\Big.bsa"), "OK")
        progress = self.window.wait_dialog("the progress window",
                                           lambda d: d["class"] == "VarnockCopyProgress")
        self.assertTrue(any("Copying Big.bsa" in t for t in progress["texts"]), progress)
        left, top, right, bottom = progress["rect"]
        self.assertGreaterEqual(min(left, top), 0, f"the progress window stands off the screen at "
                                                   f"{progress['rect']}")
        self.window.press_button(progress, "Cancel")
        self.window.wait_no_dialog()
        state = self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.assertTrue(state["enabled"])
        self.assertEqual("cmdPatch", state["focus"])
        self.assertEqual([], [n for n in os.listdir(self.data_files)])
        self.assertIni(SETTINGS)
