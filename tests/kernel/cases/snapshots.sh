#!/usr/bin/env bash
# What a stick pulled out at any instant of a run would keep: the host stops the machine many
# times while arrange runs, keeps a copy of the image as it stands and lets the machine go on.
# In every copy each track's bytes must be on the disk under some entry of the folder or a
# temporary folder: the FAT driver writes a moved entry before the file's own record gives it
# its data, so folder blocks written back by the kernel alone between the run's syncs would
# show the track empty. The kernel here writes back whatever is a second old, ten times a
# second, so that such write-backs fall inside runs. The bytes are looked for, not the names:
# an entry's long name and its short entry may lie in two blocks that reach the disk one
# after the other, and a copy taken in between shows the track under its short name alone.
# FAT only: the folder is written by mtools.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"
VM_QMP=$WORK/qmp.sock
# shellcheck disable=SC2034 # read by guest_start, by name
OPTIONS_player=iops=300,bps=16000000

for i in $(seq -w 1 300); do echo "Track $i kept at every instant.mp3"; done >"$WORK/tracks"
{
    cat "$WORK/tracks"
    echo notes.txt
} | copy_in player MUSIC
for i in 1 2 3; do
    "$BENCH/names.py" shuffle "$i" <"$WORK/tracks" | order "order.$i"
done

# The tracks' contents, each different.
"$BENCH/fatdir.py" sums "$WORK/player.img" | grep '/Track ' | cut -d ' ' -f 1 | sort -u >"$WORK/contents"
[ "$(wc -l <"$WORK/contents")" -eq 300 ] || fail "the tracks' contents are not all different"

guest_start <<'EOF2'
echo 100 >/proc/sys/vm/dirty_expire_centisecs
echo 10 >/proc/sys/vm/dirty_writeback_centisecs
for cycle in 1 2 3; do
    mark run $cycle
    tralvo-cli arrange --type 0 --order /case/order.$cycle /player/MUSIC >/tmp/arranged 2>&1 ||
        fail "run $cycle: arrange failed: $(head -c 400 /tmp/arranged)"
    mark ran $cycle
    sleep 1
done
EOF2
taken=0
for cycle in 1 2 3; do
    vm_wait_for "$LOG" "^@@MARK run $cycle\b" 120 || { fail "run $cycle did not start"; break; }
    while ! grep -q "^@@MARK ran $cycle\b" "$LOG"; do
        "$BENCH/qmp.py" "$VM_QMP" stop >/dev/null || { fail "stop"; break 2; }
        cp --sparse=always "$WORK/player.img" "$WORK/instant.img"
        "$BENCH/qmp.py" "$VM_QMP" cont >/dev/null || { fail "cont"; break 2; }
        taken=$((taken + 1))
        "$BENCH/fatdir.py" sums "$WORK/instant.img" >"$WORK/instant.sums" ||
            { fail "copy $taken unreadable"; continue; }
        cut -d ' ' -f 1 "$WORK/instant.sums" | sort -u | comm -23 "$WORK/contents" - \
            >"$WORK/instant.missing"
        if [ -s "$WORK/instant.missing" ]; then
            fail "run $cycle, copy $taken: the bytes of $(wc -l <"$WORK/instant.missing") tracks are under no entry"
            cp "$WORK/instant.img" "$WORK/failed.$taken.img"
        fi
        sleep 0.05
    done
done
status=0
vm_wait 120 || status=$?
guest_results "$status"
note "copies of the image taken while arrange ran: $taken"
[ "$taken" -ge 10 ] || fail "only $taken copies were taken while arrange ran"
finish
