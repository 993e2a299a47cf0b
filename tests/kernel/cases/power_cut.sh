#!/usr/bin/env bash
# A power cut while arrange runs: QEMU killed from the host at a delay after the guest says
# arrange has started. The journals live on a disk of their own, the computer's, which keeps
# what was written to it. The next boot runs recover and checks the folder (every file as
# before the run, nothing temporary), then starts the next run, which is cut too; three
# cuts, then a run left alone must arrange the folder. The image is checked on the host.
# FAT only: the folder is written by mtools.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
disk state fat16 16
DISKS="player $type /player
state vfat /state"
# As slow as a cheap stick, so that a run lasts long enough to be cut off anywhere.
# shellcheck disable=SC2034 # read by guest_start, by name
OPTIONS_player=iops=300,bps=16000000
KERNEL_ERRORS_EXPECTED=1 # a volume cut off is reported as not properly unmounted

for i in $(seq -w 1 300); do echo "Track $i after the power cut.mp3"; done >"$WORK/tracks"
{
    cat "$WORK/tracks"
    echo notes.txt
} | copy_in player MUSIC
for i in 0 1 2 3; do
    "$BENCH/names.py" shuffle "$i" <"$WORK/tracks" | order "order.$i"
done

power_cuts 0 /player/MUSIC 2 0.2 0.7 1.3
guest 120 < <(
    recovered_after_cut /player/MUSIC 3
    cat <<'GUEST'
entries /player/MUSIC >/tmp/entries
emit before cat /tmp/entries
arranged 0 /player/MUSIC /case/order.0
in_directory_order /player/MUSIC /tmp/entries /case/order.0
GUEST
)
fsck_clean player cut
no_temporaries player
sums_equal player "$WORK/out/sums"
expected "$WORK/out/before" "$WORK/stage/case/order.0" >"$WORK/expected"
order_is player /MUSIC "$WORK/expected"
finish
