"""Walks Tralvo's main window the way assistive technology sees it (AT-SPI through pyatspi)
and fails on any push button, tool button, list, tree or slider without a name, and when the
main window does not present itself as a window (a frame). Names that must be there (in the
language of the run) are given as arguments.

Usage: accessibility_check.py EXPECTED_NAME...
"""
import sys
import time

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON: "push button",
    pyatspi.ROLE_TOGGLE_BUTTON: "toggle button",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_TREE: "tree",
    pyatspi.ROLE_TREE_TABLE: "tree table",
    pyatspi.ROLE_SLIDER: "slider",
}


def find_application(name, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            if application is not None and application.name.lower() == name:
                return application
        time.sleep(0.2)
    return None


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, depth + 1)


def main_window_role(application, title="Tralvo!", seconds=10):
    end = time.time() + seconds
    while True:
        for index in range(application.childCount):
            child = application.getChildAtIndex(index)
            if child is not None and child.name == title:
                return child.getRoleName()
        if time.time() > end:
            return None
        time.sleep(0.2)


def main():
    application = find_application("tralvo")
    if application is None:
        print("the program is not on the accessibility bus", file=sys.stderr)
        return 1
    # A window that reports itself as a plain widget ("filler") is missing from the screen
    # reader's list of windows.
    role = main_window_role(application)
    if role != "frame":
        print(f"the main window reports the role \"{role}\", not \"frame\"", file=sys.stderr)
        return 1
    unnamed = []
    names = set()
    controls = 0
    for node in walk(application):
        role = node.getRole()
        if role in CONTROLS:
            controls += 1
            if not node.name.strip():
                parent = node.parent.name if node.parent is not None else "?"
                unnamed.append(f"{CONTROLS[role]} (inside \"{parent}\")")
        if node.name:
            names.add(node.name)
    missing = [name for name in sys.argv[1:] if name not in names]
    for control in unnamed:
        print(f"no name: {control}", file=sys.stderr)
    for name in missing:
        print(f"no control named \"{name}\"", file=sys.stderr)
    if controls < 20:
        print(f"only {controls} controls found", file=sys.stderr)
        return 1
    if unnamed or missing:
        return 1
    print(f"{controls} controls, every one named")
    return 0


if __name__ == "__main__":
    sys.exit(main())
