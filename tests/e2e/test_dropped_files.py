# SPDX-License-Identifier: GPL-3.0-or-later
"""Files dragged from a file manager onto the window: one archive or one settings file is
taken as if chosen; anything else is refused while it is dragged, and nothing changes."""
import os

import accessibility as a11y
from varnock_case import VarnockCase
from xdnd import FileDrag


class DroppedFiles(VarnockCase):
    def setUp(self):
        super().setUp()
        self.drag = FileDrag()
        self.addCleanup(self.drag.close)

    def drop(self, *paths):
        x, y, width, height = a11y.extents(self.window.archive_list())
        return self.drag.drop(list(paths), (x + width / 2) * self.scale,
                              (y + height / 2) * self.scale)

    def test_a_dropped_settings_file_and_archive_are_chosen_and_focus_stays(self):
        focused = self.window.focus_name()
        self.assertTrue(self.drop(self.game.ini), "the window refused the settings file")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.assertEqual(self.window.ini_path(), self.game.ini)
        self.assertTrue(self.drop(self.game.new_archive), "the window refused the archive")
        self.assertEqual(self.window.archive_path(), self.game.new_archive)
        self.assertEqual(self.window.focus_name(), focused)
        self.assertIsNone(self.window.message_box())

    def test_several_files_or_a_file_of_another_kind_are_refused(self):
        notes = os.path.join(self.game.game, "notes.txt")
        self.game.write(notes, b"[Archives]\r\nArchive 0=Other.bsa\r\n")
        self.assertFalse(self.drop(self.game.ini, self.game.new_archive), "took two files")
        self.assertFalse(self.drop(notes), "took a text file")
        self.assertFalse(self.drop(self.game.data_files), "took a folder")
        self.assertEqual(self.window.ini_path(), "")
        self.assertEqual(self.window.archive_path(), "")
        self.assertEqual(self.window.entries(), [])
        self.assertIsNone(self.window.message_box())

    def test_a_dropped_settings_file_that_cannot_be_read_is_told_and_the_list_stays(self):
        self.assertTrue(self.drop(self.game.ini))
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        other = os.path.join(self.game.game, "other.ini")
        self.game.write(other, b"[Archives]\r\nArchive 0=Other.bsa\r\n")
        os.chmod(other, 0)
        self.assertTrue(self.drop(other))
        box = self.wait_message("a warning that other.ini cannot be read")
        message = self.window.read_message(box)
        self.assertRegex(message.text, r'^Cannot read ".*other\.ini": Permission denied')
        self.assertEqual(message.icon, "warning")
        self.answer()
        self.assertEqual(self.window.ini_path(), self.game.ini)
        self.assertEqual(self.window.entries(), ["Base.bsa", "Extra.bsa"])
