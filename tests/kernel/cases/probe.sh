#!/usr/bin/env bash
# The order probe on the kernel's vfat or exfat: tralvo-cli probe writes TRALVO_PROBE with the
# build's sounds, and on the image its directory order, name order and creation order (each
# track in its own 2-second step, as players that read only that field see it) each start
# with another word and together put every word at every place once; tralvo-cli list shows
# the three orders too. Then "probe --heard two" stores the file-name type and leaves neither
# the probe folder nor the folder it was made in; fsck is clean after both runs.
# shellcheck source=tests/kernel/lib.sh
source "$(dirname "$0")/../lib.sh"
type=${1:-vfat}
disk player "$type" 64
DISKS="player $type /player"

# A program folder of the case's own: the build's catalogue and sounds, and its settings.
: "${TRALVO_KERNEL_BIN:?}"
mkdir -p "$WORK/stage/case/program"
cp "$TRALVO_KERNEL_BIN/Tralvo.lng" "$WORK/stage/case/program/"
cp -r "$TRALVO_KERNEL_BIN/probe" "$WORK/stage/case/program/"

# The words of the tracks, and the orders the players of each type play them in.
word() {
    case $1 in
    C.MP3) echo one ;;
    A.MP3) echo two ;;
    B.MP3) echo three ;;
    *) echo "?$1" ;;
    esac
}
words() { while read -r name; do word "$name"; done | paste -sd' ' -; }
declare -A expected=([directory]="one two three" [names]="two three one"
                     [creation]="three one two")
declare -A type_of=([directory]=0 [names]=1 [creation]=2)

guest 120 <<'EOF2'
tralvo-cli probe --dir /case/program /player >/tmp/probe 2>&1 || fail "probe exited $?: $(cat /tmp/probe)"
emit entries entries /player
for t in 0 1 2; do
    emit "list.$t" sh -c "tralvo-cli list --type $t /player/TRALVO_PROBE 2>/dev/null | cut -f 3 | sed 's|.*/||'"
done
EOF2
fsck_clean player

"$BENCH/fatdir.py" ls "$WORK/player.img" /TRALVO_PROBE | words >"$WORK/order.directory"
"$BENCH/fatdir.py" ls "$WORK/player.img" /TRALVO_PROBE | LC_ALL=C sort | words >"$WORK/order.names"
"$BENCH/fatdir.py" times "$WORK/player.img" /TRALVO_PROBE | LC_ALL=C sort >"$WORK/times"
cut -f 2 "$WORK/times" | words >"$WORK/order.creation"
firsts=
for order in directory names creation; do
    actual=$(cat "$WORK/order.$order")
    [ "$actual" = "${expected[$order]}" ] ||
        fail "the $order order on the image is \"$actual\", not \"${expected[$order]}\""
    firsts="$firsts ${actual%% *}"
    listed=$(words <"$WORK/out/list.${type_of[$order]}")
    [ "$listed" = "${expected[$order]}" ] ||
        fail "list --type ${type_of[$order]} shows \"$listed\", not \"${expected[$order]}\""
done
[ "$(tr ' ' '\n' <<<"$firsts" | sed '/^$/d' | sort -u | wc -l)" -eq 3 ] ||
    fail "the orders do not each start with another word:$firsts"
# The 2-second field of each creation time (its seconds made even), in creation order, rises.
steps=$(awk -F '\t' '{ split($1, t, /[ :.]/); printf "%s %s:%s:%02d\n", t[1], t[2], t[3], t[4] - t[4] % 2 }' \
    "$WORK/times")
[ "$(uniq <<<"$steps" | wc -l)" -eq 3 ] ||
    fail "the tracks share 2-second steps: $(tr '\n' '|' <"$WORK/times")"
note "creation times: $(cut -f 1 "$WORK/times" | paste -sd' ' -)"
grep -qx TRALVO_PROBE "$WORK/out/entries" || fail "no TRALVO_PROBE in /player: $(cat "$WORK/out/entries")"
! grep -q 'TRALVO_PROBE.TMP' "$WORK/out/entries" || fail "the folder the probe was made in is left"

guest 120 <<'EOF2'
out=$(tralvo-cli probe --dir /case/program --heard two /player 2>&1) || fail "probe --heard two exited $?: $out"
[ ! -e /player/TRALVO_PROBE ] || fail "TRALVO_PROBE is left after --heard"
[ ! -e /player/TRALVO_PROBE.TMP ] || fail "TRALVO_PROBE.TMP is left after --heard"
tralvo-cli settings --dir /case/program | grep -qx PlayerType=1 ||
    fail "the settings do not hold type 1: $(tralvo-cli settings --dir /case/program | grep PlayerType)"
# The type is the probed player's: remembered under its volume's serial.
tralvo-cli settings --dir /case/program | awk -F '\t' '/^Player=[0-9A-F]{4}-[0-9A-F]{4}\t/ && $3 == 1 { found = 1 } END { exit !found }' ||
    fail "the player is not remembered with type 1: $(tralvo-cli settings --dir /case/program | grep Player)"
EOF2
fsck_clean player
left=$("$BENCH/fatdir.py" paths "$WORK/player.img" | grep -i 'TRALVO_PROBE' || true)
[ -z "$left" ] || fail "left on the image: $left"
finish
