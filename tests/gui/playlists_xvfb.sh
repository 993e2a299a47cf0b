#!/usr/bin/env bash
# The playlist and clean commands of the real program, driven through its window as assistive
# technology drives it (playlists_check.py over AT-SPI), on a FAT32 image mounted with
# fusefat. The program runs once for each folder of the image:
#   Music  arranged by a playlist made on the computer that names one file the player lacks
#          (one message names it), then the Tralvo command;
#   Sent   a playlist sent from the computer pane: the copy asks before it replaces the
#          player's own Old.mp3 (the user keeps it), one message names the missing file, the
#          list takes the playlist's order, then the Tralvo command;
#   Mac    cleaned, in German: Mac companions, .DS_Store and .Trashes go, a track named like a
#          companion ("._real.mp3", MP3 inside) stays with every other track.
# Then an independent reader (tests/kernel/fatdir.py) reads each folder's directory-entry
# order and the files' contents from the image, and fsck.vfat checks it.
# Usage: playlists_xvfb.sh BIN_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:?usage: playlists_xvfb.sh BIN_FOLDER}
# shellcheck source=tests/gui/fat_player_lib.sh
source "$here/fat_player_lib.sh"

if [ "${2:-}" = --inside ]; then
    shift 2
    run_program_and_check "$bin" "$here/playlists_check.py" "$@"
    exit 0
fi

need_tools mcopy mmd ffmpeg
make_player_image playlists
mkdir -p "$work/computer/Albums" "$work/tracks" "$work/shots"
tone() { # file title frequency
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "sine=frequency=$3:duration=1" \
        -c:a libmp3lame -b:a 32k -metadata title="$2" "$1"
}
frequency=300
for name in Alpha Bravo Charlie Delta Echo Extra Song real; do
    tone "$work/tracks/$name.mp3" "$name" $frequency
    frequency=$((frequency + 40))
done
for name in One Two Old; do
    tone "$work/computer/Albums/$name.mp3" "$name" $frequency
    frequency=$((frequency + 40))
done
tone "$work/tracks/Old.mp3" "Old on the player" $frequency
cp "$work/tracks/real.mp3" "$work/tracks/._real.mp3"
# A Mac's companion: the AppleDouble magic and version, then a little of its metadata.
printf '\x00\x05\x16\x07\x00\x02\x00\x00Mac OS X        ' >"$work/tracks/._Song.mp3"
head -c 4096 /dev/zero >>"$work/tracks/._Song.mp3"
printf '\x00\x00\x00\x01Bud1' >"$work/tracks/.DS_Store"
printf 'trash' >"$work/tracks/trashed"

# The playlists, as a player program on the computer saves them: CRLF, one absolute entry.
printf '#EXTM3U\r\n#EXTINF:1,Charlie\r\nAlbums/Charlie.mp3\r\n#EXTINF:1,Gone\r\nAlbums/Gone.mp3\r\n%s\r\nAlbums/Bravo.mp3\r\n' \
    "$work/computer/Albums/Alpha.mp3" >"$work/computer/Road trip.m3u8"
printf '#EXTM3U\nAlbums/Two.mp3\nAlbums/Missing.mp3\nAlbums/Old.mp3\nAlbums/One.mp3\n' \
    >"$work/computer/Send.m3u8"

# Written with mtools, in the directory order each folder starts with.
export MTOOLS_SKIP_CHECK=1
mmd -i "$image" ::/Music ::/Sent ::/Mac ::/Mac/.Trashes
(cd "$work/tracks" &&
    mcopy -i "$image" Delta.mp3 Alpha.mp3 Echo.mp3 Charlie.mp3 Bravo.mp3 ::/Music/ &&
    mcopy -i "$image" Extra.mp3 Old.mp3 ::/Sent/ &&
    mcopy -i "$image" ._real.mp3 ._Song.mp3 Song.mp3 .DS_Store ::/Mac/ &&
    mcopy -i "$image" trashed ::/Mac/.Trashes/)

mount_image
cp -r "$bin/." "$work/program/"

drive() { # language, folder on the player, then the check's scenario and arguments
    cat >"$work/program/Tralvo.ini" <<INI
[Appearance]
Language=$1
[Player]
Drive=$mnt
Type=0
[Window]
LastMyPlayerPath=$mnt/$2
LastMyComputerPath=$work/computer
INI
    local language=$1
    shift 2
    XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" SDL_AUDIODRIVER=dummy \
        dbus-run-session -- "$here/with_xvfb.sh" "$0" "$work/program" --inside \
        "$language" "$work/shots" "$@" || fail "driving the window failed (scenario $1)"
}

drive 0 Music arrange "$work/computer/Road trip.m3u8" Albums/Gone.mp3 \
    Charlie.mp3 Alpha.mp3 Bravo.mp3 Delta.mp3 Echo.mp3
drive 0 Sent send Send.m3u8 Albums/Missing.mp3 Old.mp3 Two.mp3 Old.mp3 One.mp3 Extra.mp3
# The junk in its directory order, and its size in whole kilobytes, rounded up.
junk_bytes=$(cat "$work/tracks/._Song.mp3" "$work/tracks/.DS_Store" "$work/tracks/trashed" | wc -c)
drive 1 Mac clean $(((junk_bytes + 1023) / 1024)) .Trashes/ ._Song.mp3 .DS_Store -- ._real.mp3 Song.mp3

unmount
in_order() { # folder expected names...
    local folder=$1
    shift
    local order expected
    order=$(fatdir ls "$image" "$folder" | tr '\n' '|')
    expected=$(printf '%s|' "$@")
    [ "$order" = "$expected" ] ||
        fail "directory order of $folder: $order"$'\n'"expected:          $expected"
}
same() { # path on the image, file
    mcopy -n -i "$image" "::$1" "$work/copied" && cmp -s "$work/copied" "$2" ||
        fail "$1 on the image is not $2"
    rm -f "$work/copied"
}
in_order /Music Charlie.mp3 Alpha.mp3 Bravo.mp3 Delta.mp3 Echo.mp3
in_order /Sent Two.mp3 Old.mp3 One.mp3 Extra.mp3
in_order /Mac ._real.mp3 Song.mp3
same /Sent/One.mp3 "$work/computer/Albums/One.mp3"
same /Sent/Two.mp3 "$work/computer/Albums/Two.mp3"
same /Sent/Old.mp3 "$work/tracks/Old.mp3"
same /Mac/._real.mp3 "$work/tracks/real.mp3"
same /Mac/Song.mp3 "$work/tracks/Song.mp3"
same /Music/Alpha.mp3 "$work/tracks/Alpha.mp3"
fsck.vfat -n "$image" >/dev/null || fail "fsck.vfat found faults"
passed=1
echo "arranged by a playlist, sent a playlist and cleaned a player through the window; the image agrees"
