#pragma once

#include "link/IMessageSink.h"
#include "table/CTableParts.h"

namespace kelo {

class CMainViewClock;

// The main view's share of the game messages: it drives the players' clocks (a new game, start
// of play, every move, joining a game under way) and takes the clock settings the server gives.
class CMainViewClockSink : public IMessageSink {
public:
    CMainViewClockSink(const CTableParts& table, CMainViewClock& clock)
        : m_table(table), m_clock(clock) {}

    void OnMessageRev(const CMessageRev& message) override;

private:
    CTableParts m_table;
    CMainViewClock& m_clock;
};

} // namespace kelo
