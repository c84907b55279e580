# SPDX-License-Identifier: GPL-3.0-or-later
"""Both files chosen and an archive registered and unregistered without the mouse."""
from win_case import SETTINGS, WinCase


class KeyboardRoad(WinCase):
    def test_choose_register_and_unregister_by_keyboard(self):
        names = {name: control["accName"]
                 for name, control in self.window.snapshot()["controls"].items()}
        # The labels are named through MSAA's property service, which Wine does not implement;
        # under Wine a label's name is its text.
        self.assertEqual({"cmdArchive": "Select BSA", "cmdINI": "Select INI",
                          "cmdPatch": "Register Archive", "lstArchives": "Registered archives",
                          "cmdUnpatch": "Unregister Archive", "lblArchive": "", "lblINI": ""},
                         names)
        self.choose_ini_by_keyboard()
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.window.wait_focus("cmdINI")
        snapshot = self.window.snapshot()
        self.assertEqual(self.win(self.ini), snapshot["controls"]["lblINI"]["text"])

        self.archive("New.bsa")
        self.write(self.data_files + "/New.bsa", b"archive")
        self.choose_archive_by_keyboard(self.archives + "/New.bsa")
        self.window.wait(lambda s: s["controls"]["lblArchive"]["text"].endswith("New.bsa"),
                         "the archive shown")
        self.window.wait_focus("cmdArchive")
        self.window.key("Tab", "Tab")
        self.window.wait_focus("cmdPatch")
        self.window.key("Return")
        # Not in "Data Files" by this path: the copy question, answered No with the keyboard.
        question = self.window.wait_message("Copy it?")
        self.assertEqual(None, question["icon"])
        self.window.key("n")
        done = self.window.wait_message("registered successfully")
        self.assertEqual(["OK"], [b["text"] for b in done["buttons"]])
        self.window.key("Return")
        self.window.wait_items(["Base.bsa", "Extra.bsa", "New.bsa"])
        self.window.wait_focus("cmdPatch")
        self.assertIni(SETTINGS.replace(b"Archive 1=Extra.bsa\r\n",
                                        b"Archive 1=Extra.bsa\r\nArchive 2=New.bsa\r\n"))

        self.window.key("Tab")
        self.window.wait_focus("lstArchives")
        self.window.key("End", "Delete")
        self.window.wait_message("unregistered successfully")
        self.window.key("Return")
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.window.wait_focus("lstArchives")
        self.assertIni(SETTINGS)

    def test_settings_files_chosen_again_and_again(self):
        other = self.write(self.folder + "/Game/other.ini", b"[Archives]\r\nArchive 0=Other.bsa\r\n")
        for path, items in ((self.ini, ["Base.bsa", "Extra.bsa"]), (other, ["Other.bsa"]),
                            (other, ["Other.bsa"]), (self.ini, ["Base.bsa", "Extra.bsa"])):
            self.window.wait_focus("cmdArchive")
            self.window.key("Tab")
            self.window.wait_focus("cmdINI")
            self.window.key("space")
            self.window.choose_in_dialog(self.win(path))
            self.window.wait_items(items)
            self.window.wait_focus("cmdINI")
            self.window.key("shift+Tab")
        self.assertIni(SETTINGS)

    def test_archive_first_then_settings_file(self):
        in_place = self.write(self.data_files + "/InPlace.bsa", b"archive")
        self.window.key("space")
        self.window.choose_in_dialog(self.win(in_place))
        self.window.wait(lambda s: s["controls"]["lblArchive"]["text"] == self.win(in_place),
                         "the archive shown whole")
        self.choose_ini_by_keyboard()
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.window.key("Tab")
        self.window.wait_focus("cmdPatch")
        # Already in "Data Files": no question, only the confirmation.
        self.window.key("space")
        self.window.wait_message("registered successfully")
        self.window.key("space")
        self.window.wait_items(["Base.bsa", "Extra.bsa", "InPlace.bsa"])
        self.window.wait_focus("cmdPatch")
        self.assertIni(SETTINGS.replace(b"Archive 1=Extra.bsa\r\n",
                                        b"Archive 1=Extra.bsa\r\nArchive 2=InPlace.bsa\r\n"))
        # The same again: told, nothing changed.
        self.window.key("Return")
        self.window.wait_message("is already registered")
        self.window.key("Return")
        self.window.wait_no_dialog()
        self.assertIni(SETTINGS.replace(b"Archive 1=Extra.bsa\r\n",
                                        b"Archive 1=Extra.bsa\r\nArchive 2=InPlace.bsa\r\n"))

    def test_tab_order(self):
        order = []
        for _ in range(5):
            order.append(self.window.snapshot()["focus"])
            self.window.key("Tab")
        self.assertEqual(["cmdArchive", "cmdINI", "cmdPatch", "lstArchives", "cmdUnpatch"],
                         order)
        self.window.wait_focus("cmdArchive")
        self.window.key("shift+Tab")
        self.window.wait_focus("cmdUnpatch")
