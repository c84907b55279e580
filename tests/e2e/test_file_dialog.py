# SPDX-License-Identifier: GPL-3.0-or-later
"""The open-file dialog: where it opens, what it starts with, what it leaves behind."""
import os
import shutil

import real_input
from varnock_case import VarnockCase

# Widths measured on the dialog's default sans-serif font, rounded up; a cell's text is drawn
# between two 3-pixel margins.
CHAR_WIDTH = 7
NARROW_CHAR_WIDTH = 3.5
NARROW = " :./"
CELL_PADDING = 6


def text_width(text):
    return sum(NARROW_CHAR_WIDTH if c in NARROW else CHAR_WIDTH for c in text) + CELL_PADDING


class FileDialog(VarnockCase):
    def cancel_dialog(self, button):
        real_input.press("Escape")
        self.wait_dialog_closed()
        self.expect_no_popup("after the dialog was cancelled")
        self.expect_focus(button, "after the dialog was cancelled")

    def test_each_kind_opens_in_the_folder_it_was_last_chosen_in(self):
        self.choose_by_clicking("Select INI", self.game.ini)
        # No archive chosen yet: the settings file's folder.
        dialog = self.open_dialog("Select BSA", how="click")
        self.assertEqual(self.window.dialog_folder(dialog), self.game.game, "folder shown")
        self.cancel_dialog("Select BSA")
        self.choose_by_clicking("Select BSA", self.game.new_archive)
        dialog = self.open_dialog("Select INI", how="click")
        self.assertEqual(self.window.dialog_folder(dialog), self.game.game, "folder shown")
        self.cancel_dialog("Select INI")
        dialog = self.open_dialog("Select BSA", how="click")
        self.assertEqual(self.window.dialog_folder(dialog), self.game.downloads, "folder shown")
        self.cancel_dialog("Select BSA")

    def test_opens_in_the_nearest_folder_left_when_the_last_one_was_deleted(self):
        gone = os.path.join(self.game.downloads, "gone", "deeper")
        os.makedirs(gone)
        archive = os.path.join(gone, "Gone.bsa")
        self.game.write(archive, b"BSA\0")
        self.choose_by_clicking("Select BSA", archive)
        shutil.rmtree(os.path.join(self.game.downloads, "gone"))
        dialog = self.open_dialog("Select INI", how="click")
        self.assertEqual(self.window.dialog_folder(dialog), self.game.downloads, "folder shown")

    def test_the_dialog_leaves_nothing_in_the_home_folder(self):
        config = os.path.join(os.environ["HOME"], ".config", "QtProject.conf")
        self.choose_by_clicking("Select INI", self.game.ini)
        self.choose_by_clicking("Select BSA", self.game.new_archive)
        self.assertFalse(os.path.exists(config), "the dialog's history went to " + config)

    def test_each_choice_starts_fresh_with_an_empty_name_and_its_own_filter(self):
        for button, wanted in (("Select BSA", "Archive file (*.BSA)"),
                               ("Select INI", "Initialization settings file (*.INI)"),
                               ("Select BSA", "Archive file (*.BSA)")):
            dialog = self.open_dialog(button, how="click")
            self.assertEqual(self.window.dialog_file_name(dialog), "", "the file-name box")
            self.assertEqual(self.window.dialog_filter(dialog), wanted, "the filter")
            real_input.type_text("left over")
            self.cancel_dialog(button)

    def test_name_size_type_and_date_are_readable(self):
        self.choose_by_clicking("Select BSA", self.game.new_archive)
        dialog = self.open_dialog("Select BSA", how="click")
        too_narrow = []
        for header, (width, cells) in self.window.dialog_columns(dialog).items():
            widest = max([header, *cells], key=text_width)
            if width < text_width(widest):
                too_narrow.append(f"{header!r} is {width} px wide for {widest!r}")
        self.assertEqual(too_narrow, [], "columns too narrow to read")
