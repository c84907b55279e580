# SPDX-License-Identifier: GPL-3.0-or-later
"""Registered archives that are not in the "Data Files" folder: their entries are marked and
say why, the marks follow the folder as files appear in it and vanish from it while the window
is open, and each entry's text stays the slot's value."""
import os
import shutil

from game_folder import settings_bytes
from polling import stays, wait_for
from scenario import Scenario

NOT_FOUND = 'Not found in the "Data Files" folder'
NAMES = ["Base.bsa", "EXTRA.BSA", "Gone.bsa"]


class MissingArchives(Scenario):
    def expect_missing(self, missing, after):
        """Each entry marked and dimmed where missing, and its note telling so."""
        self.expect_marks([("missing", True) if gone else (None, False) for gone in missing],
                          after)
        self.assertEqual(self.window.entries(), NAMES, f"the entries {after}")
        for name, gone in zip(NAMES, missing):
            self.expect_note(name, NOT_FOUND if gone else "")

    def test_entries_without_a_file_are_marked_as_the_folder_changes(self):
        self.game.write(self.game.ini, settings_bytes(*enumerate(NAMES)))
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(NAMES)
        # Found without regard to letter case, as the other application finds it under Wine.
        self.expect_missing([False, False, True], "when listed")
        self.game.write(self.game.in_data_files("gone.BSA"), b"BSA\0back")
        self.expect_missing([False, False, False], "once the archive is copied there")
        os.remove(self.game.in_data_files("Base.bsa"))
        self.expect_missing([True, False, False], "once an archive is removed")
        shutil.rmtree(self.game.data_files)
        self.expect_missing([True, True, True], "once the folder is gone")
        os.makedirs(self.game.data_files)
        # The folder back, empty: watched again before a file comes.
        stays(self.window.entry_marks, "every entry marked in the empty folder",
              lambda now: now == [("missing", True)] * 3, duration=0.5)
        self.game.write(self.game.in_data_files("BASE.bsa"), b"BSA\0")
        self.expect_missing([False, True, True], "once the folder is back with one archive")
        self.expect_ini(settings_bytes(*enumerate(NAMES)))

    def test_the_tooltip_of_a_missing_entry(self):
        os.remove(self.game.in_data_files("Extra.bsa"))
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_marks([(None, False), ("missing", True)], "when listed")
        self.window.point_at_entry("Extra.bsa")
        wait_for(self.window.tooltip, "the tooltip on the missing entry",
                 lambda now: now == NOT_FOUND)
        self.window.point_at_entry("Base.bsa")
        wait_for(self.window.tooltip, "no tooltip on an entry found", lambda now: now is None)

        # The tip goes with its entry when another program empties the list under the pointer.
        self.window.point_at_entry("Extra.bsa")
        wait_for(self.window.tooltip, "the tooltip shown again", lambda now: now == NOT_FOUND)
        self.game.write(self.game.ini, b"[Archives]\r\n")
        self.expect_entries([])
        wait_for(self.window.tooltip, "no tooltip over no entry", lambda now: now is None,
                 timeout=1)
        stays(self.window.tooltip, "no tooltip over no entry", lambda now: now is None)
