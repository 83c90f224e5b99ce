// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"

namespace kelo {

class CPlayerManager;
class CTableState;
class IChatSink;

// The table chat's presence and notice lines: who came, who left, whose connection broke, how
// each game ended, and the play-time warnings. It also keeps the mark that the opponent's
// connection is broken.
class CBaseChatView : public IMessageSink {
public:
    CBaseChatView(const CPlayerManager& people, CTableState& state, IChatSink& chat)
        : m_people(people), m_state(state), m_chat(chat) {}
    void OnMessageRev(const CMessageRev& message) override;

private:
    const CPlayerManager& m_people;
    CTableState& m_state;
    IChatSink& m_chat;
    // The end of the game under way has been told; both players may report the same end.
    bool m_bEndTold = false;
};

} // namespace kelo
