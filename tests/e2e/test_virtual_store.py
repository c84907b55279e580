# SPDX-License-Identifier: GPL-3.0-or-later
"""A settings file under "Program Files" with a VirtualStore copy: choosing it tells the copy's
full path, and the next dialog opens beside the copy."""
import ntpath
import os
import shutil

import scenario
from game_folder import settings_bytes
from polling import wait_for
from scenario import Scenario

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
COPY = b"[Archives]\r\nArchive 0=C.bsa\r\n"


class VirtualStore(Scenario):
    def choose_by_name(self, typed):
        """Chooses a settings file by typing what the dialog is to open: these files lie
        outside the tests' drive."""
        self.open_dialog("cmdINI", how="click")
        self.type_into_file_name(typed)
        self.window.press("Return")
        self.wait_dialog_closed()

    def test_choosing_a_redirected_file_names_its_copy(self):
        self.skip_on("qt", "VirtualStore is how Windows redirects writes into program folders; "
                           "other systems have no such copies")
        desktop = scenario.DESKTOP
        below = ntpath.join("Program Files", self.id().split(".")[-1])
        game = os.path.join(desktop.prefix, "drive_c", *below.split("\\"))
        copy_folder = os.path.join(desktop.local_app_data(), "VirtualStore", *below.split("\\"))
        for folder in (game, copy_folder):
            os.makedirs(folder, exist_ok=True)
            self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        chosen = os.path.join(game, "settings.ini")
        self.game.write(chosen, ORIGINAL)
        self.game.write(os.path.join(copy_folder, "settings.ini"), COPY)
        user = os.path.basename(os.path.dirname(os.path.dirname(desktop.local_app_data())))
        copy = ntpath.join("C:\\users", user, "AppData", "Local", "VirtualStore", below,
                           "settings.ini")

        self.choose_by_name(ntpath.join("C:\\", below, "settings.ini"))
        self.expect_message(
            "Windows keeps a copy of this settings file for programs run without administrator "
            "rights, and the other application may be reading that copy instead:\n" + copy +
            "\nChoose that copy to change what it reads: Select INI opens in its folder.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        with open(chosen, "rb") as file:
            self.assertEqual(file.read(), ORIGINAL, "bytes of the file chosen")

        # The next dialog opens in the copy's folder: its name alone chooses it.
        self.choose_by_name("settings.ini")
        self.expect_entries(["C.bsa"])
        wait_for(lambda: self.window.shown_path("lblINI"), f"lblINI showing {copy!r}",
                 lambda now: now == copy)
