# SPDX-License-Identifier: GPL-3.0-or-later
"""The copy into "Data Files": answered Yes, a file of that name already there, and a long
copy cancelled from its progress dialog."""
import os
import shutil

import real_input
from game_folder import settings_bytes
from polling import wait_for
from varnock_case import VarnockCase

COPY_IT = ('The archive you selected is not in the "Data Files" folder where it is supposed to '
           'be. Copy it?')
WITH_NEW = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa"))
BIG_COPY_BYTES = 2 << 30  # copies for several seconds on disk, so Cancel can be reached


class CopyIntoDataFiles(VarnockCase):
    def start_registering(self, archive):
        self.choose_by_clicking("Select INI", self.game.ini)
        self.choose_by_clicking("Select BSA", archive)
        self.window.click(self.window.button("Register Archive"))
        self.expect_message(COPY_IT, buttons=("Yes", "No"), default="Yes")
        self.window.click(self.window.button_in_message("Yes"))
        self.expect_message(self.game.in_data_files(os.path.basename(archive)))
        self.answer()

    def data_files(self):
        return sorted(os.listdir(self.game.data_files))

    def test_yes_copies_then_registers(self):
        self.start_registering(self.game.new_archive)
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_ini(WITH_NEW)
        self.assertEqual(self.data_files(), ["Base.bsa", "Extra.bsa", "New.bsa"])

    def replace_question(self, default=None):
        self.game.write(self.game.in_data_files("New.bsa"), b"kept")
        self.start_registering(self.game.new_archive)
        self.expect_message('A file named New.bsa is already in the "Data Files" folder. '
                            'Replace it?', buttons=("Yes", "No"), default=default)

    def test_enter_at_the_replace_question_keeps_the_file(self):
        self.replace_question(default="No")
        self.answer("Return")
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        with open(self.game.in_data_files("New.bsa"), "rb") as kept:
            self.assertEqual(kept.read(), b"kept", "the file already in Data Files")
        self.expect_ini(WITH_NEW)

    def test_yes_at_the_replace_question_replaces_the_file(self):
        self.replace_question()
        self.window.click(self.window.button_in_message("Yes"))
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        with open(self.game.in_data_files("New.bsa"), "rb") as replaced:
            self.assertEqual(replaced.read(), b"BSA\0downloaded", "the replaced file")
        self.expect_ini(WITH_NEW)

    def test_a_long_copy_cancelled_from_its_progress_dialog(self):
        if shutil.disk_usage(self.game.downloads).free < 3 * BIG_COPY_BYTES:
            self.skipTest("not enough free disk for a copy that takes seconds")
        big = os.path.join(self.game.downloads, "Big.bsa")
        with open(big, "wb") as archive:
            os.posix_fallocate(archive.fileno(), 0, BIG_COPY_BYTES)
        self.start_registering(big)
        progress = wait_for(self.window.copy_progress, "the copy's progress dialog", timeout=5)
        self.window.click(wait_for(lambda: self.window.find_in(progress, "Cancel"),
                                   "a Cancel button in the progress dialog"))
        wait_for(self.window.copy_progress, "the progress dialog closed after Cancel",
                 lambda now: now is None, timeout=10)
        wait_for(self.data_files, "no copy, not even a partial one, left in Data Files",
                 lambda now: now == ["Base.bsa", "Extra.bsa"], timeout=10)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_ini(settings_bytes((0, "Base.bsa"), (1, "Extra.bsa")))
        real_input.press("Tab")  # the window takes input again
        self.expect_focus("Registered archives", "after Tab from Register Archive once cancelled")
