#include "app/CGameContext.h"

#include "chess/CChessSet.h"
#include "link/CCommunicationLayer.h"
#include "table/CTableBoard.h"

namespace kelo {

CGameContext::CGameContext()
    : m_pCommunicationLayer(std::make_unique<CCommunicationLayer>(m_mode, m_people)) {}

CGameContext::~CGameContext() = default;

void CGameContext::CSenderSwitch::SendMessage(uint16_t type, const uint8_t* body, size_t length) {
    IMessageSender& to = target != nullptr ? *target : owner.CommunicationLayer();
    to.SendMessage(type, body, length);
}

CChnChessBoard& CGameContext::Board(int16_t gameId) {
    return m_games.Get(gameId, [] { return std::make_unique<CChessSet>(); }).Board();
}

CChessDiagram& CGameContext::Position(int16_t gameId) {
    return m_games.Get(gameId, [] { return std::make_unique<CChessSet>(); }).Position();
}

CTableBoard& CGameContext::TableBoard() {
    return m_tableBoards.Get(m_nGameId, [&] {
        auto board = std::make_unique<CTableBoard>(Board(), Table());
        board->SetPrompts(&m_prompts);
        return board;
    });
}

} // namespace kelo
