# SPDX-License-Identifier: GPL-3.0-or-later
"""Waits that poll a condition up to a deadline, so that no step sleeps for a fixed time."""
import time

POLL_INTERVAL = 0.05


def wait_for(read, expected, accept=bool, timeout=10.0):
    """Calls read() until accept(value) holds and returns that value; on the deadline fails
    telling what was expected and the last value seen."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            seen = read()
        except Exception as error:  # a window may close between two reads
            seen = f"<{type(error).__name__}: {error}>"
        else:
            if accept(seen):
                return seen
        if time.monotonic() > deadline:
            raise AssertionError(f"expected {expected}; saw {seen!r} after {timeout:g} s")
        time.sleep(POLL_INTERVAL)


def stays(read, expected, accept=bool, duration=1.0):
    """Checks that accept(read()) holds all along `duration`: for what must NOT happen."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        seen = read()
        if not accept(seen):
            raise AssertionError(f"expected {expected} all along; saw {seen!r}")
        time.sleep(POLL_INTERVAL)


def wait_until_stable(read, expected, timeout=10.0, settle=0.3):
    """Polls read() until it gives the same truthy value for `settle` seconds (a list that
    is still being filled and sorted moves its rows)."""
    last, since = None, time.monotonic()

    def settled():
        nonlocal last, since
        now = read()
        if now != last:
            last, since = now, time.monotonic()
        return now if now and time.monotonic() - since >= settle else None
    return wait_for(settled, expected, timeout=timeout)
