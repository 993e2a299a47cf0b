#!/usr/bin/python3
"""Sends QMP commands to a running QEMU and prints each answer as one line of JSON.

    qmp.py SOCKET COMMAND [ARGUMENTS_JSON] [COMMAND [ARGUMENTS_JSON]]...

Exits 1 when QEMU answers a command with an error. Events that arrive meanwhile are skipped.
"""
import json
import socket
import sys


def main():
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.settimeout(20)
    sock.connect(sys.argv[1])
    stream = sock.makefile("rw")

    def answer():
        while True:
            message = json.loads(stream.readline())
            if "return" in message or "error" in message:
                return message

    json.loads(stream.readline())  # the greeting
    stream.write(json.dumps({"execute": "qmp_capabilities"}) + "\n")
    stream.flush()
    answer()
    args, status = sys.argv[2:], 0
    while args:
        command = {"execute": args.pop(0)}
        if args and args[0].startswith("{"):
            command["arguments"] = json.loads(args.pop(0))
        stream.write(json.dumps(command) + "\n")
        stream.flush()
        message = answer()
        print(json.dumps(message))
        status = status or ("error" in message)
    sys.exit(status)


if __name__ == "__main__":
    main()
