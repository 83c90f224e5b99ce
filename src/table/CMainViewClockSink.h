// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"
#include "table/CTableBoard.h"
#include "table/TableParts.h"

namespace kelo {

class CMainViewClock;

// The main view's share of the game messages: it drives the players' clocks (a new game, start
// of play, joining a game under way) and takes the clock settings the server gives. The moves
// it charges are those the board applied, which the board tells it of: whichever of the two
// gets a move message first, a move that does not fit the position is charged to nobody.
class CMainViewClockSink : public IMessageSink, public IMoveObserver {
public:
    CMainViewClockSink(const TableParts& table, CMainViewClock& clock, CTableBoard& board);
    ~CMainViewClockSink() override;
    CMainViewClockSink(const CMainViewClockSink&) = delete;
    CMainViewClockSink& operator=(const CMainViewClockSink&) = delete;

    void OnMessageRev(const CMessageRev& message) override;
    void OnMoveApplied(const MoveRecord& move) override;

private:
    TableParts m_table;
    CMainViewClock& m_clock;
    CTableBoard& m_board;
};

} // namespace kelo
