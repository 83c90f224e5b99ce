#pragma once

#include "link/IMessageSink.h"

namespace kelo {

class CPlayerManager;
class CTableState;

// Keeps the table's people up to date from the server's announcements: the people present
// (3106), a newcomer (3107), a departure (3027). The list widget that shows them reads the
// player manager.
class CBaseGameinfoView : public IMessageSink {
public:
    CBaseGameinfoView(CPlayerManager& people, CTableState& state)
        : m_people(people), m_state(state) {}
    void OnMessageRev(const CMessageRev& message) override;

private:
    CPlayerManager& m_people;
    CTableState& m_state;
};

} // namespace kelo
