// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CChnChessRule.h"
#include "chess/ChessTypes.h"

namespace kelo {

class CPieceQueen : public CChnChessRule {
public:
    CPieceQueen() : CChnChessRule(PieceKind::Queen) {}
    bool BuildMove(Colour colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                   MoveRecord& out) override;
    bool HasLegalMoveFrom(Colour colour, CBasePoint square, CBaseBoard& board) override;
};

} // namespace kelo
