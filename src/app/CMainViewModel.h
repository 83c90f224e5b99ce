#pragma once

#include "app/CMainViewButtons.h"
#include "app/CTableClient.h"
#include "app/CTableCommands.h"
#include "table/CBoardWindowModel.h"
#include "table/CMoveBox.h"
#include "table/CPlayerPanelModel.h"

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
    // (none: neither), the chat and the list of people (none: neither).
    struct Ports {
        ISoundPlayer* sound = nullptr;
        INegotiationHost* negotiationHost = nullptr;
        std::function<void()> saveOffer{};
        const CTableClient::Social* social = nullptr;
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
    // Sealing and resuming games.
    CResumeNegotiation& Resume() { return m_client.Resume(); }
    // The window's seal and resume dialogs. Until there are some, the questions go to the
    // prompts as yes/no questions and the information as notices.
    void SetResumeDialogs(IResumeDialogs* dialogs) { m_resumeDialogs.target = dialogs; }

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
    // Passes each dialog on to the window's, or asks through the prompts.
    struct CResumeDialogsSwitch : IResumeDialogs {
        CResumeDialogsSwitch(IPrompts& prompts, IEventLoop& loop) : prompts(prompts), loop(loop) {}
        void OpenSealRequest(const std::string& question, const std::string& action) override;
        void CloseSealRequest() override;
        void OnSealRequestCountdown(int seconds) override;
        void OpenSealAnswer(const std::string& question) override;
        void OpenResumeAnswer(const std::string& question) override;
        void CloseAnswer() override;
        void OnCountdown(int seconds) override;
        void ShowInformation(const std::string& text) override;
        void OnSealed(const std::string& path) override;
        void OnResumed() override;
        IPrompts& prompts;
        IEventLoop& loop;
        CResumeNegotiation* negotiation = nullptr;
        IResumeDialogs* target = nullptr;
    };

    CGameContext& m_context;
    IClockView* m_pClockView = nullptr;
    CResumeDialogsSwitch m_resumeDialogs;
    CTableClient m_client;
    CBoardWindowModel m_boardWindow;
    CPlayerPanelModel m_panels;
    CMoveBox m_moveBox;
    CMainViewButtons m_viewButtons;
    CTableCommands m_commands;
    std::function<void()> m_openStudy;
};

} // namespace kelo
