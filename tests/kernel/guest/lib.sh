# The guest's helpers for case scripts (busybox sh). Lines for the host start with @@:
# @@FAIL when a check fails, @@BEGIN NAME / @@| line / @@END NAME around a block of output
# the host keeps as a file, @@MARK NAME when something the host waits for happens.

fail() { echo "@@FAIL $*"; }
mark() { echo "@@MARK $*"; }

# emit NAME COMMAND...: the command's output, as the host file NAME.
emit() {
    local name=$1
    shift
    echo "@@BEGIN $name"
    "$@" 2>&1 | sed 's/^/@@| /'
    echo "@@END $name"
}

# The block device whose virtio serial is $1 (the disk's name on the host), waiting a little
# for it to appear, as it does some time after being plugged in.
device_of() {
    local tries=0 block
    while [ $tries -lt 100 ]; do
        for block in /sys/block/vd*; do
            if [ -f "$block/serial" ] && [ "$(cat "$block/serial")" = "$1" ]; then
                echo "/dev/${block##*/}"
                return 0
            fi
        done
        tries=$((tries + 1))
        usleep 100000
    done
    return 1
}

# As desktop automounters mount a player.
mount_disk() {
    local device options
    device=$(device_of "$1") || return 1
    case $2 in
    vfat) options=shortname=mixed,utf8,flush ;;
    exfat) options=iocharset=utf8 ;;
    *) return 1 ;;
    esac
    mkdir -p "$3"
    mount -t "$2" -o "$options" "$device" "$3"
}

# A folder's entries in the order the file system gives them (directory-entry order on FAT).
entries() { find "$1" -mindepth 1 -maxdepth 1 | sed 's|.*/||'; }

# Every file below a folder with its checksum, by path.
sums() { (cd "$1" && find . -type f -exec sha256sum {} + | sort -k 2); }

# What an interrupted run leaves behind.
temporaries() {
    find "$1" \( -iname QZ_TEMP1 -o -iname QZ_TEMP2 -o -iname '*.qz_temp' -o -iname '*.qz_copy' \)
}

# The names a list shows (second field, escaped as tralvo-cli writes them).
shown() { cut -f 2; }

# same EXPECTED_FILE ACTUAL_FILE WHAT: fails with the difference when they differ.
same() {
    if ! cmp -s "$1" "$2"; then
        fail "$3"
        diff "$1" "$2" | head -n 20 | sed 's/^/@@FAIL   /'
        return 1
    fi
}

# nothing_temporary FOLDER WHAT
nothing_temporary() {
    local left
    left=$(temporaries "$1")
    [ -z "$left" ] || fail "$2: left behind: $(echo "$left" | tr '\n' ' ')"
}

# populate FOLDER < SPEC: lines "file NAME", "folder NAME" and "delete NAME", in turn. Each
# file holds its name and random bytes, a size of its own, so contents tell files apart.
populate() {
    local line what name n=0
    mkdir -p "$1"
    while IFS= read -r line; do
        what=${line%% *}
        name=${line#* }
        case $what in
        file)
            n=$((n + 1))
            { echo "$name"; head -c $(((n * 2731) % 20000 + 100)) /dev/urandom; } >"$1/$name" ||
                fail "cannot write $1/$name"
            ;;
        folder) mkdir -p "$1/$name" ;;
        delete) rm -rf "${1:?}/$name" ;;
        esac
    done
}

# arranged TYPE FOLDER ORDER [TOOL]: arrange --order ORDER succeeds and prints the order
# (ORDER.shown, as list writes names), and list shows it too (unless LIST_AFTER=no: in a
# folder of a thousand, list takes seconds under TCG).
arranged() {
    local status=0
    ${4:-tralvo-cli} arrange --type "$1" --order "$3" "$2" >/tmp/arranged 2>/tmp/arranged.err ||
        status=$?
    if [ $status -ne 0 ]; then
        fail "arrange --type $1 $2 exited $status: $(head -c 600 /tmp/arranged.err)"
    elif [ -s /tmp/arranged.err ]; then
        fail "arrange --type $1 $2 said: $(head -c 600 /tmp/arranged.err)"
    fi
    shown </tmp/arranged >/tmp/arranged.shown
    same "$3.shown" /tmp/arranged.shown "arrange --type $1 $2 printed another order"
    [ "${LIST_AFTER:-}" != no ] || return 0
    tralvo-cli list --type "$1" "$2" 2>/dev/null | shown >/tmp/listed
    same "$3.shown" /tmp/listed "list --type $1 $2 after arrange shows another order"
}

