# SPDX-License-Identifier: GPL-3.0-or-later
"""A private X desktop, Xvfb with the openbox window manager, as both window suites start it
once for all their tests."""
import os
import subprocess
import tempfile


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


class XDesktop:
    def __init__(self, screen):
        self.screen = screen
        self.processes = []

    def start_x(self):
        """Starts the X server and the window manager, and points DISPLAY at them."""
        read_end, write_end = os.pipe()
        self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen,
                             "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as display_number:
            os.environ["DISPLAY"] = ":" + display_number.readline().strip()

    def start_window_manager(self):
        self._spawn("openbox", ["openbox"])

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
