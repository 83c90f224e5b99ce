// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPiecePawn.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"

#include <cstdlib>

namespace kelo {

namespace {
// Both directions are tried; check-move keeps the forward ones.
constexpr int CANDIDATES[8][2] = {{-1, 1},  {0, 1},  {1, 1},  {0, 2},
                                  {-1, -1}, {0, -1}, {1, -1}, {0, -2}};
} // namespace

bool CPiecePawn::BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                           MoveRecord& out) {
    CBasePiece* target = nullptr;
    if (!BeginBuild(colour, from, to, board, out, target))
        return false;
    // In the pawn's own orientation forward is always towards smaller y.
    const Colour bottom = board.BottomColour();
    const CBasePoint f = board.OrientationTransform(from, colour, bottom);
    const CBasePoint t = board.OrientationTransform(to, colour, bottom);

    if (t.x == f.x) {
        if (target != nullptr)
            return false;
        if (t.y == f.y - 1)
            return true;
        const CBasePiece* pawn = board.PieceAt(from);
        return t.y == f.y - 2 && pawn != nullptr && pawn->m_bUnmoved &&
               !board.HasPieceAt(CBasePoint(from.x, (from.y + to.y) / 2));
    }
    if (t.y != f.y - 1 || std::abs(t.x - f.x) != 1)
        return false;
    if (target != nullptr)
        return Accept(out, target);

    // En passant: only right after the other side's double step beside this pawn.
    const Colour enemy = OppositeColour(colour);
    const CBasePiece* passed = board.PieceAt(CBasePoint(to.x, from.y));
    if (passed == nullptr || passed->m_kind != PieceKind::Pawn || passed->m_colour != enemy ||
        f.y != 3)
        return false;
    MoveRecord last;
    if (!board.Position().LastMove(last))
        return false;
    const int startRow = colour == Colour::White ? 1 : 6;
    const int endRow = colour == Colour::White ? 3 : 4;
    if (last.colour != enemy || !(last.flags & FLAG_FIRST_MOVE) ||
        last.from != CBasePoint(to.x, startRow) || last.to != CBasePoint(to.x, endRow))
        return false;
    out.special = SPECIAL_EN_PASSANT;
    return true;
}

bool CPiecePawn::HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) {
    return AnyLegal(colour, square, board, CANDIDATES, 8);
}

} // namespace kelo
