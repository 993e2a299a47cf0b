#!/usr/bin/env bash
# tralvo-cli's manual page, as the build writes it from the tool's help text: groff reads it
# without a warning, its synopsis has one form per usage line, and rendered as plain text it
# says word for word what the help says (backslashes, hyphens and quotes escaped right).
# Usage: man_page_test.sh TRALVO_CLI MAN_PAGE
set -euo pipefail
cli=${1:?usage: man_page_test.sh TRALVO_CLI MAN_PAGE}
page=${2:?usage: man_page_test.sh TRALVO_CLI MAN_PAGE}
command -v groff >/dev/null || { echo "SKIP: groff is missing"; exit 0; }
fail() { echo "FAIL: $*"; exit 1; }

warnings=$(groff -ww -man -z "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns about $page: $warnings"

help=$("$cli" help)
# Every usage form, its continuation lines joined; the first word after the tool's name is
# the command.
forms=$(sed -n '1,/^$/p' <<<"$help" | sed -e 's/^usage: //' -e 's/^ *//' -e '/^$/d' |
    awk '/^tralvo-cli / { if (form) print form; form = $0; next } { form = form " " $0 }
         END { print form }')
[ "$(wc -l <<<"$forms")" -ge 8 ] || fail "too few usage forms in the help: $forms"
commands=$(awk '{ print $2 }' <<<"$forms" | sort -u)
for command in $commands; do
    grep -A1 -x '\.SY tralvo\\-cli' "$page" | grep -qx "\.B $command" ||
        fail "the synopsis has no form of $command"
done
[ "$(grep -cx '\.SY tralvo\\-cli' "$page")" -eq "$(wc -l <<<"$forms")" ] ||
    fail "the synopsis has not one form per usage line"
# Options are written with minus signs, never with hyphens that render as dashes.
if grep -v '^\.\\"' "$page" | grep -qE '(^|[^\\])--'; then
    fail "an option is written with plain hyphens: $(grep -nE '(^|[^\\])--' "$page" | head -3)"
fi

# One long line per paragraph, no hyphenation, no bold: the text as a reader sees it.
flat() { tr '\n' ' ' | tr -s ' '; }
rendered=$(groff -man -Tascii -P-cbou -rLL=5000n -rHY=0 "$page" | flat)
while IFS= read -r form; do
    [[ $rendered == *"$(flat <<<"$form")"* ]] || fail "the synopsis does not read: $form"
done <<<"$forms"
# The paragraphs after the usage, each as the help gives it.
paragraphs=$(sed '1,/^$/d' <<<"$help" | awk 'BEGIN { RS = "" } { gsub(/\n/, " "); print }')
[ "$(wc -l <<<"$paragraphs")" -ge 5 ] || fail "too few paragraphs in the help"
while IFS= read -r paragraph; do
    [[ $rendered == *"$(flat <<<"$paragraph")"* ]] ||
        fail "the description differs from the help: $paragraph"
done <<<"$paragraphs"
for section in NAME SYNOPSIS DESCRIPTION FILES ENVIRONMENT 'SEE ALSO'; do
    grep -qx "\.SH \"\?$section\"\?" "$page" || fail "no $section section"
done
grep -q 'XDG_STATE_HOME' "$page" && grep -q 'Tralvo\.ini' "$page" &&
    grep -qx '\.BR tralvo (1)' "$page" || fail "FILES, ENVIRONMENT or SEE ALSO incomplete"
echo "tralvo-cli's manual page says what its help says; groff reads it without warnings"
