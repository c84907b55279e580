# SPDX-License-Identifier: GPL-3.0-or-later
"""Settings files that cannot be read or saved, and names that cannot be stored: each told with
a warning, the file unchanged."""
import os

from win_case import SETTINGS, WinCase


class SettingsFileProblems(WinCase):
    def test_read_only_settings_file_is_left_alone(self):
        os.chmod(self.ini, 0o444)
        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.write(os.path.join(self.data_files, "Ro.bsa"), b"archive")
        self.choose_by_mouse("cmdArchive", os.path.join(self.data_files, "Ro.bsa"))
        self.window.click("cmdPatch")
        self.dismiss_warning("was not registered")
        self.window.wait_no_dialog()
        self.assertIni(SETTINGS)

    def test_unreadable_settings_file_keeps_the_former_choice(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        locked = self.write(os.path.join(self.game, "locked.ini"), b"[Archives]\r\n")
        os.chmod(locked, 0)
        self.choose_by_mouse("cmdINI", locked)
        self.dismiss_warning("Cannot read")
        state = self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.assertEqual(self.win(self.ini), state["controls"]["lblINI"]["text"])
        self.assertIni(SETTINGS)

    def test_unstorable_name_is_refused(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.write(os.path.join(self.data_files, " Spaced.bsa"), b"archive")
        self.choose_by_mouse("cmdArchive", os.path.join(self.data_files, " Spaced.bsa"))
        self.window.click("cmdPatch")
        self.dismiss_warning("cannot be registered")
        self.window.wait_no_dialog()
        self.assertIni(SETTINGS)

    def test_name_in_the_ansi_code_page(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.write(os.path.join(self.data_files, "Café.bsa"), b"archive")
        self.choose_by_mouse("cmdArchive", os.path.join(self.data_files, "Café.bsa"))
        self.window.click("cmdPatch")
        self.window.press_button(self.window.wait_message("registered successfully"), "OK")
        self.window.wait_items(["Base.bsa", "Extra.bsa", "Café.bsa"])
        self.assertIni(SETTINGS.replace(b"Archive 1=Extra.bsa\r\n",
                                        b"Archive 1=Extra.bsa\r\nArchive 2=Caf\xe9.bsa\r\n"))
