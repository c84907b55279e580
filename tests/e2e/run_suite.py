# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the end-to-end suite on a private desktop and ends with "N passed, N failed, N skipped".
Usage: run_suite.py ARTIFACTS_FOLDER [test name patterns, as unittest's -k takes them]"""
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import varnock_case  # noqa: E402
from desktop import Desktop  # noqa: E402


def main():
    artifacts = sys.argv[1]
    os.makedirs(artifacts, exist_ok=True)
    desktop = Desktop()
    try:
        desktop.start()
        varnock_case.DESKTOP, varnock_case.ARTIFACTS = desktop, artifacts
        loader = unittest.TestLoader()
        loader.testNamePatterns = [f"*{p}*" for p in sys.argv[2:]] or None
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
        started = time.monotonic()
        result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    finally:
        desktop.stop()
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    passed = result.testsRun - failed - skipped
    print(f"Window suite took {time.monotonic() - started:.0f} s")
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed or result.testsRun == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
