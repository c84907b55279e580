# SPDX-License-Identifier: GPL-3.0-or-later
"""The open-file dialog: where it opens, what it starts with, what it leaves behind. A name
typed alone is looked for in the folder the dialog opened in, so the file it chooses tells
which folder that was."""
import os
import shutil

from scenario import Scenario

# Widths measured on the dialog's default sans-serif font, rounded up; a cell's text is drawn
# between two 3-pixel margins.
CHAR_WIDTH = 7
NARROW_CHAR_WIDTH = 3.5
NARROW = " :./"
CELL_PADDING = 6


def text_width(text):
    return sum(NARROW_CHAR_WIDTH if c in NARROW else CHAR_WIDTH for c in text) + CELL_PADDING


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


class FileDialog(Scenario):
    def choose_by_name(self, control, name):
        self.open_dialog(control, how="click")
        self.type_into_file_name(name)
        self.window.press("Return")
        self.wait_dialog_closed()

    def cancel_dialog(self, control):
        self.window.press("Escape")
        self.wait_dialog_closed()
        self.expect_no_popup("after the dialog was cancelled")
        self.expect_focus(control, "after the dialog was cancelled")

    def test_each_kind_opens_in_the_folder_it_was_last_chosen_in(self):
        # In both folders, so that either could be chosen by its name alone.
        for folder in (self.game.game, self.game.downloads):
            self.game.write(os.path.join(folder, "Pick.bsa"), b"BSA\0")
            self.game.write(os.path.join(folder, "Second.bsa"), b"BSA\0")
        self.game.write(os.path.join(self.game.game, "other.ini"),
                        b"[Archives]\r\nArchive 0=InGame.bsa\r\n")
        self.game.write(os.path.join(self.game.downloads, "other.ini"),
                        b"[Archives]\r\nArchive 0=Downloaded.bsa\r\n")

        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        # No archive chosen yet: beside the settings file.
        self.choose_by_name("cmdArchive", "Pick.bsa")
        self.expect_shown_path("lblArchive", os.path.join(self.game.game, "Pick.bsa"))
        self.choose_by_clicking("cmdArchive", self.game.new_archive)
        # The settings file's folder, though an archive was chosen since.
        self.choose_by_name("cmdINI", "other.ini")
        self.expect_entries(["InGame.bsa"])
        # The archive's folder, though a settings file was chosen since.
        self.choose_by_name("cmdArchive", "Second.bsa")
        self.expect_shown_path("lblArchive", os.path.join(self.game.downloads, "Second.bsa"))

    def test_opens_in_the_nearest_folder_left_when_the_last_one_was_deleted(self):
        gone = os.path.join(self.game.downloads, "gone", "deeper")
        os.makedirs(gone)
        archive = os.path.join(gone, "Gone.bsa")
        self.game.write(archive, b"BSA\0")
        near = os.path.join(self.game.downloads, "Near.bsa")
        self.game.write(near, b"BSA\0")
        self.choose_by_clicking("cmdArchive", archive)
        shutil.rmtree(os.path.join(self.game.downloads, "gone"))
        self.choose_by_name("cmdArchive", "Near.bsa")
        self.expect_shown_path("lblArchive", near)

    def test_the_dialog_leaves_nothing_in_the_home_folder(self):
        home = os.environ["HOME"]
        before = files_under(home)
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.choose_by_clicking("cmdArchive", self.game.new_archive)
        self.assertEqual(files_under(home), before, "files the dialogs left in " + home)

    def test_each_choice_starts_fresh_with_an_empty_name_and_its_own_filter(self):
        for control, wanted in (("cmdArchive", "Archive file (*.BSA)"),
                                ("cmdINI", "Initialization settings file (*.INI)"),
                                ("cmdArchive", "Archive file (*.BSA)")):
            self.open_dialog(control, how="click")
            self.assertEqual(self.window.dialog_file_name(), "", "the file-name box")
            self.assertEqual(self.window.dialog_filter(), wanted, "the filter")
            self.window.type_text("left over")
            self.cancel_dialog(control)

    def test_name_size_type_and_date_are_readable(self):
        self.skip_on("windows", "the system draws its own file dialog there")
        self.choose_by_clicking("cmdArchive", self.game.new_archive)
        self.open_dialog("cmdArchive", how="click")
        too_narrow = []
        for header, (width, cells) in self.window.dialog_columns().items():
            widest = max([header, *cells], key=text_width)
            if width < text_width(widest):
                too_narrow.append(f"{header!r} is {width} px wide for {widest!r}")
        self.assertEqual(too_narrow, [], "columns too narrow to read")
