#include "app/CGameContext.h"

#include "link/CCommunicationLayer.h"

namespace kelo {

CGameContext::CGameContext()
    : m_pCommunicationLayer(std::make_unique<CCommunicationLayer>(m_mode, m_people)) {}

CGameContext::~CGameContext() = default;

void CGameContext::CSenderSwitch::SendMessage(uint16_t type, const uint8_t* body, size_t length) {
    IMessageSender& to = target != nullptr ? *target : owner.CommunicationLayer();
    to.SendMessage(type, body, length);
}

} // namespace kelo
