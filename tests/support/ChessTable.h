#pragma once

#include "app/CGameContext.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "chess/MoveRecord.h"
#include "support/TestSupport.h"

#include <string>

namespace kelo::test {

// One client's table for rule and referee tests: White sits on seat 0 (id 100), Black on
// seat 1 (id 200); the own id decides whose client it is.
class ChessTable {
public:
    explicit ChessTable(uint32_t ownId = 100);

    // Sets up a FEN position (fails the test on a bad FEN) and returns the side to move.
    int16_t Load(const std::string& fen);
    void StartPosition();

    // Builds a move in coordinate form through check-move-with-promotion; false when refused.
    bool Check(int16_t colour, const std::string& move, MoveRecord* out = nullptr);
    bool Build(int16_t colour, const std::string& move, MoveRecord* out = nullptr);
    // Checks the move and plays it as a received move: ply count up, then the referee.
    bool Play(int16_t colour, const std::string& move);
    // Plays a list of moves (White first), stopping at the first refused one.
    bool PlayLine(const std::string& moves, int16_t first = 0);

    CGameContext context;
    RecordingSender sender;
    ScriptedPrompts prompts;
    CChnChessBoard& board;
    CChessDiagram& position;
};

} // namespace kelo::test
