// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPieceBishop.h"

#include <cstdlib>

namespace kelo {

bool CPieceBishop::BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                             MoveRecord& out) {
    CBasePiece* target = nullptr;
    if (!BeginBuild(colour, from, to, board, out, target))
        return false;
    if (std::abs(to.x - from.x) != std::abs(to.y - from.y))
        return false;
    if (!PathClear(from, to, board))
        return false;
    return Accept(out, target);
}

bool CPieceBishop::HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) {
    return AnyLegalOnLines(colour, square, board, false, true);
}

} // namespace kelo
