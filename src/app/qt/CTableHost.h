#pragma once

#include "app/IMainFrameHost.h"
#include "app/IStartGameHost.h"

#include <memory>
#include <string>

namespace kelo {

class CBaseChatView;
class CBaseGameinfoView;
class CGameContext;
class CMainFrame;
class CMainViewClock;
class CMainViewClockSink;
class CQtEventLoop;
class SocketControl;

// The table as the hall opens it, for now without a window of its own: ShowWindow builds the
// connection to the game server (once) and connects (every time); chat lines and what the user
// would be told go to standard output.
class CTableHost : public IStartGameHost, public IMainFrameHost {
public:
    explicit CTableHost(CGameContext& context);
    ~CTableHost() override;

    // A direct start: the local table with its two fixed players, which continues the game of
    // the record at recordPath (none when empty).
    void OpenLocalTable(const std::string& recordPath);

    // IStartGameHost
    void ShowWindow() override;
    bool HasMainWindow() const override { return m_pFrame != nullptr; }
    void ShowAdvMessage(const std::string& header, const std::string& link,
                        const std::string& text) override;
    void ShowInstantMessage(const std::string& text) override;

    // IMainFrameHost
    void AddSystemLine(const std::string& text, uint32_t colour) override;
    void CloseWindow() override;
    void SaveGame(int mode) override;
    void OpenExitDialog(bool requestMode, uint16_t seat, const std::string& text) override;

private:
    CGameContext& m_context;
    std::unique_ptr<CQtEventLoop> m_pLoop;
    std::unique_ptr<SocketControl> m_pSocket;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CMainViewClock> m_pClock;
    std::unique_ptr<CMainViewClockSink> m_pClockSink;
    std::unique_ptr<CBaseChatView> m_pChat;
    std::unique_ptr<CBaseGameinfoView> m_pPeople;
};

} // namespace kelo
