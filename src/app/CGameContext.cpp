// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"

#include "link/CCommunicationLayer.h"

namespace kelo {

CGameContext::CGameContext(IMessageSender* sender)
    : m_pCommunicationLayer(std::make_unique<CCommunicationLayer>(m_mode, m_people)),
      m_sender(sender != nullptr ? *sender : *m_pCommunicationLayer) {}

CGameContext::~CGameContext() = default;

} // namespace kelo
