#!/usr/bin/env bash
# tralvo-cli-killable killed with SIGKILL right after its k-th change, for k across every
# phase of a directory-order run and of a file-name run, on the kernel's vfat or exfat; then
# tralvo-cli recover (see kill_once in guest/lib.sh for what is checked after each k). The
# image is checked on the host at the end.
#
# Every name takes two FAT slots, so that the holes a run leaves fit any entry and the
# order after arranging again depends on recover alone.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"

{
    for i in $(seq -w 1 20); do
        echo "file Track $i.mp3"
        [ "$i" != 10 ] || echo "file playlist.m3u"
    done
    echo "file notes.txt"
    echo "folder Extras"
    echo "file Extras/readme.txt"
} | put spec
for i in 0 1 2 3 4; do
    sed -n 's/^file \([^/]*\.mp3\)$/\1/p' "$WORK/stage/case/spec" | "$BENCH/names.py" shuffle "$i" |
        order "order.$i"
done

guest 400 <<'EOF'
populate /player/MUSIC <spec
emit sums sums /player
kill_across 0 /player/MUSIC 4
entries /player/MUSIC >/tmp/last
emit last cat /tmp/last
kill_across 1 /player/MUSIC 3
EOF
fsck_clean player
no_temporaries player
# The last file-name run left its prefixes; the contents are all there.
sums_equal player "$WORK/out/sums" 's#/MUSIC/\{[0-9]+\}#/MUSIC/#'
killed=$(grep -c '^@@KILLED' "$LOG" || true)
for t in 0 1; do
    note "type $t killed after changes $(sed -n "s/^@@KILLED $t killed after change \([0-9]*\).*/\1/p" "$LOG" | tr -s '\r\n' ' ')"
done
[ "$killed" -ge 20 ] || fail "only $killed runs were killed"
finish
