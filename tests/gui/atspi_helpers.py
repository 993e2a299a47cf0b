"""What the end-to-end tests need to drive Tralvo's window the way assistive technology does
(AT-SPI through pyatspi): the program's catalogue in the language of the run, polls with a
generous limit, controls found by role and accessible name and pressed through their actions,
message boxes answered, and on a failure the program's windows printed with their names and
the screen saved.
"""
import os
import subprocess
import sys
import time
import traceback

import pyatspi
from gi.repository import GLib

WAIT = 30  # seconds: a sanitized build on a busy machine is slow, a hang is still caught


class Failure(Exception):
    pass


# ---- the catalogue -------------------------------------------------------------------------

def read_catalogue(path, language):
    """The texts of one language, keys folded to lower case as the program compares them."""
    texts = {}
    wanted = {f"[language{language}-strings]", f"[language{language}-properties]"}
    inside = False
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.rstrip("\r\n")
            if line.startswith("["):
                inside = line.lower() in wanted
            elif inside and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                texts[key.strip().lower()] = value.replace("\\n", "\n")
    return texts


class Texts:
    def __init__(self, path, language):
        self.texts = read_catalogue(path, language)

    def __call__(self, key):
        value = "@" + key
        for _ in range(8):  # "@Other.Key" stands for that key's text
            if not value.startswith("@"):
                return value
            if value[1:].lower() not in self.texts:
                raise Failure(f"the catalogue has no text \"{value[1:]}\"")
            value = self.texts[value[1:].lower()]
        raise Failure(f"the catalogue's text \"{key}\" refers on and on")

    def hint(self, control):
        return self(f"TMainForm.{control}.Hint")


# ---- the accessibility tree ----------------------------------------------------------------

def poll(what, probe, seconds=WAIT):
    """probe() until it gives something other than None or False."""
    end = time.time() + seconds
    while True:
        try:
            found = probe()
        except GLib.Error:  # a window that went away while it was read
            found = None
        if found is not None and found is not False:
            return found
        if time.time() > end:
            raise Failure(f"waited {seconds} s for {what}")
        time.sleep(0.2)


