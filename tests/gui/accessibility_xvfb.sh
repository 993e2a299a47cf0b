#!/usr/bin/env bash
# Tralvo's main window as assistive technology sees it: the real program on a virtual X
# display with its own accessibility bus, walked by accessibility_check.py in English and in
# German. Every button, list, tree and slider must have a name, in the language in force.
# Usage: accessibility_xvfb.sh BIN_FOLDER
set -euo pipefail
# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer shorter than the length it
# gives, which the sanitizer's strndup wrapper reads in full; the X keyboard set-up is not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0"
bin=${1:?usage: accessibility_xvfb.sh BIN_FOLDER}
here=$(cd "$(dirname "$0")" && pwd)

if [ "${2:-}" = --inside ]; then
    language=$3
    shift 3
    unset QT_QPA_PLATFORM
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    sed -i "s/^Language=.*/Language=$language/" "$bin/Tralvo.ini"
    "$bin/tralvo" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    /usr/bin/python3 "$here/accessibility_check.py" "$@"
    exit $?
fi

for tool in Xvfb dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 0; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: pyatspi is missing"; exit 0; }

work=$(mktemp -d /tmp/tralvo-accessibility-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/player/Music" "$work/runtime"
chmod 700 "$work/runtime"
cp -r "$bin/." "$work/program/"
printf '[Appearance]\nLanguage=0\n[Player]\nDrive=%s\n[Window]\nLastMyPlayerPath=%s\n' \
    "$work/player" "$work/player/Music" >"$work/program/Tralvo.ini"

run() { # language expected names...
    XDG_RUNTIME_DIR="$work/runtime" dbus-run-session -- \
        "$here/with_xvfb.sh" "$0" "$work/program" --inside "$@"
}
run 0 "My Computer" "My Player" "Volume" "Now playing" "Settings" "Shuffle" "Tralvo!" "Exit"
run 1 "Arbeitsplatz" "Mein Player" "Lautstärke" "Wiedergabe" "Einstellungen" "Zufällig mischen" "Beenden"
