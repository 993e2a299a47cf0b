#!/usr/bin/env bash
# Fetches Debian's own kernel package (the one linux-image-amd64 depends on) and unpacks it,
# never installs it, into CACHE/kernel/VERSION; prints that folder. Later runs reuse it.
# The package ships no modules.dep (its post-install script makes one), so depmod makes it.
set -euo pipefail
cache=$1

package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
if [ -z "$package" ]; then
    apt-get update -q -o DPkg::Lock::Timeout=600 >&2 || true
    package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
fi
if [ -z "$package" ]; then
    # Offline: an unpacked kernel from an earlier run still serves.
    folder=$(find "$cache/kernel" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | sort -V | tail -n 1)
    if [ -n "$folder" ] && [ -f "$folder/.unpacked" ]; then
        echo "apt-cache names no kernel; using the cached $folder" >&2
        echo "$folder"
        exit 0
    fi
    echo "no kernel: apt-cache names no package for linux-image-amd64 and none is cached" >&2
    exit 1
fi
version=${package#linux-image-}
folder=$cache/kernel/$version
if [ ! -f "$folder/.unpacked" ]; then
    echo "Fetching $package" >&2
    rm -rf "$folder"
    mkdir -p "$cache"
    download=$(mktemp -d "$cache/download-XXXXXX")
    # apt drops its privileges to _apt for downloads, which must be able to write here.
    chmod 777 "$download"
    (cd "$download" && apt-get download -q "$package" >&2)
    mkdir -p "$folder"
    dpkg-deb -x "$download"/"$package"_*.deb "$folder"
    rm -rf "$download"
    depmod -b "$folder" "$version"
    touch "$folder/.unpacked"
fi
echo "$folder"
