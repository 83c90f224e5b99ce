#pragma once

#include "app/CHallSettings.h"
#include "chess/CGameRegistry.h"

#include <cstdint>
#include <memory>

namespace kelo {

class CBasePieceFactory;
class CBaseRuleFactory;
class CChessDiagram;
class CChnChessBoard;
class CCommunicationLayer;
class CPlayerManager;
class CPlayerTimeControl;
class IMessageSender;
class IPrompts;

// The process-wide values and objects of one table client. The program has one; a test can
// make a fresh one, and two clients can live side by side in one process.
class CGameContext {
public:
    CGameContext();
    ~CGameContext();
    CGameContext(const CGameContext&) = delete;
    CGameContext& operator=(const CGameContext&) = delete;

    // The context that code without an owner of its own reaches.
    static CGameContext& Current();
    // Makes another context current; nullptr returns to the program's own.
    static void SetCurrent(CGameContext* context);

    // Reached through the registries by the game id.
    CChnChessBoard& Board();
    CChessDiagram& Position();
    CBasePieceFactory& PieceFactory();
    CBaseRuleFactory& RuleFactory();
    CChnChessBoard& Board(int16_t gameId);
    CChessDiagram& Position(int16_t gameId);
    CBasePieceFactory& PieceFactory(int16_t gameId);
    CBaseRuleFactory& RuleFactory(int16_t gameId);

    CPlayerManager& PlayerManager() { return *m_pPlayerManager; }
    CPlayerTimeControl& TimeControl() { return *m_pTimeControl; }
    // What the hall has told the client.
    CHallSettings& Hall() { return m_hall; }
    IPrompts& Prompts() { return *m_pPrompts; }
    void SetPrompts(IPrompts* prompts);
    // Where the table's messages go: the one set here, else the context's own sender.
    IMessageSender* Sender();
    void SetSender(IMessageSender* sender) { m_pSender = sender; }
    // The table's sender to the game server, created on first use.
    CCommunicationLayer& CommunicationLayer();

    int16_t m_nGameId = -1;
    int16_t m_nBottomColour = 0;
    // 0 none, 2 playing, 3 ended, 4 closing.
    int16_t m_nGameState = 0;
    // 2 blocks the board and the button board, 1 frees them.
    int16_t m_nTableLock = 1;
    bool m_bLocalMode = false;
    // 4 player, 5 looker-on.
    int16_t m_nTableRole = 4;
    // On once the server has started the numbered exchange (its sequence start message).
    bool m_bSequenceMode = false;
    // 1 after a failed or abandoned connection, 0 after a successful one.
    uint16_t m_nLinkDown = 0;
    // Set while the server says the opponent's connection is broken.
    bool m_bOpponentDisconnected = false;
    // Take-backs used in the game under way, and how many the server allows; both come with
    // the server's start information and game state.
    int16_t m_nTakeBackCount = 0;
    int16_t m_nMaxTakeBacks = 0;

private:
    CHallSettings m_hall;
    std::unique_ptr<IPrompts> m_pSilentPrompts;
    IPrompts* m_pPrompts;
    IMessageSender* m_pSender = nullptr;
    std::unique_ptr<CPlayerManager> m_pPlayerManager;
    std::unique_ptr<CPlayerTimeControl> m_pTimeControl;
    std::unique_ptr<CCommunicationLayer> m_pCommunicationLayer;
    CGameRegistry<CBasePieceFactory> m_pieceFactories;
    CGameRegistry<CBaseRuleFactory> m_ruleFactories;
    CGameRegistry<CChessDiagram> m_positions;
    // Last, so boards go before the positions they use.
    CGameRegistry<CChnChessBoard> m_boards;
};

} // namespace kelo
