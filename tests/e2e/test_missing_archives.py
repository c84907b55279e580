# SPDX-License-Identifier: GPL-3.0-or-later
"""Registered archives that are not in the "Data Files" folder: their entries say so, and the
marks follow the folder while the window is open."""
import os
import shutil

import accessibility as a11y
from game_folder import settings_bytes
from polling import wait_for
from varnock_case import VarnockCase

NOT_FOUND = 'Not found in the "Data Files" folder'


class MissingArchives(VarnockCase):
    def descriptions(self):
        return {item.name: item.description for item in
                a11y.children(self.window.archive_list())}

    def expect_descriptions(self, expected, after):
        wait_for(self.descriptions, f"the marks {expected} {after}", lambda now: now == expected)

    def test_entries_without_a_file_are_marked_as_the_folder_changes(self):
        self.game.write(self.game.ini, settings_bytes((0, "Base.bsa"), (1, "EXTRA.BSA"),
                                                      (2, "Gone.bsa")))
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "EXTRA.BSA", "Gone.bsa"])
        # Found without regard to letter case, as the other application finds it under Wine.
        self.expect_descriptions({"Base.bsa": "", "EXTRA.BSA": "", "Gone.bsa": NOT_FOUND},
                                 "when listed")
        self.game.write(self.game.in_data_files("Gone.bsa"), b"BSA\0back")
        self.expect_descriptions({"Base.bsa": "", "EXTRA.BSA": "", "Gone.bsa": ""},
                                 "once the archive is copied there")
        shutil.rmtree(self.game.data_files)
        self.expect_descriptions({name: NOT_FOUND for name in ("Base.bsa", "EXTRA.BSA",
                                                               "Gone.bsa")},
                                 "once the folder is gone")
        os.makedirs(self.game.data_files)
        self.game.write(self.game.in_data_files("Base.bsa"), b"BSA\0")
        self.expect_descriptions({"Base.bsa": "", "EXTRA.BSA": NOT_FOUND, "Gone.bsa": NOT_FOUND},
                                 "once the folder is back with one archive")
        self.expect_ini(settings_bytes((0, "Base.bsa"), (1, "EXTRA.BSA"), (2, "Gone.bsa")))
