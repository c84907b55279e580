# SPDX-License-Identifier: GPL-3.0-or-later
"""The list's entries as drawn: every name in one column, after room for a mark's icon whether
or not any entry has one, and a dimmed name no lighter than text must be to read."""
import os
import time

from screen_pixels import Pixels, contrast
from win_case import WinCase

# WCAG 2's minimum contrast for text.
TEXT_CONTRAST = 4.5


def is_text(colour, background):
    """A name's pixel: a grey or black unlike the background; the icons are coloured."""
    r, g, b = colour
    return colour != background and abs(r - g) < 20 and abs(g - b) < 20 and r + g + b < 600


class EntryDrawing(WinCase):
    def open_settings(self, path, lines, names):
        self.write(path, b"[Archives]\r\n" + b"".join(b"%s\r\n" % line.encode()
                                                        for line in lines))
        self.choose_by_mouse("cmdINI", path)
        self.window.wait_items(names)
        time.sleep(0.5)  # what Wine has drawn, on the screen

    def rows(self):
        """Each entry's row as drawn: its background, where its name starts, its text colours,
        and whether anything is drawn before the name."""
        state = self.window.snapshot()
        left, top, right, _ = state["controls"]["lstArchives"]["rect"]
        height = state["list"]["itemHeight"]
        shown = Pixels(state["controls"]["lstArchives"]["rect"])
        rows = []
        for index in range(len(state["list"]["items"])):
            row_top = top + 1 + (index - state["list"]["top"]) * height
            background = shown.at(left + 2, row_top + 1)
            inked = [(x, shown.at(x, y)) for y in range(row_top + 1, row_top + height - 1)
                     for x in range(left + 2, right - 2) if shown.at(x, y) != background]
            text = [(x, colour) for x, colour in inked if is_text(colour, background)]
            start = min(x for x, _ in text)
            rows.append({"background": background, "start": start,
                         "colours": {colour for _, colour in text},
                         "before": any(x < start for x, _ in inked)})
        return rows

    def test_names_in_one_column_and_dimmed_names_readable(self):
        for name in ("a.bsa", "ab.bsa", "ac.bsa"):
            self.write(os.path.join(self.data_files, name), b"archive")
        self.open_settings(self.ini, ["Archive 0=a.bsa", "Archive 1=ab.bsa", "Archive 2=ac.bsa"],
                           ["a.bsa", "ab.bsa", "ac.bsa"])
        plain = self.rows()
        column = plain[0]["start"]
        self.assertEqual([column] * 3, [row["start"] for row in plain], "no entry marked")
        self.assertFalse(any(row["before"] for row in plain))

        # Slot 2 empty: what follows is not loaded, marked and dimmed; a.bsa is in slot 1 too.
        marked = os.path.join(self.game, "marked.ini")
        self.open_settings(marked, ["Archive 0=a.bsa", "Archive 1=a.bsa", "Archive 3=ab.bsa",
                                    "Archive 4=ac.bsa"], ["a.bsa", "a.bsa", "ab.bsa", "ac.bsa"])
        state = self.window.snapshot()["list"]
        self.assertEqual([None, "registeredTwice", "notLoaded", "notLoaded"], state["icons"])
        self.assertEqual([False, False, True, True], state["dimmed"])
        rows = self.rows()
        self.assertEqual([column] * 4, [row["start"] for row in rows], "some entries marked")
        self.assertEqual([False, True, True, True], [row["before"] for row in rows], "icons")
        reads = [max(contrast(colour, row["background"]) for colour in row["colours"])
                 for row in rows]
        for index in (2, 3):
            self.assertGreaterEqual(reads[index], TEXT_CONTRAST, "the dimmed name %d" % index)
            self.assertLess(reads[index], reads[0], "the name %d not dimmed" % index)
