#!/usr/bin/env bash
# The manual page writer on a help text made to trip it: lines that roff would take for
# requests (a leading "." or "'"), backslashes and font escapes, semicolons and brackets (which
# CMake lists split or join), quotes, options with hyphens inside. The page must read exactly
# as that help does (the same checks as for the real tool's page).
# Usage: man_page_escaping_test.sh CLI_MAN_PAGE_SCRIPT TEMPLATE MAN_PAGE_TEST
set -euo pipefail
script=${1:?usage: man_page_escaping_test.sh CLI_MAN_PAGE_SCRIPT TEMPLATE MAN_PAGE_TEST}
template=${2:?}
check=${3:?}
command -v groff >/dev/null || { echo "SKIP: groff is missing"; exit 0; }
work=$(mktemp -d /tmp/tralvo-man-escaping-XXXXXX)
trap 'rm -rf "$work"' EXIT

cat >"$work/help.txt" <<'HELP'
usage: tralvo-cli alpha [--dir DIR] [--x-y N]
       tralvo-cli beta FILE; [ID...]
       tralvo-cli gamma [--only83] (--sort K1,K2 | --reverse-sort K1,K2 | --order FILE)
                  [--dry-run] FOLDER
       tralvo-cli delta "quoted arg" ['single']
       tralvo-cli epsilon \\server\share
       tralvo-cli zeta [-h]
       tralvo-cli eta - < FILE
       tralvo-cli theta | --version

.TH looks like a request but is text; so does the next line,
'which starts with a quote [and holds brackets] ; and a semicolon.
Backslashes stay as typed: \\, \t, \n, \e, \fB bold? and \(em; also \& and \.

alpha takes --x-y N and -h, and "-" alone stands for standard input;
a type-1 run and a TAB-separated line keep their hyphens.
.
..
.\" not a comment

gamma ends lines with a backslash \
and a dot at the end of a line.
'

delta: [brackets [nested] ] ;; two semicolons; ${NOT_A_VARIABLE} @NOT_A_KEY@ $(no).

--dry-run at the start of a line, -- alone, and --.

Last paragraph.
HELP
printf '#!/bin/sh\ncat "%s"\n' "$work/help.txt" >"$work/cli"
chmod +x "$work/cli"
cmake -DCLI="$work/cli" -DTEMPLATE="$template" -DOUTPUT="$work/page.1" -DPROJECT_VERSION=9.9.9 \
    -DTRALVO_RELEASE_DATE=2000-01-01 -DTRALVO_FULL_DATADIR=/opt/tralvo/share/tralvo \
    -P "$script"
"$check" "$work/cli" "$work/page.1"
