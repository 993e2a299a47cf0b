# shellcheck shell=bash
# What the tests that drive the real program through its window on a FAT32 image mounted with
# fusefat share: the program and its check over AT-SPI, the tools they need, the image's work
# folder and its mount. Sourced with set -euo pipefail in force.

# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer shorter than the length it
# gives, which the sanitizer's strndup wrapper reads in full; the X keyboard set-up is not ours.
# The program ends while Qt's D-Bus threads (busy here with the accessibility bus) may still
# hold what they set up; leaks of our own are checked by the unit tests under the same sanitizer.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0:detect_leaks=0"

fail() { echo "$*" >&2; exit 1; }

# On the virtual display: the program from BIN with its accessibility on, driven by CHECK
# (a Python script given the catalogue and ARGUMENTS), which ends with the Exit button.
run_program_and_check() { # BIN CHECK ARGUMENTS...
    local bin=$1 check=$2
    shift 2
    unset QT_QPA_PLATFORM
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    "$bin/tralvo" &
    program_pid=$!
    trap 'kill $program_pid 2>/dev/null || true' EXIT
    # The check imports its helpers from the source tree, which it must leave as it is.
    PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$check" "$bin/Tralvo.lng" "$@"
    # The program goes without asking anything.
    for _ in $(seq 300); do kill -0 $program_pid 2>/dev/null || break; sleep 0.1; done
    kill -0 $program_pid 2>/dev/null && fail "the program did not end after Exit"
    wait $program_pid
}

# Skips the test (exit 0 with SKIP) where a tool, pyatspi or FUSE is missing.
need_tools() { # TOOL...
    for tool in Xvfb dbus-run-session fusefat mkfs.vfat fsck.vfat "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 0; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: pyatspi is missing"; exit 0; }
    [ -e /dev/fuse ] || { echo "SKIP: FUSE is missing here"; exit 0; }
}

# A work folder with an empty 64 MB FAT32 image labelled PLAYER ($image), its mount point
# ($mnt) and a program folder ($work/program); removed when the test passed ($passed=1), kept
# but for the program otherwise, for whoever looks into it.
make_player_image() { # NAME
    work=$(mktemp -d "/tmp/tralvo-$1-XXXXXX")
    mnt="$work/player"
    image="$work/player.img"
    fuse_pid=""
    passed=0
    trap remove_work EXIT
    mkdir -p "$mnt" "$work/program" "$work/runtime"
    chmod 700 "$work/runtime"
    truncate -s 64M "$image"
    mkfs.vfat -F 32 -n PLAYER "$image" >/dev/null
}

mount_image() {
    fusefat -f -o rw+ "$image" "$mnt" >/dev/null 2>&1 &
    fuse_pid=$!
    for _ in $(seq 100); do mountpoint -q "$mnt" && break; sleep 0.1; done
    mountpoint -q "$mnt" || fail "fusefat did not mount the image"
}

unmount() {
    if mountpoint -q "$mnt" 2>/dev/null; then fusermount -u "$mnt" 2>/dev/null || true; fi
    # fusefat finishes writing after fusermount returns.
    if [ -n "$fuse_pid" ]; then wait "$fuse_pid" 2>/dev/null || true; fi
    fuse_pid=""
}

remove_work() {
    unmount
    if [ "$passed" = 1 ]; then
        rm -rf "$work"
    else
        rm -rf "$work/program"
        echo "left for a look: $work" >&2
    fi
}

fatdir() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../kernel/fatdir.py" "$@"; }
