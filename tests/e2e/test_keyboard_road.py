# SPDX-License-Identifier: GPL-3.0-or-later
"""The road without the mouse: files chosen by typing their paths, buttons pressed with
Enter and Space, entries removed with Delete."""
import os

import real_input
from game_folder import settings_bytes
from polling import wait_for
from varnock_case import VarnockCase

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
WITH_NEW = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa"))


class KeyboardRoad(VarnockCase):
    def test_tab_order(self):
        order = ["Select BSA", "Select INI", "Register Archive", "Registered archives",
                 "Unregister Archive", "Select BSA"]
        self.expect_focus(order[0], "when the window opens")
        for previous, name in zip(order, order[1:]):
            real_input.press("Tab")
            self.expect_focus(name, f"after Tab from {previous!r}")

    def test_settings_file_then_archive_typed_then_registered_and_unregistered(self):
        self.choose_by_typing("Select INI", self.game.ini, how="space", popup="open")
        self.expect_no_popup("after Enter with the completion list open")
        self.expect_focus("Select INI", "after the dialog closed")
        self.assertEqual(self.window.ini_path(), self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])

        self.choose_by_typing("Select BSA", self.game.new_archive, how="Return", popup="closed")
        self.expect_focus("Select BSA", "after the dialog closed")
        self.assertEqual(self.window.archive_path(), self.game.new_archive)

        self.focus_by_tab("Register Archive")
        real_input.press("Return")
        self.expect_message('The archive you selected is not in the "Data Files" folder where it '
                            'is supposed to be. Copy it?', buttons=("Yes", "No"), default="Yes")
        self.answer("Return")
        self.expect_message(self.game.in_data_files("New.bsa"))
        self.answer("Return")
        self.expect_message("New.bsa registered successfully.")
        self.answer("space")
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_ini(WITH_NEW)
        with open(self.game.in_data_files("New.bsa"), "rb") as copy:
            self.assertEqual(copy.read(), b"BSA\0downloaded", "the copy in Data Files")

        self.focus_by_tab("Registered archives")
        real_input.press("End")
        wait_for(self.window.selected_entries, "End to select the last entry",
                 lambda now: now == ["New.bsa"])
        real_input.press("Delete")
        self.expect_message("Archive(s) unregistered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_ini(ORIGINAL)

    def test_archive_then_settings_file_several_times_in_a_row(self):
        other = self.game.add_download("Other.bsa")
        for archive in (self.game.new_archive, other, other):
            self.choose_by_typing("Select BSA", archive, popup="open")
            self.expect_focus("Select BSA", f"after choosing {archive}")
            self.assertEqual(self.window.archive_path(), archive)
        self.choose_by_typing("Select INI", self.game.ini, popup="closed")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        # Chosen again after another program changed it: the list is read anew.
        self.game.write(self.game.ini, settings_bytes((0, "Base.bsa")))
        self.choose_by_typing("Select INI", self.game.ini, popup="open")
        self.expect_entries(["Base.bsa"])
        self.expect_focus("Select INI", "after choosing the same file again")
        self.expect_no_popup("after choosing five files in a row")

    def test_a_name_relative_to_the_folder_shown(self):
        self.choose_by_typing("Select BSA", self.game.in_data_files("Base.bsa"))
        dialog = self.open_dialog("Select INI")
        self.assertEqual(self.window.dialog_folder(dialog), self.game.data_files)
        real_input.type_text("../settings.ini")
        real_input.press("Return")
        self.wait_dialog_closed()
        self.assertEqual(os.path.normpath(self.window.ini_path()), self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])

    def test_space_and_enter_press_the_focused_button(self):
        for key in ("space", "Return", "KP_Enter"):
            with self.subTest(key=key):
                self.focus_by_tab("Register Archive")
                real_input.press(key)
                self.expect_message("Select Archive first.")
                self.answer()
                self.expect_focus("Register Archive", f"after the message that {key} brought")

    def test_delete_in_the_list_unregisters_the_selection(self):
        self.choose_by_typing("Select INI", self.game.ini)
        self.focus_by_tab("Registered archives")
        real_input.press("End", "Home")  # Home alone keeps a first entry current, unselected
        wait_for(self.window.selected_entries, "Home to select the first entry",
                 lambda now: now == ["Base.bsa"])
        real_input.press("Delete")
        self.expect_entries(["Extra.bsa"])  # moved down into the slot removed
        self.expect_ini(settings_bytes((0, "Extra.bsa")))
