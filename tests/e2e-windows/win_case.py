# SPDX-License-Identifier: GPL-3.0-or-later
"""One test: a game folder of its own on drive T:, a fresh window, and on failure a screenshot
and the program's output kept."""
import os
import shutil
import unittest

from win_window import VarnockWindow

DESKTOP = None  # set by run_suite
ARTIFACTS = None

SETTINGS = (b"[General]\r\nName=Test\r\n\r\n[Archives]\r\nArchive 0=Base.bsa\r\n"
            b"Archive 1=Extra.bsa\r\n\r\n[Other]\r\nKey=Value\r\n")


class WinCase(unittest.TestCase):
    def setUp(self):
        name = self.id().split(".", 1)[1]
        self.folder = os.path.join(DESKTOP.drive, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        self.game = os.path.join(self.folder, "Game")
        self.data_files = os.path.join(self.game, "Data Files")
        self.archives = os.path.join(self.folder, "archives")
        for folder in (self.data_files, self.archives):
            os.makedirs(folder)
        self.ini = self.write(os.path.join(self.game, "settings.ini"), SETTINGS)
        self.window = VarnockWindow(self.folder)
        self.window.start()

    def tearDown(self):
        failed = any(error for _, error in self._outcome.errors) if hasattr(
            self._outcome, "errors") else not self._outcome.success
        if failed:
            stem = os.path.join(ARTIFACTS, self.id().split(".", 1)[1])
            DESKTOP.screenshot(stem + ".png")
        self.window.stop()
        if failed:
            shutil.copy(self.window.output_path, stem + "-output.txt")
            print("\n  kept %s.png and %s-output.txt" % (stem, stem))

    def write(self, path, data):
        with open(path, "wb") as file:
            file.write(data)
        return path

    def archive(self, name, data=b"archive"):
        return self.write(os.path.join(self.archives, name), data)

    def read_ini(self):
        with open(self.ini, "rb") as file:
            return file.read()

    def win(self, path):
        return DESKTOP.windows_path(path)

    def assertIni(self, expected):
        self.assertEqual(expected, self.read_ini())

    def dismiss_warning(self, text):
        """Varnock's own failures come with the warning icon; the Part's messages have none."""
        warning = self.window.wait_message(text)
        self.assertEqual("shown", warning["icon"], "no warning icon on: %s" % warning["texts"])
        self.window.press_button(warning, "OK")

    # Roads through the window.
    def choose_ini_by_keyboard(self, path=None):
        self.window.wait_focus("cmdArchive")
        self.window.key("Tab")
        self.window.wait_focus("cmdINI")
        self.window.key("Return")
        self.window.choose_in_dialog(self.win(path or self.ini))

    def choose_archive_by_keyboard(self, path):
        for _ in range(5):
            if self.window.snapshot()["focus"] == "cmdArchive":
                break
            self.window.key("shift+Tab")
        self.window.wait_focus("cmdArchive")
        self.window.key("space")
        self.window.choose_in_dialog(self.win(path))

    def choose_by_mouse(self, button, path):
        self.window.click(button)
        self.window.choose_in_dialog(self.win(path))
