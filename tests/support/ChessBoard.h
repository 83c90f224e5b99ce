// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CChessSet.h"
#include "chess/MoveRecord.h"

#include <deque>
#include <functional>
#include <string>

namespace kelo::test {

// A square by its name ("e2") in the model orientation, White at the bottom.
inline CBasePoint Square(const char* name) {
    return CBasePoint(name[0] - 'a', '8' - name[1]);
}

// Builds a move in coordinate form on `board` through check-move-with-promotion; false when
// refused. The promotion piece is asked of `choosePromotion` (a queen when none is given) only
// when the move is legal and a pawn reaches the last row, as the board window asks.
bool CheckMove(CChnChessBoard& board, Colour colour, const std::string& move, MoveRecord* out,
               const std::function<PieceKind()>& choosePromotion = {});

// A bare game for rule and referee tests: a position and its board, no table around them.
class ChessBoard {
public:
    ChessBoard();

    // Sets up a FEN position (fails the test on a bad FEN) and returns the side to move.
    Colour Load(const std::string& fen);
    void StartPosition();

    // Builds a move in coordinate form through check-move-with-promotion; false when refused.
    // A promotion takes the next of promotionAnswers (a queen when there is none), asked only
    // when the move is legal and a pawn reaches the last row, as the board window asks.
    bool Check(Colour colour, const std::string& move, MoveRecord* out = nullptr);
    bool Build(Colour colour, const std::string& move, MoveRecord* out = nullptr);
    // Checks the move and plays it as a received move: ply count up, then the referee.
    bool Play(Colour colour, const std::string& move);
    // Plays a list of moves (White first), stopping at the first refused one.
    bool PlayLine(const std::string& moves, Colour first = Colour::White);

    CChessSet game;
    CChnChessBoard& board;
    CChessDiagram& position;
    std::deque<PieceKind> promotionAnswers;
    int promotionQuestions = 0;
    // What the referee found after the last move played.
    MoveJudgement judgement;

protected:
    // Plays a checked move; the table fixture reports what the referee finds.
    virtual bool PlayChecked(const MoveRecord& record);
};

} // namespace kelo::test
