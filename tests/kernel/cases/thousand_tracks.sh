#!/usr/bin/env bash
# A folder of 1,000 tracks (8.3 names and long ones) and a few other entries, arranged twice
# by directory order, one guest run each; checked from the image after each. FAT only: the
# folder is written by mtools.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"

for i in $(seq 1000); do
    if [ $((i % 4)) -eq 0 ]; then
        printf 'T%04d.MP3\n' "$i"
    else
        printf 'Track %04d of the big folder.mp3\n' "$i"
    fi
done >"$WORK/tracks"
{
    echo "playlist.m3u"
    sed '500a README.TXT' "$WORK/tracks"
} | copy_in player BIG
for round in 1 2; do
    "$BENCH/names.py" shuffle "$round" <"$WORK/tracks" | order "order.$round"
done

for round in 1 2; do
    guest 300 <<EOF
entries /player/BIG >/tmp/before
emit before cat /tmp/before
LIST_AFTER=no arranged 0 /player/BIG /case/order.$round
in_directory_order /player/BIG /tmp/before /case/order.$round
EOF
    fsck_clean player
    sums_equal player "$WORK/out/sums"
    no_temporaries player
    expected "$WORK/out/before" "$WORK/stage/case/order.$round" >"$WORK/expected"
    order_is player /BIG "$WORK/expected"
done
finish
