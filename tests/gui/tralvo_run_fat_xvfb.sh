#!/usr/bin/env bash
# The main job as a user does it, on a real FAT volume: the program on a virtual X display
# shows a folder of a FAT32 image mounted with fusefat, the sort button and Enter (the Tralvo
# command) are pressed, the program is closed with Escape, and an independent program
# (fatsort) reads the directory-entry order from the image.
# Usage: tralvo_run_fat_xvfb.sh BIN_FOLDER
set -euo pipefail
bin=${1:?usage: tralvo_run_fat_xvfb.sh BIN_FOLDER}

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
    # The sort button: the player pane starts right of the computer pane (254 pixels) and the
    # splitter (8); its tool bar, 2 pixels in, holds 31-pixel buttons and 8-pixel separators:
    # refresh | properties download delete | up down | sort.
    xdotool mousemove --window "$id" $((254 + 8 + 2 + 31 + 8 + 3 * 31 + 8 + 2 * 31 + 8 + 15)) 17 \
        click 1
    sleep 0.3
    xdotool windowfocus "$id" 2>/dev/null || true
    xdotool key Return
    sleep 2
    xdotool windowfocus "$id" 2>/dev/null || true
    xdotool key Escape
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then
        echo "the program did not end: a message box may be open" >&2
        import -window root "$bin/../stuck.png" 2>/dev/null || true
        exit 1
    fi
    wait $pid
    exit 0
fi

for tool in xvfb-run xdotool fusefat mkfs.vfat fatsort fsck.vfat mcopy ffmpeg; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 0; }
done
[ -e /dev/fuse ] || { echo "SKIP: FUSE is missing here"; exit 0; }

work=$(mktemp -d /tmp/tralvo-fat-run-XXXXXX)
mnt="$work/player"
cleanup() {
    if mountpoint -q "$mnt" 2>/dev/null; then fusermount -u "$mnt" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# Tracks whose names and titles disagree, so that only a real run puts them in title order.
mkdir -p "$work/source"
tone() {
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "sine=frequency=$3:duration=1" \
        -c:a libmp3lame -b:a 32k -metadata title="$2" "$work/source/$1"
}
tone "a.mp3" "Charlie" 440
tone "b.mp3" "Bravo" 494
tone "Long name with spaces.and.dots.mp3" "Alpha" 523
printf 'notes\n' >"$work/source/notes.txt"

truncate -s 64M "$work/player.img"
mkfs.vfat -F 32 "$work/player.img" >/dev/null
export MTOOLS_SKIP_CHECK=1
mmd -i "$work/player.img" ::/Music
(cd "$work/source" && mcopy -i "$work/player.img" notes.txt b.mp3 a.mp3 \
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
[Sort]
1=1
2=1
3=1
[Window]
LastMyPlayerPath=$mnt/Music
INI

XDG_RUNTIME_DIR="$work/runtime" xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$work/program" \
    --inside

fusermount -u "$mnt"
wait $fuse_pid || true
# fatsort shows 8.3 names in capitals (mtools stores their lower case as a flag only).
order=$(fatsort -l "$work/player.img" 2>/dev/null |
    awk '/^\/Music\/$/ {inside=1; next} /^\// {inside=0} inside && NF' | tr 'A-Z\n' 'a-z|')
expected="notes.txt|long name with spaces.and.dots.mp3|b.mp3|a.mp3|"
if [ "$order" != "$expected" ]; then
    echo "directory order on the image: $order" >&2
    echo "expected:                     $expected" >&2
    exit 1
fi
fsck.vfat -n "$work/player.img" >/dev/null || { echo "fsck.vfat found faults" >&2; exit 1; }
echo "the FAT image holds the tracks in title order, after the other entries; fsck is clean"
