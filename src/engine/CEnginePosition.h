// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CChessSet.h"
#include "chess/MoveRecord.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelo {

// A position to search: the start position or a FEN, and the moves played from it.
struct UciPosition {
    // Empty: the start position.
    std::string fen;
    std::vector<std::string> moves;
};

// The position a computer player is to move in, with each legal move and what it does: whether
// it checks and whether it mates. It also picks a move without an engine, for when the engine
// does not answer in time.
class CEnginePosition {
public:
    struct Move {
        // As the rules fill it (White at the bottom of the board).
        MoveRecord record;
        // Coordinate form: e2e4, e7e8q.
        std::string text;
        bool check = false;
        bool mate = false;
    };

    CEnginePosition() = default;
    CEnginePosition(const CEnginePosition&) = delete;
    CEnginePosition& operator=(const CEnginePosition&) = delete;

    // Sets the position up; false, with the reason in why, when the FEN or one of the moves
    // does not fit.
    bool SetUp(const UciPosition& position, std::string& why);
    // SetUp, and then finds the legal moves with what each does.
    bool Load(const UciPosition& position, std::string& why);
    // A move in coordinate form checked for the side to move of the position set up, as the
    // rules fill its record; nullopt with the reason when it is not legal there.
    std::optional<MoveRecord> ReadMove(const std::string& text, std::string& why);
    // The moves played from the FEN or the start, as the rules read them.
    const std::vector<MoveRecord>& Played() { return m_set.Position().Moves(); }
    Colour SideToMove() const { return m_sideToMove; }
    // In a fixed order: by the piece's square, then the target, promotions queen first.
    const std::vector<Move>& LegalMoves() const { return m_moves; }
    // The legal move of that text, or null.
    const Move* Find(const std::string& text) const;

    // A move of its own: a mate when one of the allowed moves mates; else, of the allowed moves
    // (all of them when none is allowed), one after which the opponent has no mate at once and
    // that keeps the most material after the opponent's best capture. Null without legal moves.
    const Move* ChooseOwn(const std::function<bool(const Move&)>& allowed);

private:
    // The legal moves of the colour on the board as it stands; promotions to a queen only
    // unless all are asked for.
    std::vector<MoveRecord> Generate(Colour colour, bool allPromotions);
    // Material the move wins: the piece it takes, and what a promotion adds.
    int Gain(const MoveRecord& move);

    CChessSet m_set;
    Colour m_sideToMove = Colour::White;
    std::vector<Move> m_moves;
};

} // namespace kelo
