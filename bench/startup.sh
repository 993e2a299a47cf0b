#!/usr/bin/env bash
# Times whole processes from their start to the first paint of their window, offscreen, side
# by side in one hyperfine run: the bare Qt program (bench/bare_window.cpp), its variants that
# add SDL2, FFmpeg or the audio engine, and Tralvo itself (when the build has it), started
# from a copy of the program folder with a prepared Tralvo.ini and an empty player folder, so
# that no first-run box appears.
#
# Usage: bench/startup.sh [--system-audio] [--x11] [BUILD_FOLDER [RUNS]]
#   (defaults: build-bench, 60 runs; SDL's dummy audio driver unless --system-audio, which
#   lets SDL choose the system's driver as it does for a user; offscreen unless --x11, which
#   shows the windows on a virtual X server, as on a user's desktop)
# Each program runs RUNS times in each of three rounds; the summary gives the median over all
# rounds and its ratio to the bare program's (goal for Tralvo: at most 1.5).
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
if [ "${1:-}" = --system-audio ]; then
    unset SDL_AUDIODRIVER
    shift
fi
if [ "${1:-}" = --x11 ]; then
    shift
    if [ -z "${TRALVO_STARTUP_X11:-}" ]; then
        "$TRALVO_ROOT/scripts/install-deps" xvfb xauth
        TRALVO_STARTUP_X11=1 exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" --x11 "$@"
    fi
    export QT_QPA_PLATFORM=xcb
fi
"$TRALVO_ROOT/scripts/install-deps" hyperfine
build=$(realpath -m "${1:-$TRALVO_ROOT/build-bench}")
runs=${2:-60}
rounds=3

cmake -S "$TRALVO_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$TRALVO_JOBS" --target bare_window bare_window_sdl bare_window_ffmpeg \
    bare_window_text bare_window_engine
if ! cmake --build "$build" -j "$TRALVO_JOBS" --target tralvo >"$build/startup-tralvo-build.log" 2>&1; then
    echo "tralvo was not built (see $build/startup-tralvo-build.log): timing the bare variants only"
    skip_tralvo=1
fi

# The program folder as a user has it: the programs, the engine's modules, the catalogue and
# help pages, and settings that name an existing, empty player folder.
work=$(mktemp -d /tmp/tralvo-startup-XXXXXX)
trap 'rm -rf "$work"' EXIT
program="$work/program"
mkdir -p "$program" "$work/player"
cp -r "$build/bin/." "$program/"
cp "$build/bench/bare_window_engine" "$program/"
[ -z "${skip_tralvo:-}" ] || rm -f "$program/tralvo"
printf '[Player]\nDrive=%s\n' "$work/player" >"$program/Tralvo.ini"

export TRALVO_EXIT_AFTER_FIRST_PAINT=1
commands=()
for ((round = 1; round <= rounds; round++)); do
    commands+=(-n bare "$build/bench/bare_window")
    commands+=(-n bare+sdl "$build/bench/bare_window_sdl")
    commands+=(-n bare+ffmpeg+sdl "$build/bench/bare_window_ffmpeg")
    commands+=(-n bare+text "$build/bench/bare_window_text")
    commands+=(-n bare+engine "$program/bare_window_engine")
    if [ -x "$program/tralvo" ]; then
        commands+=(-n tralvo "$program/tralvo")
    fi
done
hyperfine -N --warmup 5 --runs "$runs" --style basic --export-json "$work/times.json" \
    "${commands[@]}" >"$work/hyperfine.txt" 2>&1 || {
    cat "$work/hyperfine.txt"
    exit 1
}

/usr/bin/python3 - "$work/times.json" <<'PY'
import json, statistics, sys
runs = {}
for result in json.load(open(sys.argv[1]))["results"]:
    runs.setdefault(result["command"], []).extend(result["times"])
bare = statistics.median(runs["bare"])
print(f"{'program':<18}{'median ms':>10}{'min ms':>9}{'runs':>6}{'/ bare':>8}")
for name, times in runs.items():
    median = statistics.median(times)
    print(f"{name:<18}{median * 1000:>10.1f}{min(times) * 1000:>9.1f}{len(times):>6}"
          f"{median / bare:>8.2f}")
PY
