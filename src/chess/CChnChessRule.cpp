// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CChnChessRule.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBoardMap.h"
#include "chess/ChessTypes.h"

#include <cstdlib>

namespace kelo {

bool CChnChessRule::BeginBuild(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                               MoveRecord& out, CBasePiece*& target) const {
    out.from = from;
    out.to = to;
    out.colour = colour;
    out.kind = m_kind;
    out.special = SPECIAL_NONE;
    // The board map is read directly: the rules look at squares in their innermost loops.
    const CBoardMap& map = board.Position().BoardMap();
    const CBasePiece* mover = map.Get(from);
    if (mover != nullptr && mover->m_bUnmoved)
        out.flags |= FLAG_FIRST_MOVE;
    // A move of length 0 does not meet a piece of its own: the rule answers for the pattern,
    // and check-move refuses such a move before asking it.
    target = from == to && from.z == to.z ? nullptr : map.Get(to);
    return target == nullptr || target->m_colour != colour;
}

bool CChnChessRule::Accept(MoveRecord& out, const CBasePiece* target) {
    if (target != nullptr)
        out.flags |= FLAG_CAPTURE;
    return true;
}

bool CChnChessRule::PathClear(CBasePoint from, CBasePoint to, CBaseBoard& board) {
    const int sx = (to.x > from.x) - (to.x < from.x);
    const int sy = (to.y > from.y) - (to.y < from.y);
    const CBoardMap& map = board.Position().BoardMap();
    for (int x = from.x + sx, y = from.y + sy; x != to.x || y != to.y; x += sx, y += sy) {
        if (map.Get(CBasePoint(x, y)) != nullptr)
            return false;
    }
    return true;
}

bool CChnChessRule::CapturesKing(const MoveRecord& step, CBaseBoard& board) {
    const CBasePiece* mover = board.PieceAt(step.from);
    const CBasePiece* target = board.PieceAt(step.to);
    return mover != nullptr && target != nullptr && target->m_kind == PieceKind::King;
}

bool CChnChessRule::CheckMoveOnBoard(Colour colour, CBasePoint from, CBasePoint to,
                                     CBaseBoard& board, MoveRecord* out) {
    MoveRecord record;
    if (!BuildMove(colour, from, to, board, record))
        return false;
    CBaseDiagram& position = board.Position();
    if (!position.Apply(record))
        return false;
    const int32_t ownKing = position.Find(colour, PieceKind::King);
    const int32_t otherKing = position.Find(OppositeColour(colour), PieceKind::King);
    // The own king is looked at first: most refused moves fail there. The check flag is only
    // worked out for a legal move whose record the caller wants.
    const bool legal = ownKing != NO_SQUARE && otherKing != NO_SQUARE &&
                       !board.AttackedBy(OppositeColour(colour), CBasePoint::FromCode(ownKing));
    if (legal && out != nullptr && board.AttackedBy(colour, CBasePoint::FromCode(otherKing)))
        record.flags |= FLAG_CHECK;
    position.UndoLast();
    if (legal && out != nullptr)
        *out = record;
    return legal;
}

bool CChnChessRule::CheckMoveWithPromotion(Colour colour, CBasePoint from, CBasePoint to,
                                           CBaseBoard& board, PieceKind promotionKind,
                                           MoveRecord& out) {
    if (!CheckMove(colour, from, to, board, &out))
        return false;
    if (!board.IsPromotion(from, to))
        return true;
    out.special = PromotionSpecial(promotionKind);
    if (out.special == SPECIAL_NONE)
        return true;
    // The check is judged again with the new piece on the board: a queen from b7 on c8 checks
    // along the rank where the pawn did not, and a knight checks where the queen would not.
    CBaseDiagram& position = board.Position();
    if (position.Apply(out)) {
        const int32_t otherKing = position.Find(OppositeColour(colour), PieceKind::King);
        const bool check =
            otherKing != NO_SQUARE && board.AttackedBy(colour, CBasePoint::FromCode(otherKing));
        position.UndoLast();
        out.flags = static_cast<uint8_t>(check ? out.flags | FLAG_CHECK : out.flags & ~FLAG_CHECK);
    }
    return true;
}

bool CChnChessRule::AnyLegal(Colour colour, CBasePoint square, CBaseBoard& board,
                             const int (*offsets)[2], int count) {
    for (int i = 0; i < count; ++i) {
        CBasePoint to(square.x + offsets[i][0], square.y + offsets[i][1]);
        if (board.IsOnBoard(to) && CheckMove(colour, square, to, board, nullptr))
            return true;
    }
    return false;
}

bool CChnChessRule::AnyLegalOnLines(Colour colour, CBasePoint square, CBaseBoard& board,
                                    bool straight, bool diagonal) {
    for (int i = 0; i < 8; ++i) {
        if (straight && (CheckMove(colour, square, CBasePoint(i, square.y), board, nullptr) ||
                         CheckMove(colour, square, CBasePoint(square.x, i), board, nullptr)))
            return true;
        if (diagonal) {
            const int d = i - square.x;
            for (int y : {square.y + d, square.y - d}) {
                if (y >= 0 && y < 8 && CheckMove(colour, square, CBasePoint(i, y), board, nullptr))
                    return true;
            }
        }
    }
    return false;
}

} // namespace kelo
