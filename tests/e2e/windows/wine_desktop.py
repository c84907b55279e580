# SPDX-License-Identifier: GPL-3.0-or-later
"""The suite's private X desktop (Xvfb and openbox) and Wine prefix, started once: the prefix
gets unmanaged windows, Wine's own fonts, drive T: for the tests' folders and a wineserver that
stays up between programs."""
import os
import shutil
import subprocess
import time

from windows_window import WindowsWindow
from x_desktop import XDesktop

SCREEN = "1600x1200x24"
FONTS = "/usr/share/wine/fonts"


def run(command, **kwargs):
    return subprocess.run(command, check=True, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, **kwargs)


class WineDesktop(XDesktop):
    def __init__(self, root):
        super().__init__(SCREEN)
        self.root = root
        self.drive = os.path.join(root, "t")
        self.dpi = self.base_dpi = 96

    def start(self, log_pixels=None):
        os.makedirs(self.drive, exist_ok=True)
        self.start_x()
        self.start_window_manager()
        time.sleep(0.3)
        self.prefix = os.path.join(self.root, "prefix")
        os.makedirs(self.prefix, exist_ok=True)
        os.environ.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                          WINEDLLOVERRIDES="mscoree,mshtml=")
        # Before any pipe is opened to a Wine program, so that no program waits on the server.
        run(["wineserver", "-p"])
        run(["wine", "wineboot", "--init"])
        self.set_registry(r"HKCU\Software\Wine\X11 Driver", "Managed",
                          os.environ.get("VARNOCK_WINE_MANAGED", "Y"))
        if log_pixels:
            self.base_dpi = log_pixels
            self.set_dpi(log_pixels)
        fonts = os.path.join(self.prefix, "drive_c", "windows", "Fonts")
        for name in ("tahoma.ttf", "tahomabd.ttf", "marlett.ttf"):
            shutil.copy(os.path.join(FONTS, name), fonts)
        link = os.path.join(self.prefix, "dosdevices", "t:")
        if not os.path.lexists(link):
            os.symlink(self.drive, link)
        run(["wineserver", "-k"])
        run(["wineserver", "-p"])

    def new_folder(self, name):
        """A test's own folder on drive T:."""
        folder = os.path.join(self.drive, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        return folder

    def window(self, folder, scale):
        # Wine reads the scale once per session: a test at another scale restarts it.
        if round(self.base_dpi * scale) != self.dpi:
            self.set_dpi(round(self.base_dpi * scale))
        return WindowsWindow(folder, self)

    def set_registry(self, key, name, value, kind="REG_SZ"):
        run(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"])

    def set_dpi(self, dpi):
        """The screen's dots per inch for the programs started from now on."""
        self.dpi = dpi
        for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
            self.set_registry(key, "LogPixels", str(dpi), "REG_DWORD")
        # Read once per Wine session.
        run(["wineserver", "-k"])
        run(["wineserver", "-p"])

    def windows_path(self, path):
        """The path on drive T: of a file under the drive's folder."""
        relative = os.path.relpath(path, self.drive)
        return "T:\\" + relative.replace("/", "\\")

    def local_app_data(self):
        user = os.environ.get("USER") or os.path.basename(os.environ.get("HOME", "user"))
        base = os.path.join(self.prefix, "drive_c", "users")
        for name in os.listdir(base):
            folder = os.path.join(base, name, "AppData", "Local")
            if name != "Public" and os.path.isdir(folder):
                return folder
        return os.path.join(base, user, "AppData", "Local")

    def stop(self):
        subprocess.run(["wineserver", "-k"], check=False)
        super().stop()
