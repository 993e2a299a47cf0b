#!/usr/bin/env bash
# The program as a user starts it for the first time: a copy of the build's program folder
# without Tralvo.ini, on a real (virtual) X display. The welcome message must come first; a
# key press closes it, and the settings dialog must follow.
# Usage: first_run_xvfb.sh BIN_FOLDER
set -euo pipefail
# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer shorter than the length it
# gives, which the sanitizer's strndup wrapper reads in full; the X keyboard set-up is not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0"
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?usage: first_run_xvfb.sh BIN_FOLDER}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 0; }
done

if [ "${2:-}" != --inside ]; then
    work=$(mktemp -d /tmp/tralvo-first-run-XXXXXX)
    trap 'rm -rf "$work"' EXIT
    cp -r "$bin/." "$work/"
    rm -f "$work/Tralvo.ini"
    mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
    XDG_RUNTIME_DIR="$work/runtime" "$here/with_xvfb.sh" "$0" "$work" --inside
    test -f "$work/Tralvo.ini" || { echo "no Tralvo.ini written at the end"; exit 1; }
    echo "first run: welcome message, then the settings dialog; settings written at the end"
    exit 0
fi

unset QT_QPA_PLATFORM
"$bin/tralvo" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window() {
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 $pid 2>/dev/null || { echo "the program ended early" >&2; return 1; }
        sleep 0.1
    done
    echo "no window named \"$1\"" >&2
    return 1
}

welcome=$(window 'Welcome to Tralvo')
if xdotool search --onlyvisible --name '^Tralvo!$' >/dev/null 2>&1; then
    echo "the main window showed before the first-run settings" >&2
    exit 1
fi
# A key pressed the moment a window maps may reach it before it has the focus: pressed
# again until the window goes.
press() { # window key title
    for _ in $(seq 5); do
        xdotool windowfocus "$1" 2>/dev/null || true
        xdotool key "$2"
        for _ in $(seq 20); do
            xdotool search --onlyvisible --name "^$3\$" 2>/dev/null | grep -qx "$1" || return 0
            sleep 0.1
        done
    done
}
press "$welcome" Return 'Welcome to Tralvo'
settings=$(window 'Settings')
# Escape cancels the dialog: the program ends without showing its main window.
press "$settings" Escape Settings
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then
    echo "the program did not end after the first-run settings were cancelled" >&2
    exit 1
fi
wait $pid
