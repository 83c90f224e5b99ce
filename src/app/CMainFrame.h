// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/IMainFrameHost.h"
#include "link/CTableLink.h"

#include <cstdint>

namespace kelo {

class CGameContext;
struct CHallSettings;
class CPlayerManager;
struct MSG_ENTER_TABLE_BODY;
class IEventLoop;
class ISocketControl;

// The connection logic of the table window: connects to the game server and enters the table,
// watches the link and reconnects, handles the messages that concern the table as a whole, and
// decides what closing the window means. An outage (from the loss of a connection that the
// server had answered to the next such connection) gets one chat line and at most three
// attempts, each 5 s after the failure or close before it; then the server is given up.
class CMainFrame : public CTableLink::IObserver {
public:
    static constexpr uint32_t ENTER_TIMER = 6;
    static constexpr uint32_t ENTER_PERIOD_MS = 150000;
    static constexpr uint32_t RETRY_PERIOD_MS = 5000;
    static constexpr uint16_t GIVE_UP_AFTER = 3;
    static constexpr const char* LOCAL_CLOSE_QUESTION = "您真的要结束本局游戏么？";
    static constexpr const char* RECONNECTING_LINE = "正在断线重连，请稍后……";
    static constexpr const char* CONNECT_FAILED_LINE = "没能成功连上游戏服务器！！";

    // The entry into the table (3001) that a client sends once connected: the own id, the
    // desk, the own seat and watcher number, and the hall's service, game and sub type. False
    // without the own record, which the entry cannot do without.
    static bool MakeEnterTable(const CPlayerManager& people, const CHallSettings& hall,
                               MSG_ENTER_TABLE_BODY& enter);

    // giveUpAfter: the failed or lost connections after which the frame gives up the server;
    // 0 gives up at the first without trying again (a tool that is restarted rather than
    // reconnected).
    CMainFrame(CGameContext& context, IEventLoop& loop, ISocketControl& socket,
               IMainFrameHost& host, uint16_t giveUpAfter = GIVE_UP_AFTER);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    CTableLink& Link() { return m_link; }

    // Opens the connection (nothing in local mode).
    void Connect();
    // The frame ends the table itself: no question, the window closes.
    void CloseTable(TableClose why = TableClose::Closed);
    // The window is asked to close; true when it may close now. Otherwise a question or the
    // exit dialog decides later.
    bool OnClose();

    // CTableLink::IObserver
    void OnConnect(int16_t result) override;
    bool OnConnectionMessage(uint16_t type, const uint8_t* body, uint32_t length) override;
    void OnConnectionLost() override;
    void OnConnectionClosed(bool heard) override;
    void OnTimer(uint32_t id) override;

    // 1 after a failed or abandoned connection, 0 after a successful one.
    uint16_t LinkDown() const { return m_nLinkDown; }

    // The attempts since the server last answered the entry.
    uint16_t m_nRetryCount = 0;
    // The frame has decided to close the table: the link's events start nothing more.
    bool m_bClosing = false;

private:
    // Back to the state before any connection: counters, sequence mode, the opponent's
    // broken-connection mark; the link counts as down.
    void ResetLink();
    // The chat line of an outage, written once until the server answers again.
    void TellOutage(const char* line);
    // The server answered the entry (3106): the connection is good, the outage over.
    void OnServerAnswered();
    void Reconnect();
    void OnReceiveTimeout();
    void OnEnterTimeout();
    // The server is given up: the game ends, and the table closes.
    void GiveUp(bool askToSave);
    void SendEnterTable();
    void SendLeaveTable();
    void SendLeaveWatch();
    // Saves the game when one is under way and has not been given up.
    void SaveIfPlaying();
    // Each returns false when the table is closed and reading stops.
    bool OnUserStatus(const uint8_t* body, uint32_t length);
    bool OnUserConnect(const uint8_t* body, uint32_t length);
    bool OnLeaveTable(const uint8_t* body, uint32_t length);
    bool OnLeaveWatch(const uint8_t* body, uint32_t length);
    void OnExitRequest(const uint8_t* body, uint32_t length);
    void OnExitDiscourage(const uint8_t* body, uint32_t length);

    CGameContext& m_context;
    IEventLoop& m_loop;
    ISocketControl& m_socket;
    IMainFrameHost& m_host;
    const uint16_t m_nGiveUpAfter;
    CTableLink m_link;
    uint16_t m_nLinkDown = 0;
    bool m_bOutageTold = false;
};

} // namespace kelo
