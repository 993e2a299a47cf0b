#!/usr/bin/env bash
# The player mounted again at another folder after a run was cut off, as a desktop mounts a
# stick plugged in again while its old mount point is still taken (PLAYER1, PLAYER2...):
# arrange is killed in both passes of file-name runs and midway through directory-order runs,
# the volume is unmounted and mounted at a new folder, and recover there must find the run's
# journal and put every track back under its own name, byte for byte, naming each rename or
# move back in its output, and then drop the journal. The tracks' title tags are unlike their
# names: a recovery without the journal names the files after their titles, which a last run
# with the journals deleted shows, so a journal that was not found cannot pass. The image is
# checked on the host at the end.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /media/user/PLAYER"

# Three tracks a file-name player shows alike: it does not show the "{N}" in front.
names=(
    "Intro.mp3" "{3}Intro.mp3" "{12}Intro.mp3" "01 Morning.mp3" "02 Noon.mp3"
    "Evening (live).mp3" "track 7.mp3" "Night Walk.mp3" "a.mp3" "B side.mp3"
    "Outro - Reprise.mp3" "zz last one.mp3"
)
printf '%s\n' "${names[@]}" >"$WORK/tracks"
mkdir -p "$WORK/stage/case/tracks"
# Each track: an ID3v2.3 tag whose title is none of the names, an MPEG frame header and
# bytes of a size of its own.
/usr/bin/python3 - "$WORK/tracks" "$WORK/stage/case/tracks" <<'PY'
import os, struct, sys
for n, line in enumerate(open(sys.argv[1]).read().splitlines(), 1):
    title = b"\0Song number %d of the evening" % n
    frame = b"TIT2" + struct.pack(">I", len(title)) + b"\0\0" + title
    body = frame + b"\0" * 64
    size = bytes((len(body) >> s) & 0x7F for s in (21, 14, 7, 0))
    audio = b"\xFF\xFB\x90\x00" + line.encode() + os.urandom((n * 2731) % 20000 + 400)
    with open(os.path.join(sys.argv[2], line), "wb") as out:
        out.write(b"ID3\x03\x00\x00" + size + body + audio)
PY
sed 's/^{[0-9]*}//' "$WORK/tracks" | "$BENCH/names.py" shuffle 1 | put order.1
"$BENCH/names.py" shuffle 2 <"$WORK/tracks" | put order.0

