#include "support/ChessTable.h"

#include "chess/CBaseRule.h"
#include "chess/CCoordinateMove.h"
#include "chess/CFenReader.h"
#include "chess/ChessTypes.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelo::test {

ChessTable::ChessTable(uint32_t ownId)
    : board(context.Board(context.m_nGameId)), position(context.Position(context.m_nGameId)) {
    context.SetSender(&sender);
    context.SetPrompts(&prompts);
    CPlayerManager& players = context.PlayerManager();
    players.AddPerson(MakePerson(100, "white", 0));
    players.AddPerson(MakePerson(200, "black", 1));
    players.SetColour(100, 0);
    players.SetColour(200, 1);
    players.SetOwnId(ownId);
}

int16_t ChessTable::Load(const std::string& fen) {
    const CFenReader::Result loaded = CFenReader::Load(fen, position);
    EXPECT_TRUE(loaded.ok) << fen << ": " << loaded.error;
    return loaded.sideToMove;
}

void ChessTable::StartPosition() {
    position.Reset();
    position.SetUp(-1);
}

bool ChessTable::Check(int16_t colour, const std::string& text, MoveRecord* out) {
    const auto move = CCoordinateMove::Parse(text);
    EXPECT_TRUE(move) << text;
    CBaseRule* rule = move ? board.RuleAt(move->from) : nullptr;
    MoveRecord record;
    if (rule == nullptr ||
        !rule->CheckMoveWithPromotion(colour, move->from, move->to, board, record))
        return false;
    if (out != nullptr)
        *out = record;
    return true;
}

bool ChessTable::Build(int16_t colour, const std::string& text, MoveRecord* out) {
    const auto move = CCoordinateMove::Parse(text);
    EXPECT_TRUE(move) << text;
    CBaseRule* rule = move ? board.RuleAt(move->from) : nullptr;
    MoveRecord record;
    const bool ok = rule != nullptr && rule->BuildMove(colour, move->from, move->to, board, record);
    if (out != nullptr)
        *out = record;
    return ok;
}

bool ChessTable::Play(int16_t colour, const std::string& text) {
    MoveRecord record;
    if (const auto move = CCoordinateMove::Parse(text); move && move->special != 0)
        prompts.promotionAnswers.push_back(PromotionKind(move->special));
    if (!Check(colour, text, &record))
        return false;
    ++board.m_nPlyCount;
    return board.AfterMove(record);
}

bool ChessTable::PlayLine(const std::string& moves, int16_t first) {
    std::istringstream in(moves);
    int16_t colour = first;
    for (std::string move; in >> move; colour = OppositeColour(colour)) {
        if (!Play(colour, move)) {
            ADD_FAILURE() << "refused: " << move;
            return false;
        }
    }
    return true;
}

} // namespace kelo::test
