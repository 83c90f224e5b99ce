#include "chess/CPerft.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/CBaseRuleFactory.h"
#include "chess/ChessTypes.h"

namespace kelo {

namespace {

// Calls f(record) for every legal move of the colour, promotions once per choice.
template <typename F> void ForEachLegalMove(CBaseBoard& board, int16_t colour, F&& f) {
    // Moves played below this node change the live map; they are all taken back again, but
    // walk a copy so the walk does not depend on that.
    const CBoardMap snapshot = board.Position().BoardMap();
    CBaseRuleFactory& rules = board.RuleFactory();
    for (int slot = 0; slot < CBoardMap::SLOTS; ++slot) {
        const CBasePiece* piece = snapshot.Slot(slot);
        if (piece == nullptr || piece->m_nColour != colour)
            continue;
        CBaseRule* rule = rules.RuleForKind(piece->m_nKind);
        if (rule == nullptr)
            continue;
        const CBasePoint from = CBasePoint::FromCode(CBoardMap::CodeOfSlot(slot));
        for (int target = 0; target < CBoardMap::SLOTS; ++target) {
            const CBasePoint to = CBasePoint::FromCode(CBoardMap::CodeOfSlot(target));
            MoveRecord record;
            if (!rule->CheckMove(colour, from, to, board, &record))
                continue;
            if (piece->m_nKind == KIND_PAWN && (to.y == 0 || to.y == 7)) {
                for (uint8_t special = SPECIAL_PROMOTE_QUEEN; special <= SPECIAL_PROMOTE_BISHOP;
                     ++special) {
                    record.special = special;
                    f(record);
                }
            } else {
                f(record);
            }
        }
    }
}

} // namespace

uint64_t CPerft::Count(int16_t colour, int depth) {
    if (depth <= 0)
        return 1;
    uint64_t nodes = 0;
    CBaseDiagram& position = m_board.Position();
    ForEachLegalMove(m_board, colour, [&](const MoveRecord& record) {
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

std::vector<std::pair<std::string, uint64_t>> CPerft::Divide(int16_t colour, int depth) {
    std::vector<std::pair<std::string, uint64_t>> result;
    if (depth <= 0)
        return result;
    CBaseDiagram& position = m_board.Position();
    ForEachLegalMove(m_board, colour, [&](const MoveRecord& record) {
        position.Apply(record);
        result.emplace_back(CoordinateText(record.from, record.to, record.special),
                            Count(OppositeColour(colour), depth - 1));
        position.UndoLast();
    });
    return result;
}

std::string CPerft::CoordinateText(int32_t from, int32_t to, uint8_t special) {
    std::string text;
    for (int32_t code : {from, to}) {
        text += static_cast<char>('a' + code / 100);
        text += static_cast<char>('0' + 8 - code % 100);
    }
    static const char promotion[] = " qrnb";
    if (special >= SPECIAL_PROMOTE_QUEEN && special <= SPECIAL_PROMOTE_BISHOP)
        text += promotion[special];
    return text;
}

} // namespace kelo
