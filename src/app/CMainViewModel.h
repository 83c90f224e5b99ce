// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CMainViewButtons.h"
#include "app/CTableClient.h"
#include "app/CTableCommands.h"
#include "table/CBoardWindowModel.h"
#include "table/CMoveBox.h"
#include "table/CPlayerPanelModel.h"
#include "table/CPromptResumeDialogs.h"

#include <functional>

namespace kelo {

class CGameContext;
class CTableLink;
class IEventLoop;
class ISoundPlayer;

// Everything of the table window that is not drawing: the clocks with their messages, the
// board window's decisions, the button board with the negotiations it starts, the player
// panels and the view's own buttons.
// The window draws from it and routes its input to it.
class CMainViewModel : public IClockView, public IButtonBoardHost {
public:
    // The window's ports: sound (none: silent), the negotiations' host and the save offer
    // (none: neither), the chat and the list of people (none: neither), the seal and resume
    // dialogs (none: the prompts ask their questions and show their information), whether the
    // link to the game server is down (none: never).
    struct Ports {
        ISoundPlayer* sound = nullptr;
        INegotiationHost* negotiationHost = nullptr;
        std::function<void()> saveOffer{};
        const CTableClient::Social* social = nullptr;
        IResumeDialogs* resumeDialogs = nullptr;
        std::function<bool()> linkDown{};
    };
    CMainViewModel(CGameContext& context, IEventLoop& loop, const Ports& ports);
    ~CMainViewModel() override;
    CMainViewModel(const CMainViewModel&) = delete;
    CMainViewModel& operator=(const CMainViewModel&) = delete;

    // The windows' share of the received messages, in the table client's order (the clocks,
    // the board, the negotiations, the button board, the seal and resume, the chat and the
    // people). They leave the link when the model goes.
    void RegisterSinks(CTableLink& link);

    // The window that redraws the clocks; until there is one, nothing is redrawn.
    void SetClockView(IClockView* view) { m_pClockView = view; }

    CGameContext& Context() { return m_context; }
    CTableClient& Client() { return m_client; }
    CMainViewClock& Clock() { return m_client.Clock(); }
    CBoardWindowModel& BoardWindow() { return m_boardWindow; }
    CButtonBoard& ButtonBoard() { return m_client.ButtonBoard(); }
    CNegotiation& Negotiation() { return m_client.Negotiation(); }
    const CPlayerPanelModel& Panels() const { return m_panels; }
    // Moves and questions typed instead of clicked.
    CMoveBox& MoveBox() { return m_moveBox; }
    CMainViewButtons& ViewButtons() { return m_viewButtons; }
    // Saving, loading and the help.
    CTableCommands& Commands() { return m_commands; }
    // Sealing and resuming games.
    CResumeNegotiation& Resume() { return m_client.Resume(); }

    // IClockView
    void RedrawClock(bool ownSide) override;
    void BringToFront() override;

    // IButtonBoardHost
    void RequestExchange() override { Negotiation().RequestExchange(); }
    void RequestTakeBack() override { Negotiation().RequestTakeBack(); }
    void Resign() override { Negotiation().Resign(); }
    void OfferDraw() override { Negotiation().OfferDraw(); }
    void SaveGame() override { m_commands.SaveGame(); }
    void LoadRecord() override { m_commands.LoadRecord(); }
    // The study window is the shell's: "棋谱" opens a further one each time.
    void SetStudyOpener(std::function<void()> open) { m_openStudy = std::move(open); }
    void OpenStudy() override {
        if (m_openStudy)
            m_openStudy();
    }

private:
    CGameContext& m_context;
    IClockView* m_pClockView = nullptr;
    // The seal and resume dialogs when the window has none.
    CPromptResumeDialogs m_promptDialogs;
    CTableClient m_client;
    CBoardWindowModel m_boardWindow;
    CPlayerPanelModel m_panels;
    CMoveBox m_moveBox;
    CMainViewButtons m_viewButtons;
    CTableCommands m_commands;
    std::function<void()> m_openStudy;
};

} // namespace kelo
