// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CMainViewClockSink.h"

#include "link/CMessageRev.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_START_INFO.h"
#include "link/MessageTypes.h"
#include "table/CMainViewClock.h"
#include "table/CPlayerTimeControl.h"
#include "table/TableSettings.h"

namespace kelo {

CMainViewClockSink::CMainViewClockSink(const TableParts& table, CMainViewClock& clock,
                                       CTableBoard& board)
    : m_table(table), m_clock(clock), m_board(board) {
    m_board.SetMoveObserver(this);
}

CMainViewClockSink::~CMainViewClockSink() {
    if (m_board.MoveObserver() == this)
        m_board.SetMoveObserver(nullptr);
}

void CMainViewClockSink::OnMoveApplied(const MoveRecord& move) {
    m_clock.OnMoveClock(move.colour, move.moveNumber, move.clock);
}

void CMainViewClockSink::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    const uint32_t length = body != nullptr ? message.Length() : 0;
    switch (message.Type()) {
    case MSG_NEW_GAME:
        m_clock.OnNewGame();
        break;
    case MSG_GAME_INFO:
    case MSG_START_INFO: {
        MSG_START_INFO_BODY info;
        if (MSG_START_INFO_BODY::FromWire(body, length, info))
            ApplyStartInfo(info, m_table.state, m_table.people, m_table.time);
        break;
    }
    case MSG_GAME_BEGIN:
        // A start without its first seat is not a start; the board ignores it as well.
        if (length >= 2)
            m_clock.StartClock();
        break;
    case MSG_GAME_STATE:
        if (length >= MSG_GAME_STATE_BODY::SIZE) {
            const MSG_GAME_STATE_BODY state = MSG_GAME_STATE_BODY::FromWire(body);
            CPlayerTimeControl& time = m_table.time;
            time.m_nTotalTime = static_cast<int16_t>(state.fields[3]);
            time.m_nPaceTime = static_cast<int16_t>(state.fields[4]);
            time.m_nPaceAddedTime = static_cast<int16_t>(state.fields[5]);
            m_clock.OnGameState(state.fields[1], static_cast<int16_t>(state.fields[12]),
                                state.RecordCount());
        }
        break;
    default:
        break;
    }
}

} // namespace kelo
