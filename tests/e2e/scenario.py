# SPDX-License-Identifier: GPL-3.0-or-later
"""The base of every scenario: a fresh game folder and a fresh window per test, the steps a
user takes through any window's driver, and on failure a screenshot and the program's output
kept for the log."""
import os
import shutil
import unittest

from game_folder import GameFolder
from polling import wait_for

DESKTOP = None  # set by run_suite: the desktop of the window under test
ARTIFACTS = None


class Scenario(unittest.TestCase):
    scale = 1

    def setUp(self):
        self.problems_before = self._problems_reported()
        self.folder = DESKTOP.new_folder(self.id().split(".", 1)[-1])
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.game = GameFolder(self.folder)
        self.start_window()

    def start_window(self, scale=None):
        self.window = DESKTOP.window(self.folder, scale or self.scale)
        self.addCleanup(self.window.stop)
        # Before the start, so that a window that never shows leaves its evidence too.
        self.addCleanup(self._keep_evidence_of_failure, self.window)
        self.window.start()
        # Keys go to the active window: wait until the program's window has the focus.
        self.expect_focus("cmdArchive", "when the window opens")

    def skip_on(self, system, why):
        if self.window.system == system:
            self.skipTest(why)

    def _problems_reported(self):
        result = self._outcome.result  # failures reach the result as they happen
        return len(result.failures) + len(result.errors)

    def _keep_evidence_of_failure(self, window):
        if self._problems_reported() == self.problems_before:
            return
        stem = os.path.join(ARTIFACTS, f"{window.system}-{self.id().split('.', 1)[-1]}")
        DESKTOP.screenshot(stem + ".png")
        with open(stem + ".output.txt", "w", encoding="utf-8") as kept:
            kept.write(window.output())
        name = os.path.basename(stem)
        print(f"\n--- {self.id()}: kept {name}.png and {name}.output.txt; program output:\n"
              f"{window.output()}--- end of program output")

    # --- keyboard and mouse -----------------------------------------------------------
    def focus_by_tab(self, control):
        seen = []
        for _ in range(8):
            seen.append(self.window.focus())
            if seen[-1] == control:
                return
            before = seen[-1]
            self.window.press("Tab")
            wait_for(self.window.focus, f"focus to move on from {before!r}",
                     lambda now: now != before, timeout=3)
        self.fail(f"expected Tab to reach {control!r}; focus went {' -> '.join(map(repr, seen))}")

    def press_button(self, control, how):
        """how: "click", or the key ("space", "Return") pressed with the button focused."""
        if how == "click":
            self.window.click(control)
        else:
            self.focus_by_tab(control)
            self.window.press(how)

    def open_dialog(self, control, how="space"):
        self.press_button(control, how)
        wait_for(self.window.file_dialog_open, f"the open-file dialog after {control}")

    def choose_by_typing(self, control, path, how="space", popup="any"):
        """Types a file's path into the open-file dialog and confirms it with Enter.
        popup: "open" waits for the completion list first, "closed" closes it first; only the
        Qt dialog completes names."""
        self.open_dialog(control, how)
        self.type_into_file_name(self.window.path(path))
        if popup != "any" and self.window.system == "qt":
            wait_for(self.window.popups, f"the completion list after typing {path!r}")
            if popup == "closed":
                self.window.press("Escape")
                self.expect_no_popup("after Escape in the file-name box")
        self.window.press("Return")
        self.wait_dialog_closed()

    def type_into_file_name(self, typed):
        if not self.window.type_file_name(typed):
            self.fail(f"could not type {typed!r} into the file-name box")

    def choose_by_clicking(self, control, path):
        """Clicks the button, picks the file in the dialog with the mouse, then clicks Open."""
        self.open_dialog(control, how="click")
        self.window.pick_in_dialog(path)
        self.wait_dialog_closed()

    def wait_dialog_closed(self):
        wait_for(self.window.file_dialog_open, "the open-file dialog closed",
                 accept=lambda shown: not shown)

    def move_pointer_off_the_window(self):
        """Moves the pointer beside the main window, so that no hover nor tooltip covers what
        the screen is read for."""
        x, y, width, height = self.window.rect("main")
        self.window.point_at(x + width + 40, y + height // 2)

    def open_list_menu(self, how):
        """how: a key ("Menu", "shift+F10") pressed in the list, or an entry to right-click."""
        if how in self.window.entries():
            self.window.click_entry(how, button=3)
        else:
            self.window.press(how)
        return wait_for(self.window.menu, f"the list's menu opened by {how!r}")

    def choose_in_menu(self, caption, how):
        """how: "keys" (Down up to the item, then Enter) or "click"."""
        items = wait_for(self.window.menu, "the list's menu")
        if how == "click":
            self.window.click_in_menu(caption)
        else:
            for _ in range(len(items) + 1):
                before = self.window.highlighted_menu_item()
                if before == caption:
                    break
                self.window.press("Down")
                wait_for(self.window.highlighted_menu_item, "Down to move in the menu",
                         lambda now: now != before, timeout=3)
            else:
                self.fail(f"Down never reached {caption!r} in the menu {items}")
            self.window.press("Return")
        wait_for(self.window.menu, f"the menu closed by choosing {caption!r}",
                 accept=lambda now: now is None)

    # --- what the window shows ----------------------------------------------------------
    def expect_message(self, text, icon="none", buttons=("OK",), default=None):
        message = wait_for(self.window.message, f"a message box saying {text!r}",
                           lambda m: m is not None and m.text == text)
        self.expect_icon(message, icon)
        self.assertEqual(message.buttons, list(buttons), f"buttons of the message {text!r}")
        if default is not None:
            self.assertEqual(message.default_button, default, f"default button of {text!r}")
        return message

    def expect_message_matching(self, pattern, icon="warning"):
        message = wait_for(self.window.message, f"a message box matching {pattern!r}",
                           lambda m: m is not None)
        self.assertRegex(message.text, pattern)
        self.expect_icon(message, icon)
        return message

    def expect_icon(self, message, icon):
        # Where a driver cannot tell one icon from another, that one is shown must do.
        self.assertIn(message.icon, (icon, "shown") if icon != "none" else ("none",),
                      f"icon of the message {message.text!r}")

    def answer(self, key="Return"):
        """Answers the message box on screen with a key (Return, space, y, n, Escape)."""
        before = wait_for(self.window.message, "a message box to answer").text
        self.window.press(key)
        wait_for(self._message_text, f"the message {before!r} closed by {key}",
                 lambda now: now != before, timeout=5)

    def answer_by_click(self, caption):
        before = wait_for(self.window.message, "a message box to answer").text
        self.window.click_in_message(caption)
        wait_for(self._message_text, f"the message {before!r} closed by {caption}",
                 lambda now: now != before, timeout=5)

    def _message_text(self):
        message = self.window.message()
        return None if message is None else message.text

    def expect_no_message(self, after):
        self.assertIsNone(self.window.message(), f"a message box {after}")

    def expect_entries(self, names):
        wait_for(self.window.entries, f"the list to show {names}", lambda now: now == names)

    def expect_selected(self, names, after):
        wait_for(self.window.selected_entries, f"{names} selected {after}",
                 lambda now: now == names)

    def expect_focus(self, control, after):
        wait_for(self.window.focus, f"focus on {control!r} {after}", lambda now: now == control,
                 timeout=20)

    def expect_current_entry(self, name, after):
        wait_for(self.window.current_entry, f"{name!r} the current entry {after}",
                 lambda now: now == name)

    def expect_shown_path(self, control, path):
        shown = self.window.path(path) if path else ""
        wait_for(lambda: self.window.shown_path(control), f"{control} showing {shown!r}",
                 lambda now: now == shown)

    def expect_note(self, entry, note):
        wait_for(lambda: self.window.note(entry), f"{entry!r} telling {note!r}",
                 lambda now: now == note)

    def expect_marks(self, marks, after):
        # Qt's marks are read off the screen, where a tooltip could cover them.
        self.move_pointer_off_the_window()
        wait_for(self.window.entry_marks, f"the marks {marks} {after}", lambda now: now == marks)

    def expect_no_popup(self, after):
        wait_for(self.window.popups, f"no popup window left {after}", lambda p: not p, timeout=3)

    def expect_ini(self, expected):
        self.assertEqual(self.game.ini_bytes(), expected, "bytes of the settings file")
