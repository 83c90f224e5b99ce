// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseRule.h"
#include "chess/CChessReach.h"

namespace kelo {

class CBasePiece;

// The tests that every chess piece shares; each kind adds its own movement.
class CChnChessRule : public CBaseRule {
public:
    bool StepTest(const MoveRecord&, CBaseBoard&) override { return false; }
    bool StepTestSquares(CBasePoint, CBasePoint, CBaseBoard&) override { return false; }
    bool CapturesKing(const MoveRecord& step, CBaseBoard& board) override;
    bool CapturesKingByOther(const MoveRecord&, CBaseBoard&) override { return false; }
    // The cheap refusals are made here, inline, because the callers ask about every
    // destination of a piece; the rest of the test is out of line.
    bool CheckMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                   MoveRecord* out) final {
        if (!Reachable(from, to) || from.Code() == to.Code())
            return false;
        return CheckMoveOnBoard(colour, from, to, board, out);
    }
    bool CheckMoveWithPromotion(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                                PieceKind promotionKind, MoveRecord& out) override;
    // Whether the piece's pattern of movement can join the two squares at all, whatever stands
    // on the board; a cheap first sieve before the full tests.
    bool GeometricTest(CBasePoint from, CBasePoint to) override { return Reachable(from, to); }
    bool Reachable(CBasePoint from, CBasePoint to) const {
        return CChessReach::Reachable(m_kind, from, to);
    }
    bool OwnKingAttacked(Colour, CBaseBoard&) override { return false; }
    CChnChessRule* AsChessRule() override { return this; }

protected:
    bool CheckMoveOnBoard(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                          MoveRecord* out);

    explicit CChnChessRule(PieceKind kind) : m_kind(kind) {}

    // Common start of every build-move: fills the record, marks a first move, and refuses a
    // destination held by the mover's own colour. target receives the piece on the
    // destination.
    bool BeginBuild(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                    MoveRecord& out, CBasePiece*& target) const;
    // Accepts a move whose destination holds target, marking a capture.
    static bool Accept(MoveRecord& out, const CBasePiece* target);
    // True when every square strictly between from and to (on a line) is empty.
    static bool PathClear(CBasePoint from, CBasePoint to, CBaseBoard& board);
    // Tries check-move to each candidate (dx, dy) offset that lies on the board.
    bool AnyLegal(Colour colour, CBasePoint square, CBaseBoard& board, const int (*offsets)[2],
                  int count);
    // Tries check-move to every square of the lines through the square.
    bool AnyLegalOnLines(Colour colour, CBasePoint square, CBaseBoard& board, bool straight,
                         bool diagonal);

    PieceKind m_kind;
};

} // namespace kelo
