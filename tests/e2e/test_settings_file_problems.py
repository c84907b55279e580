# SPDX-License-Identifier: GPL-3.0-or-later
"""Settings files that cannot be read or saved: told with a warning icon and the reason, and
told before anything is copied."""
import os
import re

from game_folder import settings_bytes
from polling import stays
from varnock_case import VarnockCase

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))


class SettingsFileProblems(VarnockCase):
    def expect_warning(self, pattern, after):
        box = self.wait_message(f"a warning matching {pattern!r} {after}")
        message = self.window.read_message(box)
        self.assertRegex(message.text, re.compile(pattern, re.IGNORECASE), f"the warning {after}")
        self.assertEqual(message.icon, "warning", f"icon of {message.text!r}")
        self.answer()

    def test_a_file_without_permission_to_read_is_told_when_chosen(self):
        os.chmod(self.game.ini, 0o200)
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_warning(r"settings\.ini.*permission denied", "when the file is chosen")
        self.expect_entries([])

    def test_a_device_is_told_when_chosen(self):
        device = os.path.join(self.game.game, "device.ini")
        os.symlink("/dev/null", device)
        self.choose_by_typing("Select INI", device, how="click")  # devices are not listed
        self.expect_warning(r"device\.ini", "when a device is chosen")

    def test_a_huge_sparse_file_is_refused_and_the_program_goes_on(self):
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        huge = os.path.join(self.game.game, "huge.ini")
        with open(huge, "wb") as file:
            file.truncate(16 << 30)  # 16 GiB of nothing, taking no disk
        self.choose_by_clicking("Select INI", huge)
        self.expect_warning(r"huge\.ini.*too large to be a settings file", "when a huge file is chosen")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.assertEqual(os.stat(huge).st_size, 16 << 30, "size of the huge file")
        self.assertEqual(os.stat(huge).st_blocks, 0, "the huge file was made dense")
        # The earlier choice stands and still works.
        self.choose_by_clicking("Select BSA", self.game.new_archive)
        self.window.click(self.window.button("Register Archive"))
        self.wait_message("the copy question")
        self.answer("n")
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_ini(settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa")))

    def test_a_folder_where_the_file_was_is_told(self):
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        os.remove(self.game.ini)
        os.mkdir(self.game.ini)
        self.choose_by_clicking("Select BSA", self.game.in_data_files("Base.bsa"))
        self.window.click(self.window.button("Register Archive"))
        self.expect_warning(r"settings\.ini.*(directory|folder)", "when registering into a folder")

    def test_a_file_without_archives_lists_nothing_silently(self):
        self.game.write(self.game.ini, b"[General]\r\nName=Test\r\n")
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries([])
        stays(self.window.message_box, "no message", lambda box: box is None)

    def register_downloaded_archive(self):
        self.choose_by_clicking("Select INI", self.game.ini)
        self.choose_by_clicking("Select BSA", self.game.new_archive)
        self.window.click(self.window.button("Register Archive"))

    def expect_refused_before_copying(self):
        self.expect_warning(r"settings\.ini", "before the copy question")
        self.assertEqual(sorted(os.listdir(self.game.data_files)), ["Base.bsa", "Extra.bsa"],
                         "files in Data Files")
        self.expect_ini(ORIGINAL)
        self.expect_entries(["Base.bsa", "Extra.bsa"])

    def test_a_read_only_file_is_told_before_anything_is_copied(self):
        os.chmod(self.game.ini, 0o444)
        self.register_downloaded_archive()
        self.expect_refused_before_copying()

    def test_a_read_only_file_in_a_read_only_folder_is_told_before_copying(self):
        os.chmod(self.game.ini, 0o444)
        os.chmod(self.game.game, 0o555)
        self.addCleanup(os.chmod, self.game.game, 0o755)
        self.register_downloaded_archive()
        self.expect_refused_before_copying()
