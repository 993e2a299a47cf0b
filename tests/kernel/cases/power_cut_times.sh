#!/usr/bin/env bash
# A power cut while a creation-time run makes the tracks anew: QEMU killed from the host at
# delays after the guest says arrange has started, the journal on the computer's own disk.
# Tracks of 2 MB on a throttled stick, so that a cut lands while a copy is written as well as
# while the run waits for the next step of the clock. After each cut the next boot recovers:
# every track as it was or its complete copy, under its own name, nothing temporary. A run
# left alone then gives the creation times the arranged order, read from the image itself.
# FAT only: the folder is written by mtools.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
disk state fat16 16
DISKS="player $type /player
state vfat /state"
# shellcheck disable=SC2034 # read by guest_start, by name
OPTIONS_player=iops=300,bps=16000000
KERNEL_ERRORS_EXPECTED=1 # a volume cut off is reported as not properly unmounted

for i in 1 2 3 4 5; do echo "Track $i – cut off.mp3"; done >"$WORK/tracks"
SIZE=2000000 copy_in player TIMES <"$WORK/tracks"
for i in 0 1 2 3 4; do
    "$BENCH/names.py" shuffle "$i" <"$WORK/tracks" | order "order.$i"
done

power_cuts 2 /player/TIMES 3 0.4 1.1 2.3 3.6
guest 120 < <(
    recovered_after_cut /player/TIMES 4
    echo "arranged 2 /player/TIMES /case/order.0"
)
fsck_clean player dirty
no_temporaries player
sums_equal player "$WORK/out/sums"
"$BENCH/fatdir.py" times "$WORK/player.img" /TIMES | grep -E "\.mp3$" | LC_ALL=C sort | cut -f 2 >"$WORK/times.sorted"
cmp -s "$WORK/stage/case/order.0" "$WORK/times.sorted" ||
    fail "the creation times are not in the arranged order: $(tr '\n' '|' <"$WORK/times.sorted")"
finish
