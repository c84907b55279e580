# SPDX-License-Identifier: GPL-3.0-or-later
"""The list in slot order, as the other application reads it: every filled slot listed and the
ones it does not load marked; unregistering closes the gap; entries moved by Alt+Up, Alt+Down
and the list's menu."""

import accessibility as a11y
import real_input
from game_folder import settings_bytes
from polling import wait_for
from varnock_case import VarnockCase

NOT_FOUND = 'Not found in the "Data Files" folder'
MENU_WITHOUT_SELECTION = [("Move Up", False), ("Move Down", False), ("Unregister", False)]
MENU_ON_FIRST = [("Move Up", False), ("Move Down", True), ("Unregister", True)]
MENU_IN_MIDDLE = [("Move Up", True), ("Move Down", True), ("Unregister", True)]


def not_loaded(empty_slot):
    return (f"Not loaded: slot {empty_slot} is empty, and the other application stops "
            "reading there.")


class ListOrder(VarnockCase):
    def list_file(self, *slots, missing=()):
        """Writes the settings file with these (slot, name) keys, puts the archives not in
        `missing` into Data Files, and chooses the file."""
        for _, name in slots:
            if name not in missing:
                self.game.write(self.game.in_data_files(name), b"BSA\0")
        self.game.write(self.game.ini, settings_bytes(*slots))
        self.choose_by_typing("Select INI", self.game.ini)
        self.expect_entries([name for _, name in slots])

    def select_by_keys(self, *keys, expected):
        self.focus_by_tab("Registered archives")
        real_input.press(*keys)
        wait_for(self.window.selected_entries, f"{' '.join(keys)} to select {expected}",
                 lambda now: now == expected)

    def expect_selected(self, names, after):
        wait_for(self.window.selected_entries, f"{names} selected {after}",
                 lambda now: now == names)

    def test_unregistering_from_the_middle_moves_the_later_slots_down(self):
        self.list_file(*enumerate(["a.bsa", "b.bsa", "c.bsa", "d.bsa", "e.bsa"]))
        # Home alone keeps a first entry current, unselected; Ctrl moves without selecting.
        self.select_by_keys("End", "Home", "Down", "ctrl+End", "ctrl+space",
                            expected=["b.bsa", "e.bsa"])
        real_input.press("Delete")
        # Told because the last entry was among those removed.
        self.expect_message("Archive(s) unregistered successfully.")
        self.expect_ini(settings_bytes((0, "a.bsa"), (1, "c.bsa"), (2, "d.bsa")))
        self.answer()
        self.expect_entries(["a.bsa", "c.bsa", "d.bsa"])
        self.expect_focus("Registered archives", "after the message closed")
        self.expect_current_entry("c.bsa", "(the place of the first entry removed)")

    def test_an_entry_behind_a_gap_is_marked_and_alt_up_fills_the_gap(self):
        self.list_file((0, "a.bsa"), (1, "b.bsa"), (3, "d.bsa"), missing=("d.bsa",))
        self.assertEqual(self.window.descriptions(),
                         [("a.bsa", ""), ("b.bsa", ""),
                          ("d.bsa", not_loaded(2) + "\n" + NOT_FOUND)])
        self.select_by_keys("End", expected=["d.bsa"])
        real_input.press("alt+Up")
        wait_for(self.game.ini_bytes, "d.bsa moved into slot 2",
                 lambda now: now == settings_bytes((0, "a.bsa"), (1, "b.bsa"), (2, "d.bsa")))
        wait_for(self.window.descriptions, "d.bsa no longer marked as not loaded",
                 lambda now: now == [("a.bsa", ""), ("b.bsa", ""), ("d.bsa", NOT_FOUND)])
        self.expect_selected(["d.bsa"], "after Alt+Up")
        self.expect_current_entry("d.bsa", "after Alt+Up")

    def test_the_list_menu_by_the_menu_key(self):
        self.list_file(*enumerate(["a.bsa", "b.bsa", "c.bsa"]))
        self.focus_by_tab("Registered archives")
        self.assertEqual(self.window.selected_entries(), [])
        with a11y.PopupMenus(self.window.pid) as menus:
            menu = self.open_list_menu(menus, "Menu")
            self.assertEqual(self.window.menu_items(menu), MENU_WITHOUT_SELECTION,
                             "the menu with nothing selected")
            real_input.press("Escape")
            wait_for(menus.open_menu, "the menu closed by Escape", lambda now: now is None)
            self.select_by_keys("End", "Home", expected=["a.bsa"])
            menu = self.open_list_menu(menus, "Menu")
            self.assertEqual(self.window.menu_items(menu), MENU_ON_FIRST, "the first entry's menu")
            self.choose_in_menu(menus, "Move Down", how="keys")
        self.expect_ini(settings_bytes((0, "b.bsa"), (1, "a.bsa"), (2, "c.bsa")))
        self.expect_entries(["b.bsa", "a.bsa", "c.bsa"])
        self.expect_selected(["a.bsa"], "after Move Down")
        self.expect_focus("Registered archives", "after the menu closed")
        self.expect_current_entry("a.bsa", "after Move Down")

    def test_the_list_menu_by_shift_f10(self):
        self.list_file(*enumerate(["a.bsa", "b.bsa"]))
        self.select_by_keys("End", "Home", expected=["a.bsa"])
        with a11y.PopupMenus(self.window.pid) as menus:
            menu = self.open_list_menu(menus, "shift+F10")
            self.assertEqual(self.window.menu_items(menu), MENU_ON_FIRST, "the first entry's menu")
            real_input.press("Escape")

    def test_the_list_menu_by_right_click(self):
        self.list_file(*enumerate(["a.bsa", "b.bsa", "c.bsa"]))
        with a11y.PopupMenus(self.window.pid) as menus:
            menu = self.open_list_menu(menus, "a.bsa")
            self.assertEqual(self.window.selected_entries(), ["a.bsa"],
                             "selected by the right click")
            self.assertEqual(self.window.menu_items(menu), MENU_ON_FIRST, "the first entry's menu")
            real_input.press("Escape")
            wait_for(menus.open_menu, "the menu closed by Escape", lambda now: now is None)
            menu = self.open_list_menu(menus, "b.bsa")
            self.assertEqual(self.window.selected_entries(), ["b.bsa"],
                             "the right-clicked entry selected in place of the other")
            self.assertEqual(self.window.menu_items(menu), MENU_IN_MIDDLE, "a middle entry's menu")
            self.choose_in_menu(menus, "Move Down", how="click")
        self.expect_ini(settings_bytes((0, "a.bsa"), (1, "c.bsa"), (2, "b.bsa")))
        self.expect_entries(["a.bsa", "c.bsa", "b.bsa"])
        self.expect_selected(["b.bsa"], "after Move Down")

    def test_the_same_archive_registered_twice_in_other_letter_case(self):
        self.game.write(self.game.in_data_files("a.bsa"), b"BSA\0")
        self.game.write(self.game.ini, settings_bytes((0, "a.bsa"), (1, "A.BSA")))
        self.choose_by_typing("Select INI", self.game.ini)
        wait_for(self.window.descriptions, "the second entry marked as registered twice",
                 lambda now: now == [("a.bsa", ""),
                                     ("A.BSA", "Registered twice: slot 0 holds the same "
                                               "archive.")])
