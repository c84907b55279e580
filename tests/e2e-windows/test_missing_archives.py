# SPDX-License-Identifier: GPL-3.0-or-later
"""Entries whose archive is not in the "Data Files" folder are marked, and the marks follow the
folder as files appear in it and vanish from it; each entry's text stays the slot's value."""
import os
import shutil
import time

from win_case import WinCase

NOT_FOUND = 'Not found in the "Data Files" folder'
NAMES = ["Base.bsa", "Extra.bsa"]


class MissingArchives(WinCase):
    def wait_marks(self, missing):
        return self.window.wait(
            lambda s: s["list"]["items"] == NAMES and
            s["list"]["icons"] == ["missing" if m else None for m in missing] and
            s["list"]["dimmed"] == missing,
            "entries missing %r" % (missing,))

    def test_marks_follow_the_data_files_folder(self):
        self.write(os.path.join(self.data_files, "Base.bsa"), b"base")
        self.choose_by_mouse("cmdINI", self.ini)
        self.wait_marks([False, True])

        # Another letter case is the same file to the other application.
        self.write(os.path.join(self.data_files, "extra.BSA"), b"extra")
        self.wait_marks([False, False])
        os.remove(os.path.join(self.data_files, "Base.bsa"))
        self.wait_marks([True, False])

        shutil.rmtree(self.data_files)
        self.wait_marks([True, True])
        os.makedirs(self.data_files)
        time.sleep(0.5)
        self.write(os.path.join(self.data_files, "BASE.bsa"), b"base")
        self.wait_marks([False, True])

    def test_missing_entry_told_by_tooltip(self):
        self.write(os.path.join(self.data_files, "Base.bsa"), b"base")
        self.choose_by_mouse("cmdINI", self.ini)
        self.wait_marks([False, True])
        self.window.click_entry(1)
        self.window.wait(lambda s: NOT_FOUND in s["tooltips"], "the tooltip on the missing entry")
        self.window.click_entry(0)
        self.window.wait(lambda s: NOT_FOUND not in s["tooltips"], "no tooltip on a found one")

        # The tip goes with its entry when another program empties the list under the pointer.
        self.window.click_entry(1)
        self.window.wait(lambda s: NOT_FOUND in s["tooltips"], "the tooltip shown again")
        self.write(self.ini, b"[Archives]\r\n")
        self.window.wait_items([])
        self.window.wait(lambda s: NOT_FOUND not in s["tooltips"], "no tooltip over no entry",
                         timeout=1)
