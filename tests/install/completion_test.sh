#!/usr/bin/env bash
# tralvo-cli's bash completion, sourced as bash sources it, asked what it offers for typical
# command lines.
# Usage: completion_test.sh COMPLETION_FILE
set -uo pipefail
completion=${1:?usage: completion_test.sh COMPLETION_FILE}
# shellcheck source=/dev/null
source "$completion" || { echo "FAIL: $completion does not load"; exit 1; }
[[ $(complete -p tralvo-cli 2>/dev/null) == *"-F _tralvo_cli tralvo-cli"* ]] ||
    { echo "FAIL: no completion registered for tralvo-cli"; exit 1; }

work=$(mktemp -d /tmp/tralvo-completion-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Album One" "$work/Audiobooks"
touch "$work/song.mp3" "$work/order.txt" "$work/Album One/track.mp3"

failures=0
# The command line as typed, up to the cursor; the words bash would split it into.
offers() {
    local line=$1
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tralvo_cli tralvo-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ' -
}
expect() { # line expected
    local got
    got=$(offers "$1")
    if [[ $got != "$2" ]]; then
        echo "FAIL: '$1' offers '$got', expected '$2'"
        failures=$((failures + 1))
    fi
}

# The commands.
expect 'tralvo-cli ar' 'arrange'
expect 'tralvo-cli ' '--version arrange clean help id3v2 lang list probe recover send settings tags undo'
expect 'tralvo-cli --v' '--version'
expect 'tralvo-cli help ' ''
expect 'tralvo-cli frobnicate --' ''

# Each command's options, each once, and only one way to order.
expect 'tralvo-cli settings --' '--dir'
expect 'tralvo-cli list --' '--m3u8 --only83 --type'
expect 'tralvo-cli recover --' '--dir --only83 --type'
expect 'tralvo-cli undo --type 2 --' '--dir --only83'
expect 'tralvo-cli arrange --' '--dir --dry-run --only83 --order --playlist --reverse-sort --shuffle --sort --type'
expect 'tralvo-cli arrange --dry-run --only83 --' '--dir --order --playlist --reverse-sort --shuffle --sort --type'
expect 'tralvo-cli arrange --shuffle --' '--dir --dry-run --only83 --type'
expect 'tralvo-cli arrange --playlist a.m3u --' '--dir --dry-run --only83 --type'
expect 'tralvo-cli arrange --sort 1,2 --d' '--dir --dry-run'
expect 'tralvo-cli arrange --sort 2,3,1 --' '--dir --dry-run --natural --only83 --type'
expect 'tralvo-cli arrange --reverse-sort 2,3,1 --n' '--natural'
expect 'tralvo-cli arrange --sort 2,3,1 --natural --' '--dir --dry-run --only83 --type'
expect 'tralvo-cli arrange --shuffle --n' ''
expect "tralvo-cli arrange --sort 2,3,1 --natural $work/Au" "$work/Audiobooks"
expect 'tralvo-cli send --type 1 --' '--dir --dry-run --only83'
expect 'tralvo-cli probe --' '--dir --heard --remove'
expect 'tralvo-cli probe --heard two --' '--dir'
expect 'tralvo-cli probe --remove --' '--dir'
expect 'tralvo-cli clean --' '--dry-run'

# Values of options.
expect 'tralvo-cli list --type ' '0 1 2'
expect 'tralvo-cli arrange --dir /tmp --type 1' '1'
expect 'tralvo-cli arrange --sort ' '0 1 2 3 4 5 6 7 8'
expect 'tralvo-cli arrange --reverse-sort 2,' '2,0 2,1 2,3 2,4 2,5 2,6 2,7 2,8'
expect 'tralvo-cli arrange --sort 2,3,' '2,3,0 2,3,1 2,3,4 2,3,5 2,3,6 2,3,7 2,3,8'
expect 'tralvo-cli arrange --sort 2,3,1,' ''
expect 'tralvo-cli lang --language ' ''
expect 'tralvo-cli probe --heard t' 'three two'

# lang's own commands, after its options.
expect 'tralvo-cli lang ' 'check code format names property string'
expect 'tralvo-cli lang --dir /tmp --language 1 pr' 'property'
expect 'tralvo-cli lang --' '--dir --language'
expect 'tralvo-cli lang property --' '--report'
expect 'tralvo-cli lang string ' ''

# Folders where a command takes a folder, files where it takes files.
expect "tralvo-cli list $work/" "$work/Album One $work/Audiobooks"
expect "tralvo-cli arrange --type 1 --shuffle $work/Al" "$work/Album One"
expect "tralvo-cli undo $work/Audiobooks $work/" ''
expect "tralvo-cli settings --dir $work/Au" "$work/Audiobooks"
expect "tralvo-cli tags $work/s" "$work/song.mp3"
expect "tralvo-cli tags $work/song.mp3 $work/" \
    "$work/Album One $work/Audiobooks $work/order.txt $work/song.mp3"
expect "tralvo-cli id3v2 $work/so" "$work/song.mp3"
expect "tralvo-cli id3v2 $work/song.mp3 TI" ''
expect "tralvo-cli arrange --order $work/o" "$work/order.txt"
expect 'tralvo-cli arrange --order -' '-'
expect "tralvo-cli arrange --playlist $work/o" "$work/order.txt"
expect "tralvo-cli arrange --playlist $work/order.txt $work/Au" "$work/Audiobooks"
expect "tralvo-cli send --type 1 $work/o" "$work/order.txt"
expect "tralvo-cli send $work/order.txt $work/" "$work/Album One $work/Audiobooks"
expect "tralvo-cli send $work/order.txt $work/Audiobooks $work/" ''
expect "tralvo-cli probe --heard one $work/Au" "$work/Audiobooks"
expect "tralvo-cli probe $work/Audiobooks $work/" ''

if ((failures > 0)); then
    echo "$failures completion(s) wrong"
    exit 1
fi
echo "tralvo-cli's completion offers what its usage lists"
