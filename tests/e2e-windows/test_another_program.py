# SPDX-License-Identifier: GPL-3.0-or-later
"""The list follows the settings file when another program changes it, keeping the selection of
entries that still show the same name."""
import os

from win_case import SETTINGS, WinCase


class AnotherProgram(WinCase):
    def test_list_follows_a_rewrite_and_a_replacement(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.window.click_entry(0)
        self.window.wait(lambda s: s["list"]["selected"] == [0], "entry 0 selected")

        self.write(self.ini, SETTINGS.replace(b"Extra.bsa", b"Changed.bsa"))
        state = self.window.wait_items(["Base.bsa", "Changed.bsa"])
        self.assertEqual([0], state["list"]["selected"])

        # Replaced by a rename, as editors save.
        replacement = self.write(self.ini + ".new", SETTINGS + b"")
        os.replace(replacement, self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.assertIni(SETTINGS)
