# Sourced by every case: the case's disks, its guest runs and the checks made on the host
# from the images after the guest unmounted them. The runner sets WORK (this case's folder),
# KERNEL_DIR and INITRAMFS. A case adds failures with fail and ends with finish.
set -euo pipefail
BENCH=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/kernel/vm.sh
source "$BENCH/vm.sh"
: "${WORK:?}" "${KERNEL_DIR:?}" "${INITRAMFS:?}"
export MTOOLS_SKIP_CHECK=1 LC_ALL=C.UTF-8
failures=0
runs=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A line the runner shows under the case's result.
note() { echo "note: $*"; }

finish() {
    [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
    echo "all checks passed"
}

# disk NAME vfat|fat16|exfat SIZE_MB: a new, empty image $WORK/NAME.img.
disk() {
    local image=$WORK/$1.img
    rm -f "$image"
    truncate -s "$3M" "$image"
    case $2 in
    vfat) mkfs.vfat -F 32 -n PLAYER "$image" >/dev/null ;;
    fat16) mkfs.vfat -F 16 -n PLAYER "$image" >/dev/null ;;
    exfat) mkfs.exfat -L PLAYER "$image" >/dev/null ;;
    esac
}

# put NAME: stdin as the guest's file /case/NAME (names, orders, expected lists).
put() {
    mkdir -p "$WORK/stage/case"
    cat >"$WORK/stage/case/$1"
}

# Starts the guest with the script on stdin; DISKS is a list of "NAME TYPE FOLDER" (the
# disk $WORK/NAME.img, mounted on FOLDER; the disk named state holds the journals); limits
# per disk in OPTIONS_<NAME> ("iops=N,bps=N"). Sets RUN (this run's number) and LOG.
guest_start() {
    runs=$((runs + 1))
    RUN=$runs
    LOG=$WORK/run$RUN.log
    mkdir -p "$WORK/stage/case"
    cat >"$WORK/stage/case/script"
    : >"$WORK/stage/case/disks"
    local specs=() name type folder options
    while read -r name type folder; do
        [ -n "$name" ] || continue
        local t=$type
        [ "$t" != fat16 ] || t=vfat
        echo "$name $t $folder" >>"$WORK/stage/case/disks"
        options=OPTIONS_$name
        specs+=("$name=$WORK/$name.img${!options:+,${!options}}")
    done <<<"$DISKS"
    (cd "$WORK/stage" && find case | cpio -o -H newc --quiet) >"$WORK/run$RUN.cpio"
    vm_start "$LOG" "$WORK/run$RUN.cpio" "${specs[@]}"
}

# Reads what the guest said: its failures, its kernel's file system errors (unless
# KERNEL_ERRORS_EXPECTED is set) and its blocks of output, kept as $WORK/out/NAME.
guest_results() {
    local status=$1
    if [ "$status" -eq 124 ]; then
        fail "run $RUN: timed out"
    fi
    if ! grep -q '^@@READY' "$LOG"; then
        fail "run $RUN: the guest did not come up (boot failed?)"
        tail -n 20 "$LOG" "$LOG.qemu"
        return
    fi
    grep '^@@FAIL' "$LOG" | sed "s/^@@FAIL /FAIL: run $RUN: /" || true
    failures=$((failures + $(grep -c '^@@FAIL [^ ]' "$LOG" || true)))
    if [ -z "${KERNEL_ERRORS_EXPECTED:-}" ] && grep -q '^@@KERNEL' "$LOG"; then
        fail "run $RUN: the kernel reported file system errors"
        grep '^@@KERNEL' "$LOG" | head -n 10
    fi
    mkdir -p "$WORK/out"
    /usr/bin/python3 - "$LOG" "$WORK/out" <<'PY'
import sys
block = None
for line in open(sys.argv[1], "rb"):
    line = line.rstrip(b"\r\n")
    if line.startswith(b"@@BEGIN "):
        block, text = line[8:].decode(), []
    elif line.startswith(b"@@END ") and block:
        open(sys.argv[2] + "/" + block, "wb").write(b"".join(t + b"\n" for t in text))
        block = None
    elif block and line.startswith(b"@@| "):
        text.append(line[4:])
PY
}

