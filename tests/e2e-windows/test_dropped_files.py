# SPDX-License-Identifier: GPL-3.0-or-later
"""Files dropped on the window from a file manager: one settings file is read and listed, one
archive becomes the chosen one; several files, or another kind, are refused while dragged
(the drop is never made) and change nothing. The keyboard focus stays where it was."""
import os
import time

from win_case import SETTINGS, WinCase
from xdnd import FileDrag


class DroppedFiles(WinCase):
    def setUp(self):
        super().setUp()
        self.drag = FileDrag()
        self.window.key("Tab")
        self.window.wait_focus("cmdINI")

    def tearDown(self):
        self.drag.close()
        super().tearDown()

    def drop(self, *paths):
        rect = self.window.snapshot()["controls"]["lstArchives"]["rect"]
        return self.drag.drop(list(paths), (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)

    def labels(self, snapshot):
        controls = snapshot["controls"]
        return controls["lblArchive"]["text"], controls["lblINI"]["text"]

    def test_settings_file_dropped_is_listed(self):
        self.assertTrue(self.drop(self.ini))
        state = self.window.wait(
            lambda s: s["list"]["items"] == ["Base.bsa", "Extra.bsa"] and not s["dialogs"],
            "the dropped settings file listed")
        self.assertTrue(self.labels(state)[1].endswith("settings.ini"), self.labels(state))
        self.assertEqual("cmdINI", state["focus"])
        self.assertIni(SETTINGS)

    def test_archive_dropped_is_chosen(self):
        self.assertTrue(self.drop(self.archive("Dropped.bsa")))
        state = self.window.wait(lambda s: self.labels(s)[0].endswith("Dropped.bsa"),
                                 "the dropped archive chosen")
        self.assertEqual("cmdINI", state["focus"])
        self.assertEqual([], state["list"]["items"])

    def test_several_files_or_another_kind_change_nothing(self):
        before = self.labels(self.window.snapshot())
        self.assertFalse(self.drop(self.ini, self.archive("Two.bsa")))
        notes = os.path.join(self.archives, "notes.txt")
        self.write(notes, b"notes")
        self.assertFalse(self.drop(notes))
        time.sleep(1)
        state = self.window.snapshot()
        self.assertEqual(before, self.labels(state))
        self.assertEqual([], state["list"]["items"])
        self.assertEqual([], state["dialogs"])
        self.assertEqual("cmdINI", state["focus"])
        self.assertTrue(self.drop(self.archive("Later.bsa")))
        self.window.wait(lambda s: self.labels(s)[0].endswith("Later.bsa"), "a later drop taken")
