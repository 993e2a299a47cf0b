"""Drives the order probe through Tralvo's window the way assistive technology does (AT-SPI
through pyatspi): the Settings button, the probe button of the settings dialog, "Write the
probe folder"; while the question is up, the probe folder is read through the player's mount;
then the word heard first is chosen, the probe dialog and the settings dialog are closed with
OK. The probe dialog's pages are saved as pictures in SHOT_FOLDER to be looked at.

Usage: probe_check.py CATALOGUE LANGUAGE SHOT_FOLDER PLAYER SOUNDS WORD
    PLAYER  the player's root folder as mounted, the drive the settings name
    SOUNDS  the program's probe sounds of the language (one.mp3, two.mp3, three.mp3)
    WORD    one, two or three: the word the user heard first
"""
import os
import sys

import pyatspi

from atspi_helpers import Failure, Texts, gone, poll, press, run, screenshot, sensitive, walk

# The tracks as a player of each kind meets them: moved into the probe folder in the order one,
# two, three, named so that the names sort two, three, one. Their creation order (three, one,
# two) does not show here: fusefat stamps a moved file with the time of the move.
TRACKS = {"one": "C.MP3", "two": "A.MP3", "three": "B.MP3"}
DIRECTORY_ORDER = ["one", "two", "three"]
NAME_ORDER = ["two", "three", "one"]
# The choice in the probe dialog, and the player type the settings dialog shows for it.
CHOICES = {"one": ("OneRB", "UsingFATRB"), "two": ("TwoRB", "SortingByFilenameRB"),
           "three": ("ThreeRB", "SortingByFileCreationTimeRB")}
PROBE_WAIT = 120  # seconds: the write waits between tracks, on FUSE, maybe under a sanitizer


def caption(texts, key):
    """A caption as assistive technology reads it: without the mnemonic's "&"."""
    text = texts(key).replace('\\"', '"')
    return text.replace("&&", "\0").replace("&", "").replace("\0", "&")


def control_in(window, role, name):
    return poll(f"\"{name}\" in \"{window.name}\"", lambda: next(
        (node for node in walk(window) if node.getRole() == role and node.name == name), None))


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def words_of(names):
    word_of = {track: word for word, track in TRACKS.items()}
    return [word_of.get(name, name) for name in names]


def read_probe(player, sounds):
    """The probe folder through the mount, in readdir order (which fusefat gives in the order
    of the directory entries), its tracks checked against the sounds they were written from."""
    folder = os.path.join(player, "TRALVO_PROBE")
    if not os.path.isdir(folder):
        raise Failure(f"no probe folder on the player while the question is up: "
                      f"{sorted(os.listdir(player))}")
    if os.path.exists(os.path.join(player, "TRALVO_PROBE.TMP")):
        raise Failure("the folder the probe was made in is left on the player")
    entries = list(os.scandir(folder))
    directory = words_of(entry.name for entry in entries)
    if directory != DIRECTORY_ORDER:
        raise Failure(f"the probe folder's directory order is {directory}")
    names = words_of(sorted(entry.name for entry in entries))
    if names != NAME_ORDER:
        raise Failure(f"the probe folder's name order is {names}")
    for word, track in TRACKS.items():
        with open(os.path.join(folder, track), "rb") as written, \
                open(os.path.join(sounds, f"{word}.mp3"), "rb") as sound:
            if written.read() != sound.read():
                raise Failure(f"{track} is not the sound of \"{word}\"")


def probe(program, texts, shots, player, sounds, heard):
    press(program.tool_button("SettingsBtn"))
    settings = program.wait_dialog(texts("TSettingsForm.Caption"))
    press(control_in(settings, pyatspi.ROLE_PUSH_BUTTON,
                     caption(texts, "TSettingsForm.ProbeBtn.Caption")))
    dialog = program.wait_dialog(texts("TOrderProbeForm.Caption"))
    write = control_in(dialog, pyatspi.ROLE_PUSH_BUTTON,
                       caption(texts, "TOrderProbeForm.WriteBtn.Caption"))
    language = os.path.basename(os.path.normpath(sounds))
    screenshot(shots, f"probe-intro-{language}")
    press(write)

    choice, player_type = CHOICES[heard]
    word = control_in(dialog, pyatspi.ROLE_RADIO_BUTTON,
                      caption(texts, f"TOrderProbeForm.{choice}.Caption"))
    poll("the question after the write", lambda: word.getState().contains(
        pyatspi.STATE_SHOWING), seconds=PROBE_WAIT)
    ok = control_in(dialog, pyatspi.ROLE_PUSH_BUTTON, caption(texts, "TSettingsForm.OKBtn.Caption"))
    if sensitive(ok):
        raise Failure("OK is enabled before a word was chosen")
    screenshot(shots, f"probe-question-{language}")
    read_probe(player, sounds)

    press(word)
    poll(f"\"{word.name}\" chosen", lambda: checked(word) and sensitive(ok))
    press(ok)
    poll("the probe dialog to close", lambda: gone(dialog))
    for left in ("TRALVO_PROBE", "TRALVO_PROBE.TMP"):
        if os.path.exists(os.path.join(player, left)):
            raise Failure(f"{left} is left on the player after OK")
    chosen = control_in(settings, pyatspi.ROLE_RADIO_BUTTON,
                        caption(texts, f"TSettingsForm.{player_type}.Caption"))
    poll(f"\"{chosen.name}\" checked in the settings", lambda: checked(chosen))
    press(control_in(settings, pyatspi.ROLE_PUSH_BUTTON,
                     caption(texts, "TSettingsForm.OKBtn.Caption")))
    poll("the settings dialog to close", lambda: gone(settings))
    program.wait_no_dialog("after the settings were stored")


def main():
    catalogue, language, shots, player, sounds, heard = sys.argv[1:]
    texts = Texts(catalogue, int(language))
    return run(f"probe, heard \"{heard}\"", texts, shots,
               lambda program: probe(program, texts, shots, player, sounds, heard))


if __name__ == "__main__":
    sys.exit(main())
