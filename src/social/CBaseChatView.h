#pragma once

#include "link/IMessageSink.h"

namespace kelo {

class CGameContext;
class IChatSink;

// The table chat's presence and notice lines: who came, who left, whose connection broke, and
// the play-time warnings. It also keeps the mark that the opponent's connection is broken.
class CBaseChatView : public IMessageSink {
public:
    CBaseChatView(CGameContext& context, IChatSink& chat) : m_context(context), m_chat(chat) {}
    void OnMessageRev(const CMessageRev& message) override;

private:
    CGameContext& m_context;
    IChatSink& m_chat;
};

} // namespace kelo
