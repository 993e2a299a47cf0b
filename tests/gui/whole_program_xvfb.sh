#!/usr/bin/env bash
# The whole program as a user drives it, on a real FAT volume: on a virtual X display it shows
# a FAT32 image mounted with fusefat; the user selects the player folder in the tree, uploads
# a file from the computer pane (Right arrow), moves a track up ("-"), presses Enter (the
# Tralvo command), plays a track and closes the program with Escape. Then an independent
# program (fatsort) reads the directory-entry order from the image, and fsck.vfat checks it.
# Usage: whole_program_xvfb.sh BIN_FOLDER
set -euo pipefail
# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer shorter than the length it
# gives, which the sanitizer's strndup wrapper reads in full; the X keyboard set-up is not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0"
# The whole program ends while Qt's own D-Bus threads may still be setting up a connection
# (seen once in CI with another program on a display beside it): what they hold at exit is
# Qt's. Leaks of our own are checked by the unit tests, which run under the same sanitizer.
export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?usage: whole_program_xvfb.sh BIN_FOLDER}

if [ "${2:-}" = --inside ]; then
    unset QT_QPA_PLATFORM
    "$bin/tralvo" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    id=""
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name '^Tralvo!$' 2>/dev/null | head -1) || true
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "no main window" >&2; exit 1; }
    sleep 0.5
    height=$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^HEIGHT=//p')
    click() { xdotool mousemove --window "$id" "$1" "$2" click "${3:-1}"; sleep 0.4; }
    # Where the controls are: the computer pane is 254 pixels wide, the splitter 8; each pane
    # has a 34-pixel tool bar, then a 171-pixel folder box whose tree starts 44 pixels down,
    # then its list with 28-pixel rows; the bottom panel is 68 pixels high.
    player_x=$((254 + 8))
    list_top=$((34 + 171))
    click $((player_x + 60)) $((34 + 44 + 9))   # the player tree's root row: the tree has the focus
    xdotool key Down && sleep 0.5               # its first folder, Music: the track list loads
    click 100 $((list_top + 14))                # the first file of the computer pane
    xdotool key Right && sleep 1                # upload
    click $((player_x + 100)) $((list_top + 28 + 14))   # the second track
    xdotool key minus && sleep 0.3              # moves up
    xdotool key Return && sleep 2               # the Tralvo command
    click $((player_x + 100)) $((list_top + 14))        # the first track
    click 22 $((height - 22))                   # Play
    sleep 1
    xdotool key Escape
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then
        echo "the program did not end: a message box may be open" >&2
        exit 1
    fi
    wait $pid
    exit 0
fi

for tool in Xvfb xdotool fusefat mkfs.vfat fatsort fsck.vfat mcopy ffmpeg; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 0; }
done
[ -e /dev/fuse ] || { echo "SKIP: FUSE is missing here"; exit 0; }

work=$(mktemp -d /tmp/tralvo-whole-program-XXXXXX)
mnt="$work/player"
cleanup() {
    if mountpoint -q "$mnt" 2>/dev/null; then fusermount -u "$mnt" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/source" "$work/computer"
tone() { # file title frequency
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "sine=frequency=$3:duration=1" \
        -c:a libmp3lame -b:a 32k -metadata title="$2" "$1"
}
tone "$work/source/a.mp3" "Charlie" 440
tone "$work/source/b.mp3" "Bravo" 494
tone "$work/source/Long name with spaces.and.dots.mp3" "Alpha" 523
tone "$work/computer/New.mp3" "New" 587

truncate -s 64M "$work/player.img"
mkfs.vfat -F 32 "$work/player.img" >/dev/null
export MTOOLS_SKIP_CHECK=1
mmd -i "$work/player.img" ::/Music
(cd "$work/source" && mcopy -i "$work/player.img" a.mp3 b.mp3 \
    "Long name with spaces.and.dots.mp3" ::/Music/)
mkdir -p "$mnt"
fusefat -f -o rw+ "$work/player.img" "$mnt" >/dev/null 2>&1 &
fuse_pid=$!
for _ in $(seq 100); do mountpoint -q "$mnt" && break; sleep 0.1; done
mountpoint -q "$mnt" || { echo "fusefat did not mount the image" >&2; exit 1; }

mkdir -p "$work/program" "$work/runtime"
chmod 700 "$work/runtime"
cp -r "$bin/." "$work/program/"
cat >"$work/program/Tralvo.ini" <<INI
[Appearance]
Language=0
[Player]
Drive=$mnt
Type=0
[Window]
LastMyComputerPath=$work/computer
INI

XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" SDL_AUDIODRIVER=dummy \
    "$here/with_xvfb.sh" "$0" "$work/program" --inside

fusermount -u "$mnt"
wait $fuse_pid || true
# fatsort shows 8.3 names in capitals (mtools stores their lower case as a flag only).
order=$(fatsort -l "$work/player.img" 2>/dev/null |
    awk '/^\/Music\/$/ {inside=1; next} /^\// {inside=0} inside && NF' | tr 'A-Z\n' 'a-z|')
expected="b.mp3|a.mp3|long name with spaces.and.dots.mp3|new.mp3|"
if [ "$order" != "$expected" ]; then
    echo "directory order on the image: $order" >&2
    echo "expected:                     $expected" >&2
    exit 1
fi
fsck.vfat -n "$work/player.img" >/dev/null || { echo "fsck.vfat found faults" >&2; exit 1; }
mcopy -i "$work/player.img" ::/Music/New.mp3 "$work/copied.mp3"
cmp -s "$work/copied.mp3" "$work/computer/New.mp3" || { echo "the upload differs" >&2; exit 1; }
echo "the image holds the uploaded track, the moved track first, all in the list's order; fsck is clean"
