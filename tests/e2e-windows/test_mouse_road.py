# SPDX-License-Identifier: GPL-3.0-or-later
"""The mouse road: both files chosen, the copy question answered, several entries unregistered
with Ctrl and Shift."""
import os

from win_case import SETTINGS, WinCase


class MouseRoad(WinCase):
    def test_register_with_copy_then_unregister_several(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.window.wait_items(["Base.bsa", "Extra.bsa"])
        self.choose_by_mouse("cmdArchive", self.archive("Mouse.bsa", b"mouse archive"))
        self.window.wait(lambda s: s["controls"]["lblArchive"]["text"].endswith("Mouse.bsa"),
                         "the archive shown")
        self.window.click("cmdPatch")
        self.window.press_button(self.window.wait_message("Copy it?"), "Yes")
        # The copy's destination, then the confirmation.
        destination = self.window.wait_message("Data Files\\Mouse.bsa")
        self.window.press_button(destination, "OK")
        self.window.press_button(self.window.wait_message("registered successfully"), "OK")
        self.window.wait_items(["Base.bsa", "Extra.bsa", "Mouse.bsa"])
        with open(os.path.join(self.data_files, "Mouse.bsa"), "rb") as copy:
            self.assertEqual(b"mouse archive", copy.read())
        expected = SETTINGS.replace(b"Archive 1=Extra.bsa\r\n",
                                    b"Archive 1=Extra.bsa\r\nArchive 2=Mouse.bsa\r\n")
        self.assertIni(expected)

        self.window.click_entry(0)
        self.window.click_entry(2, modifier="ctrl")
        self.window.wait(lambda s: s["list"]["selected"] == [0, 2], "entries 0 and 2 selected")
        self.window.click_entry(1)
        self.window.click_entry(2, modifier="shift")
        self.window.wait(lambda s: s["list"]["selected"] == [1, 2], "entries 1 and 2 selected")
        self.window.click("cmdUnpatch")
        self.window.press_button(self.window.wait_message("unregistered successfully"), "OK")
        self.window.wait_items(["Base.bsa"])
        self.assertIni(SETTINGS.replace(b"Archive 1=Extra.bsa\r\n", b""))

    def test_copy_refused_registers_the_name_only(self):
        self.choose_by_mouse("cmdINI", self.ini)
        self.choose_by_mouse("cmdArchive", self.archive("Only.bsa"))
        self.window.click("cmdPatch")
        self.window.press_button(self.window.wait_message("Copy it?"), "No")
        self.window.press_button(self.window.wait_message("registered successfully"), "OK")
        self.window.wait_items(["Base.bsa", "Extra.bsa", "Only.bsa"])
        self.assertFalse(os.path.exists(os.path.join(self.data_files, "Only.bsa")))
        self.window.wait_focus("cmdPatch")

    def test_replace_question_defaults_to_no(self):
        self.write(os.path.join(self.data_files, "Same.bsa"), b"the one in Data Files")
        self.choose_by_mouse("cmdINI", self.ini)
        self.choose_by_mouse("cmdArchive", self.archive("Same.bsa", b"another one"))
        self.window.click("cmdPatch")
        self.window.press_button(self.window.wait_message("Copy it?"), "Yes")
        self.window.press_button(self.window.wait_message("Data Files\\Same.bsa"), "OK")
        replace = self.window.wait_message("Replace it?")
        self.assertEqual(None, replace["icon"])
        self.assertEqual(["No"], [b["text"].replace("&", "") for b in replace["buttons"]
                                  if b["default"]])
        self.window.key("Return")
        self.window.press_button(self.window.wait_message("registered successfully"), "OK")
        self.window.wait_items(["Base.bsa", "Extra.bsa", "Same.bsa"])
        with open(os.path.join(self.data_files, "Same.bsa"), "rb") as kept:
            self.assertEqual(b"the one in Data Files", kept.read())
