# SPDX-License-Identifier: GPL-3.0-or-later
"""The list's entries as drawn: every name in one column, after room for a mark's icon whether
or not any entry has one, and a dimmed name no lighter than text must be to read."""
import os

from game_folder import settings_bytes
from polling import wait_until_stable
from scenario import Scenario
from screen_pixels import Pixels, contrast

# WCAG 2's minimum contrast for text.
TEXT_CONTRAST = 4.5


def is_text(colour, background):
    """A name's pixel: a grey or black unlike the background."""
    r, g, b = colour
    return colour != background and abs(r - g) < 20 and abs(g - b) < 20 and r + g + b < 600


def is_icon(colour):
    """The marks' icons are coloured; names are not."""
    return max(colour) - min(colour) >= 40


class EntryDrawing(Scenario):
    def show_file(self, path, slots):
        self.game.write(path, settings_bytes(*slots))
        self.choose_by_typing("cmdINI", path)
        self.expect_entries([name for _, name in slots])

    def rows(self):
        """Each entry's row as drawn: its background, where its name starts, its text colours,
        and whether anything is drawn before the name."""
        x, y, width, height = self.window.rect("lstArchives")
        shown = Pixels([x, y, x + width, y + height])
        rows = []
        for entry in self.window.entries():
            left, top, row_width, row_height = self.window.entry_place(entry)
            # Inside the row's edges, where a focus frame would be drawn.
            inside = [(px, shown.at(px, py)) for py in range(top + 1, top + row_height - 1)
                      for px in range(left + 1, left + row_width - 1)]
            background = shown.at(left + row_width - 2, top + row_height // 2)
            inked = [(px - left, colour) for px, colour in inside if colour != background]
            # The name starts with the first run of inked columns in no colour: an icon's
            # edges may be grey, but it has coloured columns among them.
            runs = []
            for column in sorted({px for px, _ in inked}):
                if runs and column == runs[-1][-1] + 1:
                    runs[-1].append(column)
                else:
                    runs.append([column])
            coloured = {px for px, colour in inked if is_icon(colour)}
            start = next(run[0] for run in runs if not coloured.intersection(run))
            text = [colour for px, colour in inked
                    if px >= start and is_text(colour, background)]
            rows.append({"background": background, "start": start,
                         "colours": frozenset(text), "before": runs[0][0] < start})
        return rows

    def drawn_rows(self):
        # What the window has drawn, on the screen, once it stops changing.
        return wait_until_stable(self.rows, "the entries drawn")

    def test_names_in_one_column_and_dimmed_names_readable(self):
        for name in ("a.bsa", "ab.bsa", "ac.bsa"):
            self.game.write(self.game.in_data_files(name), b"BSA\0")
        self.move_pointer_off_the_window()
        self.show_file(self.game.ini, [(0, "a.bsa"), (1, "ab.bsa"), (2, "ac.bsa")])
        plain = self.drawn_rows()
        column = plain[0]["start"]
        self.assertEqual([column] * 3, [row["start"] for row in plain], "no entry marked")
        self.assertEqual([False] * 3, [row["before"] for row in plain], "drawn before a name")

        # Slot 2 empty: what follows is not loaded, marked and dimmed; slot 1 holds a.bsa again
        # in other letters, the same file.
        marked = os.path.join(self.game.game, "marked.ini")
        self.show_file(marked, [(0, "a.bsa"), (1, "a.BSA"), (3, "ab.bsa"), (4, "ac.bsa")])
        self.expect_marks([(None, False), ("registeredTwice", False), ("notLoaded", True),
                           ("notLoaded", True)], "with a gap and a name twice")
        rows = self.drawn_rows()
        self.assertEqual([column] * 4, [row["start"] for row in rows], "some entries marked")
        self.assertEqual([False, True, True, True], [row["before"] for row in rows], "icons")
        reads = [max(contrast(colour, row["background"]) for colour in row["colours"])
                 for row in rows]
        for index in (2, 3):
            self.assertGreaterEqual(reads[index], TEXT_CONTRAST, f"the dimmed name {index}")
            self.assertLess(reads[index], reads[0], f"the name {index} not dimmed")
