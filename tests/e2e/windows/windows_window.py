# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows window's driver: varnock.exe under Wine, read back through the Win32 API by the
project's probe, and acted on with real input from the X server."""
import contextlib
import json
import os
import subprocess
import time

from polling import wait_for
from screen_pixels import Pixels
from window import Message, Window
from x_desktop import xdotool

PROGRAM = os.environ.get("VARNOCK_PROGRAM", "varnock.exe")
PROBE = os.environ.get("VARNOCK_PROBE", "varnock_window_probe.exe")
FILE_DIALOG_TITLE = "Open"
PROGRESS_CLASS = "VarnockCopyProgress"
TOOLTIP_DELAY = 2.5


class Probe:
    def __init__(self):
        self.process = subprocess.Popen(["wine", PROBE], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def ask(self, command):
        self.process.stdin.write((command + "\r\n").encode())
        self.process.stdin.flush()
        line = self.process.stdout.readline().decode("utf-8").rstrip("\r\n")
        return json.loads(line)

    def close(self):
        try:
            self.process.stdin.write(b"quit\r\n")
            self.process.stdin.close()
            self.process.wait(timeout=5)
        except Exception:
            self.process.kill()


def box(rect):
    """The probe's [left, top, right, bottom] as (x, y, width, height)."""
    return (rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1])


def caption(text):
    return text.replace("&", "")


