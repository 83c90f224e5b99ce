// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPieceKing.h"

#include "chess/CBaseBoard.h"

#include <cstdlib>

namespace kelo {

namespace {
constexpr int NEIGHBOURS[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                  {1, 0},   {-1, 1}, {0, 1},  {1, 1}};

bool IsUnmovedRook(CBaseBoard& board, CBasePoint p) {
    const CBasePiece* piece = board.PieceAt(p);
    return piece != nullptr && piece->m_kind == PieceKind::Rook && piece->m_bUnmoved;
}
} // namespace

bool CPieceKing::BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                           MoveRecord& out) {
    CBasePiece* target = nullptr;
    if (!BeginBuild(colour, from, to, board, out, target))
        return false;
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    if (dx <= 1 && dy <= 1 && dx + dy != 0)
        return Accept(out, target);

    // Castling. The king's own column is not looked at: both kings start on x = 4.
    const CBasePiece* king = board.PieceAt(from);
    if (king == nullptr || !king->m_bUnmoved || to.y != from.y)
        return false;
    const int y = from.y;
    const Colour enemy = OppositeColour(colour);
    if (to.x == 2) {
        if (board.HasPieceAt(CBasePoint(1, y)) || board.HasPieceAt(CBasePoint(2, y)) ||
            board.HasPieceAt(CBasePoint(3, y)) || !IsUnmovedRook(board, CBasePoint(0, y)) ||
            board.AttackedBy(enemy, CBasePoint(3, y)) || board.AttackedBy(enemy, CBasePoint(4, y)))
            return false;
        out.special = SPECIAL_CASTLE_QUEEN;
        return true;
    }
    if (to.x == 6) {
        if (board.HasPieceAt(CBasePoint(5, y)) || board.HasPieceAt(CBasePoint(6, y)) ||
            !IsUnmovedRook(board, CBasePoint(7, y)) || board.AttackedBy(enemy, CBasePoint(4, y)) ||
            board.AttackedBy(enemy, CBasePoint(5, y)))
            return false;
        out.special = SPECIAL_CASTLE_KING;
        return true;
    }
    return false;
}

bool CPieceKing::HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) {
    return AnyLegal(colour, square, board, NEIGHBOURS, 8);
}

} // namespace kelo
