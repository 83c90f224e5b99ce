// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CChessReach.h"

#include "chess/ChessTypes.h"

#include <cstdlib>

namespace kelo {

namespace {

bool ReachableByPattern(PieceKind kind, int fx, int fy, int tx, int ty) {
    const int dx = std::abs(tx - fx);
    const int dy = std::abs(ty - fy);
    switch (kind) {
    case PieceKind::King: // a step, or the two castling destinations on the same row
        return (dx <= 1 && dy <= 1) || (dy == 0 && (tx == 2 || tx == 6));
    case PieceKind::Knight:
        return (dx == 1 && dy == 2) || (dx == 2 && dy == 1);
    case PieceKind::Rook:
        return dx == 0 || dy == 0;
    case PieceKind::Bishop:
        return dx == dy;
    case PieceKind::Queen:
        return dx == 0 || dy == 0 || dx == dy;
    case PieceKind::Pawn: // either direction; the pawn rule decides which is forward
        return (dx <= 1 && dy == 1) || (dx == 0 && dy == 2);
    default:
        return true;
    }
}

} // namespace

CChessReach::Masks CChessReach::Build() {
    Masks table{};
    for (int16_t code = 0; code < KINDS; ++code) {
        const PieceKind kind = KindFromWire(code);
        for (int from = 0; from < 64; ++from) {
            uint64_t mask = 0;
            for (int to = 0; to < 64; ++to) {
                if (ReachableByPattern(kind, from / 8, from % 8, to / 8, to % 8))
                    mask |= uint64_t{1} << to;
            }
            table.masks[code][from] = mask;
        }
    }
    return table;
}

const CChessReach::Masks CChessReach::s_table = CChessReach::Build();

} // namespace kelo
