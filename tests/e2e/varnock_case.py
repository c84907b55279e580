# SPDX-License-Identifier: GPL-3.0-or-later
"""The base of every scenario: a fresh program and a fresh game folder per test, the steps a
user takes, and on failure a screenshot and the program's output kept for the log."""
import os
import shutil
import tempfile
import unittest

import accessibility as a11y
import real_input
from game_folder import GameFolder
from polling import wait_for, wait_until_stable
from program import Program
from varnock_window import VarnockWindow

DESKTOP = None  # set by the runner
ARTIFACTS = tempfile.gettempdir()


class VarnockCase(unittest.TestCase):
    scale = 1

    def setUp(self):
        self.problems_before = self._problems_reported()
        self.folder = tempfile.mkdtemp(prefix="case-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.game = GameFolder(self.folder)
        self.program = Program(self.folder, self.scale)
        pid = self.program.start()
        self.addCleanup(self.program.stop)
        self.addCleanup(self._keep_evidence_of_failure)
        self.window = VarnockWindow(a11y.application(pid), pid, self.scale)
        # Keys go to the active window: wait until the program's window has the focus.
        wait_for(self.window.focus_name, "the main window focused when it opens", timeout=20)

    def _problems_reported(self):
        result = self._outcome.result  # failures reach the result as they happen
        return len(result.failures) + len(result.errors)

    def _keep_evidence_of_failure(self):
        if self._problems_reported() == self.problems_before:
            return
        stem = os.path.join(ARTIFACTS, self.id().split(".", 1)[-1])
        DESKTOP.screenshot(stem + ".png")
        shutil.copy(self.program.output_path, stem + ".output.txt")
        name = os.path.basename(stem)
        print(f"\n--- {self.id()}: kept {name}.png and {name}.output.txt; program output:\n"
              f"{self.program.output()}--- end of program output")

    # --- keyboard and mouse -----------------------------------------------------------
    def focus_by_tab(self, name):
        seen = []
        for _ in range(8):
            seen.append(self.window.focus_name())
            if self.window.focus_name() == name:
                return
            before = self.window.focus_name()
            real_input.press("Tab")
            wait_for(self.window.focus_name, f"focus to move on from {before!r}",
                     lambda now: now != before, timeout=3)
        self.fail(f"expected Tab to reach {name!r}; focus went {' -> '.join(map(repr, seen))}")

    def press_button(self, name, how):
        """how: "click", or the key ("space", "Return") pressed with the button focused."""
        if how == "click":
            self.window.click(self.window.button(name))
        else:
            self.focus_by_tab(name)
            real_input.press(how)

    def open_dialog(self, button, how="space"):
        self.press_button(button, how)
        return wait_for(self.window.file_dialog, f"the open-file dialog after {button!r}")

    def choose_by_typing(self, button, typed, how="space", popup="any"):
        """Types a path into the open-file dialog and confirms it with Enter.
        popup: "open" waits for the completion list first, "closed" closes it first."""
        dialog = self.open_dialog(button, how)
        self.type_into_file_name(dialog, typed)
        if popup != "any":
            wait_for(self.window.popups, "the completion list after typing " + repr(typed))
        if popup == "closed":
            real_input.press("Escape")
            wait_for(self.window.popups, "the completion list closed by Escape", accept=lambda p: not p)
        real_input.press("Return")
        self.wait_dialog_closed()

    def type_into_file_name(self, dialog, typed):
        """Types into the dialog's file-name box, and types again if a key was lost on the way
        (the X server drops one now and then when the machine is busy)."""
        for _ in range(3):
            real_input.type_text(typed)
            try:
                wait_for(lambda: self.window.dialog_file_name(dialog), f"{typed!r} typed",
                         lambda now: now == typed, timeout=3)
                return
            except AssertionError:
                real_input.press("ctrl+a", "BackSpace")
        self.fail(f"could not type {typed!r} into the file-name box")

    def choose_by_clicking(self, button, path):
        """Clicks the button, goes to the file's folder, clicks the file, then Open."""
        dialog = self.open_dialog(button, how="click")
        folder, name = os.path.split(path)
        if self.window.dialog_folder(dialog) != folder:
            real_input.type_text(folder)
            real_input.press("Return")
            wait_for(lambda: self.window.dialog_folder(dialog), f"the dialog in {folder}",
                     lambda now: now == folder)
            if self.window.popups():  # the completion list would swallow the next click
                real_input.press("Escape")
                self.expect_no_popup("after Escape in the file-name box")
        def file_cell():
            cell = a11y.find(dialog, "table cell", name)
            return cell and a11y.extents(cell)
        x, y, width, height = wait_until_stable(file_cell, f"{name!r} listed in the dialog")
        self.window.click_at(x + width // 2, y + height // 2)
        wait_for(lambda: self.window.dialog_file_name(dialog), f"{name!r} in the file-name box",
                 lambda now: now == name)
        self.window.click(a11y.find(dialog, "push button", "Open"))
        self.wait_dialog_closed()

    def open_list_menu(self, menus, how):
        """Opens the list's menu: how is a key ("Menu") pressed in the list, or the name of an
        entry to right-click. menus: an entered a11y.PopupMenus. Returns the menu."""
        if how in self.window.entries():
            self.window.click(self.window.entry(how), button=3)
        else:
            real_input.press(how)
        return wait_for(menus.open_menu, f"the list's menu opened by {how!r}")

    def choose_in_menu(self, menus, caption, how):
        """how: "keys" (Down up to the item, then Enter) or "click"."""
        menu = menus.open_menu()
        if how == "click":
            self.window.click(a11y.find(menu, "menu item", caption))
        else:
            for _ in range(len(a11y.children(menu)) + 1):
                before = self.window.active_menu_item(menu)
                if before == caption:
                    break
                real_input.press("Down")
                wait_for(lambda: self.window.active_menu_item(menu), "Down to move in the menu",
                         lambda now: now != before, timeout=3)
            else:
                self.fail(f"Down never reached {caption!r} in the menu")
            real_input.press("Return")
        wait_for(menus.open_menu, f"the menu closed by choosing {caption!r}",
                 accept=lambda now: now is None)

    def wait_dialog_closed(self):
        wait_for(self.window.file_dialog, "the open-file dialog closed", accept=lambda d: d is None)

    # --- what the window shows ----------------------------------------------------------
    def wait_message(self, expected):
        return wait_for(self.window.message_box, expected)

    def expect_message(self, text, icon="none", buttons=("OK",), default=None):
        box = self.wait_message(f"a message box saying {text!r}")
        message = wait_for(lambda: self.window.read_message(box), f"the message {text!r}",
                           lambda m: m.text == text)
        self.assertEqual(message.icon, icon, f"icon of the message {text!r}")
        self.assertEqual(message.buttons, list(buttons), f"buttons of the message {text!r}")
        if default is not None:
            self.assertEqual(message.default_button, default, f"default button of {text!r}")
        return message

    def answer(self, key="Return"):
        """Answers the message box on screen with a key (Return, y, n, Escape)."""
        before = self.window.read_message(self.window.message_box()).text
        real_input.press(key)
        wait_for(self._message_text, f"the message {before!r} closed by {key}",
                 lambda now: now != before, timeout=5)

    def _message_text(self):
        box = self.window.message_box()
        return None if box is None else self.window.read_message(box).text

    def expect_entries(self, names):
        wait_for(self.window.entries, f"the list to show {names}", lambda now: now == names)

    def expect_focus(self, name, after):
        wait_for(self.window.focus_name, f"focus on {name!r} {after}", lambda now: now == name)

    def expect_current_entry(self, name, after):
        wait_for(self.window.current_entry, f"{name!r} the current entry {after}",
                 lambda now: now == name)

    def expect_no_popup(self, after):
        wait_for(self.window.popups, f"no popup window left {after}", lambda p: not p, timeout=3)

    def expect_ini(self, expected):
        self.assertEqual(self.game.ini_bytes(), expected, "bytes of the settings file")
