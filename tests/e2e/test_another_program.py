# SPDX-License-Identifier: GPL-3.0-or-later
"""Another program changes the settings file while the window is open: the list follows it,
and entries that no longer show what the file holds are not unregistered."""
import os
import time

import real_input
from game_folder import settings_bytes
from polling import wait_for
from varnock_case import VarnockCase

CHANGED = settings_bytes((0, "Base.bsa"), (1, "Important Other Tool.bsa"))


class AnotherProgram(VarnockCase):
    def save_by_rename(self, content):
        """Saves the settings file as many programs do: a new file renamed over the old one."""
        temporary = self.game.ini + ".new"
        self.game.write(temporary, content)
        os.replace(temporary, self.game.ini)

    def select_first_entry_by_keys(self):
        self.focus_by_tab("Registered archives")
        real_input.press("End")  # Home alone moves nothing when the first entry is current
        real_input.press("Home")
        wait_for(self.window.selected_entries, "Home to select the first entry",
                 lambda now: now == ["Base.bsa"])

    def test_the_list_follows_the_file_and_keeps_the_selection(self):
        self.choose_by_typing("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.select_first_entry_by_keys()

        self.save_by_rename(settings_bytes((0, "Base.bsa"), (1, "Other.bsa"), (2, "Third.bsa")))
        wait_for(self.window.entries, "the list to follow a save by rename within a second",
                 lambda now: now == ["Base.bsa", "Other.bsa", "Third.bsa"], timeout=2)
        self.assertEqual(self.window.selected_entries(), ["Base.bsa"],
                         "the entry that still shows the same name stays selected")

        self.game.write(self.game.ini, settings_bytes((0, "Base.bsa")))  # a save in place
        wait_for(self.window.entries, "the list to follow a save in place within a second",
                 lambda now: now == ["Base.bsa"], timeout=2)
        self.expect_focus("Registered archives", "after the list followed the file")

    def test_the_list_waits_while_a_dialog_is_open(self):
        self.choose_by_typing("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.open_dialog("Select BSA")
        self.save_by_rename(CHANGED)
        time.sleep(1.0)  # longer than the list takes to follow the file
        self.assertEqual(self.window.entries(), ["Base.bsa", "Extra.bsa"],
                         "the list changed behind the open dialog")
        real_input.press("Escape")
        self.wait_dialog_closed()
        wait_for(self.window.entries, "the list to follow the file once the dialog closed",
                 lambda now: now == ["Base.bsa", "Important Other Tool.bsa"], timeout=2)

    def test_entries_the_file_no_longer_holds_are_not_unregistered(self):
        self.choose_by_typing("Select INI", self.game.ini)
        self.expect_entries(["Base.bsa", "Extra.bsa"])
        self.focus_by_tab("Registered archives")
        real_input.press("End")
        wait_for(self.window.selected_entries, "End to select the last entry",
                 lambda now: now == ["Extra.bsa"])
        # Slot 1 now names another program's archive; Delete comes before the list follows.
        self.save_by_rename(CHANGED)
        real_input.press("Delete")
        message = self.expect_message(
            "The settings file was changed by another program since the list was filled, so "
            "nothing was unregistered. The list now shows the file as it is.", icon="warning")
        self.answer()
        self.expect_entries(["Base.bsa", "Important Other Tool.bsa"])
        self.expect_ini(CHANGED)
        self.assertEqual(message.buttons, ["OK"])
