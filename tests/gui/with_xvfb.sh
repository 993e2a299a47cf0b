#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. The X server chooses a free display
# number and says which once it is ready (-displayfd), so parallel runs never meet and the
# command never starts before the server.
# Usage: with_xvfb.sh COMMAND [ARGUMENTS...]
set -euo pipefail
number_file=$(mktemp /tmp/tralvo-xvfb-XXXXXX)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
server=$!
cleanup() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -f "$number_file"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$number_file" ] || { echo "Xvfb gave no display" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$number_file")"
export DISPLAY
"$@"
