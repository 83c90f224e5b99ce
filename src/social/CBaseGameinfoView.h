#pragma once

#include "link/IMessageSink.h"

namespace kelo {

class CGameContext;

// Keeps the table's people up to date from the server's announcements: the people present
// (3106), a newcomer (3107), a departure (3027). The list widget that shows them reads the
// player manager.
class CBaseGameinfoView : public IMessageSink {
public:
    explicit CBaseGameinfoView(CGameContext& context) : m_context(context) {}
    void OnMessageRev(const CMessageRev& message) override;

private:
    CGameContext& m_context;
};

} // namespace kelo
