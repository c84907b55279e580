# SPDX-License-Identifier: GPL-3.0-or-later
"""The private X desktop the suite runs in: Xvfb, the openbox window manager and the
accessibility bus, started once for the whole suite."""
import subprocess
import tempfile

from polling import wait_for
from x_desktop import XDesktop

SCREEN = "1920x1440x24"


class Desktop(XDesktop):
    def __init__(self):
        super().__init__(SCREEN)

    def start(self):
        self.start_x()
        # Services the session bus starts later (the accessibility bus) must see this display.
        subprocess.run(["dbus-update-activation-environment", "DISPLAY"], check=True)
        self.start_window_manager()
        wait_for(self._window_manager_running, "openbox managing the screen")
        import pyatspi  # only now: it joins the accessibility bus of this session
        wait_for(lambda: pyatspi.Registry.getDesktop(0) is not None, "the accessibility registry")

    @staticmethod
    def new_folder(name):
        return tempfile.mkdtemp(prefix="case-")

    @staticmethod
    def window(folder, scale):
        from qt_window import QtWindow  # after start(), as pyatspi must be
        return QtWindow(folder, scale)

    @staticmethod
    def _window_manager_running():
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                capture_output=True, text=True)
        return "window id" in result.stdout
