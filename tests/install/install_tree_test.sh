#!/usr/bin/env bash
# "cmake --install" into a prefix of its own gives exactly the installed tree: the programs in
# bin/, the engine's modules in lib/tralvo/, the data in share/tralvo/ and what the desktop and
# the shell look for; the menu entry and the metainfo validate, the icons have their sizes, the
# order probe's sounds are MP3 files.
# Usage: install_tree_test.sh BUILD_DIR PROJECT_VERSION
set -euo pipefail
build=${1:?usage: install_tree_test.sh BUILD_DIR PROJECT_VERSION}
version=${2:?usage: install_tree_test.sh BUILD_DIR PROJECT_VERSION}
fail() { echo "FAIL: $*"; exit 1; }
prefix=$(mktemp -d /tmp/tralvo-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.tralvo.Tralvo
icons=share/icons/hicolor
sizes="16 22 24 32 48 64 128 256"
expected=$(
    printf '%s\n' bin/tralvo bin/tralvo-cli \
        lib/tralvo/libtralvo_ffmpeg.so lib/tralvo/libtralvo_sdl.so \
        share/tralvo/Tralvo.lng share/tralvo/Help-EN.html share/tralvo/Help-DE.html \
        share/tralvo/Help-FR.html \
        share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
        share/man/man1/tralvo.1 share/man/man1/tralvo-cli.1 \
        share/bash-completion/completions/tralvo-cli $icons/scalable/apps/$id.svg
    for size in $sizes; do echo "$icons/${size}x$size/apps/$id.png"; done
    for language in en de fr; do
        for word in one two three; do echo "share/tralvo/probe/$language/$word.mp3"; done
    done
)
actual=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
if [ "$actual" != "$(sort <<<"$expected")" ]; then
    diff <(sort <<<"$expected") <(echo "$actual") || true
    fail "the installed tree differs (< expected, > installed)"
fi

for program in bin/tralvo bin/tralvo-cli; do
    [ -x "$prefix/$program" ] || fail "$program is not executable"
done
# Nothing installed still looks into the build tree for its libraries.
if command -v readelf >/dev/null; then
    for file in bin/tralvo bin/tralvo-cli lib/tralvo/*.so; do
        for binary in "$prefix"/$file; do
            ! readelf -d "$binary" | grep -E 'R(UN)?PATH' ||
                fail "$file keeps a library path of the build"
        done
    done
fi
"$prefix/bin/tralvo-cli" help >/dev/null || fail "the installed tralvo-cli does not run"

# Each PNG is as large as the folder it lies in says (the width and height of its header).
for size in $sizes; do
    png="$prefix/$icons/${size}x$size/apps/$id.png"
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        fail "${size}x$size icon is no PNG"
    [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
        fail "${size}x$size icon is ${width}x$height"
done

# An MP3 file starts with its ID3v2 tag, which holds the spoken word as its title.
for sound in "$prefix"/share/tralvo/probe/*/*.mp3; do
    [ "$(head -c 3 "$sound")" = ID3 ] || fail "$sound has no ID3v2 tag"
    grep -q TIT2 "$sound" || fail "$sound has no title"
done

desktop="$prefix/share/applications/$id.desktop"
grep -qx 'Exec=tralvo' "$desktop" && grep -qx "Icon=$id" "$desktop" ||
    fail "the menu entry does not start tralvo with its icon"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not name the menu entry"

if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] ||
        fail "desktop-file-validate: $report"
else
    echo "SKIP: desktop-file-validate is missing"
fi
if command -v appstreamcli >/dev/null; then
    report=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
        fail "appstreamcli validate: $report"
    ! grep -E '^[EW]:' <<<"$report" || fail "appstreamcli validate warns"
else
    echo "SKIP: appstreamcli is missing"
fi
if command -v groff >/dev/null; then
    for page in "$prefix"/share/man/man1/*.1; do
        report=$(groff -ww -man -z "$page" 2>&1) && [ -z "$report" ] ||
            fail "groff warns about $(basename "$page"): $report"
    done
fi
echo "cmake --install gives the installed tree; menu entry and metainfo validate"
