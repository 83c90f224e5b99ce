// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPieceRook.h"

namespace kelo {

bool CPieceRook::BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                           MoveRecord& out) {
    CBasePiece* target = nullptr;
    if (!BeginBuild(colour, from, to, board, out, target))
        return false;
    if (from.x != to.x && from.y != to.y)
        return false;
    if (!PathClear(from, to, board))
        return false;
    return Accept(out, target);
}

bool CPieceRook::HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) {
    return AnyLegalOnLines(colour, square, board, true, false);
}

} // namespace kelo
