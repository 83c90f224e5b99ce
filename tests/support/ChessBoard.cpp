// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ChessBoard.h"

#include "chess/CBaseRule.h"
#include "chess/CCoordinateMove.h"
#include "chess/CFenReader.h"
#include "chess/ChessTypes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelo::test {

ChessBoard::ChessBoard() : board(game.Board()), position(game.Position()) {}

Colour ChessBoard::Load(const std::string& fen) {
    const CFenReader::Result loaded = CFenReader::Load(fen, position);
    EXPECT_TRUE(loaded.ok) << fen << ": " << loaded.error;
    return loaded.sideToMove;
}

void ChessBoard::StartPosition() {
    board.NewPosition();
}

bool CheckMove(CChnChessBoard& board, Colour colour, const std::string& text, MoveRecord* out,
               const std::function<PieceKind()>& choosePromotion) {
    const auto move = CCoordinateMove::Parse(text);
    EXPECT_TRUE(move) << text;
    CBaseRule* rule = move ? board.RuleAt(move->from) : nullptr;
    if (rule == nullptr || !rule->CheckMove(colour, move->from, move->to, board, nullptr))
        return false;
    PieceKind kind = PieceKind::Queen;
    if (board.IsPromotion(move->from, move->to) && choosePromotion)
        kind = choosePromotion();
    MoveRecord record;
    if (!rule->CheckMoveWithPromotion(colour, move->from, move->to, board, kind, record))
        return false;
    if (out != nullptr)
        *out = record;
    return true;
}

bool ChessBoard::Check(Colour colour, const std::string& text, MoveRecord* out) {
    return CheckMove(board, colour, text, out, [this] {
        ++promotionQuestions;
        if (promotionAnswers.empty())
            return PieceKind::Queen;
        const PieceKind kind = promotionAnswers.front();
        promotionAnswers.pop_front();
        return kind;
    });
}

bool ChessBoard::Build(Colour colour, const std::string& text, MoveRecord* out) {
    const auto move = CCoordinateMove::Parse(text);
    EXPECT_TRUE(move) << text;
    CBaseRule* rule = move ? board.RuleAt(move->from) : nullptr;
    MoveRecord record;
    const bool ok = rule != nullptr && rule->BuildMove(colour, move->from, move->to, board, record);
    if (out != nullptr)
        *out = record;
    return ok;
}

bool ChessBoard::Play(Colour colour, const std::string& text) {
    MoveRecord record;
    if (const auto move = CCoordinateMove::Parse(text); move && move->special != 0)
        promotionAnswers.push_back(PromotionKind(move->special));
    if (!Check(colour, text, &record))
        return false;
    return PlayChecked(record);
}

bool ChessBoard::PlayChecked(const MoveRecord& record) {
    judgement = board.Play(record);
    return judgement.applied;
}

bool ChessBoard::PlayLine(const std::string& moves, Colour first) {
    std::istringstream in(moves);
    Colour colour = first;
    for (std::string move; in >> move; colour = OppositeColour(colour)) {
        if (!Play(colour, move)) {
            ADD_FAILURE() << "refused: " << move;
            return false;
        }
    }
    return true;
}

} // namespace kelo::test
