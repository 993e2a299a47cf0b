#!/usr/bin/env bash
# Creation times (type 2) on the kernel's vfat or exfat: a run re-creates each track in list
# order, at least a clock step apart. A small folder with a non-ASCII name and two names of
# 255 bytes is arranged, listed and checked on the image (the tracks sorted by creation time
# are in the arranged order); then a run is killed after each of its steps in turn and
# recovered: every track as it was or a complete copy under its own name, nothing temporary;
# and killed from outside at moments in between.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"

{
    echo "Café – Ñandú.mp3"
    "$BENCH/names.py" long 255 "A very long name "
    "$BENCH/names.py" long 255 "Überlänge "
} >"$WORK/tracks"
{
    sed 's/^/file /' "$WORK/tracks"
    echo "file notes.txt"
} | put spec
for i in 0 1 2 3 4; do
    "$BENCH/names.py" nth $((5 - i)) <"$WORK/tracks" | order "order.$i"
done

guest 400 <<'EOF2'
populate /player/TIMES <spec
emit sums sums /player
arranged 2 /player/TIMES /case/order.1
REARRANGE=no kill_across 2 /player/TIMES 1
# Kills from outside also land inside a step: while a copy is written, or while the run waits
# for the next step of the clock.
n=2
for seconds in 0.3 0.8 1.5 2.2 3 3.8 4.6 5.5; do
    REARRANGE=no kill_at 2 /player/TIMES $seconds $n || n=$((5 - n))
done
arranged 2 /player/TIMES /case/order.0
EOF2
fsck_clean player
no_temporaries player
sums_equal player "$WORK/out/sums"
"$BENCH/fatdir.py" times "$WORK/player.img" /TIMES | grep -E '\.mp3$' | LC_ALL=C sort | cut -f 2 \
    >"$WORK/times.sorted"
cmp -s "$WORK/stage/case/order.0" "$WORK/times.sorted" ||
    fail "the creation times are not in the arranged order: $(tr '\n' '|' <"$WORK/times.sorted" | cut -c 1-200)"
killed=$(grep -c '^@@KILLED' "$LOG" || true)
note "killed and recovered $killed times"
[ "$killed" -ge 10 ] || fail "only $killed runs were killed"
finish
