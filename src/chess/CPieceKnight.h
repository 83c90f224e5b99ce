#pragma once

#include "chess/CChnChessRule.h"
#include "chess/ChessTypes.h"

namespace kelo {

class CPieceKnight : public CChnChessRule {
public:
    CPieceKnight() : CChnChessRule(KIND_KNIGHT) {}
    bool BuildMove(int16_t colour, CBasePoint from, CBasePoint to, CBaseBoard& board,
                   MoveRecord& out) override;
    bool HasLegalMoveFrom(int16_t colour, CBasePoint square, CBaseBoard& board) override;
};

} // namespace kelo
