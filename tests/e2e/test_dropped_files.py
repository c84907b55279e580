# SPDX-License-Identifier: GPL-3.0-or-later
"""Files dragged from a file manager onto the window: one archive or one settings file is
taken as if chosen; several files, or anything else, are refused while dragged (the drop is
never made) and change nothing. The keyboard focus stays where it was."""
import os
import re

from game_folder import settings_bytes
from polling import stays
from scenario import Scenario
from xdnd import FileDrag

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))


class DroppedFiles(Scenario):
    def setUp(self):
        super().setUp()
        self.drag = FileDrag()
        self.addCleanup(self.drag.close)
        # Away from the control focused at the start, so that a drop moving it would show.
        self.focus_by_tab("cmdINI")

    def drop(self, *paths):
        return self.window.drop(self.drag, paths)

    def test_a_dropped_archive_and_settings_file_are_chosen_and_focus_stays(self):
        self.assertTrue(self.drop(self.game.new_archive), "the window refused the archive")
        self.expect_shown_path("lblArchive", self.game.new_archive)
        self.assertEqual(self.window.entries(), [], "entries listed with no settings file")
        self.assertEqual(self.window.focus(), "cmdINI", "focus after the archive was dropped")

        self.assertTrue(self.drop(self.game.ini), "the window refused the settings file")
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.expect_shown_path("lblINI", self.game.ini)
        self.expect_shown_path("lblArchive", self.game.new_archive)
        self.assertEqual(self.window.focus(), "cmdINI", "focus after the settings file was dropped")
        self.assertFalse(self.window.file_dialog_open(), "a file dialog after the drops")
        self.expect_no_message("after the drops")
        self.expect_ini(ORIGINAL)

    def nothing_chosen(self):
        return (self.window.shown_path("lblINI"), self.window.shown_path("lblArchive"),
                self.window.entries(), self.window.message(), self.window.focus())

    def test_several_files_or_a_file_of_another_kind_are_refused(self):
        notes = os.path.join(self.game.game, "notes.txt")
        self.game.write(notes, b"[Archives]\r\nArchive 0=Other.bsa\r\n")
        self.assertFalse(self.drop(self.game.ini, self.game.new_archive), "took two files")
        self.assertFalse(self.drop(notes), "took a text file")
        self.assertFalse(self.drop(self.game.data_files), "took a folder")
        stays(self.nothing_chosen, "nothing chosen, no message, the focus where it was",
              lambda now: now == ("", "", [], None, "cmdINI"))
        self.assertFalse(self.window.file_dialog_open(), "a file dialog after the refused drops")
        # The refusals leave no drag behind: the next one is taken.
        self.assertTrue(self.drop(self.game.new_archive), "refused an archive after the refusals")
        self.expect_shown_path("lblArchive", self.game.new_archive)

    def test_a_dropped_settings_file_that_cannot_be_read_is_told_and_the_list_stays(self):
        self.assertTrue(self.drop(self.game.ini))
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        other = os.path.join(self.game.game, "other.ini")
        self.game.write(other, b"[Archives]\r\nArchive 0=Other.bsa\r\n")
        os.chmod(other, 0)
        self.assertTrue(self.drop(other))
        # Each system words the refusal its own way.
        self.expect_message_matching(f'^Cannot read "{re.escape(self.window.path(other))}": '
                                     '(Permission denied|Access (is )?denied)', icon="warning")
        self.answer()
        self.expect_shown_path("lblINI", self.game.ini)
        self.assertEqual(self.window.entries(), ["Base.bsa", "Extra.bsa"])
        self.expect_focus("cmdINI", "after the warning")
        self.expect_ini(ORIGINAL)
