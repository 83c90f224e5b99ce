// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CPerft.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/CBaseRuleFactory.h"
#include "chess/CChnChessRule.h"
#include "chess/CCoordinateMove.h"
#include "chess/ChessTypes.h"

#include <array>

namespace kelo {

namespace {

// Calls f(record) for every legal move of the colour, promotions once per choice. Without
// needRecord the record is only filled for pawn moves.
template <typename F>
void ForEachLegalMove(CBaseBoard& board, Colour colour, bool needRecord, F&& f) {
    // Moves played below this node change the live map; they are all taken back again, but
    // walk a copy so the walk does not depend on that.
    const CBoardMap snapshot = board.Position().BoardMap();
    CBaseRuleFactory& rules = board.RuleFactory();
    snapshot.ForEachOfColour(colour, [&](int32_t code, const CBasePiece* piece) {
        CBaseRule* rule = rules.RuleForKind(piece->m_kind);
        if (rule == nullptr)
            return false;
        // Chess rules are asked without a virtual call, so their cheap refusals inline.
        auto* chessRule = rule->AsChessRule();
        const CBasePoint from = CBasePoint::FromCode(code);
        const bool pawn = piece->m_kind == PieceKind::Pawn;
        MoveRecord record;
        // A promotion needs the record for its four choices.
        MoveRecord* out = needRecord || pawn ? &record : nullptr;
        for (int slot = 0; slot < CBoardMap::SLOTS; ++slot) {
            const CBasePoint& to = CBoardMap::PointOfSlot(slot);
            const bool legal = chessRule != nullptr
                                   ? chessRule->CheckMove(colour, from, to, board, out)
                                   : rule->CheckMove(colour, from, to, board, out);
            if (!legal)
                continue;
            if (pawn && (to.y == 0 || to.y == 7)) {
                for (uint8_t special = SPECIAL_PROMOTE_QUEEN; special <= SPECIAL_PROMOTE_BISHOP;
                     ++special) {
                    record.special = special;
                    f(record);
                }
            } else {
                f(record);
            }
        }
        return false;
    });
}

} // namespace

uint64_t CPerft::Count(Colour colour, int depth) {
    if (depth <= 0)
        return 1;
    uint64_t nodes = 0;
    CBaseDiagram& position = m_board.Position();
    ForEachLegalMove(m_board, colour, depth > 1, [&](const MoveRecord& record) {
        if (depth == 1) {
            ++nodes;
            return;
        }
        position.Apply(record);
        nodes += Count(OppositeColour(colour), depth - 1);
        position.UndoLast();
    });
    return nodes;
}

std::vector<std::pair<std::string, uint64_t>> CPerft::Divide(Colour colour, int depth) {
    std::vector<std::pair<std::string, uint64_t>> result;
    if (depth <= 0)
        return result;
    CBaseDiagram& position = m_board.Position();
    ForEachLegalMove(m_board, colour, true, [&](const MoveRecord& record) {
        position.Apply(record);
        result.emplace_back(CCoordinateMove::Format(record.from, record.to, record.special),
                            Count(OppositeColour(colour), depth - 1));
        position.UndoLast();
    });
    return result;
}

} // namespace kelo
