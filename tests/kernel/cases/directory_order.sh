#!/usr/bin/env bash
# Directory order on the kernel's vfat (or exfat): three folders arranged three times, one
# guest run each, checked from the image after each:
#   MIXED     one-slot names (8.3 names in capitals; shortname=mixed gives lower-case 8.3
#             names a long entry too) among long names
#   FIRSTDEL  the folder's first entry deleted before the first run, one-slot names among
#             long ones
#   HOLES     holes of every size left by deleted files, other files and folders with contents
#             among the tracks, non-ASCII names and names of 255 bytes
# After each run the folder's other entries come first in their previous order, then the
# tracks in the arranged order.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"
folders="MIXED FIRSTDEL HOLES"

{
    for name in SHORT.MP3 trk003.mp3 "Long Track Name One.mp3" A.MP3 Abc.mp3 b1.mp3 \
        "Another long name for a track.mp3" CD1_07.MP3 "Mid length.mp3" x.mp3 notes.txt \
        "Yet another rather long title.mp3" z9.mp3; do
        echo "file $name"
    done
} | put MIXED.spec
{
    echo "file old.mp3"
    for i in 1 2 3 4; do echo "file TRACK$i.MP3"; echo "file Track number $((i + 4)).mp3"; done
    echo "file Liner notes.txt"
    echo "delete old.mp3"
} | put FIRSTDEL.spec

# A file to delete that takes SLOTS directory slots on FAT: one for an 8.3 name, else one
# more per 13 characters of its long name.
hole() {
    local slots=$1 name
    if [ "$slots" -eq 1 ]; then
        name=del$2.mp3
    else
        name=$("$BENCH/names.py" long $((13 * (slots - 1) > 255 ? 255 : 13 * (slots - 1))) "Gone $2 ")
    fi
    echo "file $name"
    deleted+=("delete $name")
}
deleted=()
{
    echo "file Intro.mp3"
    hole 1 a
    echo "file 01 Opening.mp3"
    hole 2 b
    echo "folder Cover Art"
    echo "file Cover Art/front.jpg"
    echo "file Cover Art/Back side.jpg"
    hole 3 c
    echo "file Café – Ñandú.mp3"
    hole 1 d
    hole 4 e
    echo "file notes.txt"
    echo "file trk007.mp3"
    hole 5 f
    hole 1 g
    echo "file 日本語のタイトル.mp3"
    hole 8 h
    echo "file $("$BENCH/names.py" long 255 "A very long name ")"
    echo "folder Extras"
    echo "folder Extras/Live"
    echo "file Extras/Live/set.mp3"
    hole 12 i
    echo "file $("$BENCH/names.py" long 255 "Überlänge ")"
    hole 21 j
    echo "file .hidden settings"
    echo "file SONG.MP3"
    hole 2 k
    hole 2 l
    echo "file Ünïcødé.MP3"
    for i in 1 2 3 4 5 6; do echo "file Bonus $i.mp3"; hole $((i % 3 + 1)) "m$i"; done
    printf '%s\n' "${deleted[@]}"
} | put HOLES.spec

# The tracks of each folder: what is left of its files that end in .mp3 or .MP3.
for folder in $folders; do
    spec=$WORK/stage/case/$folder.spec
    sed -n 's/^delete //p' "$spec" >"$WORK/$folder.gone"
    sed -n 's/^file //p' "$spec" | grep -E '\.(mp3|MP3)$' | grep -v / |
        grep -v -x -F -f "$WORK/$folder.gone" >"$WORK/$folder.tracks" || true
    for round in 1 2 3; do
        "$BENCH/names.py" shuffle "$round" <"$WORK/$folder.tracks" | order "$folder.order.$round"
    done
done

for round in 1 2 3; do
    guest 300 <<EOF
if [ $round -eq 1 ]; then
    for folder in $folders; do populate /player/\$folder <\$folder.spec; done
    emit sums sums /player
fi
for folder in $folders; do
    entries /player/\$folder >/tmp/before
    emit before.\$folder cat /tmp/before
    arranged 0 /player/\$folder /case/\$folder.order.$round
    in_directory_order /player/\$folder /tmp/before /case/\$folder.order.$round
done
EOF
    fsck_clean player
    sums_equal player "$WORK/out/sums"
    no_temporaries player
    for folder in $folders; do
        expected "$WORK/out/before.$folder" "$WORK/stage/case/$folder.order.$round" >"$WORK/expected"
        order_is player "/$folder" "$WORK/expected"
    done
done
finish
