#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Names written by Varnock in the code page of each locale, read back by the other
application's own reader: Wine's GetPrivateProfileStringA, run under that locale, must return
exactly the bytes of the name in the code page Wine gives the locale.

  wine_reads_back.py SAVE_PROBE PROFILE_READER_EXE
SAVE_PROBE is the native program that sets one key as Varnock does; the reader is the Windows
program that reads it back. WINEPREFIX must name a prefix made for this run."""
import os
import subprocess
import sys
import tempfile

# (locale, code page Wine gives it, a name in its script)
CASES = [
    ("en_US", 1252, "Café Æther.bsa"),
    ("pl_PL", 1250, "Łódź Żółw.bsa"),
    ("ru_RU", 1251, "Привет Мир.bsa"),
    ("el_GR", 1253, "Ωραία Αρχεία.bsa"),
    ("tr_TR", 1254, "Işık Ğüş.bsa"),
    ("he_IL", 1255, "שלום.bsa"),
    ("ar_EG", 1256, "مرحبا.bsa"),
    ("lt_LT", 1257, "Ąžuolas Ėė.bsa"),
    ("vi_VN", 1258, "Cơm Ưa Đà.bsa"),
    ("th_TH", 874, "สวัสดี.bsa"),
]


def locale_folder():
    """The locales, compiled for this run alone: Wine takes the code page from the C library's
    locale, which must exist."""
    folder = tempfile.mkdtemp(prefix="locales-")
    for name, _, _ in CASES:
        subprocess.run(["localedef", "-i", name, "-f", "UTF-8", os.path.join(folder, name + ".UTF-8")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return folder


def main():
    probe, reader = sys.argv[1], sys.argv[2]
    locales = locale_folder()
    work = tempfile.mkdtemp(prefix="code-pages-")
    failures = 0
    for name, page, archive in CASES:
        env = dict(os.environ, LOCPATH=locales, LC_ALL=name + ".UTF-8")
        ini = os.path.join(work, name + ".ini")
        with open(ini, "wb") as settings:
            settings.write(b"[Archives]\r\n")
        written = subprocess.run([probe, "set", ini, "Archive 0", archive], env=env,
                                 capture_output=True, text=True)
        expected = archive.encode(f"cp{page}")
        read = subprocess.run(["wine", reader, "Z:" + ini.replace("/", "\\"), "Archives",
                               "Archive 0"], env=env, capture_output=True, text=True)
        got = read.stdout.strip().split(" ")
        stored = open(ini, "rb").read()
        if written.returncode != 0:
            problem = f"Varnock refused it: {written.stdout.strip()}"
        elif got != [str(page), expected.hex().upper()]:
            problem = f"Wine read code page and bytes {got}, expected {page} {expected.hex()}"
        elif stored != b"[Archives]\r\nArchive 0=" + expected + b"\r\n":
            problem = f"the file holds {stored!r}"
        else:
            print(f"ok: {name} (code page {page}) reads back {archive!r}")
            continue
        failures += 1
        print(f"FAIL: {name}: {archive!r}: {problem}")
    print(f"{len(CASES) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
