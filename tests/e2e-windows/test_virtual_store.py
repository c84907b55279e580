# SPDX-License-Identifier: GPL-3.0-or-later
"""A settings file under "Program Files" with a VirtualStore copy: choosing it tells the copy's
full path, and the next dialog opens beside the copy."""
import os

import win_case
from win_case import SETTINGS, WinCase


class VirtualStore(WinCase):
    def test_choosing_a_redirected_file_names_its_copy(self):
        desktop = win_case.DESKTOP
        below = os.path.join("Program Files", self.id().split(".")[-1])
        game = os.path.join(desktop.prefix, "drive_c", below)
        os.makedirs(game, exist_ok=True)
        chosen = self.write(os.path.join(game, "settings.ini"), SETTINGS)
        copy_folder = os.path.join(desktop.local_app_data(), "VirtualStore", below)
        os.makedirs(copy_folder, exist_ok=True)
        self.write(os.path.join(copy_folder, "settings.ini"), b"[Archives]\r\nArchive 0=C.bsa\r\n")
        user = os.path.basename(os.path.dirname(os.path.dirname(desktop.local_app_data())))
        copy = "C:\\users\\%s\\AppData\\Local\\VirtualStore\\%s\\settings.ini" % (
            user, below.replace("/", "\\"))

        self.window.click("cmdINI")
        self.window.choose_in_dialog("C:\\%s\\settings.ini" % below.replace("/", "\\"))
        notice = self.window.wait_message("VirtualStore")
        self.assertTrue(any(copy in text for text in notice["texts"]), (copy, notice["texts"]))
        self.assertEqual(None, notice["icon"])
        self.window.press_button(notice, "OK")
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        with open(chosen, "rb") as file:
            self.assertEqual(SETTINGS, file.read())

        # The next dialog opens in the copy's folder: its name alone chooses it.
        self.window.click("cmdINI")
        self.window.choose_in_dialog("settings.ini")
        self.window.wait_items(["C.bsa"])
        self.assertEqual(copy, self.window.snapshot()["controls"]["lblINI"]["text"])
