#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Attacks on the reference server, replayed on loopback against a server of the test's own.

usage: attack_replay_test.py SERVER BOT SANITIZED

1. forgeries: a Fool's mate between two kelo-bot players, each behind a relay of this script
   that can add frames of its own to the bot's numbered stream. Before every move the player not
   to move and a watcher send a forged move (the real next one), a mate claim, scores (656),
   start information (662) and a game state (663). None reaches anybody, each is one violation,
   and the real game still ends in mate on both bots.
2. flood: 300 clients at one desk that never read, and one client at that desk sending 4,000-byte
   chats as fast as the server takes them. The server drops the clients that do not read and
   stays under 100 MB resident (the peak, VmHWM). Under AddressSanitizer (SANITIZED is 1) the
   figure is printed and not judged: the sanitizer's shadow memory and the quarantine of freed
   blocks count in it.
3. unread log: the server's standard output is a pipe of one page that nobody reads while the
   server logs entries and many violations. A new client is still answered within 1 s, and once
   the pipe is read again every violation is there, one by one or in a summary, and the last
   line counts them all.
4. mended rules: a Fool's mate between two kelo-bot players (thinking 2 s a move) behind relays,
   beside which, once White has moved, a watcher sends a 3026 {2, 1, 1}, a 3027 for White and
   an empty chat; White sends a 3026 for Black, an unasked 3032 agreement, "Black resigned" and
   "Black lost on time"; Black claims a draw by repetition; a client with id 666 enters White's
   seat and sends White's move. Each is one violation and reaches nobody. The watcher's ten
   chat lines naming White reach the players as the watcher's (id 3), five of them, the first
   cut to 400 bytes, the other five dropped. From 127.0.0.2, 300 silent sockets: 44 are refused
   at once and the rest closed at the enter limit. A watcher that goes is announced to both
   players (3027). The game still ends in mate on both bots.
