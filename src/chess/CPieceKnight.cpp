// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPieceKnight.h"

#include <cstdlib>

namespace kelo {

namespace {
constexpr int JUMPS[8][2] = {{-1, -2}, {1, -2}, {-2, -1}, {2, -1},
                             {-2, 1},  {2, 1},  {-1, 2},  {1, 2}};
}

bool CPieceKnight::BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                             MoveRecord& out) {
    CBasePiece* target = nullptr;
    if (!BeginBuild(colour, from, to, board, out, target))
        return false;
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    if (!((dx == 1 && dy == 2) || (dx == 2 && dy == 1)))
        return false;
    return Accept(out, target);
}

bool CPieceKnight::HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) {
    return AnyLegal(colour, square, board, JUMPS, 8);
}

} // namespace kelo
