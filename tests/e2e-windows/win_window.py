# SPDX-License-Identifier: GPL-3.0-or-later
"""Varnock's window under Wine: started, read through the probe, acted on with real input."""
import json
import os
import subprocess
import time

PROGRAM = os.environ.get("VARNOCK_PROGRAM", "varnock.exe")
PROBE = os.environ.get("VARNOCK_PROBE", "varnock_window_probe.exe")
TIMEOUT = 20


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        last = condition()
        if last:
            return last
        time.sleep(0.1)
    raise AssertionError("waited %d s for %s" % (timeout, what))


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


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


class VarnockWindow:
    def __init__(self, folder):
        self.output_path = os.path.join(folder, "program-output.txt")
        self.process = None
        self.probe = None

    def start(self):
        with open(self.output_path, "wb") as output:
            self.process = subprocess.Popen(["wine", PROGRAM], stdout=output,
                                            stderr=subprocess.STDOUT)
        self.probe = Probe()
        self.wait(lambda s: s["focus"] == "cmdArchive" and s["active"], "the window, focused")

    def stop(self):
        if self.probe:
            if self.process.poll() is None:
                self.probe.ask("close")
            self.probe.close()
        if self.process and self.process.poll() is None:
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def output(self):
        with open(self.output_path, encoding="utf-8", errors="replace") as output:
            return output.read()

    def snapshot(self):
        return self.probe.ask("snapshot")

    def wait(self, condition, what, timeout=None):
        """The first snapshot for which condition holds."""
        seen = {}

        def holds():
            seen["last"] = self.snapshot()
            return seen["last"] if seen["last"].get("main") and condition(seen["last"]) else None
        try:
            return wait_for(holds, what, timeout or TIMEOUT)
        except AssertionError as error:
            last = seen.get("last") or {}
            raise AssertionError("%s; last seen: list %s, focus %s, dialogs %s, menus %s" % (
                error, json.dumps(last.get("list")), last.get("focus"),
                json.dumps(last.get("dialogs")), json.dumps(last.get("menus"))))

    # What the window shows.
    def items(self):
        return self.snapshot()["list"]["items"]

    def wait_items(self, items):
        return self.wait(lambda s: s["list"]["items"] == items and not s["dialogs"],
                         "the list to show %r" % (items,))

    def wait_dialog(self, what, condition=lambda d: True, timeout=None):
        snapshot = self.wait(lambda s: any(condition(d) for d in s["dialogs"]), what, timeout)
        return next(d for d in snapshot["dialogs"] if condition(d))

    def wait_message(self, text_part):
        return self.wait_dialog("a message saying %r" % text_part,
                                lambda d: any(text_part in t for t in d["texts"]))

    def wait_no_dialog(self):
        return self.wait(lambda s: not s["dialogs"] and s["active"], "no dialog open")

    def wait_focus(self, name):
        return self.wait(lambda s: s["focus"] == name, "the focus on %s" % name)

    def wait_menu(self):
        """The popup menu open, with its items read."""
        snapshot = self.wait(lambda s: any(m["items"] for m in s["menus"]), "a popup menu")
        return snapshot["menus"][0]

    def wait_tooltip(self, condition, what):
        return self.wait(lambda s: any(condition(t) for t in s["tooltips"]), what)

    # Real input.
    def key(self, *keys):
        xdotool("key", "--delay", "80", *keys)

    def type(self, text):
        xdotool("type", "--delay", "30", text)

    def click_at(self, rect, button="1", modifier=None):
        x = (rect[0] + rect[2]) // 2
        y = (rect[1] + rect[3]) // 2
        xdotool("mousemove", str(x), str(y))
        time.sleep(0.1)
        if modifier:
            xdotool("keydown", modifier, "click", button, "keyup", modifier)
        else:
            xdotool("click", button)

    def click(self, control):
        self.click_at(self.snapshot()["controls"][control]["rect"])

    def entry_rect(self, index):
        s = self.snapshot()
        rect = s["controls"]["lstArchives"]["rect"]
        height = s["list"]["itemHeight"]
        top = rect[1] + 2 + (index - s["list"]["top"]) * height
        return [rect[0] + 4, top, rect[0] + 60, top + height]

    def click_entry(self, index, modifier=None, button="1"):
        self.click_at(self.entry_rect(index), button=button, modifier=modifier)

    def point_at_entry(self, index):
        rect = self.entry_rect(index)
        xdotool("mousemove", str((rect[0] + rect[2]) // 2), str((rect[1] + rect[3]) // 2))

    def choose_in_menu(self, caption):
        """Moves through the open popup menu with the arrow keys to caption, and presses Enter."""
        def highlighted(snapshot):
            items = snapshot["menus"][0]["items"] if snapshot["menus"] else []
            return next((i for i, item in enumerate(items) if item["highlighted"]), None)

        items = self.wait_menu()["items"]
        at = None
        for _ in items:
            self.key("Down")
            former = at
            at = highlighted(self.wait(lambda s: highlighted(s) not in (None, former),
                                       "the next item highlighted"))
            if items[at]["text"] == caption:
                self.key("Return")
                return
        raise AssertionError("no item %r in the menu: %r" % (caption, items))

    def click_menu_item(self, caption):
        menu = self.wait_menu()
        captions = [item["text"] for item in menu["items"]]
        left, top, right, bottom = menu["rect"]
        # Each item takes an equal share of the menu's height, near enough beside its thin frame.
        height = (bottom - top) / len(captions)
        middle = top + int(height * (captions.index(caption) + 0.5))
        self.click_at([left + 10, middle, right - 10, middle])

    def press_button(self, dialog, caption):
        button = next(b for b in dialog["buttons"] if b["text"].replace("&", "") == caption)
        self.click_at(button["rect"])

    def choose_in_dialog(self, windows_path):
        """Types a full path into the open file dialog and presses Enter."""
        self.wait_dialog("the file dialog", lambda d: d["title"] == "Open")
        time.sleep(0.3)
        # xdotool now and then loses a character outside ASCII: what was typed is read back
        # before Enter, and typed again if it differs.
        for _ in range(3):
            self.type(windows_path)
            try:
                self.wait_dialog("the path typed", lambda d: d["title"] == "Open" and
                                 d["edits"] and d["edits"][0] == windows_path, timeout=3)
                break
            except AssertionError:
                self.key("ctrl+a", "BackSpace")
        self.key("Return")
