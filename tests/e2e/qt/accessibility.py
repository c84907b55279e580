# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the program's windows through the accessibility bus (AT-SPI), as a screen reader
would: roles, names, states, text and places on the screen."""
import pyatspi
from gi.repository import Atspi, GLib

from polling import wait_for


def application(pid):
    """The program's accessible root, once the program has joined the bus."""
    def find():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                # The program changes under our feet: read it fresh every time.
                app.set_cache_mask(Atspi.Cache.NONE)
                return app
        return None
    return wait_for(find, f"the program (pid {pid}) on the accessibility bus", timeout=30)


def has_state(node, state):
    return node.getState().contains(state)


def showing(node):
    return has_state(node, pyatspi.STATE_SHOWING)


def extents(node):
    """(x, y, width, height) on the screen."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def children(node):
    return [child for child in node if child is not None]


def descendants(node, role=None, name=None, only_showing=True):
    """Matching nodes under node, depth first; hidden branches are skipped."""
    for child in children(node):
        if only_showing and not showing(child):
            continue
        if (role is None or child.getRoleName() == role) and (name is None or child.name == name):
            yield child
        yield from descendants(child, role, name, only_showing)


def find(node, role, name=None):
    return next(descendants(node, role, name), None)


def text(node):
    """What a text field holds."""
    return node.queryText().getText(0, -1)


# A view's current item reports focus even when the view itself has lost it.
VIEWS = ("list", "tree", "table")


def focused(node):
    """The showing node that has keyboard focus, or None; a focused view stands for its
    current item."""
    for child in children(node):
        if not showing(child):
            continue
        if has_state(child, pyatspi.STATE_FOCUSED):
            return child
        if child.getRoleName() not in VIEWS:
            found = focused(child)
            if found is not None:
                return found
    return None


def describe(node):
    return "nothing" if node is None else f"{node.getRoleName()} {node.name!r}"


class PopupMenus:
    """The popup menus a program opens while this is entered. Qt leaves popups out of an
    application's windows, so they are met as a screen reader meets them: by the event a menu
    raises when it shows."""
    EVENT = "object:state-changed:showing"

    def __init__(self, pid):
        self.pid = pid
        self.shown = []

    def __enter__(self):
        pyatspi.Registry.registerEventListener(self._on_showing, self.EVENT)
        return self

    def __exit__(self, *_):
        pyatspi.Registry.deregisterEventListener(self._on_showing, self.EVENT)

    def _on_showing(self, event):
        try:
            if (event.detail1 and event.source.getRoleName() == "popup menu"
                    and event.source.get_process_id() == self.pid):
                self.shown.append(event.source)
        except GLib.Error:
            pass  # gone again before it was read

    def open_menu(self):
        """The menu shown last, if it is still showing; None otherwise."""
        context = GLib.MainContext.default()
        while context.iteration(False):  # events are delivered only as the main loop runs
            pass
        try:
            return self.shown[-1] if self.shown and showing(self.shown[-1]) else None
        except GLib.Error:
            return None  # closed and destroyed
