// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/IMainFrameHost.h"
#include "app/IStartGameHost.h"
#include "table/CNegotiation.h"

#include <QPointer>

#include <memory>
#include <string>

namespace kelo {

class CGameContext;
class CMainFrame;
class CMainView;
class CMainViewModel;
class CNegotiationDlg;
class CQtEventLoop;
class CQtPrompts;
class CQtSoundPlayer;
class CResumeDialogs;
class CSkinManager;
class CZynChatImp;
class CDeferredSocketControl;
class IMessageSink;
struct PERSON;

// The table as the hall opens it: ShowWindow builds the table window and the connection to the
// game server (once), shows the window and connects (every time); the table's own lines go to
// its chat and to standard output. The table's dialogs open over its window.
class CTableHost : public IStartGameHost, public IMainFrameHost, public INegotiationHost {
public:
    explicit CTableHost(CGameContext& context);
    ~CTableHost() override;

    // A direct start: the local table with its two fixed players, shown and ready for the start
    // button, which continues the game of the record at recordPath (none when empty).
    void OpenLocalTable(const std::string& recordPath = {});

    // IStartGameHost
    void ShowWindow() override;
    bool HasMainWindow() const override { return m_pFrame != nullptr; }
    void ShowAdvMessage(const std::string& header, const std::string& link,
                        const std::string& text) override;
    void ShowInstantMessage(const std::string& text) override;

    // IMainFrameHost
    void AddSystemLine(const std::string& text, uint32_t colour) override;
    void CloseWindow(TableClose why) override;
    void SaveGame(int mode) override;
    void OpenExitDialog(bool requestMode, uint16_t seat, const std::string& text) override;

    // INegotiationHost: the dialogs as windows over the table.
    void OpenDialog(CNegotiationDialog& dialog) override;
    void CloseTable() override;
    void OpenResultDialog(const CResultDialogModel& result) override;

    CMainView* View() const { return m_pView.get(); }
    // Once the window is shown: its model and the connection's frame.
    CMainViewModel* Model() const { return m_pModel.get(); }
    CMainFrame* Frame() const { return m_pFrame.get(); }
    // "续盘窗口", the adjourned games of the record folder.
    void OpenResumeDialog();

    // A table the user started without a hall, seated through the hall's calls all the same (a
    // game against the computer): no hall is looked for or missed.
    void MarkDirectStart() { m_bDirectStart = true; }
    // Once the window is shown: the sink takes the table's messages after the table's own
    // parts, until it is unregistered or the table goes.
    void RegisterSink(IMessageSink& sink);
    void UnregisterSink(IMessageSink& sink);
    // A person at the table has a new record (a new name): the table, its list of people and
    // the panels show it.
    void UpdatePerson(const PERSON& person);
    // Asks the opponent to exchange colours without asking the user first, who has chosen
    // already.
    void RequestExchange();
    // A game is being played.
    bool GameUnderWay() const;

private:
    void CreateWindow();
    // The hall's head pictures for the portraits; a table the hall opened without an installed
    // hall says so.
    void LoadHeadPictures();
    // Asks the table whether the window may close, and closes it when it may. While one of
    // the close's questions is open (whether to end the game, where to save it) a further
    // close waits for its answer instead of taking the question away.
    void DecideClose();
    // A close that waited for a question runs once the question is answered.
    void RunWaitingClose();
    // The record of the game on view, as the mode says (CResumeManager::SaveMode).
    void SaveRecord(int mode);
    // The table's chat lines, once the window is built.
    CZynChatImp* ChatLines() const;

    CGameContext& m_context;
    // Started directly by the user, not by the hall.
    bool m_bDirectStart = false;
    // The window has closed for good.
    bool m_bClosed = false;
    // The close is being decided, or a record saved: a further close waits (m_bCloseWaits).
    bool m_bDeciding = false;
    int m_nSaving = 0;
    bool m_bCloseWaits = false;
    // The user's own exit dialog while it is open.
    QPointer<CNegotiationDlg> m_pExitDialog;
    std::unique_ptr<CQtEventLoop> m_pLoop;
    std::unique_ptr<CDeferredSocketControl> m_pSocket;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CSkinManager> m_pSkin;
    std::unique_ptr<CQtSoundPlayer> m_pSound;
    std::unique_ptr<CQtPrompts> m_pPrompts;
    std::unique_ptr<CResumeDialogs> m_pResumeDialogs;
    std::unique_ptr<CMainViewModel> m_pModel;
    std::unique_ptr<CMainView> m_pView;
};

} // namespace kelo