# guest [SECONDS]: one whole guest run with the script on stdin; its results read.
guest() {
    guest_start
    local status=0
    vm_wait "${1:-120}" || status=$?
    if [ "$status" -eq 0 ] && ! grep -q '^@@DONE' "$LOG"; then
        fail "run $RUN: the guest did not get to its end"
        tail -n 5 "$LOG"
    fi
    guest_results "$status"
}

# fsck_clean NAME [dirty|cut]: the file system of disk NAME is consistent. With "dirty" the
# volume's dirty flag may be set: the driver sets it at mount and, once a volume was cut
# off, keeps it set until fsck repairs the volume; fsck then checks a copy without it.
# "cut" is "dirty" for a disk pulled out or powered off mid-run, which may also have lost
# clusters.
fsck_clean() {
    local image=$WORK/$1.img out
    if [ "${2:-}" = dirty ] || [ "${2:-}" = cut ]; then
        cp --sparse=always "$image" "$WORK/fsck.img"
        image=$WORK/fsck.img
        "$BENCH/fatdir.py" clean "$image"
    fi
    if [ "$(head -c 11 "$image" | tail -c 8)" = "EXFAT   " ]; then
        out=$(fsck.exfat -n "$image" 2>&1) || { fail "fsck.exfat: $out"; return; }
    else
        out=$(fsck.vfat -n "$image" 2>&1) && return
        # A disk cut off while a folder grows (a cluster taken in the FAT, the link or entry
        # that names it not yet written) keeps lost clusters, and FAT32's advisory count of
        # free clusters is then wrong: nobody's data. Anything else fsck finds is a fault;
        # the files themselves are compared byte for byte apart from this.
        if [ "${2:-}" = cut ] &&
            ! grep -vqE '^(fsck\.fat |Reclaimed [0-9]+ unused clusters? |Free cluster summary wrong |  Auto-correcting|Leaving filesystem unchanged|$|'"$image"': )' <<<"$out"; then
            note "fsck.vfat: $(grep -E '^Reclaimed' <<<"$out")"
            return
        fi
        fail "fsck.vfat: $out"
    fi
}

# sums_equal NAME EXPECTED_FILE [SED_SCRIPT]: every file on disk NAME, byte for byte, as
# listed (from the guest's sums before a run), its path edited by SED_SCRIPT (sed -E) first;
# FAT images are read by mtools, exFAT ones by fatdir.py.
sums_equal() {
    local image=$WORK/$1.img actual=$WORK/sums.actual
    if [ "$(head -c 11 "$image" | tail -c 8)" = "EXFAT   " ]; then
        "$BENCH/fatdir.py" sums "$image" >"$actual"
    else
        rm -rf "$WORK/copy"
        mkdir "$WORK/copy"
        mcopy -s -n -i "$image" '::/*' "$WORK/copy/" 2>/dev/null || true
        (cd "$WORK/copy" && find . -type f -exec sha256sum {} +) >"$actual"
    fi
    sed -E "${3:-}" "$actual" | LC_ALL=C sort -k 2 >"$actual.sorted"
    mv "$actual.sorted" "$actual"
    LC_ALL=C sort -k 2 "$2" >"$actual.expected"
    if ! cmp -s "$actual.expected" "$actual"; then
        fail "files on $1 differ from $(basename "$2")"
        diff "$actual.expected" "$actual" | head -n 10 | sed 's/^/    /' || true
    fi
}

# slot_order NAME FOLDER: the folder's names in directory-slot order, read from the image.
slot_order() { "$BENCH/fatdir.py" ls "$WORK/$1.img" "$2"; }

