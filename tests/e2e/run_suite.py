# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the scenarios on one window, on a private desktop, and ends with "N passed, N failed,
N skipped".
Usage: run_suite.py qt|windows WORK_FOLDER ARTIFACTS_FOLDER [test name patterns, as -k takes]"""
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))


def desktop_of(system, work):
    sys.path[:0] = [HERE, os.path.join(HERE, system)]
    if system == "qt":
        from desktop import Desktop
        desktop = Desktop()
        desktop.start()
    else:
        from wine_desktop import WineDesktop
        desktop = WineDesktop(work)
        desktop.start(log_pixels=int(os.environ.get("VARNOCK_LOG_PIXELS", "0")) or None)
    return desktop


def main():
    system, work, artifacts = sys.argv[1:4]
    os.makedirs(artifacts, exist_ok=True)
    started = time.monotonic()
    desktop = desktop_of(system, work)
    try:
        print(f"desktop ready in {time.monotonic() - started:.1f} s")
        import scenario
        scenario.DESKTOP, scenario.ARTIFACTS = desktop, artifacts
        loader = unittest.TestLoader()
        loader.testNamePatterns = [f"*{p}*" for p in sys.argv[4:]] or None
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
        started = time.monotonic()
        result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    finally:
        desktop.stop()
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    passed = result.testsRun - failed - skipped
    print(f"Scenarios on the {system} window took {time.monotonic() - started:.0f} s")
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed or result.testsRun == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
