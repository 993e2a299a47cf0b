#!/usr/bin/env bash
# The player pulled out while arrange runs: the host takes the disk away through QEMU's
# monitor, puts it back (device_add), the guest mounts it again at the same folder (the dead
# mount lazily unmounted first) and runs recover. Three pulls at different moments of a run,
# in one guest run; after each the folder must be as before the run, and at the end a run
# that is left alone arranges it. The image is checked on the host at the end. FAT only: the
# folder is written by mtools.
#
# A stick pulled out keeps what reached it before that instant and nothing after. QEMU's
# device_del is an orderly eject instead: the guest syncs the volume while arrange goes on
# renaming, and the FAT driver writes a moved entry before the file's record fills in its
# data, so a rename caught between the sync's two passes would reach the disk without its
# data, which no real pull does. So the host stops the machine at the pull, keeps the image as
# it is, lets the eject run and puts the kept image back before the disk returns.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"
VM_QMP=$WORK/qmp.sock
# As slow as a cheap stick, so that a run lasts long enough to be cut off anywhere.
# shellcheck disable=SC2034 # read by guest_start, by name
OPTIONS_player=iops=300,bps=16000000
KERNEL_ERRORS_EXPECTED=1 # a pulled disk makes the driver report I/O errors

for i in $(seq -w 1 300); do echo "Track $i of the pulled player.mp3"; done >"$WORK/tracks"
{
    cat "$WORK/tracks"
    echo notes.txt
} | copy_in player MUSIC
for i in 0 1 2 3; do
    "$BENCH/names.py" shuffle "$i" <"$WORK/tracks" | order "order.$i"
done
delays=(0.2 0.6 1.0)

guest_start <<EOF
for cycle in 1 2 3; do
    at="pulled out in run \$cycle"
    sums /player/MUSIC >/tmp/before
    started=\$(cut -d ' ' -f 1 /proc/uptime)
    tralvo-cli arrange --type 0 --order order.\$cycle /player/MUSIC >/dev/null 2>&1 &
    pid=\$!
    mark pull \$cycle
    status=0
    wait \$pid || status=\$?
    echo "@@ARRANGE \$cycle \$status \$started \$(cut -d ' ' -f 1 /proc/uptime)"
    gone player || fail "\$at: the disk did not go"
    mark gone \$cycle
    umount -l /player
    mount_disk player $type /player || { fail "\$at: the disk did not come back"; break; }
    status=0
    tralvo-cli recover /player/MUSIC >/tmp/recovered 2>&1 || status=\$?
    [ \$status -eq 0 ] || fail "\$at: recover exited \$status: \$(head -c 400 /tmp/recovered)"
    nothing_temporary /player/MUSIC "\$at"
    sums /player/MUSIC >/tmp/after
    same /tmp/before /tmp/after "\$at: files after recover"
done
entries /player/MUSIC >/tmp/entries
emit before cat /tmp/entries
arranged 0 /player/MUSIC /case/order.0
in_directory_order /player/MUSIC /tmp/entries /case/order.0
EOF
for cycle in 1 2 3; do
    vm_wait_for "$LOG" "^@@MARK pull $cycle\b" 120 || { fail "no pull $cycle"; break; }
    sleep "${delays[cycle - 1]}"
    # Stopping waits for the requests under way, which a pulled stick may still finish.
    "$BENCH/qmp.py" "$VM_QMP" stop >/dev/null || fail "stop $cycle"
    cp --sparse=always "$WORK/player.img" "$WORK/pulled.img"
    "$BENCH/qmp.py" "$VM_QMP" cont device_del '{"id": "player-device"}' >/dev/null ||
        fail "device_del $cycle"
    vm_wait_for "$LOG" "^@@MARK gone $cycle\b" 60 || { fail "the disk did not go ($cycle)"; break; }
    # Once QEMU has let go of the device nothing more reaches the image.
    for try in $(seq 40); do
        "$BENCH/qmp.py" "$VM_QMP" qom-list '{"path": "/machine/peripheral"}' |
            grep -q '"player-device"' || break
        sleep 0.25
    done
    [ "$try" -lt 40 ] || fail "the device stayed ($cycle)"
    cp --sparse=always "$WORK/pulled.img" "$WORK/player.img"
    # QEMU lets go of the device's id a little after the guest has let go of the device.
    for try in $(seq 20); do
        ! "$BENCH/qmp.py" "$VM_QMP" device_add '{"driver": "virtio-blk-pci", "drive": "player",
            "id": "player-device", "serial": "player"}' >"$WORK/device_add" || break
        sleep 0.25
    done
    [ "$try" -lt 20 ] || fail "device_add $cycle: $(cat "$WORK/device_add")"
done
status=0
vm_wait 300 || status=$?
guest_results "$status"
interrupted=$(grep -c '^@@ARRANGE [0-9] [1-9]' "$LOG" || true)
note "runs cut off by a pull: $interrupted of 3 ($(grep '^@@ARRANGE' "$LOG" | tr '\n' ' '))"
[ "$interrupted" -ge 2 ] || fail "only $interrupted of 3 pulls came while arrange ran"
fsck_clean player cut
no_temporaries player
sums_equal player "$WORK/out/sums"
expected "$WORK/out/before" "$WORK/stage/case/order.0" >"$WORK/expected"
order_is player /MUSIC "$WORK/expected"
finish
