# SPDX-License-Identifier: GPL-3.0-or-later
"""The road with the mouse: files picked in the open-file dialog, buttons and answers clicked,
several entries selected with Ctrl-click and Shift-click."""
import os

from game_folder import settings_bytes
from polling import stays
from scenario import Scenario

FIVE = [(slot, f"Archive{slot}.bsa") for slot in range(5)]
COPY_IT = ('The archive you selected is not in the "Data Files" folder where it is supposed to '
           'be. Copy it?')


class MouseRoad(Scenario):
    def choose_settings_file(self, names):
        self.choose_by_clicking("cmdINI", self.game.ini)
        self.expect_entries(names)

    def register_by_clicking(self, archive):
        self.choose_by_clicking("cmdArchive", archive)
        self.expect_shown_path("lblArchive", archive)
        self.window.click("cmdPatch")

    def test_register_a_downloaded_archive_without_copying_it(self):
        self.choose_settings_file(["Base.bsa", "Extra.bsa"])
        self.register_by_clicking(self.game.new_archive)
        self.expect_message(COPY_IT, buttons=("Yes", "No"), default="Yes")
        self.answer_by_click("No")
        self.expect_message("New.bsa registered successfully.")
        self.answer_by_click("OK")
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_focus("cmdPatch", "after the registration's messages")
        self.expect_ini(settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa")))
        self.assertFalse(os.path.exists(self.game.in_data_files("New.bsa")), "a copy was made")

    def test_ctrl_click_unregisters_entries_apart(self):
        self.game.write(self.game.ini, settings_bytes(*FIVE))
        self.choose_settings_file([name for _, name in FIVE])
        self.window.click_entry("Archive1.bsa")
        self.expect_selected(["Archive1.bsa"], "after a click")
        self.window.click_entry("Archive3.bsa", "ctrl")
        self.expect_selected(["Archive1.bsa", "Archive3.bsa"], "after Ctrl-click")
        self.window.click("cmdUnpatch")
        # The later slots move down into the ones removed.
        self.expect_entries(["Archive0.bsa", "Archive2.bsa", "Archive4.bsa"])
        self.expect_ini(settings_bytes((0, "Archive0.bsa"), (1, "Archive2.bsa"),
                                       (2, "Archive4.bsa")))
        stays(self.window.message, "no message box, as the last entry stays",
              lambda shown: shown is None)
        self.expect_current_entry("Archive2.bsa", "(the place of the first entry removed)")

    def test_shift_click_unregisters_a_range_up_to_the_last(self):
        self.game.write(self.game.ini, settings_bytes(*FIVE))
        self.choose_settings_file([name for _, name in FIVE])
        self.window.click_entry("Archive0.bsa")
        self.window.click_entry("Archive3.bsa", "ctrl")
        self.expect_selected(["Archive0.bsa", "Archive3.bsa"], "after Ctrl-click")
        # A plain click starts the selection anew, and Shift-click extends it from there.
        self.window.click_entry("Archive2.bsa")
        self.expect_selected(["Archive2.bsa"], "after a plain click")
        self.window.click_entry("Archive4.bsa", "shift")
        self.expect_selected([name for _, name in FIVE[2:]], "after Shift-click")
        self.window.click("cmdUnpatch")
        self.expect_message("Archive(s) unregistered successfully.")
        self.answer_by_click("OK")
        self.expect_entries(["Archive0.bsa", "Archive1.bsa"])
        self.expect_ini(settings_bytes(*FIVE[:2]))

    def test_the_list_scrolls_to_the_new_entry(self):
        many = [(slot, f"Archive{slot}.bsa") for slot in range(12)]
        self.game.write(self.game.ini, settings_bytes(*many))
        self.choose_settings_file([name for _, name in many])
        self.register_by_clicking(self.game.in_data_files("Base.bsa"))
        self.expect_message("Base.bsa registered successfully.")
        self.answer_by_click("OK")
        self.expect_entries([name for _, name in many] + ["Base.bsa"])
        self.assertIn("Base.bsa", self.window.visible_entries(), "the new entry scrolled into view")
        self.assertEqual(self.window.selected_entries(), [], "entries selected after registering")
        self.expect_ini(settings_bytes(*many, (12, "Base.bsa")))
