# SPDX-License-Identifier: GPL-3.0-or-later
"""The road without the mouse: files chosen by typing their paths, buttons pressed with
Enter and Space, entries removed with Delete."""
import os
import posixpath

from game_folder import settings_bytes
from scenario import Scenario

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
WITH_NEW = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa"))
COPY_IT = ('The archive you selected is not in the "Data Files" folder where it is supposed to '
           'be. Copy it?')


class KeyboardRoad(Scenario):
    def test_tab_order_and_names(self):
        order = ["cmdArchive", "cmdINI", "cmdPatch", "lstArchives", "cmdUnpatch", "cmdArchive"]
        for previous, control in zip(order, order[1:]):
            self.window.press("Tab")
            self.expect_focus(control, f"after Tab from {previous!r}")
        self.window.press("shift+Tab")
        self.expect_focus("cmdUnpatch", "after Shift+Tab from the first button")
        names = {"cmdArchive": "Select BSA", "cmdINI": "Select INI",
                 "cmdPatch": "Register Archive", "lstArchives": "Registered archives",
                 "cmdUnpatch": "Unregister Archive"}
        for control, name in names.items():
            self.assertEqual(self.window.accessible_name(control), name)

    def test_settings_file_then_archive_typed_then_registered_and_unregistered(self):
        self.choose_by_typing("cmdINI", self.game.ini, how="space", popup="open")
        self.expect_no_popup("after Enter with the completion list open")
        self.expect_focus("cmdINI", "after the dialog closed")
        self.expect_shown_path("lblINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])

        self.choose_by_typing("cmdArchive", self.game.new_archive, how="Return", popup="closed")
        self.expect_focus("cmdArchive", "after the dialog closed")
        self.expect_shown_path("lblArchive", self.game.new_archive)

        self.focus_by_tab("cmdPatch")
        self.window.press("Return")
        self.expect_message(COPY_IT, buttons=("Yes", "No"), default="Yes")
        self.answer("Return")
        self.expect_message(self.window.path(self.game.in_data_files("New.bsa")))
        self.answer("Return")
        self.expect_message("New.bsa registered successfully.")
        self.answer("space")
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_focus("cmdPatch", "after the registration's messages")
        self.expect_ini(WITH_NEW)
        with open(self.game.in_data_files("New.bsa"), "rb") as copy:
            self.assertEqual(copy.read(), b"BSA\0downloaded", "the copy in Data Files")

        self.focus_by_tab("lstArchives")
        self.window.press("End")
        self.expect_selected(["New.bsa"], "after End")
        self.window.press("Delete")
        self.expect_message("Archive(s) unregistered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_focus("lstArchives", "after the unregistration's message")
        self.expect_ini(ORIGINAL)

    def test_no_to_the_copy_registers_the_name_alone(self):
        self.choose_by_typing("cmdINI", self.game.ini)
        self.choose_by_typing("cmdArchive", self.game.new_archive)
        self.focus_by_tab("cmdPatch")
        self.window.press("space")
        self.expect_message(COPY_IT, buttons=("Yes", "No"))
        self.answer("n")
        self.expect_message("New.bsa registered successfully.")
        self.answer()
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_ini(WITH_NEW)
        self.assertFalse(os.path.exists(self.game.in_data_files("New.bsa")), "a copy was made")

    def test_archive_then_settings_file_several_times_in_a_row(self):
        other = self.game.add_download("Other.bsa")
        for archive in (self.game.new_archive, other, other):
            self.choose_by_typing("cmdArchive", archive, popup="open")
            self.expect_focus("cmdArchive", f"after choosing {archive}")
            self.expect_shown_path("lblArchive", archive)
        self.choose_by_typing("cmdINI", self.game.ini, popup="closed")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        other_ini = os.path.join(self.game.game, "other.ini")
        self.game.write(other_ini, b"[Archives]\r\nArchive 0=Other.bsa\r\n")
        self.choose_by_typing("cmdINI", other_ini)
        self.expect_entries(["Other.bsa"])
        # Chosen again after another program changed it: the list is read anew.
        self.game.write(self.game.ini, settings_bytes((0, "Base.bsa")))
        self.choose_by_typing("cmdINI", self.game.ini, popup="open")
        self.expect_entries(["Base.bsa"])
        self.expect_focus("cmdINI", "after choosing the same file again")
        self.expect_no_popup("after choosing six files in a row")

    def test_an_archive_already_in_place_then_again(self):
        self.game.write(self.game.ini, settings_bytes((0, "Extra.bsa")))
        self.choose_by_typing("cmdArchive", self.game.in_data_files("Base.bsa"))
        self.choose_by_typing("cmdINI", self.game.ini)
        self.expect_entries(["Extra.bsa"])
        self.focus_by_tab("cmdPatch")
        # Already in "Data Files": no question, only the confirmation.
        self.window.press("space")
        self.expect_message("Base.bsa registered successfully.")
        self.answer("space")
        self.expect_entries(["Extra.bsa", "Base.bsa"])
        self.expect_focus("cmdPatch", "after the registration's message")
        with_base = settings_bytes((0, "Extra.bsa"), (1, "Base.bsa"))
        self.expect_ini(with_base)
        # The same again: told, nothing changed.
        self.window.press("Return")
        self.expect_message("Base.bsa is already registered.")
        self.answer()
        self.expect_ini(with_base)

    def test_a_name_relative_to_the_folder_shown(self):
        self.choose_by_typing("cmdArchive", self.game.in_data_files("Base.bsa"))
        self.open_dialog("cmdINI")
        self.type_into_file_name(os.path.join("..", "settings.ini").replace(
            "/", "\\" if self.window.system == "windows" else "/"))
        self.window.press("Return")
        self.wait_dialog_closed()
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        shown = self.window.shown_path("lblINI").replace("\\", "/")
        self.assertEqual(posixpath.normpath(shown),
                         self.window.path(self.game.ini).replace("\\", "/"))

    def test_space_and_enter_press_the_focused_button(self):
        for key in ("space", "Return", "KP_Enter"):
            with self.subTest(key=key):
                self.focus_by_tab("cmdPatch")
                self.window.press(key)
                self.expect_message("Select Archive first.")
                self.answer()
                self.expect_focus("cmdPatch", f"after the message that {key} brought")

    def test_delete_in_the_list_unregisters_the_selection(self):
        self.choose_by_typing("cmdINI", self.game.ini)
        self.focus_by_tab("lstArchives")
        self.window.press("End", "Home")  # Home alone keeps a first entry current, unselected
        self.expect_selected(["Base.bsa"], "after Home")
        self.window.press("Delete")
        self.expect_entries(["Extra.bsa"])  # moved down into the slot removed
        self.expect_ini(settings_bytes((0, "Extra.bsa")))
