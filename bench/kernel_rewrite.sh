#!/usr/bin/env bash
# What a directory-order rewrite costs a cheap USB stick, on the kernel's vfat in QEMU (the
# kernel bench's guest): tralvo-cli arrange --type 0 of a folder of TRACKS tracks against the
# floor of a move-based rewrite, rename_floor (the same renames, folders made and removed, in
# one process, nothing else), each on its own copy of the same image behind the same limits,
# each followed by sync. A third copy is only mounted and unmounted: the writes of mounting.
# Prints the times and the writes per track from QEMU's block statistics. By hand, not CI:
#
#   bench/kernel_rewrite.sh            ROUNDS rounds, the two taking turns at going first
#   STRACE=1 bench/kernel_rewrite.sh   one round, with tralvo-cli's system calls kept
#
# TRALVO_KERNEL_BIN (build/bin), TRACKS (300), ROUNDS (3), IOPS (300), BPS (16000000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${TRALVO_KERNEL_BIN:-$root/build/bin}" && pwd)
tracks=${TRACKS:-300} rounds=${ROUNDS:-3} iops=${IOPS:-300} bps=${BPS:-16000000}
[ -z "${STRACE:-}" ] || rounds=1
cache=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/tralvo
mkdir -p "$cache"
KERNEL_DIR=$("$root/tests/kernel/kernel.sh" "$cache")
INITRAMFS=$("$root/tests/kernel/initramfs.sh" "$KERNEL_DIR" "$bin" "$cache")
WORK=$(mktemp -d /tmp/tralvo-rewrite-XXXXXX)
export KERNEL_DIR INITRAMFS WORK
# shellcheck source=tests/kernel/lib.sh
source "$root/tests/kernel/lib.sh"
VM_QMP=$WORK/qmp.sock
KERNEL_ERRORS_EXPECTED=1

mkdir -p "$WORK/stage/case"
gcc -static -O2 -o "$WORK/stage/case/rename_floor" "$root/bench/rename_floor.c"
if [ -n "${STRACE:-}" ]; then
    # strace and the libraries it needs, beside it.
    mkdir -p "$WORK/stage/case/strace"
    cp /usr/bin/strace "$WORK/stage/case/strace/"
    ldd /usr/bin/strace | awk '/=> \// { print $3 }' | xargs -I{} cp -L {} "$WORK/stage/case/strace/"
fi

# Names as players see them: a number, artist and title, 30 to 50 characters.
for i in $(seq -w 1 "$tracks"); do
    echo "$i Some Artist - A Title Of Track Number $i.mp3"
done >"$WORK/tracks"
disk tralvo vfat 256
{
    echo playlist.m3u
    cat "$WORK/tracks"
} | copy_in tralvo MUSIC
"$BENCH/names.py" shuffle 1 <"$WORK/tracks" | order order
{
    echo playlist.m3u
    cat "$WORK/stage/case/order"
} | put floor.names
cp "$WORK/tralvo.img" "$WORK/pristine.img"
limits="iops=$iops,bps=$bps"
# shellcheck disable=SC2034 # read by guest_start, by name
OPTIONS_tralvo=$limits OPTIONS_floor=$limits OPTIONS_idle=$limits
DISKS="tralvo vfat /a
floor vfat /b
idle vfat /c"

# writes NAME FIELD: a disk's counter from QEMU's block statistics.
writes() {
    /usr/bin/python3 -c '
import json, sys
for line in open(sys.argv[1]):
    for device in json.loads(line).get("return", []):
        if device.get("qdev", "").find("/" + sys.argv[2] + "-device/") >= 0:
            print(device["stats"][sys.argv[3]])
' "$WORK/stats" "$1" "$2"
}

printf '%-6s %9s %8s %8s %7s %12s %12s %8s\n' round tralvo_s floor_s ratio list_s \
    tralvo_w/trk floor_w/trk reads
for round in $(seq "$rounds"); do
    for name in tralvo floor idle; do cp --sparse=always "$WORK/pristine.img" "$WORK/$name.img"; done
    if [ $((round % 2)) -eq 1 ]; then phases="tralvo floor"; else phases="floor tralvo"; fi
    guest_start <<EOF
now() { cut -d ' ' -f 1 /proc/uptime; }
sync
for phase in $phases; do
    started=\$(now)
    if [ \$phase = tralvo ]; then
        if [ -n "${STRACE:-}" ]; then
            LD_LIBRARY_PATH=/case/strace /case/strace/strace \
                -f -tt -o /tmp/trace tralvo-cli arrange --type 0 --order /case/order /a/MUSIC \
                >/dev/null 2>&1
        else
            tralvo-cli arrange --type 0 --order /case/order /a/MUSIC >/dev/null 2>&1
        fi
    else
        /case/rename_floor /b/MUSIC /case/floor.names
    fi
    sync
    echo "@@TIME \$phase \$started \$(now)"
done
[ -z "${STRACE:-}" ] || emit trace cat /tmp/trace
# What one reading of the folder costs, of which a run makes two (before and after).
started=\$(now)
tralvo-cli list --type 0 /a/MUSIC >/dev/null
echo "@@TIME list \$started \$(now)"
umount /a /b /c
mark measured
sleep 100
EOF
    vm_wait_for "$LOG" '^@@MARK measured' 600 || { tail -n 20 "$LOG"; exit 1; }
    "$BENCH/qmp.py" "$VM_QMP" query-blockstats >"$WORK/stats"
    kill -KILL "$VM_PID" 2>/dev/null || true
    wait "$VM_PID" 2>/dev/null || true
    guest_results 0
    seconds() { awk -v p="$1" '$1 == "@@TIME" && $2 == p { printf "%.2f", $4 - $3 }' "$LOG" | tr -d '\r'; }
    t=$(seconds tralvo) f=$(seconds floor) l=$(seconds list)
    idle=$(writes idle wr_operations)
    tw=$(($(writes tralvo wr_operations) - idle)) fw=$(($(writes floor wr_operations) - idle))
    reads="$(writes tralvo rd_operations)/$(writes floor rd_operations)"
    awk -v r="$round" -v t="$t" -v f="$f" -v l="$l" -v tw="$tw" -v fw="$fw" -v n="$tracks" \
        -v rd="$reads" 'BEGIN { printf "%-6s %9.2f %8.2f %8.2f %7.2f %12.2f %12.2f %8s\n",
            r, t, f, t / f, l, tw / n, fw / n, rd }'
done
echo "(disk limits: $iops IOPS, $bps bytes/s; idle disk: $idle writes for mount and unmount;"
echo " reads: tralvo/floor disk, whole guest run; work folder: $WORK)"
[ -z "${STRACE:-}" ] || echo "tralvo-cli's system calls: $WORK/out/trace"
