# SPDX-License-Identifier: GPL-3.0-or-later
"""The Qt window's driver: read through the accessibility bus, as a screen reader reads it,
and acted on with real input."""
import contextlib
import os
import subprocess
from collections import Counter

import pyatspi

import accessibility as a11y
import real_input
import screen
from polling import wait_for, wait_until_stable
from program import Program
from screen_pixels import Pixels, contrast
from window import Message, Window

PROGRESS_NAME = "Copy progress"
# The accessible names the window gives its controls.
NAMES = {"cmdArchive": "Select BSA", "cmdINI": "Select INI", "cmdPatch": "Register Archive",
         "lstArchives": "Registered archives", "cmdUnpatch": "Unregister Archive",
         "lblArchive": "Selected archive", "lblINI": "Selected settings file"}
CONTROL_OF = {name: control for control, name in NAMES.items()}
ROLES = {"lstArchives": "list", "lblArchive": "label", "lblINI": "label"}

# The marks' icons (the style's stop, warning and information icons) by their colours.
ICON_OF_COLOURS = {"critical": "notLoaded", "warning": "missing",
                   "information or question": "registeredTwice"}
# Below this contrast with its background a name's darkest ink is the dimmed grey, which is
# kept just readable (4.5), not the palette's black text (21).
DIMMED_CONTRAST = 10


def row_pixels(shown, place):
    """The row's pixels as (x, colour) unlike its background (its commonest colour), and
    where the icon's room ends: a square of the row's height, and a little margin."""
    x, y, width, height = place
    pixels = [(px, shown.at(px, py)) for py in range(y, y + height)
              for px in range(x, x + width)]
    background = Counter(colour for _, colour in pixels).most_common(1)[0][0]
    return background, [(px, c) for px, c in pixels if c != background], x + height * 5 // 4


def entry_icon(shown, place):
    _, inked, room_end = row_pixels(shown, place)
    counts = {kind: sum(1 for px, colour in inked if px < room_end and matches(*colour))
              for kind, matches in screen.ICON_COLOURS.items()}
    kind, count = max(counts.items(), key=lambda item: item[1])
    return ICON_OF_COLOURS[kind] if count >= 3 else None


def name_dimmed(shown, place):
    background, inked, room_end = row_pixels(shown, place)
    greys = [colour for px, colour in inked if px >= room_end
             and abs(colour[0] - colour[1]) < 20 and abs(colour[1] - colour[2]) < 20]
    return max(contrast(g, background) for g in greys) < DIMMED_CONTRAST if greys else None


def texts_of(window):
    """The window's labels, a line each."""
    return "\n".join(label.name for label in a11y.descendants(window, "label") if label.name)


