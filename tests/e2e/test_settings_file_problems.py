# SPDX-License-Identifier: GPL-3.0-or-later
"""Settings files that cannot be read or saved: told with a warning icon and the reason, told
before anything is copied, and the file left as it was."""
import os

from game_folder import settings_bytes
from polling import stays, wait_for
from scenario import Scenario

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
COPY_IT = ('The archive you selected is not in the "Data Files" folder where it is supposed to '
           'be. Copy it?')
# As each system words a refusal of access.
DENIED = r"(permission denied|access denied|access is denied)"


class SettingsFileProblems(Scenario):
    def expect_warning(self, pattern, after):
        message = self.expect_message_matching(pattern, icon="warning")
        self.answer()
        wait_for(self.window.message, f"no other message after {message.text!r} ({after})",
                 lambda now: now is None)
        return message

    def test_a_file_without_permission_to_read_is_told_and_the_former_choice_stays(self):
        locked = os.path.join(self.game.game, "locked.ini")
        self.game.write(locked, b"[Archives]\r\nArchive 0=Locked.bsa\r\n")
        os.chmod(locked, 0o200)
        told = rf"(?is)^Cannot read.*locked\.ini.*{DENIED}"
        self.choose_by_clicking("cmdINI", locked)
        self.expect_warning(told, "when the first file chosen cannot be read")
        self.expect_entries([])

        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.choose_by_clicking("cmdINI", locked)
        self.expect_warning(told, "when a later file cannot be read")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_shown_path("lblINI", self.game.ini)
        self.expect_ini(ORIGINAL)

    def test_a_device_is_told_when_chosen(self):
        device = os.path.join(self.game.game, "device.ini")
        os.symlink("/dev/null", device)
        self.choose_by_typing("cmdINI", device, how="click")  # devices are not listed
        self.expect_warning(r"device\.ini", "when a device is chosen")

    def test_a_huge_sparse_file_is_refused_and_the_program_goes_on(self):
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        huge = os.path.join(self.game.game, "huge.ini")
        with open(huge, "wb") as file:
            file.truncate(16 << 30)  # 16 GiB of nothing, taking no disk
        self.choose_by_clicking("cmdINI", huge)
        self.expect_warning(r"(?i)huge\.ini.*too large to be a settings file",
                            "when a huge file is chosen")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.assertEqual(os.stat(huge).st_size, 16 << 30, "size of the huge file")
        self.assertEqual(os.stat(huge).st_blocks, 0, "the huge file was made dense")
        # The earlier choice stands and still works.
        self.choose_by_clicking("cmdArchive", self.game.new_archive)
        self.window.click("cmdPatch")
        self.expect_message(COPY_IT, buttons=("Yes", "No"))
        self.answer("n")
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_ini(settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa")))

    def test_a_folder_where_the_file_was_is_told(self):
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        os.remove(self.game.ini)
        os.mkdir(self.game.ini)
        self.choose_by_clicking("cmdArchive", self.game.in_data_files("Base.bsa"))
        self.window.click("cmdPatch")
        # Windows words it as ERROR_DIRECTORY_NOT_SUPPORTED, for which Wine has no text but
        # its number.
        self.expect_warning(r"(?i)settings\.ini.*(directory|folder|error 336)",
                            "when registering into a folder")

    def test_a_file_without_archives_lists_nothing_silently(self):
        self.game.write(self.game.ini, b"[General]\r\nName=Test\r\n")
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries([])
        stays(self.window.message, "no message", lambda message: message is None)

    def register_downloaded_archive(self):
        self.choose_by_clicking("cmdINI", self.game.ini)
        # A file that may not be saved is still read.
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.choose_by_clicking("cmdArchive", self.game.new_archive)
        self.window.click("cmdPatch")

    def expect_refused_before_copying(self):
        self.expect_warning(r"(?s)^New\.bsa was not registered\. .*settings\.ini",
                            "before the copy question")
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
