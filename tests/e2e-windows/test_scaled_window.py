# SPDX-License-Identifier: GPL-3.0-or-later
"""The window laid out at 150 % and 200 %: the design's client area and places at that DPI."""
import win_case
from win_case import WinCase
from win_window import VarnockWindow

# From the design in twips: client 4680 x 4215, the list at 233, 1800, 1230 high.
def pixels(twips, dpi):
    return int(twips * dpi / 1440 + 0.5)


class ScaledWindow(WinCase):
    def test_at_150_and_200_percent(self):
        self.window.stop()
        try:
            for dpi in (144, 192):
                win_case.DESKTOP.set_dpi(dpi)
                self.window = VarnockWindow(self.folder)
                self.window.start()
                state = self.window.snapshot()
                self.assertEqual(dpi, state["dpi"])
                self.assertEqual([pixels(4680, dpi), pixels(4215, dpi)], state["client"])
                listed = state["controls"]["lstArchives"]["rect"]
                self.assertEqual(pixels(1230, dpi), listed[3] - listed[1])
                self.choose_by_mouse("cmdINI", self.ini)
                self.window.wait_items(["Base.bsa", "Extra.bsa"])
                self.window.stop()
        finally:
            win_case.DESKTOP.set_dpi(96)
            self.window = VarnockWindow(self.folder)
            self.window.start()
