// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPieceQueen.h"

#include <cstdlib>

namespace kelo {

bool CPieceQueen::BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                            MoveRecord& out) {
    CBasePiece* target = nullptr;
    if (!BeginBuild(colour, from, to, board, out, target))
        return false;
    const bool straight = from.x == to.x || from.y == to.y;
    const bool diagonal = std::abs(to.x - from.x) == std::abs(to.y - from.y);
    if (!straight && !diagonal)
        return false;
    if (!PathClear(from, to, board))
        return false;
    return Accept(out, target);
}

bool CPieceQueen::HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) {
    return AnyLegalOnLines(colour, square, board, true, true);
}

} // namespace kelo
