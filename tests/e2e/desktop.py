# SPDX-License-Identifier: GPL-3.0-or-later
"""The private X desktop the suite runs in: Xvfb, the openbox window manager and the
accessibility bus, started once for the whole suite."""
import subprocess

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
    def _window_manager_running():
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                capture_output=True, text=True)
        return "window id" in result.stdout
