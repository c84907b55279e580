# SPDX-License-Identifier: GPL-3.0-or-later
"""The program's windows as a user sees them: the main window, the message boxes and the
open-file dialog, read through the accessibility bus and driven by real input."""
from dataclasses import dataclass

import pyatspi

import accessibility as a11y
import real_input
import screen
from polling import wait_for

PROGRESS_NAME = "Copy progress"


@dataclass
class Message:
    text: str
    icon: str  # "none", "warning", ...
    buttons: list
    default_button: str


class VarnockWindow:
    def __init__(self, app, pid, scale=1):
        self.app, self.pid, self.scale = app, pid, scale

    # --- the main window -------------------------------------------------------------
    def main(self):
        return next(w for w in a11y.children(self.app) if w.getRoleName() == "filler")

    def button(self, name):
        return wait_for(lambda: a11y.find(self.main(), "push button", name), f"button {name!r}")

    def archive_path(self):
        return a11y.find(self.main(), "label", "Selected archive").description

    def ini_path(self):
        return a11y.find(self.main(), "label", "Selected settings file").description

    def archive_list(self):
        return a11y.find(self.main(), "list", "Registered archives")

    def entries(self):
        return [item.name for item in a11y.children(self.archive_list())]

    def selected_entries(self):
        return [item.name for item in a11y.children(self.archive_list())
                if a11y.has_state(item, pyatspi.STATE_SELECTED)]

    def current_entry(self):
        """The entry keys act from; the view reports it focused even while it has no focus."""
        return next((item.name for item in a11y.children(self.archive_list())
                     if a11y.has_state(item, pyatspi.STATE_FOCUSED)), None)

    def descriptions(self):
        """[(name, accessible description)] of the entries, in list order."""
        return [(item.name, item.description) for item in a11y.children(self.archive_list())]

    def visible_entries(self):
        """Entries wholly inside the list's visible area."""
        lx, ly, lw, lh = a11y.extents(self.archive_list())
        visible = []
        for item in a11y.children(self.archive_list()):
            x, y, w, h = a11y.extents(item)
            if a11y.showing(item) and h > 0 and ly <= y and y + h <= ly + lh:
                visible.append(item.name)
        return visible

    def focus_name(self):
        """The name of the focused control of the active window, or None."""
        for window in a11y.children(self.app):
            if a11y.showing(window):
                node = a11y.focused(window)
                if node is not None:
                    return node.name
        return None

    def click(self, node, modifier=None, button=1):
        real_input.click(node, self.scale, modifier, button)

    def entry(self, name):
        return next(item for item in a11y.children(self.archive_list()) if item.name == name)

    def click_at(self, x, y):
        real_input.click_at(x, y, self.scale)

    def popups(self):
        return screen.popups(self.pid)

    # --- popup menus ----------------------------------------------------------------
    @staticmethod
    def menu_items(menu):
        """[(caption, enabled)] of a popup menu."""
        return [(item.name, a11y.has_state(item, pyatspi.STATE_ENABLED))
                for item in a11y.children(menu)]

    @staticmethod
    def active_menu_item(menu):
        item = a11y.focused(menu)
        return None if item is None else item.name

    # --- message boxes ---------------------------------------------------------------
    def message_box(self):
        return next((w for w in a11y.children(self.app)
                     if w.getRoleName() == "alert" and a11y.showing(w)), None)

    def read_message(self, box):
        texts = [label.name for label in a11y.descendants(box, "label") if label.name]
        image = a11y.find(box, "image")
        icon = "none" if image is None else screen.icon_kind(a11y.extents(image), self.scale)
        buttons = list(a11y.descendants(box, "push button"))
        default = [b.name for b in buttons if a11y.has_state(b, pyatspi.STATE_IS_DEFAULT)]
        return Message("\n".join(texts), icon, [b.name for b in buttons],
                       default[0] if default else None)

    def button_in_message(self, name):
        return self.find_in(self.message_box(), name)

    @staticmethod
    def find_in(window, button_name):
        return a11y.find(window, "push button", button_name)

    # --- the open-file dialog --------------------------------------------------------
    def file_dialog(self):
        return next((w for w in a11y.children(self.app) if w.getRoleName() == "dialog"
                     and w.name != PROGRESS_NAME and a11y.showing(w)), None)

    def copy_progress(self):
        return next((w for w in a11y.children(self.app)
                     if w.name == PROGRESS_NAME and a11y.showing(w)), None)

    def dialog_folder(self, dialog):
        return a11y.find(dialog, "combo box").name  # "Look in:"

    def dialog_file_name(self, dialog):
        return a11y.text(a11y.find(dialog, "text", "File name:"))

    def dialog_filter(self, dialog):
        return [c.name for c in a11y.descendants(dialog, "combo box")][-1]

    def dialog_columns(self, dialog):
        """{column header: (width, [cell texts])} of the detail view."""
        tree = a11y.find(dialog, "tree", "Files")
        headers = list(a11y.descendants(tree, "table column header"))
        cells = list(a11y.descendants(tree, "table cell"))
        columns = {}
        for index, header in enumerate(headers):
            texts = [cell.name for cell in cells[index::len(headers)]]
            columns[header.name] = (a11y.extents(header)[2], texts)
        return columns
