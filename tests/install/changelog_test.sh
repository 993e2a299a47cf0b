#!/usr/bin/env bash
# The package's changelog, written by the build: dpkg reads it, its version is the project's
# and its date names the right day of the week.
# Usage: changelog_test.sh CHANGELOG PROJECT_VERSION RELEASE_DATE
set -euo pipefail
changelog=${1:?usage: changelog_test.sh CHANGELOG PROJECT_VERSION RELEASE_DATE}
version=${2:?}
release=${3:?}
command -v dpkg-parsechangelog >/dev/null || { echo "SKIP: dpkg-parsechangelog is missing"; exit 0; }
fail() { echo "FAIL: $*"; exit 1; }
field() { dpkg-parsechangelog -l "$changelog" -S "$1" 2>&1; }
[ "$(field Source)" = tralvo ] || fail "source is $(field Source)"
[ "$(field Version)" = "$version" ] || fail "version is $(field Version), not $version"
date=$(field Date)
[ "$(LC_ALL=C date -u -R -d "$release 12:00:00 UTC")" = "$date" ] ||
    fail "date is $date, not the release's ($release)"
[[ $(field Maintainer) == *'<developers@tralvo.org>' ]] || fail "maintainer is $(field Maintainer)"
echo "the changelog reads as version $version of $date"
