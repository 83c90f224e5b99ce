#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A server that answers the first message of one client with a login elsewhere (3004) and then
keeps the connection open, silent, for at most 30 s. Prints its listening line like the
reference server. Loopback only."""
import hashlib
import socket
import struct
import sys
import time


def server_frame(kind, body=b"", sequence=9001):
    head = bytearray(32)
    struct.pack_into(">HxxII", head, 0, kind, len(body), sequence)
    digest = hashlib.md5(bytes(head[0:2]) + bytes(head[4:12]) + b"5931").digest()
    head[12:28] = digest
    return bytes(head) + body


def main():
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    listener.settimeout(30)
    print("listening 127.0.0.1:%d" % listener.getsockname()[1], flush=True)
    connection, _ = listener.accept()
    connection.settimeout(30)
    connection.recv(4096)
    connection.sendall(server_frame(3004))
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if not connection.recv(4096):
            print("client left", flush=True)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
