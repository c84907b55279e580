# SPDX-License-Identifier: GPL-3.0-or-later
"""The list shows every slot that holds a value, marked where the other application would not
load it or loads it twice; entries are unregistered from the middle, and moved by Alt+arrow and
by the list's context menu, the file's other bytes and its Unix permission bits untouched."""
import os
import stat

from win_case import WinCase

BEFORE = b"[General]\r\nName=Test\r\n\r\n[Archives]\r\n"
AFTER = b"\r\n[Other]\r\nKey=Value\r\n"
NOT_LOADED = "Not loaded: slot 2 is empty"
NOT_FOUND = 'Not found in the "Data Files" folder'
TWICE = "Registered twice: slot 0 holds the same archive."


def settings(*slots):
    """The settings file with the given (slot, name) keys in its [Archives] section."""
    keys = b"".join(b"Archive %d=%s\r\n" % (slot, name.encode()) for slot, name in slots)
    return BEFORE + keys + AFTER


class ListOrder(WinCase):
    def open_settings(self, *slots, mode=0o644):
        for _, name in slots:
            self.write(os.path.join(self.data_files, name), b"archive")
        self.write(self.ini, settings(*slots))
        os.chmod(self.ini, mode)
        self.choose_by_mouse("cmdINI", self.ini)
        return self.window.wait_items([name for _, name in slots])

    def assertMode(self, mode):
        """Saved in place under Wine: the file keeps the bits it had."""
        self.assertEqual(oct(mode), oct(stat.S_IMODE(os.stat(self.ini).st_mode)))

    def wait_selected(self, selected):
        return self.window.wait(lambda s: s["list"]["selected"] == selected,
                                "entries %r selected" % (selected,))

    def test_unregister_from_the_middle(self):
        self.open_settings(*enumerate(["a.bsa", "b.bsa", "c.bsa", "d.bsa", "e.bsa"]))
        self.window.click_entry(1)
        self.window.click_entry(4, modifier="ctrl")
        self.wait_selected([1, 4])
        self.window.click("cmdUnpatch")
        done = self.window.wait_message("unregistered successfully")
        self.assertIn("Archive(s) unregistered successfully.", done["texts"])
        self.window.press_button(done, "OK")
        state = self.window.wait_items(["a.bsa", "c.bsa", "d.bsa"])
        self.assertIni(settings((0, "a.bsa"), (1, "c.bsa"), (2, "d.bsa")))
        self.assertMode(0o644)
        # The current entry stays where the first removed one stood.
        self.assertEqual(1, state["list"]["caret"])

    def test_entry_behind_a_gap_moved_up_by_keyboard(self):
        self.open_settings((0, "a.bsa"), (1, "b.bsa"), (3, "d.bsa"))
        state = self.window.snapshot()["list"]
        self.assertEqual([None, None, "notLoaded"], state["icons"])
        self.assertEqual([False, False, True], state["dimmed"])
        self.window.point_at_entry(2)
        self.window.wait_tooltip(lambda t: t.startswith(NOT_LOADED), "the tooltip on d.bsa")

        self.window.click_entry(2)
        self.wait_selected([2])
        self.window.key("alt+Up")
        state = self.window.wait(lambda s: s["list"]["icons"] == [None, None, None],
                                 "no entry marked")["list"]
        self.assertIni(settings((0, "a.bsa"), (1, "b.bsa"), (2, "d.bsa")))
        self.assertMode(0o644)
        self.assertEqual(["a.bsa", "b.bsa", "d.bsa"], state["items"])
        self.assertEqual([2], state["selected"])
        self.assertEqual(2, state["caret"])
        self.assertEqual([False, False, False], state["dimmed"])
        self.window.wait_focus("lstArchives")

    def test_move_by_context_menu(self):
        self.open_settings(*enumerate(["a.bsa", "b.bsa", "c.bsa"]), mode=0o600)
        self.window.click_entry(0)
        self.wait_selected([0])
        self.window.key("shift+F10")
        menu = self.window.wait_menu()
        self.assertEqual([("Move Up", False), ("Move Down", True), ("Unregister", True)],
                         [(item["text"], item["enabled"]) for item in menu["items"]])
        self.window.choose_in_menu("Move Down")
        state = self.window.wait_items(["b.bsa", "a.bsa", "c.bsa"])
        self.assertIni(settings((0, "b.bsa"), (1, "a.bsa"), (2, "c.bsa")))
        self.assertMode(0o600)
        self.assertEqual([1], state["list"]["selected"])
        self.window.wait_focus("lstArchives")

        # A right click on an entry not selected selects it alone; on a selected one the
        # selection stays.
        self.window.click_entry(2, button="3")
        self.wait_selected([2])
        self.window.wait_menu()
        self.window.key("Escape")
        self.window.wait(lambda s: not s["menus"], "the menu closed")
        self.window.click_entry(1, modifier="ctrl")
        self.wait_selected([1, 2])
        self.window.click_entry(2, button="3")
        self.window.click_menu_item("Move Up")
        state = self.window.wait_items(["a.bsa", "c.bsa", "b.bsa"])
        self.assertIni(settings((0, "a.bsa"), (1, "c.bsa"), (2, "b.bsa")))
        self.assertEqual([0, 1], state["list"]["selected"])
        self.window.wait_focus("lstArchives")

        # At the top, Move Up is offered no more.
        self.window.key("Menu")
        menu = self.window.wait_menu()
        self.assertEqual([False, True, True], [item["enabled"] for item in menu["items"]])
        self.window.key("Escape")
        self.window.wait(lambda s: not s["menus"] and s["focus"] == "lstArchives",
                         "the menu closed, the focus in the list")
        self.assertIni(settings((0, "a.bsa"), (1, "c.bsa"), (2, "b.bsa")))

    def test_marks_told_by_tooltip(self):
        self.write(os.path.join(self.data_files, "a.bsa"), b"archive")
        self.write(self.ini, settings((0, "a.bsa"), (1, "A.BSA"), (3, "gone.bsa")))
        self.choose_by_mouse("cmdINI", self.ini)
        state = self.window.wait_items(["a.bsa", "A.BSA", "gone.bsa"])["list"]
        # The gravest mark's icon; dimmed where the other application does not load the entry.
        self.assertEqual([None, "registeredTwice", "notLoaded"], state["icons"])
        self.assertEqual([False, False, True], state["dimmed"])

        self.window.point_at_entry(1)
        self.window.wait_tooltip(lambda t: t == TWICE, "the tooltip on A.BSA")
        # Each mark is a line of the tip.
        self.window.point_at_entry(2)
        tip = self.window.wait_tooltip(lambda t: t.startswith(NOT_LOADED),
                                       "the tooltip on gone.bsa")
        tip = next(t for t in tip["tooltips"] if t.startswith(NOT_LOADED))
        self.assertEqual(NOT_FOUND, tip.split("\n")[1])
        self.window.point_at_entry(0)
        self.window.wait(lambda s: not any(t for t in s["tooltips"]), "no tooltip on a.bsa")