class QtWindow(Window):
    system = "qt"

    def __init__(self, folder, scale):
        self.program = Program(folder, scale)
        self.scale = scale
        self.app = None
        self.pid = None
        self.menus = None

    # --- the program --------------------------------------------------------------------
    def start(self):
        self.pid = self.program.start()
        self.app = a11y.application(self.pid)

    def stop(self):
        self.program.stop()

    def output(self):
        return self.program.output()

    def path(self, local):
        return local

    # --- the main window -------------------------------------------------------------
    def main(self):
        return next(w for w in a11y.children(self.app) if w.getRoleName() == "filler")

    def node(self, control):
        role = ROLES.get(control, "push button")
        return wait_for(lambda: a11y.find(self.main(), role, NAMES[control]), control)

    def focus(self):
        for window in a11y.children(self.app):
            if a11y.showing(window):
                node = a11y.focused(window)
                if node is not None:
                    return CONTROL_OF.get(node.name, node.name)
        return None

    def shown_path(self, control):
        return self.node(control).description

    def accessible_name(self, control):
        return self.node(control).name

    def items(self):
        return a11y.children(self.node("lstArchives"))

    def entries(self):
        return [item.name for item in self.items()]

    def selected_entries(self):
        return [item.name for item in self.items()
                if a11y.has_state(item, pyatspi.STATE_SELECTED)]

    def current_entry(self):
        # The view reports its current item focused even while it has no focus.
        return next((item.name for item in self.items()
                     if a11y.has_state(item, pyatspi.STATE_FOCUSED)), None)

    def visible_entries(self):
        lx, ly, lw, lh = a11y.extents(self.node("lstArchives"))
        visible = []
        for item in self.items():
            x, y, w, h = a11y.extents(item)
            if a11y.showing(item) and h > 0 and ly <= y and y + h <= ly + lh:
                visible.append(item.name)
        return visible

    def note(self, entry):
        return self.entry(entry).description

    def place(self, node):
        # The bus gives device-independent pixels; the screen has scale times as many.
        return tuple(round(v * self.scale) for v in a11y.extents(node))

    def entry_place(self, entry):
        return self.place(self.entry(entry))

    def entry_marks(self):
        """Read off the screen, as the bus tells neither: the icon by its colours, and a name
        dimmed where its darkest ink is a grey rather than the black of the palette's text."""
        selected = self.selected_entries()
        x, y, width, height = self.rect("lstArchives")
        shown = Pixels([x, y, x + width, y + height])
        marks = []
        for item in self.items():
            place = self.place(item)
            if not (y <= place[1] and place[1] + place[3] <= y + height):
                marks.append((None, None))  # out of sight: nothing drawn to read
                continue
            marks.append((entry_icon(shown, place),
                          None if item.name in selected else name_dimmed(shown, place)))
        return marks

    def tooltip(self):
        tip = next((w for w in a11y.children(self.app)
                    if w.getRoleName() == "tool tip" and a11y.showing(w)), None)
        return None if tip is None else tip.name

    def entry(self, name):
        return next(item for item in self.items() if item.name == name)

    def rect(self, control):
        return self.place(self.main() if control == "main" else self.node(control))

    def window_id(self):
        return subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                               str(self.pid), "--name", "^Varnock$"], check=True,
                              capture_output=True, text=True).stdout.split()[0]

    # --- message boxes, dialogs, menus ---------------------------------------------------
    def message_box(self):
        return next((w for w in a11y.children(self.app)
                     if w.getRoleName() == "alert" and a11y.showing(w)), None)

    def message(self):
        box = self.message_box()
        if box is None:
            return None
        image = a11y.find(box, "image")
        icon = "none" if image is None else screen.icon_kind(a11y.extents(image), self.scale)
        buttons = list(a11y.descendants(box, "push button"))
        default = [b.name for b in buttons if a11y.has_state(b, pyatspi.STATE_IS_DEFAULT)]
        return Message(texts_of(box), icon, [b.name for b in buttons],
                       default[0] if default else None)

    def file_dialog(self):
        return next((w for w in a11y.children(self.app) if w.getRoleName() == "dialog"
                     and w.name != PROGRESS_NAME and a11y.showing(w)), None)

    def file_dialog_open(self):
        return self.file_dialog() is not None

    def dialog_folder(self):
        return a11y.find(self.file_dialog(), "combo box").name  # "Look in:"

    def dialog_file_name(self):
        return a11y.text(a11y.find(self.file_dialog(), "text", "File name:"))

    def dialog_filter(self):
        return [c.name for c in a11y.descendants(self.file_dialog(), "combo box")][-1]

    def dialog_columns(self):
        """{column header: (width, [cell texts])} of the dialog's detail view."""
        tree = a11y.find(self.file_dialog(), "tree", "Files")
        headers = list(a11y.descendants(tree, "table column header"))
        cells = list(a11y.descendants(tree, "table cell"))
        return {header.name: (a11y.extents(header)[2],
                              [cell.name for cell in cells[index::len(headers)]])
                for index, header in enumerate(headers)}

    def popups(self):
        return screen.popups(self.pid)

    def progress_window(self):
        return next((w for w in a11y.children(self.app)
                     if w.name == PROGRESS_NAME and a11y.showing(w)), None)

    def copy_progress(self):
        window = self.progress_window()
        if window is None:
            return None
        return {"text": texts_of(window),
                "buttons": [b.name for b in a11y.descendants(window, "push button")]}

    def progress_rect(self):
        return self.place(self.progress_window())

    @contextlib.contextmanager
    def watch_menus(self):
        # Listening to the bus all along would hold back the events focus waits for.
        with a11y.PopupMenus(self.pid) as self.menus:
            yield
        self.menus = None

    def menu(self):
        menu = self.menus.open_menu()
        if menu is None:
            return None
        return [(item.name, a11y.has_state(item, pyatspi.STATE_ENABLED))
                for item in a11y.children(menu)]

    def highlighted_menu_item(self):
        menu = self.menus.open_menu()
        item = None if menu is None else a11y.focused(menu)
        return None if item is None else item.name

    # --- real input -----------------------------------------------------------------------
    def press(self, *keys):
        real_input.press(*keys)

    def type_text(self, text):
        real_input.type_text(text)

    def click_node(self, node, modifier=None, button=1):
        real_input.click(node, self.scale, modifier, button)

    def click(self, control, modifier=None, button=1):
        self.click_node(self.node(control), modifier, button)

    def click_entry(self, entry, modifier=None, button=1):
        self.click_node(self.entry(entry), modifier, button)

    def point_at_entry(self, entry):
        x, y, width, height = self.entry_place(entry)
        self.point_at(x + width // 2, y + height // 2)

    def point_at(self, x, y):
        where = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True,
                               capture_output=True, text=True).stdout.split()
        # xdotool's --sync waits for a move: none comes where the pointer already is.
        if where[:2] != [f"X={x}", f"Y={y}"]:
            real_input.xdotool("mousemove", "--sync", str(x), str(y))

    def click_in_message(self, caption):
        self.click_node(a11y.find(self.message_box(), "push button", caption))

    def click_in_progress(self, caption):
        self.click_node(a11y.find(self.progress_window(), "push button", caption))

    def click_in_menu(self, caption):
        self.click_node(a11y.find(self.menus.open_menu(), "menu item", caption))

    def pick_in_dialog(self, path):
        """Goes to the file's folder by typing it, clicks the file in the list, then Open."""
        dialog = self.file_dialog()
        folder, name = os.path.split(path)
        if self.dialog_folder() != folder:
            real_input.type_text(folder)
            real_input.press("Return")
            wait_for(self.dialog_folder, f"the dialog in {folder}", lambda now: now == folder)
            if self.popups():  # the completion list would swallow the next click
                real_input.press("Escape")
                wait_for(self.popups, "the completion list closed", lambda p: not p, timeout=3)

        def file_cell():
            cell = a11y.find(dialog, "table cell", name)
            return cell and a11y.extents(cell)
        x, y, width, height = wait_until_stable(file_cell, f"{name!r} listed in the dialog")
        real_input.click_at(x + width // 2, y + height // 2, self.scale)
        wait_for(self.dialog_file_name, f"{name!r} in the file-name box", lambda now: now == name)
        self.click_node(a11y.find(dialog, "push button", "Open"))

    def drop(self, drag, paths):
        x, y, width, height = self.rect("lstArchives")
        return drag.drop(list(paths), x + width / 2, y + height / 2)
