#!/usr/bin/python3
"""Track names and orders for the kernel bench's cases.

    names.py shuffle SEED < NAMES           the names in an order drawn from SEED
    names.py nth N < NAMES                  the N-th of their orders (for a few names: no two
                                            N below their count's factorial give the same)
    names.py escaped < NAMES                each name as tralvo-cli list shows it
    names.py expected BEFORE TRACKS         directory order after a run: the entries of
                                            BEFORE that are no tracks, then TRACKS
    names.py long LENGTH PREFIX [SUFFIX]    a name of exactly LENGTH bytes (UTF-8)
"""
import itertools
import random
import sys


def lines(stream):
    return [line.rstrip(b"\n") for line in stream if line.strip(b"\n")]


def escaped(name):
    out = bytearray()
    for byte in name:
        if byte == 0x5C:
            out += b"\\\\"
        elif byte == 0x09:
            out += b"\\t"
        elif 0x20 <= byte <= 0x7E:
            out.append(byte)
        else:
            out += b"\\x%02X" % byte
    return bytes(out)


def main():
    command, out = sys.argv[1], sys.stdout.buffer
    if command == "shuffle":
        names = lines(sys.stdin.buffer)
        random.Random(int(sys.argv[2])).shuffle(names)
        out.write(b"".join(n + b"\n" for n in names))
    elif command == "nth":
        names = lines(sys.stdin.buffer)
        orders = itertools.islice(itertools.permutations(names), int(sys.argv[2]), None)
        out.write(b"".join(n + b"\n" for n in next(orders)))
    elif command == "escaped":
        out.write(b"".join(escaped(n) + b"\n" for n in lines(sys.stdin.buffer)))
    elif command == "expected":
        before = lines(open(sys.argv[2], "rb"))
        tracks = lines(open(sys.argv[3], "rb"))
        others = [n for n in before if n not in set(tracks)]
        out.write(b"".join(n + b"\n" for n in others + tracks))
    elif command == "long":
        length, prefix = int(sys.argv[2]), sys.argv[3].encode()
        suffix = sys.argv[4].encode() if len(sys.argv) > 4 else b".mp3"
        middle = length - len(prefix) - len(suffix)
        out.write(prefix + (b"x" * middle) + suffix + b"\n")


if __name__ == "__main__":
    main()
