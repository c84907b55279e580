# SPDX-License-Identifier: GPL-3.0-or-later
"""The road with the mouse: files picked in the dialog's list, buttons clicked, several
entries selected with Ctrl-click and Shift-click."""
import os

from game_folder import settings_bytes
from varnock_case import VarnockCase

FIVE = [(slot, f"Archive{slot}.bsa") for slot in range(5)]


class MouseRoad(VarnockCase):
    def register_by_clicking(self, archive):
        self.choose_by_clicking("Select BSA", archive)
        self.assertEqual(self.window.archive_path(), archive)
        self.window.click(self.window.button("Register Archive"))

    def test_register_a_downloaded_archive_without_copying_it(self):
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.register_by_clicking(self.game.new_archive)
        message = self.expect_message('The archive you selected is not in the "Data Files" folder '
                                      'where it is supposed to be. Copy it?', buttons=("Yes", "No"))
        self.window.click(self.window.button_in_message("No"))
        self.expect_message("New.bsa registered successfully.")
        self.window.click(self.window.button_in_message("OK"))
        self.expect_entries(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.expect_ini(settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"), (2, "New.bsa")))
        self.assertFalse(os.path.exists(self.game.in_data_files("New.bsa")), "a copy was made")
        self.assertEqual(message.default_button, "Yes")

    def select_by_clicking(self, first, *more):
        """Clicks the first entry, then each (entry, "ctrl" or "shift") of more."""
        items = {item.name: item for item in self.window.archive_list()}
        self.window.click(items[first])
        for name, modifier in more:
            self.window.click(items[name], modifier)

    def test_ctrl_click_unregisters_entries_apart(self):
        self.game.write(self.game.ini, settings_bytes(*FIVE))
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries([name for _, name in FIVE])
        self.select_by_clicking("Archive1.bsa", ("Archive3.bsa", "ctrl"))
        self.assertEqual(self.window.selected_entries(), ["Archive1.bsa", "Archive3.bsa"])
        self.window.click(self.window.button("Unregister Archive"))
        # The later slots move down into the ones removed.
        self.expect_entries(["Archive0.bsa", "Archive2.bsa", "Archive4.bsa"])
        self.expect_ini(settings_bytes((0, "Archive0.bsa"), (1, "Archive2.bsa"),
                                       (2, "Archive4.bsa")))
        self.assertIsNone(self.window.message_box(), "a message although the last entry stays")
        self.expect_current_entry("Archive2.bsa", "(the place of the first entry removed)")

    def test_shift_click_unregisters_a_range_up_to_the_last(self):
        self.game.write(self.game.ini, settings_bytes(*FIVE))
        self.choose_by_clicking("Select INI", self.game.ini)
        self.expect_entries([name for _, name in FIVE])
        self.select_by_clicking("Archive2.bsa", ("Archive4.bsa", "shift"))
        self.assertEqual(self.window.selected_entries(), [n for _, n in FIVE[2:]])
        self.window.click(self.window.button("Unregister Archive"))
        self.expect_message("Archive(s) unregistered successfully.")
        self.window.click(self.window.button_in_message("OK"))
        self.expect_entries(["Archive0.bsa", "Archive1.bsa"])
        self.expect_ini(settings_bytes(*FIVE[:2]))

    def test_the_list_scrolls_to_the_new_entry(self):
        many = [(slot, f"Archive{slot}.bsa") for slot in range(12)]
        self.game.write(self.game.ini, settings_bytes(*many))
        self.choose_by_clicking("Select INI", self.game.ini)
        self.register_by_clicking(self.game.in_data_files("Base.bsa"))
        self.expect_message("Base.bsa registered successfully.")
        self.window.click(self.window.button_in_message("OK"))
        self.expect_entries([name for _, name in many] + ["Base.bsa"])
        self.assertIn("Base.bsa", self.window.visible_entries(), "the new entry scrolled into view")
        self.assertEqual(self.window.selected_entries(), [], "entries selected after registering")
        self.expect_ini(settings_bytes(*many, (12, "Base.bsa")))
