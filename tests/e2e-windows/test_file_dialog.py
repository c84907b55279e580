# SPDX-License-Identifier: GPL-3.0-or-later
"""Each button's file dialog opens in the folder its kind of file was last chosen in; before the
first archive, "Select BSA" opens beside the settings file. A name typed alone is looked for in
the folder the dialog opened in, so the file it chooses tells which folder that was."""
import os

from win_case import WinCase


class FileDialog(WinCase):
    def choose_by_name(self, button, name):
        self.window.click(button)
        self.window.choose_in_dialog(name)

    def wait_archive(self, path):
        self.window.wait(lambda s: s["controls"]["lblArchive"]["text"] == self.win(path),
                         "the archive %s chosen" % path)

    def test_each_kind_opens_in_the_folder_it_was_last_chosen_in(self):
        in_game = self.write(os.path.join(self.game, "Pick.bsa"), b"archive")
        downloaded = self.archive("Pick.bsa")
        # In both folders, so that either could be chosen by its name alone.
        self.write(os.path.join(self.game, "Second.bsa"), b"archive")
        second = self.archive("Second.bsa")
        self.write(os.path.join(self.game, "other.ini"), b"[Archives]\r\nArchive 0=InGame.bsa\r\n")
        self.write(os.path.join(self.archives, "other.ini"),
                   b"[Archives]\r\nArchive 0=Downloaded.bsa\r\n")

        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        # No archive chosen yet: beside the settings file.
        self.choose_by_name("cmdArchive", "Pick.bsa")
        self.wait_archive(in_game)
        self.choose_by_mouse("cmdArchive", downloaded)
        self.wait_archive(downloaded)
        # The settings file's folder, though an archive was chosen since.
        self.choose_by_name("cmdINI", "other.ini")
        self.window.wait_items(["InGame.bsa"])
        # The archive's folder, though a settings file was chosen since.
        self.choose_by_name("cmdArchive", "Second.bsa")
        self.wait_archive(second)
