# SPDX-License-Identifier: GPL-3.0-or-later
"""Another program changes the settings file while the window is open: the list follows it,
keeping the selection of entries that still show the same name, and entries that no longer
show what the file holds are not unregistered."""
import os

from game_folder import settings_bytes
from polling import stays, wait_for
from scenario import Scenario

ORIGINAL = settings_bytes((0, "Base.bsa"), (1, "Extra.bsa"))
CHANGED = settings_bytes((0, "Base.bsa"), (1, "Important Other Tool.bsa"))
# Longer than the list takes to follow the file.
FOLLOWS_WITHIN = 2


class AnotherProgram(Scenario):
    def save_by_rename(self, content):
        """Saves the settings file as many programs do: a new file renamed over the old one."""
        temporary = self.game.ini + ".new"
        self.game.write(temporary, content)
        os.replace(temporary, self.game.ini)

    def expect_followed(self, names, how):
        wait_for(self.window.entries, f"the list to follow {how} within {FOLLOWS_WITHIN} s",
                 lambda now: now == names, timeout=FOLLOWS_WITHIN)

    def test_the_list_follows_the_file_and_keeps_the_selection(self):
        self.choose_by_typing("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.window.click_entry("Base.bsa")
        self.expect_selected(["Base.bsa"], "after a click on it")

        self.game.write(self.game.ini, settings_bytes((0, "Base.bsa"), (1, "Changed.bsa")))
        self.expect_followed(["Base.bsa", "Changed.bsa"], "a save in place")
        self.assertEqual(self.window.selected_entries(), ["Base.bsa"],
                         "the entry that still shows the same name stays selected")

        self.save_by_rename(settings_bytes((0, "Base.bsa"), (1, "Other.bsa"), (2, "Third.bsa")))
        self.expect_followed(["Base.bsa", "Other.bsa", "Third.bsa"], "a save by rename")
        self.assertEqual(self.window.selected_entries(), ["Base.bsa"],
                         "the entry that still shows the same name stays selected")

        self.save_by_rename(ORIGINAL)
        self.expect_followed(["Base.bsa", "Extra.bsa"], "a second save by rename")
        self.game.write(self.game.ini, settings_bytes((0, "Base.bsa")))
        self.expect_followed(["Base.bsa"], "a second save in place")
        self.expect_focus("lstArchives", "after the list followed the file")
        # Only followed, never written.
        self.expect_ini(settings_bytes((0, "Base.bsa")))

    def test_the_list_waits_while_a_dialog_is_open(self):
        self.choose_by_typing("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.open_dialog("cmdArchive")
        self.save_by_rename(CHANGED)
        stays(self.window.entries, "the list unchanged behind the open dialog",
              lambda now: now == ["Base.bsa", "Extra.bsa"], duration=FOLLOWS_WITHIN)
        self.window.press("Escape")
        self.wait_dialog_closed()
        self.expect_followed(["Base.bsa", "Important Other Tool.bsa"], "once the dialog closed")

    def test_entries_the_file_no_longer_holds_are_not_unregistered(self):
        self.choose_by_typing("cmdINI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.focus_by_tab("lstArchives")
        self.window.press("End")
        self.expect_selected(["Extra.bsa"], "after End")
        # Slot 1 now names another program's archive; Delete comes before the list follows.
        self.save_by_rename(CHANGED)
        self.window.press("Delete")
        self.expect_message(
            "The settings file was changed by another program since the list was filled, so "
            "nothing was unregistered. The list now shows the file as it is.", icon="warning",
            buttons=("OK",))
        self.answer()
        self.expect_entries(["Base.bsa", "Important Other Tool.bsa"])
        self.expect_ini(CHANGED)
