#!/usr/bin/env bash
# The order probe of the real program, driven through its window as assistive technology
# drives it (probe_check.py over AT-SPI), on a FAT32 image mounted with fusefat as the player
# drive: in English the user heard "two" first (file-name type), in German "three" (creation
# time type); each time the probe folder is read through the mount while the question is up,
# and the choice must reach Tralvo.ini. Then the image holds no probe, fsck.vfat finds it clean,
# and a probe written by tralvo-cli is read from the image by an independent reader
# (tests/kernel/fatdir.py) in the order of its directory entries, as a player reads it.
# Usage: probe_xvfb.sh BIN_FOLDER
# With TRALVO_PROBE_SHOTS set to a folder, the probe dialog's pictures are kept there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?usage: probe_xvfb.sh BIN_FOLDER}
# shellcheck source=tests/gui/fat_player_lib.sh
source "$here/fat_player_lib.sh"

if [ "${2:-}" = --inside ]; then
    shift 2
    run_program_and_check "$bin" "$here/probe_check.py" "$@"
    exit 0
fi

need_tools fusermount
make_player_image probe
shots=${TRALVO_PROBE_SHOTS:-$work/shots}
mkdir -p "$shots"
mount_image
cp -r "$bin/." "$work/program/"

no_probe_on_image() {
    local left
    left=$(fatdir paths "$image" | grep -i TRALVO_PROBE || true)
    [ -z "$left" ] || fail "left on the image: $left"
    fsck.vfat -n "$image" >/dev/null || fail "fsck.vfat found faults"
}

# The player type stored for the current player, as older versions read it.
stored_type() { awk -F= '/^\[/ { inside = ($0 == "[Player]") } inside && $1 == "Type" { print $2 }' \
    "$work/program/Tralvo.ini"; }
drive() { # language, its code, the word heard first, the player type that gives
    cat >"$work/program/Tralvo.ini" <<INI
[Appearance]
Language=$1
[Player]
Drive=$mnt
Type=0
[Window]
LastMyPlayerPath=$mnt
LastMyComputerPath=$work
INI
    XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" SDL_AUDIODRIVER=dummy \
        dbus-run-session -- "$here/with_xvfb.sh" "$0" "$work/program" --inside \
        "$1" "$shots" "$mnt" "$work/program/probe/$2" "$3" || fail "driving the probe failed ($2)"
    [ "$(stored_type)" = "$4" ] || fail "Tralvo.ini stores type \"$(stored_type)\", not $4 ($2)"
}
drive 0 en two 1
drive 1 de three 2

unmount
no_probe_on_image

# The same probe written by tralvo-cli and left on the image: listed through fusefat (its
# readdir gives the directory entries in their order) and read from the image itself.
mount_image
"$work/program/tralvo-cli" probe --dir "$work/program" "$mnt" >/dev/null ||
    fail "tralvo-cli probe failed"
mounted=$(find "$mnt/TRALVO_PROBE" -mindepth 1 -maxdepth 1 -printf '%f\n' | paste -sd' ' -)
unmount
on_image=$(fatdir ls "$image" /TRALVO_PROBE | paste -sd' ' -)
[ "$on_image" = "C.MP3 A.MP3 B.MP3" ] ||
    fail "the probe's directory order on the image is \"$on_image\", not one, two, three"
[ "$mounted" = "$on_image" ] || fail "fusefat lists \"$mounted\", the image holds \"$on_image\""
by_name=$(fatdir ls "$image" /TRALVO_PROBE | LC_ALL=C sort | paste -sd' ' -)
[ "$by_name" = "A.MP3 B.MP3 C.MP3" ] || fail "the probe's names sort as \"$by_name\""
fatdir paths "$image" | grep -qi 'TRALVO_PROBE.TMP' && fail "the folder the probe was made in is left"
fsck.vfat -n "$image" >/dev/null || fail "fsck.vfat found faults after tralvo-cli probe"
passed=1
echo "the probe written, read back and answered through the window in English and German; the image agrees"
