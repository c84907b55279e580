# SPDX-License-Identifier: GPL-3.0-or-later
"""What a scenario may ask of a window, whichever system draws it: one driver per window
(qt/qt_window.py through the accessibility bus, windows/windows_window.py through the probe)
fulfils it with real input from the X server.

Controls go by the names the program gives them: cmdArchive, cmdINI, cmdPatch, lstArchives,
cmdUnpatch, lblArchive, lblINI. Entries go by their shown name. Places are (x, y, width,
height) in the screen's pixels."""
from dataclasses import dataclass

from polling import wait_for

CONTROLS = ("cmdArchive", "cmdINI", "cmdPatch", "lstArchives", "cmdUnpatch", "lblArchive",
            "lblINI")


@dataclass
class Message:
    text: str
    icon: str  # "none", "warning", "question", ... or "shown" where its kind cannot be told
    buttons: list
    default_button: str


class Window:
    """The interface; each method says what a driver returns or does."""
    # Which system draws it: "qt" or "windows", for what one window lacks.
    system = None

    # --- the program --------------------------------------------------------------------
    def start(self):
        """Starts the program and waits until its window is shown."""
        raise NotImplementedError

    def stop(self):
        """Closes the program, as its title bar button does; kills it if it stays."""
        raise NotImplementedError

    def output(self):
        """What the program printed."""
        raise NotImplementedError

    def path(self, local):
        """A file's path as the program spells it."""
        raise NotImplementedError

    # --- what the main window shows -----------------------------------------------------
    def focus(self):
        """The focused control's name in the active window (a button's caption in a message
        box or dialog), or None."""
        raise NotImplementedError

    def shown_path(self, control):
        """The whole path lblArchive or lblINI stands for ("" before a choice)."""
        raise NotImplementedError

    def accessible_name(self, control):
        """The name a screen reader gives the control."""
        raise NotImplementedError

    def entries(self):
        raise NotImplementedError

    def selected_entries(self):
        raise NotImplementedError

    def current_entry(self):
        """The entry keys act from, or None."""
        raise NotImplementedError

    def visible_entries(self):
        """The entries wholly inside the list's visible area."""
        raise NotImplementedError

    def note(self, entry):
        """What a tooltip or a screen reader tells of the entry ("" for nothing)."""
        raise NotImplementedError

    def entry_place(self, entry):
        """The entry's row in the list, the list's whole inner width."""
        raise NotImplementedError

    def entry_marks(self):
        """[(icon, dimmed)] of the entries in list order: icon None, "notLoaded", "missing" or
        "registeredTwice"; dimmed whether the name is drawn dimmed (None where a driver cannot
        tell: Qt draws a selected name in the selection's colour, dimmed or not)."""
        raise NotImplementedError

    def tooltip(self):
        """The text of the tooltip shown over the main window, or None."""
        raise NotImplementedError

    def rect(self, control):
        """The control's place, or the main window's client area for "main"."""
        raise NotImplementedError

    def window_id(self):
        """The X window the window manager frames."""
        raise NotImplementedError

    # --- other windows ------------------------------------------------------------------
    def message(self):
        """The message box shown, or None."""
        raise NotImplementedError

    def file_dialog_open(self):
        raise NotImplementedError

    def dialog_file_name(self):
        raise NotImplementedError

    def type_file_name(self, typed):
        """Types into the dialog's file-name box, and types again if a key was lost on the way
        (the X server drops one now and then when the machine is busy); whether it took."""
        for _ in range(3):
            self.type_text(typed)
            try:
                wait_for(self.dialog_file_name, f"{typed!r} typed", lambda now: now == typed,
                         timeout=3)
                return True
            except AssertionError:
                self.press("ctrl+a", "BackSpace")
        return False

    def dialog_filter(self):
        """The file type the open-file dialog lists."""
        raise NotImplementedError

    def popups(self):
        """Popup windows left on the screen (completion lists, menus), tooltips aside."""
        raise NotImplementedError

    def copy_progress(self):
        """The copy's progress window, or None: {"text": label, "buttons": [captions]}."""
        raise NotImplementedError

    def progress_rect(self):
        """Where the copy's progress window stands on the screen."""
        raise NotImplementedError

    def watch_menus(self):
        """A context inside which menu() and the menu's methods can see popup menus."""
        raise NotImplementedError

    def menu(self):
        """The list's popup menu shown: [(caption, enabled)], or None."""
        raise NotImplementedError

    # --- real input -----------------------------------------------------------------------
    def press(self, *keys):
        """Presses and releases each key in turn, as xdotool names them."""
        raise NotImplementedError

    def type_text(self, text):
        raise NotImplementedError

    def click(self, control, modifier=None, button=1):
        raise NotImplementedError

    def click_entry(self, entry, modifier=None, button=1):
        raise NotImplementedError

    def point_at_entry(self, entry):
        """Rests the pointer on the entry, as one does to read its tooltip."""
        raise NotImplementedError

    def point_at(self, x, y):
        """Moves the pointer to a point of the screen."""
        raise NotImplementedError

    def click_in_message(self, caption):
        raise NotImplementedError

    def click_in_progress(self, caption):
        raise NotImplementedError

    def click_in_menu(self, caption):
        raise NotImplementedError

    def highlighted_menu_item(self):
        raise NotImplementedError

    def pick_in_dialog(self, path):
        """Chooses a file in the open-file dialog with the mouse and clicks Open."""
        raise NotImplementedError

    def drop(self, drag, paths):
        """Drags local paths onto the list and drops them there if taken; whether they were."""
        raise NotImplementedError
