#!/usr/bin/python3
"""Reads a FAT12/16/32 or exFAT image the way a player's firmware does: a folder's entries in
the order of their directory slots, the free slots between them, creation times and file
contents. Written for the kernel bench, which checks images after the guest unmounted them;
fatsort only knows FAT, so exFAT needs a reader of our own anyway.

    fatdir.py ls IMAGE FOLDER      names in slot order, one a line
    fatdir.py slots IMAGE FOLDER   every slot run: first slot, slots, kind, name
    fatdir.py times IMAGE FOLDER   creation time (sortable) and name of each file
    fatdir.py sums IMAGE           "SHA256  ./PATH" of every file, sorted by path
    fatdir.py paths IMAGE          every file's and folder's path (folders end in /)
    fatdir.py files IMAGE          size and path of every file, one a line
    fatdir.py clean IMAGE          clears the volume's dirty flag (in place)
"""
import hashlib
import struct
import sys


class Entry:
    def __init__(self, slot, slots, name, short, is_dir, cluster, size, created,
                 contiguous=False):
        self.slot, self.slots, self.name, self.short = slot, slots, name, short
        self.is_dir, self.cluster, self.size, self.created = is_dir, cluster, size, created
        self.contiguous = contiguous


class Fat:
    def __init__(self, data):
        self.data = data
        (self.bps, self.spc, reserved, fats, root_entries, total16, fat16) = struct.unpack_from(
            "<HBHBHH", data, 11)[:6] + (struct.unpack_from("<H", data, 22)[0],)
        total = total16 or struct.unpack_from("<I", data, 32)[0]
        fat_size = fat16 or struct.unpack_from("<I", data, 36)[0]
        root_sectors = (root_entries * 32 + self.bps - 1) // self.bps
        self.fat_start = reserved * self.bps
        self.root_start = (reserved + fats * fat_size) * self.bps
        self.root_bytes = root_sectors * self.bps
        self.data_start = self.root_start + self.root_bytes
        clusters = (total - reserved - fats * fat_size - root_sectors) // self.spc
        self.bits = 12 if clusters < 4085 else 16 if clusters < 65525 else 32
        self.root_cluster = struct.unpack_from("<I", data, 44)[0] if self.bits == 32 else 0
        self.cluster_bytes = self.bps * self.spc

    def next_cluster(self, n):
        if self.bits == 12:
            value = struct.unpack_from("<H", self.data, self.fat_start + n * 3 // 2)[0]
            value = value >> 4 if n & 1 else value & 0xFFF
            return None if value >= 0xFF8 else value
        if self.bits == 16:
            value = struct.unpack_from("<H", self.data, self.fat_start + n * 2)[0]
            return None if value >= 0xFFF8 else value
        value = struct.unpack_from("<I", self.data, self.fat_start + n * 4)[0] & 0x0FFFFFFF
        return None if value >= 0x0FFFFFF8 else value

    def chain(self, first, size=None, contiguous=False):
        out = bytearray()
        cluster, seen = first, set()
        while cluster and cluster >= 2 and cluster not in seen:
            if size is not None and len(out) >= size:
                break
            seen.add(cluster)
            start = self.data_start + (cluster - 2) * self.cluster_bytes
            out += self.data[start:start + self.cluster_bytes]
            cluster = cluster + 1 if contiguous else self.next_cluster(cluster)
        return bytes(out if size is None else out[:size])

    def folder_bytes(self, entry):
        if entry is None:
            if self.bits == 32:
                return self.chain(self.root_cluster)
            return self.data[self.root_start:self.root_start + self.root_bytes]
        return self.chain(entry.cluster)

    def read(self, entry):
        return self.chain(entry.cluster, entry.size)

    def entries(self, raw):
        """Every used entry and every run of free slots, in slot order."""
        items, parts, free_from, end = [], [], None, len(raw) // 32
        for i in range(len(raw) // 32):
            slot = raw[i * 32:i * 32 + 32]
            if slot[0] == 0:
                end = i
                break
            if slot[0] == 0xE5:
                free_from = i if free_from is None else free_from
                parts = []
                continue
            if free_from is not None:
                items.append(("free", free_from, i - free_from))
                free_from = None
            if slot[11] == 0x0F:
                parts.append(slot)
                continue
            items.append(("entry", self.entry(i, slot, parts)))
            parts = []
        if free_from is not None:
            items.append(("free", free_from, end - free_from))
        items.append(("end", end, len(raw) // 32 - end))
        return items

    def entry(self, i, slot, parts):
        base, ext = slot[0:8].rstrip(b" "), slot[8:11].rstrip(b" ")
        if base[:1] == b"\x05":
            base = b"\xe5" + base[1:]
        if slot[12] & 0x08:
            base = base.lower()
        if slot[12] & 0x10:
            ext = ext.lower()
        short = (base + (b"." + ext if ext else b"")).decode("cp437")
        checksum = 0
        for byte in slot[0:11]:
            checksum = (((checksum & 1) << 7) + (checksum >> 1) + byte) & 0xFF
        name, used = short, 1
        if parts and all(p[13] == checksum for p in parts) and parts[0][0] & 0x40 and \
                [p[0] & 0x1F for p in parts] == list(range(len(parts), 0, -1)):
            units = b"".join(p[1:11] + p[14:26] + p[28:32] for p in reversed(parts))
            text = units.decode("utf-16-le", "surrogatepass")
            name = text.split("\0")[0]
            used += len(parts)
        tenth, time, date = struct.unpack_from("<BHH", slot, 13)
        created = "%04d-%02d-%02d %02d:%02d:%02d.%02d" % (
            1980 + (date >> 9), (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63,
            (time & 31) * 2 + tenth // 100, tenth % 100)
        cluster = struct.unpack_from("<H", slot, 20)[0] << 16 | struct.unpack_from("<H", slot, 26)[0]
        size = struct.unpack_from("<I", slot, 28)[0]
        kind = "label" if slot[11] & 0x08 else None
        entry = Entry(i - used + 1, used, name, short, bool(slot[11] & 0x10), cluster, size,
                      created)
        entry.label = kind == "label"
        return entry


class ExFat:
    def __init__(self, data):
        self.data = data
        fat_offset, _, heap, _, root = struct.unpack_from("<IIIII", data, 80)
        bps_shift, spc_shift = data[108], data[109]
        self.bps = 1 << bps_shift
        self.fat_start = fat_offset * self.bps
        self.heap = heap * self.bps
        self.cluster_bytes = self.bps << spc_shift
        self.root = Entry(0, 0, "", "", True, root, None, "")

    def chain(self, first, size=None, contiguous=False):
        out, cluster, seen = bytearray(), first, set()
        while 2 <= cluster < 0xFFFFFFF7 and cluster not in seen:
            if size is not None and len(out) >= size:
                break
            seen.add(cluster)
            start = self.heap + (cluster - 2) * self.cluster_bytes
            out += self.data[start:start + self.cluster_bytes]
            if contiguous:
                cluster += 1
            else:
                cluster = struct.unpack_from("<I", self.data, self.fat_start + cluster * 4)[0]
        return bytes(out if size is None else out[:size])

    def folder_bytes(self, entry):
        entry = entry or self.root
        return self.chain(entry.cluster, entry.size, entry.contiguous)

    def read(self, entry):
        return self.chain(entry.cluster, entry.size, entry.contiguous)

    def entries(self, raw):
        items, count, i, free_from = [], len(raw) // 32, 0, None
        end = count
        while i < count:
            kind = raw[i * 32]
            if kind == 0:
                end = i
                break
            if kind & 0x80 == 0:
                free_from = i if free_from is None else free_from
                i += 1
                continue
            if free_from is not None:
                items.append(("free", free_from, i - free_from))
                free_from = None
            if kind != 0x85:
                i += 1  # bitmap, up-case table, label, GUID: not files
                continue
            secondary = raw[i * 32 + 1]
            items.append(("entry", self.entry(i, raw[i * 32:(i + 1 + secondary) * 32])))
            i += 1 + secondary
        if free_from is not None:
            items.append(("free", free_from, end - free_from))
        items.append(("end", end, count - end))
        return items

    def entry(self, i, raw):
        attributes = struct.unpack_from("<H", raw, 4)[0]
        stamp, = struct.unpack_from("<I", raw, 8)
        centis = raw[20]
        flags, length = raw[33], raw[35]
        first, size = struct.unpack_from("<IQ", raw, 32 + 20)
        units = b"".join(raw[j + 2:j + 32] for j in range(64, len(raw), 32) if raw[j] == 0xC1)
        name = units.decode("utf-16-le", "surrogatepass")[:length]
        created = "%04d-%02d-%02d %02d:%02d:%02d.%02d" % (
            1980 + (stamp >> 25), (stamp >> 21) & 15, (stamp >> 16) & 31, (stamp >> 11) & 31,
            (stamp >> 5) & 63, (stamp & 31) * 2 + centis // 100, centis % 100)
        entry = Entry(i, len(raw) // 32, name, "", bool(attributes & 0x10), first, size, created,
                      bool(flags & 0x02))
        entry.label = False
        return entry


def open_image(path):
    with open(path, "rb") as f:
        data = f.read()
    return ExFat(data) if data[3:11] == b"EXFAT   " else Fat(data)


def named(items):
    return [item[1] for item in items
            if item[0] == "entry" and not item[1].label and item[1].name not in (".", "..")]


def find(fs, folder):
    entry = None
    for part in [p for p in folder.split("/") if p]:
        children = named(fs.entries(fs.folder_bytes(entry)))
        matches = [c for c in children if part.lower() in (c.name.lower(), c.short.lower())]
        if not matches or not matches[0].is_dir:
            sys.exit("no folder %s in the image" % folder)
        entry = matches[0]
    return entry


def walk(fs, entry, prefix, folders=False, sizes=False):
    for child in named(fs.entries(fs.folder_bytes(entry))):
        path = prefix + "/" + child.name
        if child.is_dir:
            if folders:
                yield path + "/", None
            yield from walk(fs, child, path, folders, sizes)
        else:
            yield path, child.size if sizes else None if folders else fs.read(child)


def clear_dirty(path):
    """The flag a mount sets and a clean unmount clears: exFAT VolumeFlags bit 1 (outside the
    boot checksum), FAT16 BS_Reserved1 bit 0, FAT32 the same at its own offset."""
    with open(path, "r+b") as f:
        boot = f.read(512)
        if boot[3:11] == b"EXFAT   ":
            offset, mask = 106, 0x02
        else:
            offset, mask = (65 if Fat(boot + bytes(512)).bits == 32 else 37), 0x01
        f.seek(offset)
        f.write(bytes([boot[offset] & ~mask & 0xFF]))


def main():
    command, image = sys.argv[1], sys.argv[2]
    if command == "clean":
        clear_dirty(image)
        return
    fs = open_image(image)
    out = sys.stdout
    out.reconfigure(encoding="utf-8", errors="surrogateescape")
    if command == "sums":
        lines = ["%s  %s" % (hashlib.sha256(content).hexdigest(), path)
                 for path, content in walk(fs, None, ".")]
        out.write("".join(line + "\n" for line in sorted(lines, key=lambda l: l[66:])))
        return
    if command == "files":
        out.write("".join("%d\t%s\n" % (size, path) for path, size in walk(fs, None, ".", sizes=True)))
        return
    if command == "paths":
        out.write("".join(path + "\n" for path, _ in walk(fs, None, ".", True)))
        return
    items = fs.entries(fs.folder_bytes(find(fs, sys.argv[3])))
    for item in items:
        if command == "slots":
            if item[0] == "entry":
                e = item[1]
                kind = "label" if e.label else "folder" if e.is_dir else "file"
                short = " [%s]" % e.short if e.short and e.short != e.name else ""
                out.write("%d\t%d\t%s\t%s%s\n" % (e.slot, e.slots, kind, e.name, short))
            else:
                out.write("%d\t%d\t%s\n" % (item[1], item[2], item[0]))
    for e in named(items):
        if command == "ls":
            out.write(e.name + "\n")
        elif command == "times" and not e.is_dir:
            out.write("%s\t%s\n" % (e.created, e.name))


if __name__ == "__main__":
    main()