Nothing is timed beyond these bounds; every wait has a generous limit.
"""

import fcntl
import hashlib
import os
import re
import select
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

SERVER, BOT, SANITIZED = sys.argv[1], sys.argv[2], sys.argv[3] == "1"
HEAD = 32
DIGEST_CONSTANT = 7358
INITIAL_SEQUENCE, INITIAL_COMM = 5588, 2593
MSG_MOVE, MSG_GAME_RESULT, MSG_SCORES = 631, 651, 656
MSG_GAME_BEGIN, MSG_START_INFO, MSG_GAME_STATE = 627, 662, 663
MSG_ENTER, MSG_SEQUENCE_START, MSG_TABLE_CHAT = 3001, 3010, 3021
MSG_START_NOTICE, MSG_LEAVE_TABLE, MSG_LEAVE_WATCH = 626, 3026, 3027
MSG_EXIT_REQUEST, MSG_EXIT_ANSWER = 3031, 3032
F_SETPIPE_SZ = getattr(fcntl, "F_SETPIPE_SZ", 1031)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)


def head(type_, length, sequence):
    wire = bytearray(HEAD)
    struct.pack_into(">H", wire, 0, type_)
    struct.pack_into(">II", wire, 4, length, sequence)
    wire[12:28] = hashlib.md5(bytes(wire[0:2]) + bytes(wire[4:12]) + b"5931").digest()
    return bytes(wire)


def client_frame(type_, body, sequence, comm):
    trailer = struct.pack(">III", sequence, DIGEST_CONSTANT, comm)
    digest = hashlib.md5(body + trailer).digest() + b"\0"
    return head(type_, len(body) + len(digest), sequence) + body + digest


def split_frames(buffer, from_server):
    """Whole frames at the front of the buffer as (type, sequence, body) and the rest. A game
    state (663) from the server is followed by its records, outside its length."""
    frames = []
    while len(buffer) >= HEAD:
        type_, = struct.unpack_from(">H", buffer, 0)
        length, sequence = struct.unpack_from(">II", buffer, 4)
        size = HEAD + length
        if from_server and type_ == MSG_GAME_STATE and len(buffer) >= HEAD + 28:
            size += 20 * struct.unpack_from(">H", buffer, HEAD + 26)[0]
        if len(buffer) < size:
            break
        frames.append((type_, sequence, bytes(buffer[HEAD:size])))
        buffer = buffer[size:]
    return frames, buffer


def enter_body(user, desk, seat, watchno):
    return struct.pack(">IHHHHHH", user, desk, seat, watchno, 0, 0, 0)


class Server:
    """A kelo-table-server on a free loopback port, its lines collected as they come."""

    def __init__(self, *args, stdout=None):
        self.lines = []
        if stdout is None:
            self.process = subprocess.Popen([SERVER, "--port", "0", *args], stdout=subprocess.PIPE,
                                            text=True)
            self.reader = threading.Thread(target=self._read, daemon=True)
            self.reader.start()
            deadline = time.time() + 10
            while not self.port() and time.time() < deadline:
                time.sleep(0.05)
        else:
            self.reader = None
            self.process = subprocess.Popen([SERVER, "--port", "0", *args], stdout=stdout)
        self.pid = self.process.pid

    def _read(self):
        for line in self.process.stdout:
            self.lines.append(line.rstrip("\n"))

    def port(self):
        for line in self.lines:
            match = re.fullmatch(r"listening 127\.0\.0\.1:(\d+)", line)
            if match:
                return int(match.group(1))
        return 0

    def peak_kib(self):
        with open("/proc/%d/status" % self.pid) as status:
            return int(re.search(r"VmHWM:\s+(\d+) kB", status.read()).group(1))

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        status = self.process.wait(timeout=30)
        check(status == 0, "the server stopped with status %d" % status)
        if self.reader is not None:
            self.reader.join(10)  # the reader takes the last lines


class Peer:
    """A table client of this script: it enters, numbers its frames from the server's start and
    keeps what it receives."""

    def __init__(self, port, user, desk, seat=0xFFFF, watchno=0):
        self.sock = socket.create_connection(("127.0.0.1", port))
        self.sequence, self.comm = INITIAL_SEQUENCE, INITIAL_COMM
        self.buffer = b""
        self.received = []
        self.sock.sendall(client_frame(MSG_ENTER, enter_body(user, desk, seat, watchno),
                                       self.sequence, self.comm))

    def take(self, data):
        frames, self.buffer = split_frames(self.buffer + data, True)
        for type_, _, body in frames:
            if type_ == MSG_SEQUENCE_START:
                self.comm, self.sequence = struct.unpack_from(">I", body, 8)[0], \
                    struct.unpack_from(">I", body, 16)[0]
            self.received.append(type_)
        return frames

    def wait_started(self, seconds):
        self.sock.settimeout(seconds)
        deadline = time.time() + seconds
        while MSG_SEQUENCE_START not in self.received and time.time() < deadline:
            data = self.sock.recv(65536)
            if not data:
                break
            self.take(data)
        self.sock.settimeout(None)
        return MSG_SEQUENCE_START in self.received

    def frame(self, type_, body):
        self.sequence += 1
        return client_frame(type_, body, self.sequence, self.comm)


class Relay:
    """Between a kelo-bot and the server: passes everything on, renumbering the bot's frames so
    that frames of its own can go in between with the next numbers of the stream."""

    def __init__(self, server_port):
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.server_port = server_port
        self.bot = self.upstream = None
        self.from_bot = self.from_server = b""
        self.comm = None
        self.last = None  # the last number the server got
        self.added = 0  # frames of the relay's own so far
        self.received = []  # the types the server sent the bot

    def accept(self):
        self.bot, _ = self.listener.accept()
        self.upstream = socket.create_connection(("127.0.0.1", self.server_port))

    def on_bot(self, data):
        frames, self.from_bot = split_frames(self.from_bot + data, False)
        for type_, sequence, body in frames:
            if sequence != INITIAL_SEQUENCE and self.comm is not None:
                sequence += self.added
                self.last = sequence
            self.upstream.sendall(client_frame(type_, body[:-17], sequence,
                                               self.comm if self.comm is not None and
                                               sequence != INITIAL_SEQUENCE else INITIAL_COMM))

    def on_server(self, data):
        # A bot that has left (its table closed when the other one left) takes nothing more.
        try:
            self.bot.sendall(data)
        except OSError:
            pass
        frames, self.from_server = split_frames(self.from_server + data, True)
        for type_, _, body in frames:
            if type_ == MSG_SEQUENCE_START:
                self.comm = struct.unpack_from(">I", body, 8)[0]
                self.last = struct.unpack_from(">I", body, 16)[0]
            self.received.append(type_)
        return frames

    def inject(self, type_, body):
        self.last += 1
        self.added += 1
        self.upstream.sendall(client_frame(type_, body, self.last, self.comm))


# The Fool's mate as the server's squares (x * 100 + y, rank 8 at y = 0): colour, kind, from, to.
FOOLS_MATE = [(0, 6, 506, 505), (1, 6, 401, 403), (0, 6, 606, 604), (1, 8, 300, 704)]


def forgeries(seat, ply):
    colour, kind, start, end = FOOLS_MATE[ply]
    move = struct.pack(">HHHHIIHH", 0, colour, kind, 0, start, end, 0, ply // 2 + 1)
    return [
        (MSG_MOVE, move),
        (MSG_GAME_RESULT, struct.pack(">HHHH", seat, 1, seat, 651)),
        (MSG_SCORES, struct.pack(">2i", 10 if seat == 0 else -10, 10 if seat == 1 else -10) +
         bytes(32)),
        (MSG_START_INFO, bytes(18)),
        (MSG_GAME_STATE, bytes(26) + struct.pack(">H", 1) + bytes(20)),
    ]


def plies_seen(types):
    return types.count(MSG_MOVE) if MSG_GAME_BEGIN in types else -1


def start_bots(relays, workdir, suffix="", extra=()):
    """White and Black playing Fool's mate, each through its relay; their processes and outputs."""
    people = ["--player", "1:white:White:0", "--player", "2:black:Black:1"]
    moves = " ".join("%s%d%s%d" % ("abcdefgh"[s // 100], 8 - s % 100, "abcdefgh"[e // 100],
                                   8 - e % 100) for _, _, s, e in FOOLS_MATE)
    bots, outputs = [], []
    for relay, me in zip(relays, ["white", "black"]):
        out = open(os.path.join(workdir, me + suffix + ".out"), "w+")
        bots.append(subprocess.Popen(
            [BOT, "--server", "127.0.0.1:%d" % relay.port, "--desk", "1", *people, "--me", me,
             "--moves", moves, *extra, "--quit-after-result", "--timeout", "60"],
            stdout=out, stderr=subprocess.STDOUT))
        outputs.append(out)
        relay.accept()
    return bots, outputs


def pump(live, peers, relays):
    """One round: whatever is ready among the live sockets is read and handed to its peer or
    relay; a socket that closed leaves live."""
    ready, _, _ = select.select(list(live), [], [], 0.2)
    for sock in ready:
        try:
            data = sock.recv(65536)
        except ConnectionError:
            data = b""
        if not data:
            live.discard(sock)
            continue
        for peer in peers:
            if peer is not None and sock is peer.sock:
                peer.take(data)
        for relay in relays:
            if sock is relay.bot:
                relay.on_bot(data)
            elif sock is relay.upstream:
                relay.on_server(data)


def forged_game(workdir):
    server = Server()
    port = server.port()
    check(port != 0, "the server did not listen")
    watcher = Peer(port, 3, 1, 0, 1)
    check(watcher.wait_started(10), "the watcher was not started")
    relays = [Relay(port), Relay(port)]
    bots, outputs = start_bots(relays, workdir)
    # Each forger forges once before each of the four moves: the watcher always, a player while
    # the other one is to move.
    forged = {"watcher": set(), 0: set(), 1: set()}
    expected = 0
    deadline = time.time() + 60
    live = {watcher.sock}
    for relay in relays:
        live |= {relay.bot, relay.upstream}
    while any(bot.poll() is None for bot in bots) and time.time() < deadline:
        pump(live, [watcher], relays)
        for seat, relay in enumerate(relays):
            ply = plies_seen(relay.received)
            if 0 <= ply < 4 and ply % 2 != seat and ply not in forged[seat]:
                forged[seat].add(ply)
                for type_, body in forgeries(seat, ply):
                    relay.inject(type_, body)
                    expected += 1
        ply = plies_seen(watcher.received)
        if 0 <= ply < 4 and ply not in forged["watcher"]:
            forged["watcher"].add(ply)
            for type_, body in forgeries(0, ply):
                watcher.sock.sendall(watcher.frame(type_, body))
                expected += 1
    for bot in bots:
        if bot.poll() is None:
            bot.kill()
        check(bot.wait() == 0, "a bot exited with %s" % bot.returncode)
    texts = []
    for out in outputs:
        out.seek(0)
        texts.append(out.read())
    for seat, (text, relay) in enumerate(zip(texts, relays)):
        name = ["white", "black"][seat]
        check(re.search(r"^sent 651 sender=%d decisive=1 winner=1 reason=651$" % seat, text, re.M),
              "%s did not judge the mate" % name)
        results = re.findall(r"^recv 651 .*$", text, re.M)
        check(results and all(r.endswith("decisive=1 winner=1 reason=651") for r in results),
              "%s received results %s" % (name, results))
        for what, count in [(MSG_MOVE, 4), (MSG_SCORES, 1), (MSG_START_INFO, 1),
                            (MSG_GAME_STATE, 0)]:
            check(relay.received.count(what) == count,
                  "%s was sent %d of type %d" % (name, relay.received.count(what), what))
    check(watcher.received.count(MSG_MOVE) == 4 and watcher.received.count(MSG_SCORES) == 1 and
          MSG_GAME_STATE not in watcher.received, "the watcher saw %s" % watcher.received)
    check(expected == 40, "%d forgeries sent, not 40" % expected)
    server.stop()
    check("stopped, %d violations" % expected in server.lines,
          "the server did not count %d violations: %s" % (expected, server.lines[-3:]))
    if failures:
        print("\n".join(texts + server.lines))
    print("forgeries: %d refused, the mate ended the game" % expected)


def flood():
    # Every client at one desk, so that each message goes to all of them. Chat is bounded to five
    # short lines a second, so the flooder is a seated player whose game is under way, and what
    # it sends is a request to leave (relayed whatever its length) of 4000 bytes.
    server = Server("--max-desk", "400", "--max-per-address", "400")
    port = server.port()
    quiet = [Peer(port, 100 + i, 2) for i in range(300)]
    flooder = Peer(port, 99, 2, 0, 0xFFFF)
    partner = Peer(port, 97, 2, 1, 0xFFFF)
    check(flooder.wait_started(10) and partner.wait_started(10), "the players were not started")
    flooder.sock.sendall(flooder.frame(MSG_START_NOTICE, struct.pack(">HH", 0, 1)))
    partner.sock.sendall(partner.frame(MSG_START_NOTICE, struct.pack(">HH", 1, 1)))
    partner.sock.setblocking(False)
    chat = bytes(4000)
    flooder.sock.setblocking(False)
    sent, pending = 0, b""
    deadline = time.time() + 30
    while sent < 2000 and time.time() < deadline:
        if not pending:
            pending = flooder.frame(MSG_EXIT_REQUEST, chat)
            sent += 1
        _, writable, _ = select.select([], [flooder.sock], [], 0.05)
        try:
            if writable:
                pending = pending[flooder.sock.send(pending):]
            while True:
                data = flooder.sock.recv(1 << 20)
                if not data:
                    break
                flooder.take(data)
        except BlockingIOError:
            pass
        try:
            while partner.sock.recv(1 << 20):
                pass
        except BlockingIOError:
            pass
    # The last relays are made; the quiet ones have all gone by now.
    for _ in range(100):
        if sum("dropped: does not read" in line for line in server.lines) >= 300:
            break
        time.sleep(0.1)
    peak = server.peak_kib()
    dropped = sum("dropped: does not read" in line for line in server.lines)
    check(dropped == 300, "%d clients that do not read were dropped, not 300" % dropped)
    check(all("client 301 dropped" not in line for line in server.lines), "the flooder was dropped")
    check(server.lines.count("desk 2 game begins, seat 0 first") == 1, "the flood had no game")
    late = Peer(port, 98, 3)
    check(late.wait_started(10), "a new client was not answered after the flood")
    print("flood: %d requests of 4000 bytes, %d quiet clients dropped, server peak %.1f MB%s" %
          (sent, dropped, peak / 1024, " (AddressSanitizer: not judged)" if SANITIZED else ""))
    if not SANITIZED:
        check(peak < 100 * 1024, "the server grew to %d KiB" % peak)
    for peer in quiet + [flooder, partner, late]:
        peer.sock.close()
    server.stop()


def unread_log():
    read_end, write_end = os.pipe()
    fcntl.fcntl(write_end, F_SETPIPE_SZ, 4096)
    server = Server(stdout=write_end)
    os.close(write_end)
    first = b""
    while not first.endswith(b"\n"):
        first += os.read(read_end, 1)
    port = int(re.fullmatch(rb"listening 127\.0\.0\.1:(\d+)\n", first).group(1))
    # Entries fill the pipe; three damaged frames of each client are 180 violations.
    peers = [Peer(port, 200 + i, 4) for i in range(60)]
    for peer in peers:
        check(peer.wait_started(10), "a client was not started")
    for peer in peers:
        for _ in range(3):
            frame = bytearray(peer.frame(MSG_TABLE_CHAT, b"hello"))
            frame[HEAD] ^= 1
            peer.sock.sendall(bytes(frame))
    time.sleep(0.5)
    started = time.time()
    late = Peer(port, 300, 5)
    answered = late.wait_started(1.0)
    check(answered, "a new client waited more than 1 s for a server whose log is not read")
    print("unread log: a new client answered in %.3f s" % (time.time() - started))
    server.process.send_signal(signal.SIGTERM)
    text = b""
    while True:
        data = os.read(read_end, 65536)
        if not data:
            break
        text += data
    os.close(read_end)
    check(server.process.wait(timeout=30) == 0, "the server did not stop cleanly")
    lines = text.decode().splitlines()
    one_by_one = sum(line.startswith("violation client") for line in lines)
    summarised = sum(int(m.group(1)) for m in
                     (re.match(r"violations: (\d+) more", line) for line in lines) if m)
    check(lines and lines[-1] == "stopped, 180 violations", "last line %r" % lines[-1:])
    check(one_by_one + summarised == 180,
          "%d violations shown and %d summarised" % (one_by_one, summarised))
    print("unread log: %d violations one by one, %d summarised" % (one_by_one, summarised))
    for peer in peers + [late]:
        peer.sock.close()


def chat_body(user, text, seat=0, watchno=0xFFFF):
    """A chat line as a client sends it: the 48-byte head, its integers little-endian."""
    return struct.pack("<IHH", user, seat, watchno) + bytes(40) + text + b"\0"


def mended_rules(workdir):
    server = Server("--enter-limit", "2")
    port = server.port()
    check(port != 0, "the server did not listen")
    watcher = Peer(port, 3, 1, 0, 1)
    leaver = Peer(port, 4, 1, 0, 2)
    check(watcher.wait_started(10) and leaver.wait_started(10), "the watchers were not started")
    relays = [Relay(port), Relay(port)]
    bots, outputs = start_bots(relays, workdir, "-rules", ["--think", "2"])
    white_move = forgeries(0, 0)[0][1]
    long_line = b"a" * 600
    done = set()
    many, intruder = [], None
    deadline = time.time() + 60
    live = {watcher.sock, leaver.sock}
    for relay in relays:
        live |= {relay.bot, relay.upstream}
    while any(bot.poll() is None for bot in bots) and time.time() < deadline:
        pump(live, [watcher, intruder], relays)
        ply = plies_seen(relays[0].received)
        if ply >= 1 and "forged" not in done:
            done.add("forged")
            # The watcher.
            for type_, body in [(MSG_LEAVE_TABLE, struct.pack(">IHH", 2, 1, 1)),
                                (MSG_LEAVE_WATCH, struct.pack(">IHHI", 1, 0, 0xFFFF, 0)),
                                (MSG_TABLE_CHAT, b"")]:
                watcher.sock.sendall(watcher.frame(type_, body))
            watcher.sock.sendall(b"".join(
                watcher.frame(MSG_TABLE_CHAT, chat_body(1, long_line if i == 0 else b"hi %d" % i))
                for i in range(10)))
            # White and Black.
            relays[0].inject(MSG_LEAVE_TABLE, struct.pack(">IHH", 2, 1, 1))
            relays[0].inject(MSG_EXIT_ANSWER, struct.pack(">IHHIHH", 1, 0, 0, 2, 1, 0))
            relays[0].inject(MSG_GAME_RESULT, struct.pack(">HHHH", 0, 1, 0, 8))
            relays[0].inject(MSG_GAME_RESULT, struct.pack(">HHHH", 0, 1, 0, 7))
            relays[1].inject(MSG_GAME_RESULT, struct.pack(">HHHH", 1, 0, 0xFFFF, 4))
            # Someone else at White's seat, playing White's move.
            intruder = Peer(port, 666, 1, 0, 0xFFFF)
            check(intruder.wait_started(5), "the intruder was not started")
            intruder.sock.sendall(intruder.frame(MSG_MOVE, white_move))
            live.add(intruder.sock)
            # Silent sockets from another address.
            for _ in range(300):
                sock = socket.socket()
                sock.bind(("127.0.0.2", 0))
                sock.connect(("127.0.0.1", port))
                many.append(sock)
        if ply >= 2 and "left" not in done:
            done.add("left")
            live.discard(leaver.sock)
            leaver.sock.close()
    for bot in bots:
        if bot.poll() is None:
            bot.kill()
        check(bot.wait() == 0, "a bot exited with %s" % bot.returncode)
    # The sockets from 127.0.0.2: refused ones are closed at once, the others at the limit.
    closed = 0
    for sock in many:
        sock.settimeout(5)
        try:
            closed += sock.recv(1) == b""
        except (socket.timeout, ConnectionError):
            pass
        sock.close()
    texts = []
    for out in outputs:
        out.seek(0)
        texts.append(out.read())
    for seat, text in enumerate(texts):
        name = ["white", "black"][seat]
        results = re.findall(r"^recv 651 .*$", text, re.M)
        check(results and all(r.endswith("decisive=1 winner=1 reason=651") for r in results),
              "%s received results %s" % (name, results))
        before_result = text.split("recv 651", 1)[0]
        check(not re.search(r"^recv (3026|3032)", before_result, re.M),
              "%s got a forged leave or answer before its result" % name)
        chats = re.findall(r"^recv 3021 (.*)$", text, re.M)
        check(len(chats) == 5 and all(c.startswith("id=3 seat=0 watchno=1 ") for c in chats),
              "%s received the chat lines %s" % (name, [c[:40] for c in chats]))
        check(chats and chats[0].endswith(" line=" + "a" * 400),
              "%s: the long line was not cut to 400 bytes" % name)
        check(re.search(r"^recv 3027 id=4 seat=0 watchno=2$", text, re.M),
              "%s was not told that the watcher left" % name)
        check(relays[seat].received.count(MSG_MOVE) == 4, "%s saw %d moves" %
              (name, relays[seat].received.count(MSG_MOVE)))
    check(watcher.received.count(MSG_MOVE) == 4, "the watcher saw %s" % watcher.received)
    server.stop()
    stopped = [line for line in server.lines if line.startswith("stopped, ")]
    refused = sum("connections from 127.0.0.2 already" in line for line in server.lines)
    unentered = sum("did not enter a desk within 2 s" in line for line in server.lines)
    check("stopped, 9 violations" in server.lines,
          "the server did not count 9 violations: %s" % [l for l in server.lines
                                                         if l.startswith("violation")])
    check("chat lines dropped: 5" in server.lines, "the chat drops were not 5")
    check(refused == 44 and unentered == 256 and closed == 300,
          "from 127.0.0.2: %d refused, %d closed unentered, %d seen closed" %
          (refused, unentered, closed))
    if failures:
        print("\n".join(texts + server.lines[-60:]))
    print("mended rules: %s, 5 chat lines dropped, from 127.0.0.2 %d refused and %d closed "
          "unentered; the mate ended the game" % (stopped, refused, unentered))


def main():
    with tempfile.TemporaryDirectory() as workdir:
        forged_game(workdir)
        mended_rules(workdir)
    flood()
    unread_log()
    if failures:
        print("%d failed" % len(failures))
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
