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
delays=(0.2 0.7 1.3)

# The folder put back together after a cut, as the guest sees it.
# shellcheck disable=SC2016 # expanded by the guest
recovered='
at="after power cut $cut"
status=0
tralvo-cli recover /player/MUSIC >/tmp/recovered 2>&1 || status=$?
[ $status -eq 0 ] || fail "$at: recover exited $status: $(head -c 400 /tmp/recovered)"
nothing_temporary /player/MUSIC "$at"
sums /player >/tmp/after
same /case/sums /tmp/after "$at: files after recover"
'
midway=0
for cut in 1 2 3; do
    put sums <"$WORK/out/sums"
    guest_start <<EOF
cut=$((cut - 1))
[ $cut -eq 1 ] || { $recovered }
tralvo-cli arrange --type 0 --order order.$cut /player/MUSIC >/dev/null 2>&1 &
mark started
wait
mark finished
EOF
    if vm_wait_for "$LOG" "^@@MARK started" 120; then
        sleep "${delays[cut - 1]}"
        kill -KILL "$VM_PID" 2>/dev/null || true
        wait "$VM_PID" 2>/dev/null || true
        grep -q '^@@MARK finished' "$LOG" || midway=$((midway + 1))
    else
        fail "run $cut did not start"
        vm_wait 10 || true
    fi
    guest_results 0
done
note "runs cut off midway: $midway of 3"
[ "$midway" -ge 2 ] || fail "only $midway of 3 power cuts came while arrange ran"
put sums <"$WORK/out/sums"
guest 120 <<EOF
cut=3
$recovered
entries /player/MUSIC >/tmp/entries
emit before cat /tmp/entries
arranged 0 /player/MUSIC /case/order.0
in_directory_order /player/MUSIC /tmp/entries /case/order.0
EOF
fsck_clean player dirty
no_temporaries player
sums_equal player "$WORK/out/sums"
expected "$WORK/out/before" "$WORK/stage/case/order.0" >"$WORK/expected"
order_is player /MUSIC "$WORK/expected"
finish
