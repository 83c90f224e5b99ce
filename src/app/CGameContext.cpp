#include "app/CGameContext.h"

#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "chess/CChnChessPieceFactory.h"
#include "chess/CChnChessRuleFactory.h"
#include "link/CCommunicationLayer.h"
#include "ports/IPrompts.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"

namespace kelo {

namespace {
CGameContext* g_pCurrent = nullptr;
}

CGameContext::CGameContext()
    : m_pSilentPrompts(std::make_unique<CSilentPrompts>()), m_pPrompts(m_pSilentPrompts.get()),
      m_pPlayerManager(std::make_unique<CPlayerManager>()),
      m_pTimeControl(std::make_unique<CPlayerTimeControl>()) {}

CGameContext::~CGameContext() {
    if (g_pCurrent == this)
        g_pCurrent = nullptr;
}

CGameContext& CGameContext::Current() {
    static CGameContext programContext;
    return g_pCurrent != nullptr ? *g_pCurrent : programContext;
}

void CGameContext::SetCurrent(CGameContext* context) {
    g_pCurrent = context;
}

IMessageSender* CGameContext::Sender() {
    return m_pSender != nullptr ? m_pSender : &CommunicationLayer();
}

CCommunicationLayer& CGameContext::CommunicationLayer() {
    if (!m_pCommunicationLayer)
        m_pCommunicationLayer = std::make_unique<CCommunicationLayer>(*this);
    return *m_pCommunicationLayer;
}

void CGameContext::SetPrompts(IPrompts* prompts) {
    m_pPrompts = prompts != nullptr ? prompts : m_pSilentPrompts.get();
}

CChnChessBoard& CGameContext::Board() {
    return Board(m_nGameId);
}
CChessDiagram& CGameContext::Position() {
    return Position(m_nGameId);
}
CBasePieceFactory& CGameContext::PieceFactory() {
    return PieceFactory(m_nGameId);
}
CBaseRuleFactory& CGameContext::RuleFactory() {
    return RuleFactory(m_nGameId);
}

CChnChessBoard& CGameContext::Board(int16_t gameId) {
    return m_boards.Get(gameId, [&] { return std::make_unique<CChnChessBoard>(*this, gameId); });
}

CChessDiagram& CGameContext::Position(int16_t gameId) {
    return m_positions.Get(gameId, [&] { return std::make_unique<CChessDiagram>(*this, gameId); });
}

CBasePieceFactory& CGameContext::PieceFactory(int16_t gameId) {
    return m_pieceFactories.Get(gameId, [] { return std::make_unique<CChnChessPieceFactory>(); });
}

CBaseRuleFactory& CGameContext::RuleFactory(int16_t gameId) {
    return m_ruleFactories.Get(gameId, [] { return std::make_unique<CChnChessRuleFactory>(); });
}

} // namespace kelo