# in_directory_order FOLDER BEFORE ORDER: the folder's entries are those of BEFORE that are
# no tracks, in their order there, then the tracks of ORDER.
in_directory_order() {
    grep -v -x -F -f "$3" "$2" >/tmp/expected
    cat "$3" >>/tmp/expected
    entries "$1" >/tmp/entries
    same /tmp/expected /tmp/entries "entries of $1 are not in the arranged order"
}

# kill_once TYPE FOLDER K: arrange (order /case/order.K%5) killed right after its K-th
# change, then checked as after_kill does. False when the run got to its end before change K.
kill_once() {
    local status=0
    sums "$2" >/tmp/before
    TRALVO_TEST_KILL_AFTER=$3 tralvo-cli-killable arrange --type "$1" \
        --order /case/order.$(($3 % 5)) "$2" >/dev/null 2>/tmp/killed.err || status=$?
    after_kill "$1" "$2" "killed after change $3" /case/order.$(($3 % 5)) $status
}

# kill_at TYPE FOLDER SECONDS N: arrange (order /case/order.N) killed with SIGKILL from outside
# that long after it started, wherever it is (in the middle of copying a file, say), then
# checked as after_kill does. False when the run got to its end first.
kill_at() {
    local status=0 pid
    sums "$2" >/tmp/before
    tralvo-cli arrange --type "$1" --order /case/order.$4 "$2" >/dev/null 2>/tmp/killed.err &
    pid=$!
    sleep "$3"
    kill -KILL $pid 2>/dev/null
    wait $pid || status=$?
    after_kill "$1" "$2" "killed after $3 s" /case/order.$4 $status
}

# after_kill TYPE FOLDER WHEN ORDER STATUS: when the run was killed (STATUS 137), recover:
# every file back byte for byte under its own name (or, for a run whose last change was made,
# a run that stays done: the same contents), nothing temporary left, and arranging again
# gives the order (unless REARRANGE=no). False when the run was not killed.
after_kill() {
    local at="type $1, $3" status=0
    if [ "$5" -ne 137 ]; then
        [ "$5" -eq 0 ] || fail "$at: arrange exited $5: $(head -c 400 /tmp/killed.err)"
        return 1
    fi
    tralvo-cli recover "$2" >/tmp/recovered 2>/tmp/recovered.err || status=$?
    [ $status -eq 0 ] ||
        fail "$at: recover exited $status: $(cat /tmp/recovered /tmp/recovered.err | head -c 400)"
    nothing_temporary "$2" "$at"
    sums "$2" >/tmp/after
    if [ "$1" -ne 0 ] && [ ! -s /tmp/recovered ] && ! cmp -s /tmp/before /tmp/after; then
        cut -d ' ' -f 1 /tmp/before | sort >/tmp/before.contents
        cut -d ' ' -f 1 /tmp/after | sort >/tmp/after.contents
        same /tmp/before.contents /tmp/after.contents "$at: contents after recover"
    else
        same /tmp/before /tmp/after "$at: files after recover"
    fi
    echo "@@KILLED $1 $3"
    [ "${REARRANGE:-}" != no ] || return 0
    entries "$2" >/tmp/entries
    arranged "$1" "$2" "$4"
    [ "$1" -ne 0 ] || in_directory_order "$2" /tmp/entries "$4"
}

# kill_across TYPE FOLDER STEP: kill_once after changes 1, 2, 3 and then every STEP-th, until
# a run gets to its end, and then after each of the run's last three changes.
kill_across() {
    local k=1 killed=0 n found=0
    while kill_once "$1" "$2" $k; do
        killed=$k
        if [ $k -lt 3 ]; then k=$((k + 1)); else k=$((k + $3)); fi
        [ $k -le 500 ] || { fail "type $1: still killed after change 500"; return; }
    done
    n=$((k - 1))
    while [ $n -gt "$killed" ] && [ $found -lt 3 ]; do
        ! kill_once "$1" "$2" $n || found=$((found + 1))
        n=$((n - 1))
    done
    [ $killed -gt 0 ] || fail "type $1: arrange was never killed"
}

# gone SERIAL: waits (up to 20 s) until the disk of that serial has been taken away.
gone() {
    local tries=0 block found
    while [ $tries -lt 200 ]; do
        found=
        for block in /sys/block/vd*; do
            [ ! -f "$block/serial" ] || [ "$(cat "$block/serial")" != "$1" ] || found=1
        done
        [ -n "$found" ] || return 0
        tries=$((tries + 1))
        usleep 100000
    done
    return 1
}
