# SPDX-License-Identifier: GPL-3.0-or-later
"""The copy into "Data Files": answered Yes, a file of that name already there, and a long
copy cancelled from its progress window."""
import os
import shutil

from game_folder import settings_bytes
from polling import wait_for
from scenario import Scenario

COPY_IT = ('The archive you selected is not in the "Data Files" folder where it is supposed to '
           'be. Copy it?')
ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
WITH_NEW = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa"))
# Reserved on disk, not sparse (holes copy in a moment), and big enough that Cancel comes
# long before the copy's end.
BIG_COPY_BYTES = 6 << 30


class CopyIntoDataFiles(Scenario):
    def start_registering(self, archive):
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.choose_by_clicking("cmdArchive", archive)
        self.expect_shown_path("lblArchive", archive)
        self.window.click("cmdPatch")
        self.expect_message(COPY_IT, buttons=("Yes", "No"), default="Yes")
        self.answer_by_click("Yes")
        # Where the copy goes is told before it starts.
        self.expect_message(self.window.path(self.game.in_data_files(os.path.basename(archive))))
        self.answer_by_click("OK")

    def data_files(self):
        return sorted(os.listdir(self.game.data_files))

    def test_yes_copies_then_registers(self):
        self.start_registering(self.game.new_archive)
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_ini(WITH_NEW)
        self.assertEqual(self.data_files(), ["Base.bsa", "Extra.bsa", "New.bsa"])
        with open(self.game.in_data_files("New.bsa"), "rb") as copy:
            self.assertEqual(copy.read(), b"BSA\0downloaded", "the copy in Data Files")

    def replace_question(self):
        self.game.write(self.game.in_data_files("New.bsa"), b"kept")
        self.start_registering(self.game.new_archive)
        # A question without an icon, and No where Enter would replace by mistake.
        self.expect_message('A file named New.bsa is already in the "Data Files" folder. '
                            'Replace it?', buttons=("Yes", "No"), default="No")

    def test_enter_at_the_replace_question_keeps_the_file(self):
        self.replace_question()
        self.answer("Return")
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        with open(self.game.in_data_files("New.bsa"), "rb") as kept:
            self.assertEqual(kept.read(), b"kept", "the file already in Data Files")
        self.expect_ini(WITH_NEW)

    def test_yes_at_the_replace_question_replaces_the_file(self):
        self.replace_question()
        self.answer_by_click("Yes")
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        with open(self.game.in_data_files("New.bsa"), "rb") as replaced:
            self.assertEqual(replaced.read(), b"BSA\0downloaded", "the replaced file")
        self.expect_ini(WITH_NEW)

    def test_a_long_copy_cancelled_from_its_progress_window(self):
        if shutil.disk_usage(self.game.downloads).free < 3 * BIG_COPY_BYTES:
            self.skipTest("not enough free disk for a copy that takes seconds")
        big = os.path.join(self.game.downloads, "Big.bsa")
        with open(big, "wb") as archive:
            os.posix_fallocate(archive.fileno(), 0, BIG_COPY_BYTES)
        self.start_registering(big)
        progress = wait_for(self.window.copy_progress, "the copy's progress window", timeout=5)
        self.assertIn("Copying Big.bsa", progress["text"])
        self.assertIn("Cancel", progress["buttons"])
        place = self.window.progress_rect()
        self.assertGreaterEqual(min(place[:2]), 0, f"the progress window off the screen at {place}")
        self.window.click_in_progress("Cancel")
        wait_for(self.window.copy_progress, "the progress window closed after Cancel",
                 lambda now: now is None, timeout=10)
        wait_for(self.data_files, "no copy, not even a partial one, left in Data Files",
                 lambda now: now == ["Base.bsa", "Extra.bsa"], timeout=10)
        self.expect_no_message("after the copy was cancelled")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_ini(ORIGINAL)
        self.expect_focus("cmdPatch", "once the copy was cancelled")
        self.window.press("Tab")  # the window takes input again
        self.expect_focus("lstArchives", "after Tab from cmdPatch once cancelled")