# order_is NAME FOLDER EXPECTED_FILE: the folder's slot order on disk NAME is the expected
# one; on FAT fatsort must agree (it shows names that have only a short entry in capitals).
order_is() {
    local actual=$WORK/order.actual
    slot_order "$1" "$2" >"$actual"
    if ! cmp -s "$3" "$actual"; then
        fail "slot order of $2 on $1 is not $(basename "$3")"
        diff "$3" "$actual" | head -n 12 | sed 's/^/    /' || true
        return
    fi
    if [ "$(head -c 11 "$WORK/$1.img" | tail -c 8)" != "EXFAT   " ]; then
        local want=${2#/}
        want=/${want%/}/
        [ "$want" != // ] || want=/
        fatsort -l "$WORK/$1.img" 2>/dev/null | awk -v want="$want" '
            $0 == want { on = 1; next } on && $0 == "" { exit } on { print toupper($0) }' \
            >"$actual.fatsort"
        tr '[:lower:]' '[:upper:]' <"$3" >"$actual.upper"
        cmp -s "$actual.upper" "$actual.fatsort" ||
            fail "fatsort's order of $2 on $1 is not $(basename "$3")"
    fi
}

# no_temporaries NAME: nothing an interrupted run leaves behind, anywhere on the disk.
no_temporaries() {
    local left
    left=$("$BENCH/fatdir.py" paths "$WORK/$1.img" |
        grep -i -E '/(QZ_TEMP1|QZ_TEMP2)/?$|\.qz_(temp|copy)$' || true)
    [ -z "$left" ] || fail "left behind on $1: $left"
}

# order NAME < NAMES: an order file for the guest, with NAME.shown, the names as tralvo-cli
# lists them.
order() {
    put "$1"
    "$BENCH/names.py" escaped <"$WORK/stage/case/$1" | put "$1.shown"
}

# expected BEFORE ORDER: the directory order a run should leave.
expected() { "$BENCH/names.py" expected "$1" "$2"; }

# copy_in NAME FOLDER < NAMES: files of those names (each its name and random bytes, SIZE
# of them where that is set) written
# into FOLDER of FAT disk NAME by mtools, in the order given; their sums added to
# $WORK/out/sums. Much quicker than the guest for big folders: under TCG each file the guest
# makes in a folder of a thousand costs a tenth of a second.
copy_in() {
    local files=$WORK/files/$2 name n=0
    mkdir -p "$files" "$WORK/out"
    local names=()
    while IFS= read -r name; do
        n=$((n + 1))
        { echo "$name"; head -c "${SIZE:-$(((n * 2731) % 2000 + 100))}" /dev/urandom; } >"$files/$name"
        names+=("$files/$name")
    done
    mmd -D s -i "$WORK/$1.img" "::/$2" 2>/dev/null || true
    mcopy -i "$WORK/$1.img" "${names[@]}" "::/$2/"
    (cd "$WORK/files" && find . -type f -exec sha256sum {} + && cat "$WORK/out/sums" 2>/dev/null || true) |
        LC_ALL=C sort -u -k 2 >"$WORK/sums.new"
    mv "$WORK/sums.new" "$WORK/out/sums"
}

# recovered_after_cut FOLDER CUT: the guest's lines that put FOLDER back together after power
# cut CUT: recover exits 0, nothing temporary is left, every file is as /case/sums says.
recovered_after_cut() {
    cat <<GUEST
at="after power cut $2"
status=0
tralvo-cli recover $1 >/tmp/recovered 2>&1 || status=\$?
[ \$status -eq 0 ] || fail "\$at: recover exited \$status: \$(head -c 400 /tmp/recovered)"
nothing_temporary $1 "\$at"
sums /player >/tmp/after
same /case/sums /tmp/after "\$at: files after recover"
GUEST
}

# power_cuts TYPE FOLDER AT_LEAST DELAY...: one boot per delay, each recovering after the cut
# before it, then starting arrange --type TYPE with /case/order.N (N counting from 1) and
# killing QEMU DELAY seconds later. Fails unless at least AT_LEAST cuts came while arrange ran.
power_cuts() {
    local type=$1 folder=$2 least=$3 cut=0 midway=0 delay
    shift 3
    for delay in "$@"; do
        cut=$((cut + 1))
        put sums <"$WORK/out/sums"
        guest_start < <(
            [ $cut -eq 1 ] || recovered_after_cut "$folder" $((cut - 1))
            echo "tralvo-cli arrange --type $type --order /case/order.$cut $folder >/dev/null 2>&1 &"
            printf 'mark started\nwait\nmark finished\n'
        )
        if vm_wait_for "$LOG" "^@@MARK started" 120; then
            sleep "$delay"
            kill -KILL "$VM_PID" 2>/dev/null || true
            wait "$VM_PID" 2>/dev/null || true
            grep -q '^@@MARK finished' "$LOG" || midway=$((midway + 1))
        else
            fail "run $cut did not start"
            vm_wait 10 || true
        fi
        guest_results 0
    done
    note "runs cut off midway: $midway of $cut"
    [ "$midway" -ge "$least" ] || fail "only $midway of $cut power cuts came while arrange ran"
    put sums <"$WORK/out/sums"
}
