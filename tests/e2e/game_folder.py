# SPDX-License-Identifier: GPL-3.0-or-later
"""The files a test works on: a settings file beside its "Data Files" folder, and archives
inside and outside that folder."""
import os

ARCHIVES_HEADER = b"; Settings of the other application\r\n[General]\r\nName=Test\r\n\r\n[Archives]\r\n"
AFTER_ARCHIVES = b"\r\n[Display]\r\nWidth=800\r\n"


def settings_bytes(*slots):
    """The settings file holding the (slot, name) keys in this order, every other byte
    as first written."""
    keys = b"".join(f"Archive {slot}={name}\r\n".encode("cp1252") for slot, name in slots)
    return ARCHIVES_HEADER + keys + AFTER_ARCHIVES


class GameFolder:
    """game/settings.ini, game/Data Files/{Base,Extra}.bsa and downloads/New.bsa."""

    def __init__(self, root):
        self.game = os.path.join(root, "game")
        self.data_files = os.path.join(self.game, "Data Files")
        self.downloads = os.path.join(root, "downloads")
        self.ini = os.path.join(self.game, "settings.ini")
        os.makedirs(self.data_files)
        os.makedirs(self.downloads)
        self.write(self.ini, settings_bytes((0, "Base.bsa"), (1, "Extra.bsa")))
        for name in ("Base.bsa", "Extra.bsa"):
            self.write(os.path.join(self.data_files, name), b"BSA\0" + name.encode())
        self.new_archive = self.add_download("New.bsa")

    def add_download(self, name, content=b"BSA\0downloaded"):
        path = os.path.join(self.downloads, name)
        self.write(path, content)
        return path

    def in_data_files(self, name):
        return os.path.join(self.data_files, name)

    def ini_bytes(self):
        with open(self.ini, "rb") as settings:
            return settings.read()

    @staticmethod
    def write(path, content):
        with open(path, "wb") as file:
            file.write(content)
