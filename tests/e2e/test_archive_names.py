# SPDX-License-Identifier: GPL-3.0-or-later
"""Archive names and the settings file: a name it cannot hold is refused with a warning that
says what is wrong, before anything is copied or written; a name in its code page is stored in
that code page."""
import os
import re

from game_folder import settings_bytes
from polling import wait_for
from scenario import Scenario
from xdnd import FileDrag

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
LONGEST_FILE_NAME = 255
MAX_PATH = 260


class ArchiveNames(Scenario):
    def expect_refused(self, name, why):
        archive = self.game.add_download(name)
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.choose_archive(archive)
        self.window.click("cmdPatch")
        message = self.expect_message_matching(
            rf"(?is)^{re.escape(name)} cannot be registered: .*{why}", icon="warning")
        self.answer()
        wait_for(self.window.message, f"no other message after {message.text!r}",
                 lambda now: now is None)
        self.assertEqual(sorted(os.listdir(self.game.data_files)), ["Base.bsa", "Extra.bsa"])
        self.expect_ini(ORIGINAL)
        self.expect_entries(["Base.bsa", "Extra.bsa"])

    def choose_archive(self, archive):
        if self.window.system == "windows" and len(self.window.path(archive)) >= MAX_PATH:
            # Wine's open-file dialog overruns its buffers on a path beyond MAX_PATH and takes
            # the program down with it: such a file comes dropped, as from a file manager.
            drag = FileDrag()
            self.addCleanup(drag.close)
            self.assertTrue(self.window.drop(drag, [archive]), "the window refused the archive")
            self.expect_shown_path("lblArchive", archive)
        else:
            self.choose_by_clicking("cmdArchive", archive)

    def test_a_name_that_starts_with_a_space(self):
        self.expect_refused(" Lead.bsa", r"space")

    def test_a_character_the_code_page_cannot_hold(self):
        self.expect_refused("\u03a9mega.bsa", r"character")

    def test_a_name_longer_than_254_characters(self):
        self.expect_refused("L" * (LONGEST_FILE_NAME - 4) + ".bsa", r"254|long")

    def test_a_name_in_the_code_page_is_stored_in_it(self):
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        archive = self.game.in_data_files("Caf\u00e9.bsa")
        self.game.write(archive, b"BSA\0cafe")
        self.choose_by_clicking("cmdArchive", archive)
        self.window.click("cmdPatch")
        self.expect_message("Caf\u00e9.bsa registered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa", "Caf\u00e9.bsa"])
        # Both windows run where the settings file's code page is 1252: "\u00e9" is one byte.
        self.expect_ini(ORIGINAL.replace(b"Archive 1=Extra.bsa\r\n",
                                         b"Archive 1=Extra.bsa\r\nArchive 2=Caf\xe9.bsa\r\n"))
