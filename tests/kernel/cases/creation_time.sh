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
arranged 2 /player/TIMES /case/order.0
REARRANGE=no kill_across 2 /player/TIMES 1
# Kills from outside also land inside a step: while a copy is written, or while the run waits
# for the next step of the clock. Orders 1 and 4 put other tracks first, so a run from one to
# the other makes two tracks anew with a clock step between them; the moments of the kills are
# fractions of such a run's length, measured here, so that they fall inside a run on a fast
# machine and on a loaded one alike. A run that was not killed had nothing left to do (a
# recovery may finish a run): it is tried once more towards the other order. How long a run
# waits for the next step depends on where in a step it starts, so a late moment may miss a
# short run: the count asked for below is what the early moments always reach.
LIST_AFTER=no arranged 2 /player/TIMES /case/order.4
started=$(cut -d ' ' -f 1 /proc/uptime)
arranged 2 /player/TIMES /case/order.1
length=$(awk -v a="$started" -v b="$(cut -d ' ' -f 1 /proc/uptime)" 'BEGIN { print b - a }')
echo "@@LENGTH $length"
n=4
for part in 0.05 0.15 0.25 0.35 0.45 0.55 0.65 0.75; do
    seconds=$(awk -v l="$length" -v p="$part" 'BEGIN { printf "%.2f", l * p }')
    REARRANGE=no kill_at 2 /player/TIMES "$seconds" $n || {
        n=$((5 - n))
        REARRANGE=no kill_at 2 /player/TIMES "$seconds" $n || n=$((5 - n))
    }
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
stepped=$(grep -c '^@@KILLED 2 killed after change' "$LOG" || true)
timed=$(grep -c '^@@KILLED 2 killed after [0-9.]* s' "$LOG" || true)
note "a run making two tracks anew took $(sed -n 's/^@@LENGTH //p' "$LOG" | tr -d '\r') s; killed and recovered after $stepped changes and at $timed moments"
[ "$stepped" -ge 3 ] || fail "only $stepped runs were killed after a change"
[ "$timed" -ge 3 ] || fail "only $timed runs were killed from outside"
finish