guest 200 < <(
    echo "type=$type"
    cat <<'EOF'
mp=/media/user/PLAYER
moves=0
journals() { find /state -name '*.journal' 2>/dev/null; }

# Unmounted and mounted again at a folder it was never mounted at.
remount() {
    umount "$mp" || fail "umount $mp"
    moves=$((moves + 1))
    mp=/media/user/PLAYER$moves
    mount_disk player "$type" "$mp" || fail "mount at $mp"
}

# killed TYPE K ORDER: arrange killed after its K-th change, then the volume mounted at the
# next mount point; false when arrange was not killed.
killed() {
    local status=0
    TRALVO_TEST_KILL_AFTER=$2 tralvo-cli-killable arrange --type "$1" --order "$3" "$mp/MUSIC" \
        >/dev/null 2>/tmp/killed.err || status=$?
    if [ $status -ne 137 ]; then
        fail "$at: arrange exited $status: $(head -n 2 /tmp/killed.err | tr '\n' ' ')"
        return 1
    fi
    [ -n "$(journals)" ] || fail "$at: no journal in the state folder after the kill"
    remount
    entries "$mp/MUSIC" >/tmp/left
}

# cycle TYPE K ORDER: killed, then recovered at the new mount point; a cycle that fails
# starts the next one afresh, so that each shows its own faults.
cycle() {
    at="type $1 killed after change $2"
    local status=0 failed
    failed=$(failures)
    entries "$mp/MUSIC" >/tmp/names
    sums "$mp/MUSIC" >/tmp/before
    killed "$@" || { fresh; return; }
    tralvo-cli recover "$mp/MUSIC" >/tmp/recovered 2>/tmp/recovered.err || status=$?
    [ $status -eq 0 ] ||
        fail "$at: recover at $mp exited $status: $(cat /tmp/recovered /tmp/recovered.err | head -c 400 | tr '\n' ' ')"
    nothing_temporary "$mp/MUSIC" "$at"
    sums "$mp/MUSIC" >/tmp/after
    same /tmp/before /tmp/after "$at: files after recover at $mp"
    # A journal not found stays behind: for a directory-order run, whose tracks come back from
    # the temporary folders under their names all the same, only that tells.
    [ -z "$(journals)" ] || fail "$at: journal left after recover at $mp: $(journals)"
    # Recover itself gave back each name the run had taken away.
    grep -v -x -F -f /tmp/left /tmp/names | sort >/tmp/taken
    awk -F '\t' '$1 == "renamed" || $1 == "moved" { print $3 }' /tmp/recovered | sort >/tmp/given
    same /tmp/taken /tmp/given "$at: names recover gave back at $mp"
    echo "@@KILLED $1 $2 $mp"
    [ "$(failures)" = "$failed" ] || fresh
}

# fail as ever, and counted.
fail() { echo "@@FAIL $*" | tee -a /tmp/failures; }
failures() { cat /tmp/failures 2>/dev/null | wc -l; }

fresh() {
    rm -rf "$mp/MUSIC" /state/tralvo
    mkdir "$mp/MUSIC"
    cp /case/tracks/* "$mp/MUSIC/"
}

fresh
emit sums sums "$mp"
# 12 tracks: a file-name run makes changes 1-12 in its first pass, 13-24 in its second.
for k in 1 6 12 13 18 23; do cycle 1 $k /case/order.1; done
# A directory-order run: into QZ_TEMP1 by change 13, on through QZ_TEMP2 or straight back.
for k in 8 20; do cycle 0 $k /case/order.0; done

# Without its journal recover names files after their titles: not their names.
mkdir "$mp/CHECK"
cp /case/tracks/* "$mp/CHECK/"
entries "$mp/CHECK" >/tmp/names
sums "$mp/CHECK" >/tmp/before
at="type 1 killed after change 12, journal deleted"
if TRALVO_TEST_KILL_AFTER=12 tralvo-cli-killable arrange --type 1 --order /case/order.1 \
    "$mp/CHECK" >/dev/null 2>&1; then
    fail "$at: arrange was not killed"
fi
remount
[ -n "$(journals)" ] || fail "$at: no journal in the state folder after the kill"
rm -rf /state/tralvo
status=0
tralvo-cli recover "$mp/CHECK" >/tmp/recovered 2>&1 || status=$?
sums "$mp/CHECK" >/tmp/after
! cmp -s /tmp/before /tmp/after || fail "$at: the tracks got their own names back all the same"
awk -F '\t' '$1 == "renamed" { print $3 }' /tmp/recovered >/tmp/given
! grep -q -x -F -f /tmp/names /tmp/given || fail "$at: recover gave back an original name"
echo "@@NO_JOURNAL $status $(grep -c . /tmp/given)"
rm -rf "$mp/CHECK"
EOF
)
fsck_clean player
no_temporaries player
sums_equal player "$WORK/out/sums"
killed=$(grep -c '^@@KILLED' "$LOG" || true)
note "recovered at $(sed -n 's/^@@KILLED [0-9]* [0-9]* //p' "$LOG" | tr -d '\r' | tr '\n' ' ')"
note "without the journal: recover exited $(sed -n 's/^@@NO_JOURNAL \([0-9]*\) \([0-9]*\).*/\1, renamed \2 tracks after their titles/p' "$LOG")"
[ "$killed" -eq 8 ] || fail "only $killed of 8 killed runs were recovered"
finish
