#pragma once

#include "link/CTableLink.h"

#include <cstdint>

namespace kelo {

class CGameContext;
class IEventLoop;
class IMainFrameHost;
class ISocketControl;

// The connection logic of the table window: connects to the game server and enters the table,
// watches the link and reconnects (giving up after three attempts), handles the messages that
// concern the table as a whole, and decides what closing the window means.
class CMainFrame : public CTableLink::IObserver {
public:
    static constexpr uint32_t ENTER_TIMER = 6;
    static constexpr uint32_t ENTER_PERIOD_MS = 150000;
    static constexpr uint32_t RETRY_PERIOD_MS = 5000;
    static constexpr uint16_t GIVE_UP_AFTER = 3;
    static constexpr const char* LOCAL_CLOSE_QUESTION = "您真的要结束本局游戏么？";

    CMainFrame(CGameContext& context, IEventLoop& loop, ISocketControl& socket,
               IMainFrameHost& host);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    CTableLink& Link() { return m_link; }

    // Opens the connection (nothing in local mode).
    void Connect();
    // The frame ends the table itself: no question, the window closes.
    void CloseTable();
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

    uint16_t m_nRetryCount = 0;
    bool m_bClosing = false;

private:
    // Back to the state before any connection: counters, sequence mode, the opponent's
    // broken-connection mark; the link counts as down.
    void ResetLink();
    void Reconnect();
    void OnReceiveTimeout();
    void OnEnterTimeout();
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
    CTableLink m_link;
    uint16_t m_nLinkDown = 0;
};

} // namespace kelo
