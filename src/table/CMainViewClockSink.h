#pragma once

#include "link/IMessageSink.h"

namespace kelo {

class CGameContext;
class CMainViewClock;

// The main view's share of the game messages: it drives the players' clocks (start of play,
// every move, joining a game under way) and takes the clock settings the server gives.
class CMainViewClockSink : public IMessageSink {
public:
    CMainViewClockSink(CGameContext& context, CMainViewClock& clock)
        : m_context(context), m_clock(clock) {}

    void OnMessageRev(const CMessageRev& message) override;

private:
    CGameContext& m_context;
    CMainViewClock& m_clock;
};

} // namespace kelo
