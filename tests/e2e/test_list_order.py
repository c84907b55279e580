# SPDX-License-Identifier: GPL-3.0-or-later
"""The list in slot order, as the other application reads it: every filled slot listed and the
ones it does not load or loads twice marked; unregistering from the middle closes the gap;
entries moved by Alt+Up and by the list's menu, the file's other bytes and its permission bits
untouched."""
import os
import stat

from game_folder import settings_bytes
from polling import wait_for
from scenario import Scenario

UNREGISTERED = "Archive(s) unregistered successfully."
NOT_FOUND = 'Not found in the "Data Files" folder'
TWICE = "Registered twice: slot 0 holds the same archive."
MENU_WITHOUT_SELECTION = [("Move Up", False), ("Move Down", False), ("Unregister", False)]
MENU_ON_FIRST = [("Move Up", False), ("Move Down", True), ("Unregister", True)]
MENU_IN_MIDDLE = [("Move Up", True), ("Move Down", True), ("Unregister", True)]
MENU_ON_LAST = [("Move Up", True), ("Move Down", False), ("Unregister", True)]


def not_loaded(empty_slot):
    return (f"Not loaded: slot {empty_slot} is empty, and the other application stops "
            "reading there.")


class ListOrder(Scenario):
    def list_file(self, *slots, missing=(), mode=0o644):
        """Writes the settings file with these (slot, name) keys and these permission bits,
        puts the archives not in `missing` into Data Files, and chooses the file."""
        for _, name in slots:
            if name not in missing:
                self.game.write(self.game.in_data_files(name), b"BSA\0")
        self.game.write(self.game.ini, settings_bytes(*slots))
        os.chmod(self.game.ini, mode)
        self.choose_by_typing("cmdINI", self.game.ini)
        self.expect_entries([name for _, name in slots])

    def select_by_keys(self, *keys, expected):
        self.focus_by_tab("lstArchives")
        self.window.press(*keys)
        self.expect_selected(expected, f"after {' '.join(keys)}")

    def expect_saved(self, *slots, mode=0o644):
        wait_for(self.game.ini_bytes, f"the file saved with {slots}",
                 lambda now: now == settings_bytes(*slots))
        # Saved in place: the file keeps the bits it had.
        self.assertEqual(oct(stat.S_IMODE(os.stat(self.game.ini).st_mode)), oct(mode),
                         "permission bits of the settings file")

    def expect_menu(self, how, items, what):
        self.assertEqual(self.open_list_menu(how), items, what)

    def close_menu(self):
        self.window.press("Escape")
        wait_for(self.window.menu, "the menu closed by Escape", accept=lambda now: now is None)
        self.expect_focus("lstArchives", "after Escape closed the menu")

    def test_unregistering_from_the_middle_moves_the_later_slots_down(self):
        for how in ("keys", "mouse"):
            with self.subTest(how=how):
                self.list_file(*enumerate(["a.bsa", "b.bsa", "c.bsa", "d.bsa", "e.bsa"]))
                if how == "keys" and self.window.system == "qt":
                    # Home alone keeps a first entry current, unselected; Ctrl moves without
                    # selecting.
                    self.select_by_keys("End", "Home", "Down", "ctrl+End", "ctrl+space",
                                        expected=["b.bsa", "e.bsa"])
                else:
                    # Wine's list box moves the selection with Ctrl and an arrow key as without
                    # Ctrl: there a selection with a gap takes the mouse on the keys' road too.
                    self.window.click_entry("b.bsa")
                    self.window.click_entry("e.bsa", modifier="ctrl")
                    self.expect_selected(["b.bsa", "e.bsa"], "after a click and a Ctrl+click")
                if how == "keys":
                    self.window.press("Delete")
                else:
                    self.window.click("cmdUnpatch")
                # Told because the last entry was among those removed, once the file is saved.
                self.expect_message(UNREGISTERED)
                self.expect_saved((0, "a.bsa"), (1, "c.bsa"), (2, "d.bsa"))
                if how == "keys":
                    self.answer()
                    self.expect_focus("lstArchives", "after the message closed")
                else:
                    self.answer_by_click("OK")
                self.expect_entries(["a.bsa", "c.bsa", "d.bsa"])
                self.expect_current_entry("c.bsa", "(the place of the first entry removed)")

    def test_entries_behind_a_gap_are_marked_and_alt_up_fills_the_gap(self):
        self.list_file((0, "a.bsa"), (1, "b.bsa"), (3, "d.bsa"), (4, "e.bsa"),
                       missing=("e.bsa",))
        self.expect_marks([(None, False), (None, False), ("notLoaded", True),
                           ("notLoaded", True)], "when listed")
        # Each mark is a line of the note.
        for entry, note in (("a.bsa", ""), ("b.bsa", ""), ("d.bsa", not_loaded(2)),
                            ("e.bsa", not_loaded(2) + "\n" + NOT_FOUND)):
            self.expect_note(entry, note)

        self.select_by_keys("End", "shift+Up", expected=["d.bsa", "e.bsa"])
        self.window.press("alt+Up")
        self.expect_saved((0, "a.bsa"), (1, "b.bsa"), (2, "d.bsa"), (3, "e.bsa"))
        self.expect_entries(["a.bsa", "b.bsa", "d.bsa", "e.bsa"])
        self.expect_selected(["d.bsa", "e.bsa"], "after Alt+Up")
        self.expect_current_entry("d.bsa", "after Alt+Up")
        self.expect_focus("lstArchives", "after Alt+Up")
        # Loaded now: only the missing file is told of.
        self.expect_note("d.bsa", "")
        self.expect_note("e.bsa", NOT_FOUND)
        # Qt draws selected names in the selection's colours: the marks read unselected.
        for entry in ("d.bsa", "e.bsa"):
            self.window.click_entry(entry, modifier="ctrl")
        self.expect_selected([], "after a Ctrl+click on each selected entry")
        self.expect_marks([(None, False), (None, False), (None, False), ("missing", True)],
                          "once the gap is filled")

    def test_the_same_archive_twice_and_one_behind_a_gap_are_marked(self):
        self.game.write(self.game.in_data_files("a.bsa"), b"BSA\0")
        self.game.write(self.game.ini, settings_bytes((0, "a.bsa"), (1, "A.BSA"),
                                                      (3, "gone.bsa")))
        self.choose_by_typing("cmdINI", self.game.ini)
        self.expect_entries(["a.bsa", "A.BSA", "gone.bsa"])
        # The gravest mark's icon; dimmed where the other application does not load the entry.
        self.expect_marks([(None, False), ("registeredTwice", False), ("notLoaded", True)],
                          "when listed")
        self.expect_note("A.BSA", TWICE)
        self.expect_note("gone.bsa", not_loaded(2) + "\n" + NOT_FOUND)
        self.expect_note("a.bsa", "")

    def test_the_list_menu_by_keys(self):
        self.list_file(*enumerate(["a.bsa", "b.bsa", "c.bsa"]), mode=0o600)
        self.focus_by_tab("lstArchives")
        self.assertEqual(self.window.selected_entries(), [])
        with self.window.watch_menus():
            self.expect_menu("Menu", MENU_WITHOUT_SELECTION, "the menu with nothing selected")
            self.close_menu()
            self.select_by_keys("End", "Home", expected=["a.bsa"])
            self.expect_menu("shift+F10", MENU_ON_FIRST, "the first entry's menu")
            self.close_menu()
            self.expect_menu("Menu", MENU_ON_FIRST, "the first entry's menu")
            self.choose_in_menu("Move Down", how="keys")
        self.expect_saved((0, "b.bsa"), (1, "a.bsa"), (2, "c.bsa"), mode=0o600)
        self.expect_entries(["b.bsa", "a.bsa", "c.bsa"])
        self.expect_selected(["a.bsa"], "after Move Down")
        self.expect_focus("lstArchives", "after the menu closed")
        self.expect_current_entry("a.bsa", "after Move Down")

    def test_the_list_menu_by_right_click(self):
        self.list_file(*enumerate(["a.bsa", "b.bsa", "c.bsa"]))
        with self.window.watch_menus():
            self.expect_menu("a.bsa", MENU_ON_FIRST, "the first entry's menu")
            self.assertEqual(self.window.selected_entries(), ["a.bsa"],
                             "selected by the right click")
            self.close_menu()
            self.expect_menu("b.bsa", MENU_IN_MIDDLE, "a middle entry's menu")
            self.assertEqual(self.window.selected_entries(), ["b.bsa"],
                             "the right-clicked entry selected in place of the other")
            self.choose_in_menu("Move Down", how="click")
            self.expect_saved((0, "a.bsa"), (1, "c.bsa"), (2, "b.bsa"))
            self.expect_entries(["a.bsa", "c.bsa", "b.bsa"])
            self.expect_selected(["b.bsa"], "after Move Down")
            self.expect_focus("lstArchives", "after the menu closed")

            # A right click on a selected entry keeps the selection.
            self.window.click_entry("c.bsa", modifier="ctrl")
            self.expect_selected(["c.bsa", "b.bsa"], "after a Ctrl+click")
            self.expect_menu("b.bsa", MENU_ON_LAST, "the menu of the last two entries")
            self.assertEqual(self.window.selected_entries(), ["c.bsa", "b.bsa"],
                             "the selection after a right click in it")
            self.choose_in_menu("Move Up", how="click")
            self.expect_saved((0, "c.bsa"), (1, "b.bsa"), (2, "a.bsa"))
            self.expect_entries(["c.bsa", "b.bsa", "a.bsa"])
            self.expect_selected(["c.bsa", "b.bsa"], "after Move Up")
            self.expect_focus("lstArchives", "after the menu closed")

            # At the top, Move Up is offered no more.
            self.expect_menu("Menu", MENU_ON_FIRST, "the menu of the first two entries")
            self.close_menu()
        self.expect_saved((0, "c.bsa"), (1, "b.bsa"), (2, "a.bsa"))
