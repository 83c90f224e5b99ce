// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePoint.h"
#include "chess/ChessTypes.h"

#include <cstdint>

namespace kelo {

// The squares each kind's pattern of movement can join, whatever stands on the board: a cheap
// first sieve before the full move tests, which run for every destination of every piece.
class CChessReach {
public:
    static bool Reachable(PieceKind kind, CBasePoint from, CBasePoint to) {
        const unsigned fromSlot = SlotOf(from);
        const unsigned toSlot = SlotOf(to);
        if ((fromSlot | toSlot) >= 64 || static_cast<uint16_t>(kind) >= KINDS)
            return true; // not for the sieve to judge
        return (s_table.masks[WireValue(kind)][fromSlot] >> toSlot) & 1;
    }

    // The squares from which some chess piece could reach the square at all: a queen's lines and
    // a knight's jumps (every piece's pattern lies within them, and both are symmetric). All
    // squares for a point off the board.
    static uint64_t AnyPieceReaching(CBasePoint to) {
        const unsigned slot = SlotOf(to);
        if (slot >= 64)
            return ~uint64_t{0};
        return s_table.masks[WireValue(PieceKind::Queen)][slot] |
               s_table.masks[WireValue(PieceKind::Knight)][slot];
    }

private:
    static constexpr int KINDS = 9;
    struct Masks {
        uint64_t masks[KINDS][64];
    };
    // x*8 + y for a square of the board, 64 or more for any other.
    static unsigned SlotOf(CBasePoint p) {
        const unsigned x = static_cast<uint16_t>(p.x), y = static_cast<uint16_t>(p.y);
        return (x | y | static_cast<uint16_t>(p.z)) < 8 ? x * 8 + y : 64;
    }
    static Masks Build();
    static const Masks s_table;
};

} // namespace kelo
