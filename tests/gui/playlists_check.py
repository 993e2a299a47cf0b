"""Drives Tralvo's playlist and clean commands through its window the way assistive technology
does (AT-SPI through pyatspi): buttons found by role and accessible name and pressed through
their Press action, message boxes and the file dialog found as new windows of the program,
their texts read, the file dialog's name typed through the EditableText interface. Texts are
read from the program's catalogue in the language of the run. Every wait is a poll with a
generous limit; on a failure the program's windows are printed with their names and the
screen is saved to SHOT_FOLDER (when ffmpeg can grab the X display).

Usage: playlists_check.py CATALOGUE LANGUAGE SHOT_FOLDER SCENARIO ARGUMENTS...
    arrange PLAYLIST MISSING TRACK...   arranges by PLAYLIST (one message naming MISSING only), then
                                        runs the Tralvo command; TRACK... is the list after both
    send PLAYLIST MISSING REPLACED TRACK...
                                        sends PLAYLIST, selected in the computer pane: the copy
                                        asks before it replaces REPLACED (answered No), one
                                        message names MISSING only; TRACK... is the list then
    clean KB JUNK... -- TRACK...        the status line tells of junk; the broom's question
                                        names JUNK... (KB in all); after Yes the list is TRACK...
"""
import sys

import pyatspi

from atspi_helpers import (QT_BUTTONS, Texts, Failure, answer, gone, item_names, poll, press,
                           run, sensitive, showing, walk, wait_list)


# ---- what a user does ----------------------------------------------------------------------

def choose_file(program, caption, path):
    """The file dialog: the name typed into its file name field, then Open."""
    dialog = program.wait_dialog(caption)
    def name_field():
        fields = [node for node in walk(dialog) if node.getRole() == pyatspi.ROLE_TEXT
                  and node.getState().contains(pyatspi.STATE_EDITABLE) and showing(node)]
        # Named by its label, "File name:"; the first editable field where a style names none.
        named = [node for node in fields if "name" in node.name.lower()]
        return (named or fields or [None])[0]
    field = poll("the file dialog's name field", name_field)
    field.queryEditableText().setTextContents(path)
    poll("the name in the file dialog", lambda: field.queryText().getText(0, -1) == path)
    opener = poll("the dialog's Open button", lambda: next(
        (node for node in walk(dialog) if node.getRole() == pyatspi.ROLE_PUSH_BUTTON
         and node.name in QT_BUTTONS["Open"] and sensitive(node)), None))
    press(opener)
    # What follows may bear the same caption: the dialog itself is watched.
    poll("the file dialog to close", lambda: gone(dialog))


def run_tralvo(program, tracks):
    button = program.control(pyatspi.ROLE_PUSH_BUTTON, "Tralvo!")
    press(button)
    # The run hides the button, shows it again and disables it once the folder is in order.
    poll("the Tralvo command to end", lambda: showing(button) and not sensitive(button))
    program.wait_no_dialog("after the Tralvo command")


def arrange(program, texts, playlist, missing, expected):
    tracks = program.list_of("MyPlayerLbl")
    poll("the player folder's tracks", lambda: len(item_names(tracks)) == len(expected))
    tralvo = program.control(pyatspi.ROLE_PUSH_BUTTON, "Tralvo!")
    if sensitive(tralvo):
        raise Failure("the Tralvo button is enabled before the list was arranged")
    press(program.tool_button("PlaylistBtn"))
    choose_file(program, texts("PlaylistTitle"), playlist)
    # One message, naming the missing entry as the playlist gives it, and nothing else.
    answer(program, texts("PlaylistTitle"), "OK",
           text=texts("PlaylistNotOnPlayer").replace("%0", missing))
    wait_list(program, tracks, expected, "the list in the playlist's order")
    program.wait_no_dialog("one message only")
    poll("the Tralvo button enabled", lambda: sensitive(tralvo))
    run_tralvo(program, tracks)
    wait_list(program, tracks, expected, "the list read back from the folder")


def send(program, texts, playlist, missing, replaced, expected):
    files = program.list_of("MyComputerLbl")
    row = poll(f"\"{playlist}\" in the computer pane",
               lambda: item_names(files).index(playlist) if playlist in item_names(files)
               else None)
    table = files.queryTable()
    for selected in table.getSelectedRows():
        table.removeRowSelection(selected)
    table.addRowSelection(row)
    poll(f"\"{playlist}\" selected, alone", lambda: list(table.getSelectedRows()) == [row])
    press(program.tool_button("UploadBtn"))
    # The copy asks before it replaces a file the player has; the user keeps the player's.
    answer(program, program.window.name, "No", must_say=[replaced])
    answer(program, texts("SendPlaylistTitle"), "OK",
           text=texts("SendPlaylistMissing").replace("%0", missing))
    tracks = program.list_of("MyPlayerLbl")
    wait_list(program, tracks, expected, "the list in the playlist's order")
    program.wait_no_dialog("one message only")
    poll("the Tralvo button enabled",
         lambda: sensitive(program.control(pyatspi.ROLE_PUSH_BUTTON, "Tralvo!")))
    run_tralvo(program, tracks)
    wait_list(program, tracks, expected, "the list read back from the folder")


def clean(program, texts, kilobytes, junk, expected):
    tracks = program.list_of("MyPlayerLbl")
    wait_list(program, tracks, expected, "the tracks without the companions")
    poll("the status line's note of junk", lambda: program.status_line() == texts("JunkNote"))
    press(program.tool_button("MyPlayerCleanBtn"))
    # The junk's names, one a line, and their size: nothing else is named.
    answer(program, texts("CleanFolderTitle"), "Yes",
           text=texts("CleanFolder").replace("%1", kilobytes).replace("%0", "\n".join(junk)))
    program.wait_no_dialog("no failure after the clean")
    wait_list(program, tracks, expected, "the tracks after the clean")
    poll("the note of junk gone", lambda: program.status_line() != texts("JunkNote"))


def main():
    catalogue, language, shots, scenario, *arguments = sys.argv[1:]
    texts = Texts(catalogue, int(language))

    def steps(program):
        if scenario == "arrange":
            arrange(program, texts, arguments[0], arguments[1], arguments[2:])
        elif scenario == "send":
            send(program, texts, arguments[0], arguments[1], arguments[2], arguments[3:])
        elif scenario == "clean":
            split = arguments.index("--")
            clean(program, texts, arguments[0], arguments[1:split], arguments[split + 1:])
        else:
            raise Failure(f"no scenario \"{scenario}\"")

    return run(scenario, texts, shots, steps)


if __name__ == "__main__":
    sys.exit(main())
