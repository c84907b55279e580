# SPDX-License-Identifier: GPL-3.0-or-later
"""Archive names the settings file cannot hold: refused with a warning that says what is
wrong, before anything is copied or written."""
import os
import re

from game_folder import settings_bytes
from varnock_case import VarnockCase

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
LONGEST_FILE_NAME = 255


class UnstorableArchiveNames(VarnockCase):
    def expect_refused(self, name, why):
        archive = self.game.add_download(name)
        self.choose_by_clicking("Select INI", self.game.ini)
        self.choose_by_clicking("Select BSA", archive)
        self.window.click(self.window.button("Register Archive"))
        box = self.wait_message(f"a warning that {name!r} cannot be registered")
        message = self.window.read_message(box)
        self.assertRegex(message.text, re.compile(why, re.IGNORECASE), "what the warning says")
        self.assertEqual(message.icon, "warning", f"icon of {message.text!r}")
        self.answer()
        self.assertEqual(sorted(os.listdir(self.game.data_files)), ["Base.bsa", "Extra.bsa"])
        self.expect_ini(ORIGINAL)

    def test_a_name_that_starts_with_a_space(self):
        self.expect_refused(" Lead.bsa", r"space")

    def test_a_character_the_code_page_cannot_hold(self):
        self.expect_refused("\u03a9mega.bsa", r"character")

    def test_a_name_longer_than_254_characters(self):
        self.expect_refused("L" * (LONGEST_FILE_NAME - 4) + ".bsa", r"254|long")