def children(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield child


def walk_with_depth(node, depth=0):
    """The node and all below it, but for the rows of folder trees: a computer's folders are
    many, and nothing here is looked for among them."""
    yield node, depth
    if depth < 40 and node.getRole() not in (pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE):
        for child in children(node):
            yield from walk_with_depth(child, depth + 1)


def walk(node):
    return (found for found, _ in walk_with_depth(node))


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def gone(node):
    try:
        return not showing(node)
    except GLib.Error:  # destroyed with its window
        return True


def sensitive(node):
    return node.getState().contains(pyatspi.STATE_SENSITIVE)


def find(node, role, name):
    for candidate in walk(node):
        if candidate.getRole() == role and candidate.name == name:
            return candidate
    return None


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "tralvo":
            return app
    return None


class Program:
    def __init__(self, texts):
        self.texts = texts
        self.app = poll("the program on the accessibility bus", application)
        self.window = poll("the main window", lambda: self.window_named("Tralvo!", {"frame"}))

    def window_named(self, name, roles=None):
        for child in children(self.app):
            if child.name == name and showing(child) and (
                    roles is None or child.getRoleName() in roles):
                return child
        return None

    def dialogs(self):
        """Every window of the program on screen other than the main window."""
        return [child for child in children(self.app)
                if showing(child) and child.getRoleName() != "frame"]

    def dialog_named(self, caption):
        return next((child for child in self.dialogs() if child.name == caption), None)

    def wait_dialog(self, caption):
        return poll(f"a window \"{caption}\"", lambda: self.dialog_named(caption))

    def wait_no_dialog(self, what):
        poll(f"no window but the main one ({what})", lambda: not self.dialogs())

    def control(self, role, name, inside=None):
        return poll(f"a control named \"{name}\"", lambda: find(inside or self.window, role, name))

    def tool_button(self, hint_of):
        # Icon-only: assistive technology names them by their hint.
        return self.control(pyatspi.ROLE_PUSH_BUTTON, self.texts.hint(hint_of))

    def list_of(self, caption_key):
        return self.control(pyatspi.ROLE_LIST, self.texts(f"TMainForm.{caption_key}.Caption"))

    def status_line(self):
        field = self.control(pyatspi.ROLE_TEXT, self.texts("PlayerStatus"))
        return field.queryText().getText(0, -1)

    def dump(self):
        lines = []
        for node, depth in walk_with_depth(self.app):
            if not showing(node):
                continue
            text = ""
            if node.getRole() == pyatspi.ROLE_TEXT:
                text = f" text \"{node.queryText().getText(0, -1)}\""
            lines.append(f"{'  ' * depth}{node.getRoleName()} \"{node.name}\"{text}")
        return "\n".join(lines)


def press(node, what=None):
    """The node's Press action, as a screen reader presses it: the call returns at once, also
    where the press opens a modal box (which would otherwise hold the caller until it closed)."""
    if not sensitive(node):
        raise Failure(f"\"{what or node.name}\" is disabled")
    action = node.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    try:
        action.doAction(names.index("Press") if "Press" in names else 0)
    except GLib.Error as error:
        raise Failure(f"pressing \"{what or node.name}\" got no answer: {error.message}")


def item_names(list_node):
    return [child.name for child in children(list_node)
            if child.getRole() == pyatspi.ROLE_LIST_ITEM]


def texts_in(window):
    return "\n".join(node.name for node in walk(window)
                     if node.getRole() == pyatspi.ROLE_LABEL and node.name)


QT_BUTTONS = {"Yes": ("Yes", "Ja"), "No": ("No", "Nein"), "Open": ("Open", "Öffnen")}


def answer(program, caption, button, text=None, must_say=()):
    """Waits for the box with caption, checks that its text is text (when given) and says each
    of must_say, presses button and gives the text."""
    box = program.wait_dialog(caption)
    said = poll(f"the text of \"{caption}\"", lambda: texts_in(box) or None)
    if text is not None and said != text:
        raise Failure(f"\"{caption}\" says:\n{said}\ninstead of:\n{text}")
    for part in must_say:
        if part not in said:
            raise Failure(f"\"{caption}\" does not say \"{part}\":\n{said}")
    # Qt's own button texts, in the language in force where Qt's translations are installed.
    names = QT_BUTTONS.get(button, (button,))
    pressed = poll(f"the button \"{button}\" of \"{caption}\"", lambda: next(
        (node for node in walk(box)
         if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name in names), None))
    press(pressed, f"{button} in {caption}")
    poll(f"\"{caption}\" to close", lambda: gone(box))
    return said


def wait_list(program, list_node, expected, what):
    try:
        poll(what, lambda: item_names(list_node) == expected)
    except Failure:
        raise Failure(f"{what}: the list shows {item_names(list_node)}, not {expected}")


# ---- leaving, and what is left to look at ----------------------------------------

def leave(program):
    press(program.control(pyatspi.ROLE_PUSH_BUTTON, program.texts("TMainForm.ExitBtn.Caption")))


def screenshot(folder, name="screen"):
    """The X display as it is now, saved as folder/name.png; None where ffmpeg cannot grab it."""
    display = os.environ.get("DISPLAY")
    if not display or subprocess.run(["sh", "-c", "command -v ffmpeg"],
                                      capture_output=True).returncode != 0:
        return None
    path = os.path.join(folder, f"{name}.png")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "x11grab",
                    "-i", display, "-frames:v", "1", path], check=False, timeout=60)
    return path if os.path.exists(path) else None


def run(scenario, texts, shots, steps):
    """steps(program) on the program once it is on the bus, then the Exit button; the exit code
    of the check. A failure prints the windows on screen and saves the screen."""
    program = None
    try:
        program = Program(texts)
        steps(program)
        leave(program)
    except Exception as failure:  # a failed check, or an AT-SPI call that failed
        if isinstance(failure, Failure):
            print(f"{scenario}: {failure}", file=sys.stderr)
        else:
            traceback.print_exc()
        if program is not None:
            print("on screen:\n" + program.dump(), file=sys.stderr)
        shot = screenshot(shots)
        if shot:
            print(f"screen saved as {shot}", file=sys.stderr)
        return 1
    print(f"{scenario}: done through the window")
    return 0
