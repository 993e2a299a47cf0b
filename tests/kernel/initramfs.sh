#!/usr/bin/env bash
# Builds the guest's base initramfs (an uncompressed cpio) into CACHE and prints its path:
# busybox, the kernel modules the player disks need, tralvo-cli and tralvo-cli-killable with
# their libraries and Tralvo.lng, the init and the guest's helpers. It is named after a hash
# of everything in it, so a rebuilt tool or a changed init makes a new one and an unchanged
# set is reused.
set -euo pipefail
kernel=$1 bin=$2 cache=$3
here=$(cd "$(dirname "$0")" && pwd)

version=$(basename "$kernel")
modules="$kernel/lib/modules/$version"
wanted=(virtio_ring virtio virtio_pci virtio_blk fat vfat exfat
        nls_cp437 nls_utf8 nls_iso8859-1 nls_ascii)
tools=("$bin/tralvo-cli" "$bin/tralvo-cli-killable")
for file in "${tools[@]}" "$bin/Tralvo.lng" /bin/busybox "$modules/modules.dep"; do
    [ -f "$file" ] || { echo "missing: $file" >&2; exit 1; }
done

# Each module after the modules it depends on, each once (modules.dep names direct and
# indirect dependencies, deepest last).
load_order() {
    /usr/bin/python3 - "$modules/modules.dep" "$@" <<'PY'
import sys
deps = {}
for line in open(sys.argv[1]):
    path, _, rest = line.partition(":")
    deps[path] = rest.split()
by_name = {p.rsplit("/", 1)[1].split(".ko")[0].replace("-", "_"): p for p in deps}
order = []
def add(path):
    for dep in reversed(deps[path]):
        add(dep)
    if path not in order:
        order.append(path)
for name in sys.argv[2:]:
    path = by_name.get(name.replace("-", "_"))
    if path is None:
        continue  # built into this kernel
    add(path)
print("\n".join(order))
PY
}
mapfile -t load < <(load_order "${wanted[@]}")

libraries() {
    ldd "$@" | awk '/=> \// { print $3 } /^\t\/[^ ]+ \(/ { print $1 }' | sort -u
}
mapfile -t libs < <(libraries "${tools[@]}")

key=$( {
    echo "$version ${load[*]}"
    sha256sum "${tools[@]}" "$bin/Tralvo.lng" /bin/busybox "${libs[@]}" \
        "$here/guest/init" "$here/guest/lib.sh"
} | sha256sum | cut -c1-16)
out=$cache/initramfs-$key.cpio
if [ -f "$out" ]; then
    echo "$out"
    exit 0
fi

root=$(mktemp -d "$cache/root-XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{bin,sbin,proc,sys,dev,tmp,mnt,case,opt/tralvo,lib/modules}
cp /bin/busybox "$root/bin/busybox"
for lib in "${libs[@]}"; do
    mkdir -p "$root$(dirname "$lib")"
    cp -L "$lib" "$root$lib"
done
# The loader is asked for as /lib64/ld-linux-x86-64.so.2; on Debian /lib64 is a real folder.
cp "${tools[@]}" "$bin/Tralvo.lng" "$root/opt/tralvo/"
for path in "${load[@]}"; do
    cp "$modules/$path" "$root/lib/modules/"
    basename "$path" >>"$root/lib/modules/load-order"
done
cp "$here/guest/init" "$root/init"
cp "$here/guest/lib.sh" "$root/lib/guest.sh"
chmod +x "$root/init"
(cd "$root" && find . | LC_ALL=C sort | cpio -o -H newc --quiet) >"$out.part"
mv "$out.part" "$out"
# Every rebuilt tool makes a new one: keep the last few.
find "$cache" -maxdepth 1 -name 'initramfs-*.cpio' -printf '%T@ %p\n' | sort -rn | tail -n +5 |
    cut -d ' ' -f 2- | xargs -r rm -f
echo "$out"
