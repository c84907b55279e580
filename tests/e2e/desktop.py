# SPDX-License-Identifier: GPL-3.0-or-later
"""The private X desktop the suite runs in: Xvfb, the openbox window manager and the
accessibility bus, started once for the whole suite."""
import os
import subprocess
import tempfile

from polling import wait_for

SCREEN = "1920x1440x24"


class Desktop:
    def __init__(self):
        self.processes = []

    def start(self):
        read_end, write_end = os.pipe()
        self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                             "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as display_number:
            os.environ["DISPLAY"] = ":" + display_number.readline().strip()
        # Services the session bus starts later (the accessibility bus) must see this display.
        subprocess.run(["dbus-update-activation-environment", "DISPLAY"], check=True)
        self._spawn("openbox", ["openbox"])
        wait_for(self._window_manager_running, "openbox managing the screen")
        import pyatspi  # only now: it joins the accessibility bus of this session
        wait_for(lambda: pyatspi.Registry.getDesktop(0) is not None, "the accessibility registry")

    def stop(self):
        for process in reversed(self.processes):
            process.terminate()
        for process in self.processes:
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=False,
                       stderr=subprocess.DEVNULL)

    def _spawn(self, name, command, pass_fds=()):
        log = open(os.path.join(tempfile.gettempdir(), name + ".log"), "wb")
        self.processes.append(subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT,
                                               pass_fds=pass_fds))

    @staticmethod
    def _window_manager_running():
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                capture_output=True, text=True)
        return "window id" in result.stdout
