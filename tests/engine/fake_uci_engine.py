#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A UCI chess engine for tests: it answers as its options tell it, so that a test knows the
answer in advance. Only the standard library is used.

It speaks enough UCI for a client: uci (id name, the offered options, uciok), isready/readyok,
setoption, ucinewgame, position startpos|fen ... [moves ...], go ..., stop, quit. The end of its
input counts as quit. Each search answers "bestmove <move>" (no ponder move).

Options (each may also come from the environment variable FAKE_UCI_ENGINE_ARGS, split as a shell
would; options on the command line win):

  --name NAME          the "id name" (default: "Fake UCI Engine 1.0")
  --offer LIST         the options offered, comma-separated (default: "Threads,Hash"; "none"
                       offers none). Threads, Hash, Skill Level, MultiPV and Move Overhead are
                       spins, Clear Hash a button, Ponder and UCI_* checks, any other a string.
  --moves LIST         the bestmove texts of the searches in turn, comma-separated; once they
                       are used up the searches answer as without them
  --bestmove TEXT      every search answers this text as it is: "(none)", "0000", an illegal
                       move ("e2e5"), garbage ("x!"); an empty TEXT answers a bare "bestmove"
  --pick first|random  without --bestmove or --moves left: the first legal move of the searched
                       position in a fixed order (by the piece's square a1, b1 .. h1, a2 ..
                       h8, then as the targets are generated), or a random one (with
                       --seed N); "(none)" when there is none (mate or stalemate)
  --seed N             the seed of --pick random (default 1)
  --think-ms N         the time a search takes before it answers (default 0); "stop" answers at
                       once. "go infinite" and "go ponder" answer only on "stop".
  --stall MODE         none (default); until-stop: every search ignores its limits (movetime,
                       clocks, depth) and answers only on "stop"; forever: no search ever
                       answers, not even on "stop" (isready and quit are still answered)
  --crash-after N      answers N searches, then is killed (SIGKILL) by the next "go", after one
                       info line
  --exit-at-start CODE exits with CODE at once, before reading anything
  --no-uciok           never says uciok (the ids and options still come)
  --no-readyok         never answers isready
  --chatter            before each bestmove: lines a client must bear (garbage, a stray uciok,
                       a late id and option, "info string", unknown info tokens, numbers out
                       of range), info lines with mate scores, lower and upper bounds, multipv
                       and a long pv
  --score TEXT         the score of the search's info line, e.g. "cp -1200" or "mate -3"
                       (default "cp 20"); every search sends one info line "info depth 1 score
                       TEXT nodes 1 pv <move>" before its bestmove
  --crlf               ends its lines with "\\r\\n"
  --log FILE           appends what it reads ("< line") and writes ("> line") to FILE

Examples:
  fake_uci_engine.py --name "Fake 1" --offer "Threads,Hash,Skill Level"
  fake_uci_engine.py --bestmove e2e5          (an illegal answer)
  fake_uci_engine.py --stall until-stop       (ignores movetime)
  fake_uci_engine.py --crash-after 3          (dies in its fourth search)
