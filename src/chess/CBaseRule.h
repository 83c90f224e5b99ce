// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePoint.h"
#include "chess/MoveRecord.h"

namespace kelo {

class CBaseBoard;
class CChnChessRule;

// Movement rules of a board game. Rule objects hold no state; one object serves every piece
// of its kind. Squares are in the model orientation.
class CBaseRule {
public:
    virtual ~CBaseRule() = default;

    // Step tests of the rule family that chess does not use.
    virtual bool StepTest(const MoveRecord& step, CBaseBoard& board) = 0;
    virtual bool StepTestSquares(CBasePoint from, CBasePoint to, CBaseBoard& board) = 0;
    // True when pieces stand on both squares of the step and the one on the destination is a
    // king.
    virtual bool CapturesKing(const MoveRecord& step, CBaseBoard& board) = 0;
    virtual bool CapturesKingByOther(const MoveRecord& step, CBaseBoard& board) = 0;
    // Full legality: the piece's own rule and the own king not left attacked. The complete
    // record (with the check flag) is copied to out when given and the move is legal.
    virtual bool CheckMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                           MoveRecord* out) = 0;
    // CheckMove, then the promotion for a pawn reaching the last row: promotionKind is the
    // piece the user chose (the caller asks; a kind that is no promotion piece leaves the
    // record without a promotion).
    virtual bool CheckMoveWithPromotion(Colour colour, CBasePoint from, CBasePoint to,
                                        CBaseBoard& board, PieceKind promotionKind,
                                        MoveRecord& out) = 0;
    // The piece's own movement rule, check to the own king not considered.
    virtual bool BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                           MoveRecord& out) = 0;
    virtual bool HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) = 0;
    virtual bool GeometricTest(CBasePoint from, CBasePoint to) = 0;
    virtual bool OwnKingAttacked(Colour colour, CBaseBoard& board) = 0;

    // The rule as a chess rule, or null; lets hot loops call it without a dynamic cast.
    virtual CChnChessRule* AsChessRule() { return nullptr; }
};

} // namespace kelo
