#!/usr/bin/python3
"""Listens to Kelpie on the accessibility bus while keys are typed into it: every control has a
name, each typed command brings a notification with the exact text to be said, and the list's
lines are read with their place. Run by atspi_e2e.sh with the desktop and Kelpie up."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

heard = []  # the names of the notifications that came to show, in order
failures = []


def on_showing(event):
    try:
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            # The name as it is now, not as the client's cache last had it.
            event.source.clearCache()
            heard.append(event.source.name)
    except Exception as e:  # an object gone before it was asked
        print("event not read:", e)


def kelpie():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "kelpie":
            return app
    return None


def descendants(obj):
    for child in obj:
        if child is None:
            continue
        yield child
        # A list's lines are looked at on their own, below.
        if child.getRole() != pyatspi.ROLE_LIST:
            yield from descendants(child)


def find(app, role, name=None):
    for obj in descendants(app):
        if obj.getRole() == role and (name is None or obj.name == name):
            return obj
    return None


def wait(condition, seconds, what):
    """Yields (to the main loop) until condition() holds; a failure after the bound."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise AssertionError("no " + what)
        yield


def check(got, want, what):
    if got != want:
        failures.append(f"{what}: {got!r}, expected {want!r}")


NAMED = {pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT, pyatspi.ROLE_LIST, pyatspi.ROLE_PUSH_BUTTON,
         pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_LABEL}

# What is typed (xdotool key names after "key:"), and the notification each one brings.
COMMANDS = [
    ("k1abc\n", "1, K1ABC, BOB, FN20"),
    ("n2xyz-\n", "2, N2XYZ, in and out, AL, BOSTON"),
    ("w9new\n", "3, W9NEW, first time"),
    ("1\n", "1, K1ABC, acknowledged"),
    ("D3\n", "Deleted 3, W9NEW"),
    ("D3\n", "No check-in 3"),
    ("D3\n", "No check-in 3"),  # the same text is said again
    ("?w3*\n", "1 station found. 1. W3RST RAY PHILLY 6/6/2026"),
    ("key:Escape", None),
    ("key:ctrl+r", "2 check-ins. The last, newest first: 2, N2XYZ, in and out, AL, BOSTON; "
                   "1, K1ABC, BOB, FN20"),
]


def script():
    yield from wait(lambda: kelpie() is not None, 30, "Kelpie on the accessibility bus")
    app = kelpie()
    yield from wait(lambda: find(app, pyatspi.ROLE_LIST, "Check-ins") is not None, 30,
                    "list named Check-ins")
    for obj in descendants(app):
        if obj.getRole() in NAMED and obj.getState().contains(pyatspi.STATE_SHOWING):
            print(f"{obj.getRoleName()}: {obj.name!r} / {obj.description!r}")
            if not obj.name.strip():
                failures.append(f"a {obj.getRoleName()} without a name")
    entry = find(app, pyatspi.ROLE_ENTRY) or find(app, pyatspi.ROLE_TEXT)
    check(entry and entry.name, "Enter Call # 1", "the entry line's name")
    check(entry and entry.description, "Call or function number", "the entry line's description")
    for role, name in [(pyatspi.ROLE_PUSH_BUTTON, "Start Net"), (pyatspi.ROLE_PUSH_BUTTON, "Quit"),
                       (pyatspi.ROLE_RADIO_BUTTON, "Acknowledge"),
                       (pyatspi.ROLE_RADIO_BUTTON, "Comments")]:
        if find(app, role, name) is None:
            failures.append(f"no {name!r}")

    for typed, said in COMMANDS:
        before = len(heard)
        if typed.startswith("key:"):
            subprocess.run(["xdotool", "key", typed[4:]], check=True)
        else:
            subprocess.run(["xdotool", "type", "--delay", "15", typed.rstrip("\n")], check=True)
            subprocess.run(["xdotool", "key", "Return"], check=True)
        if said is None:
            continue
        try:
            yield from wait(lambda: said in heard[before:], 20, f"notification {said!r}")
        except AssertionError as e:
            failures.append(f"{e}; heard {heard[before:]!r}")
        print(f"typed {typed.strip()!r}: heard {said!r}")

    lines = find(app, pyatspi.ROLE_LIST, "Check-ins")
    def two_lines():
        lines.clearCache()
        return lines.childCount == 2

    yield from wait(two_lines, 20, "two lines in the list")
    check([lines[i].name for i in range(lines.childCount)],
          ["1 of 2, 1 acknowledged K1ABC BOB FN20 1/1/2021 2/2/2022",
           "2 of 2, 2 in and out N2XYZ AL BOSTON 3/3/2023 4/4/2024"], "the list's lines")
    entry.clearCache()
    check(entry.name, "Enter Call # 3", "the entry line's name after two check-ins")


def main():
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    steps = script()

    def tick():
        try:
            next(steps)
            return True
        except StopIteration:
            pass
        except Exception as e:
            failures.append(str(e))
        pyatspi.Registry.stop()
        return False

    GLib.timeout_add(50, tick)
    pyatspi.Registry.start()
    for f in failures:
        print("FAILED:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
