// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/CTableMode.h"
#include "support/ChessBoard.h"
#include "support/RecordingSound.h"
#include "support/TestSupport.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"

#include <functional>

namespace kelo::test {

// One client's table around a game, for the tests of what the table does with the board:
// White sits on seat 0 (id 100), Black on seat 1 (id 200); the own id decides whose client it
// is. Moves played go through the table's board, which reports what the referee finds.
class ChessTable : public ChessBoard {
public:
    explicit ChessTable(uint32_t ownId = 100);

    TableParts Parts() { return {people, time, state, mode, sender}; }

    CPlayerManager people;
    CPlayerTimeControl time;
    CTableState state;
    CTableMode mode;
    RecordingSender sender;
    // What the board plays, and what it offers at a game's end (none: nothing).
    RecordingSound sound;
    std::function<void()> saveOffer;
    CTableBoard table;

protected:
    bool PlayChecked(const MoveRecord& record) override { return table.Play(record); }
};

} // namespace kelo::test
