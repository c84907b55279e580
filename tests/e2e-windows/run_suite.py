# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the Windows window's end-to-end suite: run_suite.py WORK ARTIFACTS [TEST_NAME...]"""
import os
import sys
import time
import unittest

import win_case
from wine_desktop import WineDesktop


def main():
    work, artifacts = sys.argv[1], sys.argv[2]
    patterns = sys.argv[3:]
    desktop = WineDesktop(work)
    started = time.monotonic()
    desktop.start(log_pixels=int(os.environ.get("VARNOCK_LOG_PIXELS", "0")) or None)
    print("desktop and Wine prefix ready in %.1f s" % (time.monotonic() - started))
    win_case.DESKTOP = desktop
    win_case.ARTIFACTS = artifacts
    try:
        loader = unittest.TestLoader()
        if patterns:
            loader.testNamePatterns = ["*%s*" % p for p in patterns]
        suite = loader.discover(os.path.dirname(os.path.abspath(__file__)), pattern="test_*.py")
        result = unittest.TextTestRunner(verbosity=2).run(suite)
    finally:
        desktop.stop()
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