"""

import argparse
import os
import random
import select
import shlex
import signal
import sys
import time

START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

OPTION_TYPES = {
    "threads": "spin default 1 min 1 max 512",
    "hash": "spin default 16 min 1 max 33554432",
    "skill level": "spin default 20 min 0 max 20",
    "multipv": "spin default 1 min 1 max 500",
    "move overhead": "spin default 10 min 0 max 5000",
    "clear hash": "button",
    "ponder": "check default false",
}


# --- The rules, just enough to name a legal move -------------------------------------------

KNIGHT_STEPS = ((1, 2), (2, 1), (-1, 2), (-2, 1), (1, -2), (2, -1), (-1, -2), (-2, -1))
KING_STEPS = ((1, 0), (-1, 0), (0, 1), (0, -1), (1, 1), (1, -1), (-1, 1), (-1, -1))

def square(name):
    return (ord(name[0]) - ord("a")) + 8 * (int(name[1]) - 1)


def name_of(sq):
    return "abcdefgh"[sq % 8] + str(sq // 8 + 1)


class Position:
    """A board of 64 squares (a1 = 0, h8 = 63), pieces as FEN letters, None for empty."""

    def __init__(self, fen=START_FEN):
        fields = fen.split()
        self.board = [None] * 64
        rank = 7
        file = 0
        for c in fields[0]:
            if c == "/":
                rank -= 1
                file = 0
            elif c.isdigit():
                file += int(c)
            else:
                if 0 <= file < 8 and 0 <= rank < 8:
                    self.board[rank * 8 + file] = c
                file += 1
        self.white = len(fields) < 2 or fields[1] != "b"
        self.castling = fields[2] if len(fields) > 2 and fields[2] != "-" else ""
        self.ep = square(fields[3]) if len(fields) > 3 and len(fields[3]) == 2 else None

    def own(self, piece, white):
        return piece is not None and piece.isupper() == white

    def attacked(self, sq, by_white):
        """Whether a piece of by_white attacks sq."""
        b = self.board
        f, r = sq % 8, sq // 8
        pawn_rank = r - 1 if by_white else r + 1
        for df in (-1, 1):
            if 0 <= f + df < 8 and 0 <= pawn_rank < 8:
                p = b[pawn_rank * 8 + f + df]
                if p == ("P" if by_white else "p"):
                    return True
        for df, dr in KNIGHT_STEPS:
            if 0 <= f + df < 8 and 0 <= r + dr < 8:
                if b[(r + dr) * 8 + f + df] == ("N" if by_white else "n"):
                    return True
        for df in (-1, 0, 1):
            for dr in (-1, 0, 1):
                if (df or dr) and 0 <= f + df < 8 and 0 <= r + dr < 8:
                    if b[(r + dr) * 8 + f + df] == ("K" if by_white else "k"):
                        return True
        lines = [(d, "RQ") for d in ((1, 0), (-1, 0), (0, 1), (0, -1))] + \
            [(d, "BQ") for d in ((1, 1), (1, -1), (-1, 1), (-1, -1))]
        for (df, dr), kinds in lines:
            x, y = f + df, r + dr
            while 0 <= x < 8 and 0 <= y < 8:
                p = b[y * 8 + x]
                if p is not None:
                    if p.isupper() == by_white and p.upper() in kinds:
                        return True
                    break
                x += df
                y += dr
        return False

    def king_attacked(self, white):
        king = "K" if white else "k"
        if king not in self.board:
            return False
        return self.attacked(self.board.index(king), not white)

    def pseudo_moves(self):
        b, white = self.board, self.white
        moves = []
        for sq in range(64):
            p = b[sq]
            if not self.own(p, white):
                continue
            f, r = sq % 8, sq // 8
            kind = p.upper()
            if kind == "P":
                step = 8 if white else -8
                last = 7 if white else 0
                start = 1 if white else 6

                def add(to):
                    if to // 8 == last:
                        moves.extend(name_of(sq) + name_of(to) + c for c in "qrbn")
                    else:
                        moves.append(name_of(sq) + name_of(to))
                to = sq + step
                if 0 <= to < 64 and b[to] is None:
                    add(to)
                    if r == start and b[to + step] is None:
                        moves.append(name_of(sq) + name_of(to + step))
                for df in (-1, 1):
                    if 0 <= f + df < 8 and 0 <= to + df < 64:
                        target = to + df
                        if (b[target] is not None and not self.own(b[target], white)) or \
                                target == self.ep:
                            add(target)
            elif kind in "NK":
                offsets = KNIGHT_STEPS if kind == "N" else KING_STEPS
                for df, dr in offsets:
                    x, y = f + df, r + dr
                    if 0 <= x < 8 and 0 <= y < 8 and not self.own(b[y * 8 + x], white):
                        moves.append(name_of(sq) + name_of(y * 8 + x))
                if kind == "K":
                    home = 0 if white else 56
                    rights = self.castling if white else self.castling.lower()
                    k, q = ("K", "Q") if white else ("k", "q")
                    if sq == home + 4 and not self.attacked(sq, not white):
                        if k in rights and b[home + 5] is None and b[home + 6] is None and \
                                b[home + 7] == ("R" if white else "r") and \
                                not self.attacked(home + 5, not white):
                            moves.append(name_of(sq) + name_of(home + 6))
                        if q in rights and b[home + 3] is None and b[home + 2] is None and \
                                b[home + 1] is None and b[home] == ("R" if white else "r") and \
                                not self.attacked(home + 3, not white):
                            moves.append(name_of(sq) + name_of(home + 2))
            else:
                lines = []
                if kind in "RQ":
                    lines += [(1, 0), (-1, 0), (0, 1), (0, -1)]
                if kind in "BQ":
                    lines += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
                for df, dr in lines:
                    x, y = f + df, r + dr
                    while 0 <= x < 8 and 0 <= y < 8:
                        target = b[y * 8 + x]
                        if self.own(target, white):
                            break
                        moves.append(name_of(sq) + name_of(y * 8 + x))
                        if target is not None:
                            break
                        x += df
                        y += dr
        return moves

    def play(self, move):
        """Plays a move in coordinate form without asking whether it is legal."""
        b = self.board
        frm, to = square(move[0:2]), square(move[2:4])
        p = b[frm]
        if p is None:
            return
        kind = p.upper()
        if kind == "P" and to == self.ep:
            b[to + (-8 if self.white else 8)] = None
        if kind == "K" and abs(to - frm) == 2:
            rook_from, rook_to = (frm + 3, frm + 1) if to > frm else (frm - 4, frm - 1)
            b[rook_to], b[rook_from] = b[rook_from], None
        b[to], b[frm] = p, None
        if len(move) == 5:
            b[to] = move[4].upper() if self.white else move[4].lower()
        self.ep = (frm + to) // 2 if kind == "P" and abs(to - frm) == 16 else None
        for corner, right in ((0, "Q"), (7, "K"), (56, "q"), (63, "k"), (4, "KQ"), (60, "kq")):
            if frm == corner or to == corner:
                self.castling = "".join(c for c in self.castling if c not in right)
        self.white = not self.white

    def legal_moves(self):
        legal = []
        for move in self.pseudo_moves():
            after = Position.__new__(Position)
            after.board = list(self.board)
            after.white, after.castling, after.ep = self.white, self.castling, self.ep
            after.play(move)
            if not after.king_attacked(self.white):
                legal.append(move)
        return legal


# --- The engine ----------------------------------------------------------------------------

class Engine:
    def __init__(self, options):
        self.o = options
        self.position = Position()
        self.searches = 0
        self.scripted = [m for m in options.moves.split(",") if m] if options.moves else []
        self.random = random.Random(options.seed)
        # The running search: when it answers (None: only on stop), its answer.
        self.searching = False
        self.deadline = None
        self.log = open(options.log, "a", encoding="utf-8") if options.log else None

    def say(self, line):
        end = "\r\n" if self.o.crlf else "\n"
        sys.stdout.write(line + end)
        sys.stdout.flush()
        if self.log:
            self.log.write("> " + line + "\n")
            self.log.flush()

    def answer(self):
        if self.o.chatter:
            for line in CHATTER:
                self.say(line)
        move = self.choose()
        self.say("info depth 1 score %s nodes 1 pv %s" % (self.o.score, move))
        self.say("bestmove" if move == "" else "bestmove " + move)
        self.searching = False
        self.deadline = None

    def choose(self):
        if self.o.bestmove is not None:
            return self.o.bestmove
        if self.searches <= len(self.scripted):
            return self.scripted[self.searches - 1]
        legal = self.position.legal_moves()
        if not legal:
            return "(none)"
        return self.random.choice(legal) if self.o.pick == "random" else legal[0]

    def set_position(self, words):
        try:
            if words[1] == "startpos":
                self.position = Position()
                rest = words[2:]
            elif words[1] == "fen":
                fen_end = words.index("moves") if "moves" in words else len(words)
                self.position = Position(" ".join(words[2:fen_end]))
                rest = words[fen_end:]
            else:
                return
            for move in rest[1:] if rest and rest[0] == "moves" else []:
                self.position.play(move)
        except (IndexError, ValueError):
            self.position = Position()

    def go(self, words):
        self.searches += 1
        if self.o.crash_after is not None and self.searches > self.o.crash_after:
            self.say("info depth 1 score cp 0 nodes 1")
            os.kill(os.getpid(), signal.SIGKILL)
        self.searching = True
        if self.o.stall != "none" or "infinite" in words or "ponder" in words:
            self.deadline = None
        else:
            self.deadline = time.monotonic() + self.o.think_ms / 1000.0

    def handle(self, line):
        if self.log:
            self.log.write("< " + line + "\n")
            self.log.flush()
        words = line.split()
        if not words:
            return True
        command = words[0]
        if command == "uci":
            self.say("id name " + self.o.name)
            self.say("id author the tests")
            for name in self.offered():
                self.say("option name %s type %s" % (name, OPTION_TYPES.get(
                    name.lower(), "check default false" if name.startswith("UCI_")
                    else "string default <empty>")))
            if not self.o.no_uciok:
                self.say("uciok")
        elif command == "isready":
            if not self.o.no_readyok:
                self.say("readyok")
        elif command == "position":
            self.set_position(words)
        elif command == "go":
            self.go(words)
        elif command == "stop":
            if self.searching and self.o.stall != "forever":
                self.answer()
        elif command == "quit":
            return False
        return True

    def offered(self):
        if self.o.offer.strip().lower() == "none":
            return []
        return [name.strip() for name in self.o.offer.split(",") if name.strip()]

    def run(self):
        pending = b""
        stdin = sys.stdin.fileno()
        while True:
            timeout = None
            if self.searching and self.deadline is not None:
                timeout = max(0.0, self.deadline - time.monotonic())
            ready, _, _ = select.select([stdin], [], [], timeout)
            if not ready:
                self.answer()
                continue
            data = os.read(stdin, 65536)
            if not data:
                return
            pending += data
            while b"\n" in pending:
                raw, pending = pending.split(b"\n", 1)
                if not self.handle(raw.decode("utf-8", "replace").rstrip("\r")):
                    return
                # A search that is due answers before the next line is read.
                if self.searching and self.deadline is not None and \
                        time.monotonic() >= self.deadline:
                    self.answer()


# What a client must bear: none of it may change what it does.
CHATTER = [
    "",
    "   ",
    "garbage that is no command",
    "uciok",
    "info string NNUE evaluation using nn-fake.nnue enabled",
    "info depth 99999999999999999999 score cp 99999999999999999999",
    "info depth x nodes -1 multipv 0 score bogus 3",
    "info currmove e2e4 currmovenumber 1 wdl 100 800 100 hashfull 5 tbhits 0",
    "info depth 7 seldepth 9 multipv 1 score mate 3 lowerbound nodes 1234 nps 5000 time 20 "
    "pv e2e4 e7e5 g1f3",
    "info depth 7 multipv 2 score mate -2 upperbound nodes 1300 pv d2d4",
    "info depth 8 score cp -35 upperbound nodes 2000 pv " + " ".join(["g1f3 g8f6 f3g1 f6g8"] * 40),
    "id name Not Now",
    "option name Late type check default false",
]


def parse(argv):
    parser = argparse.ArgumentParser(description="A UCI chess engine for tests.")
    parser.add_argument("--name", default="Fake UCI Engine 1.0")
    parser.add_argument("--offer", default="Threads,Hash")
    parser.add_argument("--moves", default="")
    parser.add_argument("--bestmove", default=None)
    parser.add_argument("--pick", choices=["first", "random"], default="first")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--think-ms", type=int, default=0)
    parser.add_argument("--stall", choices=["none", "until-stop", "forever"], default="none")
    parser.add_argument("--crash-after", type=int, default=None)
    parser.add_argument("--exit-at-start", type=int, default=None)
    parser.add_argument("--no-uciok", action="store_true")
    parser.add_argument("--no-readyok", action="store_true")
    parser.add_argument("--chatter", action="store_true")
    parser.add_argument("--score", default="cp 20")
    parser.add_argument("--crlf", action="store_true")
    parser.add_argument("--log", default=None)
    return parser.parse_args(argv)


def main():
    options = parse(shlex.split(os.environ.get("FAKE_UCI_ENGINE_ARGS", "")) + sys.argv[1:])
    if options.exit_at_start is not None:
        sys.exit(options.exit_at_start)
    # A client that goes away must not leave a traceback behind.
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    Engine(options).run()


if __name__ == "__main__":
    main()
