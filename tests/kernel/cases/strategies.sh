#!/usr/bin/env bash
# The three strategies and their undo on the kernel's vfat or exfat: a folder each for
# directory order (type 0), file names (type 1) and creation times (type 2), arranged in one
# guest run and undone in the next; the journals live on a disk of their own in between. Each
# time the image shows what the player goes by: the slot order, the names sorted, the
# creation times sorted.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
disk state fat16 16
DISKS="player $type /player
state vfat /state"

tracks=(Alpha.mp3 "b track.mp3" "Çedille.mp3" DELTA.MP3 "echo five.mp3")
for folder in DIR NAMES TIMES; do
    {
        echo "file ${tracks[0]}"
        echo "file notes.txt"
        printf 'file %s\n' "${tracks[@]:1}"
        echo "folder Art"
        echo "file Art/cover.jpg"
    } | put "$folder.spec"
done
printf '%s\n' "${tracks[@]}" | "$BENCH/names.py" shuffle 7 | order order

guest 300 <<'EOF'
n=0
for folder in DIR NAMES TIMES; do
    populate /player/$folder <$folder.spec
done
emit sums sums /player
for folder in DIR NAMES TIMES; do
    tralvo-cli list --type $n /player/$folder | shown >/tmp/before
    emit before.$folder cat /tmp/before
    entries /player/$folder >/tmp/entries
    emit entries.$folder cat /tmp/entries
    arranged $n /player/$folder /case/order
    [ $n -ne 0 ] || in_directory_order /player/$folder /tmp/entries /case/order
    n=$((n + 1))
done
EOF
fsck_clean player
no_temporaries player
# Type 1: the player sorts the names; the old content under each new name.
sums_equal player "$WORK/out/sums" 's#/NAMES/\{[0-9]+\}#/NAMES/#'
slot_order player /NAMES | grep -E '\.(mp3|MP3)$' | LC_ALL=C sort | sed -E 's/^\{[0-9]+\}//' \
    >"$WORK/names.sorted"
cmp -s "$WORK/stage/case/order" "$WORK/names.sorted" ||
    fail "type 1: the names sorted are not in the arranged order: $(tr '\n' '|' <"$WORK/names.sorted")"
grep -q -E '^\{[0-9]+\}' <(slot_order player /NAMES) || fail "type 1: no name has a {N} prefix"
# Type 2: the player sorts the creation times.
creation_order() {
    "$BENCH/fatdir.py" times "$WORK/player.img" "$1" | grep -E '\.(mp3|MP3)$' | LC_ALL=C sort |
        cut -f 2
}
creation_order /TIMES >"$WORK/times.sorted"
cmp -s "$WORK/stage/case/order" "$WORK/times.sorted" ||
    fail "type 2: the creation times are not in the arranged order: $(tr '\n' '|' <"$WORK/times.sorted")"
expected "$WORK/out/entries.DIR" "$WORK/stage/case/order" >"$WORK/expected"
order_is player /DIR "$WORK/expected"

for folder in DIR NAMES TIMES; do
    put "before.$folder" <"$WORK/out/before.$folder"
done
guest 300 <<'EOF'
n=0
for folder in DIR NAMES TIMES; do
    status=0
    tralvo-cli undo --type $n /player/$folder >/tmp/undone 2>/tmp/undone.err || status=$?
    [ $status -eq 0 ] || fail "undo $folder exited $status: $(head -c 600 /tmp/undone.err)"
    shown </tmp/undone >/tmp/undone.shown
    same before.$folder /tmp/undone.shown "undo $folder printed another order than before the run"
    tralvo-cli list --type $n /player/$folder | shown >/tmp/listed
    same before.$folder /tmp/listed "list --type $n $folder after undo"
    n=$((n + 1))
done
EOF
fsck_clean player
no_temporaries player
sums_equal player "$WORK/out/sums"
"$BENCH/names.py" escaped < <(creation_order /TIMES) >"$WORK/times.undone"
cmp -s "$WORK/out/before.TIMES" "$WORK/times.undone" ||
    fail "type 2 undo: the creation times are not in the old order: $(tr '\n' '|' <"$WORK/times.undone")"
"$BENCH/names.py" escaped < <(slot_order player /DIR | grep -E '\.(mp3|MP3)$') >"$WORK/dir.undone"
cmp -s "$WORK/out/before.DIR" "$WORK/dir.undone" ||
    fail "type 0 undo: the slots are not in the old order: $(tr '\n' '|' <"$WORK/dir.undone")"
finish
