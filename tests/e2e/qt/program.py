# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts and stops the program under test on the suite's desktop, keeping what it prints."""
import os
import subprocess

PROGRAM = os.environ.get("VARNOCK_PROGRAM", "varnock")


class Program:
    def __init__(self, folder, scale=1):
        self.folder = folder
        self.scale = scale
        self.output_path = os.path.join(folder, "program-output.txt")
        self.process = None

    def start(self):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LANG="C.UTF-8", QT_SCALE_FACTOR=str(self.scale))
        # The dialog starts in the working folder: keep it inside the test's own folder.
        cwd = os.path.join(self.folder, "start")
        os.makedirs(cwd, exist_ok=True)
        with open(self.output_path, "wb") as output:
            self.process = subprocess.Popen([PROGRAM], cwd=cwd, env=env, stdout=output,
                                            stderr=subprocess.STDOUT)
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def stop(self):
        if self.process and self.running():
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def output(self):
        with open(self.output_path, encoding="utf-8", errors="replace") as output:
            return output.read()