class WindowsWindow(Window):
    system = "windows"

    def __init__(self, folder, desktop):
        self.output_path = os.path.join(folder, "program-output.txt")
        self.desktop = desktop
        self.process = None
        self.probe = None

    # --- the program --------------------------------------------------------------------
    def start(self):
        with open(self.output_path, "wb") as output:
            self.process = subprocess.Popen(["wine", PROGRAM], stdout=output,
                                            stderr=subprocess.STDOUT)
        self.probe = Probe()
        wait_for(lambda: self.snapshot().get("main"), "the window shown", timeout=30)

    def stop(self):
        if self.probe:
            if self.process.poll() is None:
                self.probe.ask("close")
            self.probe.close()
            self.probe = None
        if self.process and self.process.poll() is None:
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def output(self):
        with open(self.output_path, encoding="utf-8", errors="replace") as output:
            return output.read()

    def path(self, local):
        return self.desktop.windows_path(local)

    def snapshot(self):
        return self.probe.ask("snapshot")

    def state(self):
        """The snapshot of a shown main window."""
        snapshot = self.snapshot()
        if not snapshot.get("main"):
            raise AssertionError("the main window is not shown")
        return snapshot

    # --- the main window -------------------------------------------------------------
    def focus(self):
        focus = self.state()["focus"]
        # Outside the main window the probe says "window title/class/text".
        return caption(focus.split("/", 2)[2]) if focus and "/" in focus else focus

    def shown_path(self, control):
        return self.state()["controls"][control]["text"]

    def accessible_name(self, control):
        return self.state()["controls"][control]["accName"]

    def entries(self):
        return self.state()["list"]["items"]

    def selected_entries(self):
        listed = self.state()["list"]
        return [listed["items"][i] for i in listed["selected"]]

    def current_entry(self):
        listed = self.state()["list"]
        caret = listed["caret"]
        return listed["items"][caret] if 0 <= caret < len(listed["items"]) else None

    def visible_entries(self):
        state = self.state()
        listed = state["list"]
        _, _, _, height = box(state["controls"]["lstArchives"]["rect"])
        shown = max(1, (height - 4) // listed["itemHeight"])
        return listed["items"][listed["top"]:listed["top"] + shown]

    def entry_marks(self):
        """[(icon, dimmed)] of the entries, in list order."""
        listed = self.state()["list"]
        return list(zip(listed["icons"], listed["dimmed"]))

    def entry_place(self, entry):
        state = self.state()
        listed = state["list"]
        x, y, width, _ = box(state["controls"]["lstArchives"]["rect"])
        height = listed["itemHeight"]
        # Inside the list's one-pixel frame (WS_BORDER), rows of the probe's item height.
        top = y + 1 + (listed["items"].index(entry) - listed["top"]) * height
        return (x + 1, top, width - 2, height)

    def tooltip(self):
        return next((tip for tip in self.snapshot()["tooltips"] if tip), None)

    def note(self, entry):
        """Wine gives no accessible descriptions: the note is the entry's tooltip."""
        self.point_at_entry(entry)
        deadline = time.monotonic() + TOOLTIP_DELAY
        while time.monotonic() < deadline:
            tip = self.tooltip()
            if tip:
                return tip
            time.sleep(0.1)
        return ""

    def rect(self, control):
        state = self.state()
        if control == "main":
            return (*state["clientAt"], *state["client"])
        return box(state["controls"][control]["rect"])

    def window_id(self):
        # Wine's X windows belong to no pid xdotool knows: the main window, while active.
        wait_for(lambda: self.state()["active"], "the main window active")
        return subprocess.run(["xdotool", "getactivewindow"], check=True, capture_output=True,
                              text=True).stdout.strip()

    def drawn_up_to_date(self):
        """Whether the screen shows what the main window draws when asked to draw afresh."""
        left, top, width, height = self.rect("main")
        client = [left, top, left + width, top + height]
        shown = Pixels(client).data
        if not self.probe.ask("redraw")["redrawn"]:
            return False
        time.sleep(0.5)
        return shown == Pixels(client).data

    # --- message boxes, dialogs, menus ---------------------------------------------------
    def dialogs(self):
        return self.state()["dialogs"]

    def message_box(self):
        return next((d for d in self.dialogs() if d["title"] != FILE_DIALOG_TITLE
                     and d["class"] != PROGRESS_CLASS), None)

    def message(self):
        box_ = self.message_box()
        if box_ is None:
            return None
        default = [caption(b["text"]) for b in box_["buttons"] if b["default"]]
        # Icon handles belong to the program, so the probe can tell only that one is shown.
        return Message("\n".join(box_["texts"]), "shown" if box_["icon"] else "none",
                       [caption(b["text"]) for b in box_["buttons"]],
                       default[0] if default else None)

    def file_dialog(self):
        return next((d for d in self.dialogs() if d["title"] == FILE_DIALOG_TITLE), None)

    def file_dialog_open(self):
        return self.file_dialog() is not None

    def dialog_file_name(self):
        dialog = self.file_dialog()
        return dialog["edits"][0] if dialog and dialog["edits"] else None

    def dialog_filter(self):
        dialog = self.file_dialog()
        return next((c for c in dialog["combos"] if "(*." in c), None) if dialog else None

    def popups(self):
        return []  # Wine's file dialog completes no names, and menus are read as menus

    def progress_window(self):
        return next((d for d in self.dialogs() if d["class"] == PROGRESS_CLASS), None)

    def copy_progress(self):
        window = self.progress_window()
        if window is None:
            return None
        return {"text": "\n".join(t for t in window["texts"] if not t.startswith("progress ")),
                "buttons": [caption(b["text"]) for b in window["buttons"]]}

    def progress_rect(self):
        return box(self.progress_window()["rect"])

    def watch_menus(self):
        return contextlib.nullcontext()  # the probe reads the menus whenever asked

    def open_menu(self):
        return next((m for m in self.state()["menus"] if m["items"]), None)

    def menu(self):
        menu = self.open_menu()
        return None if menu is None else [(i["text"], i["enabled"]) for i in menu["items"]]

    def highlighted_menu_item(self):
        menu = self.open_menu()
        items = menu["items"] if menu else []
        return next((i["text"] for i in items if i["highlighted"]), None)

    # --- real input -----------------------------------------------------------------------
    def press(self, *keys):
        xdotool("key", "--delay", "80", *keys)

    def type_text(self, text):
        xdotool("type", "--delay", "30", text)

    def click_at(self, rect, modifier=None, button=1):
        x, y, width, height = rect
        xdotool("mousemove", str(x + width // 2), str(y + height // 2))
        time.sleep(0.1)
        if modifier:
            xdotool("keydown", modifier, "click", str(button), "keyup", modifier)
        else:
            xdotool("click", str(button))

    def click(self, control, modifier=None, button=1):
        self.click_at(self.rect(control), modifier, button)

    def entry_rect(self, entry):
        """Where to aim at the entry: its name's first letters."""
        x, y, _, height = self.entry_place(entry)
        return (x + 3, y, 56, height)

    def click_entry(self, entry, modifier=None, button=1):
        self.click_at(self.entry_rect(entry), modifier, button)

    def point_at_entry(self, entry):
        x, y, width, height = self.entry_rect(entry)
        self.point_at(x + width // 2, y + height // 2)

    def point_at(self, x, y):
        xdotool("mousemove", str(x), str(y))

    def click_button_of(self, dialog, wanted):
        button = next(b for b in dialog["buttons"] if caption(b["text"]) == wanted)
        self.click_at(box(button["rect"]))

    def click_in_message(self, wanted):
        self.click_button_of(self.message_box(), wanted)

    def click_in_progress(self, wanted):
        self.click_button_of(self.progress_window(), wanted)

    def click_in_menu(self, wanted):
        menu = self.open_menu()
        captions = [item["text"] for item in menu["items"]]
        left, top, right, bottom = menu["rect"]
        # Each item takes an equal share of the menu's height, near enough beside its frame.
        height = (bottom - top) / len(captions)
        middle = top + int(height * (captions.index(wanted) + 0.5))
        self.click_at((left + 10, middle, right - left - 20, 1))

    def pick_in_dialog(self, path):
        """Types the path and clicks Open: the probe cannot read the items of Wine's file
        list, so the mouse cannot aim at one."""
        if not self.type_file_name(self.path(path)):
            raise AssertionError(f"could not type {path!r} into the file-name box")
        self.click_button_of(self.file_dialog(), "Open")

    def drop(self, drag, paths):
        x, y, width, height = self.rect("lstArchives")
        return drag.drop(list(paths), x + width // 2, y + height // 2)
