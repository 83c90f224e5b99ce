// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CButtonBoard.h"
#include "table/CMainViewClock.h"
#include "table/CMainViewClockSink.h"
#include "table/CNegotiation.h"
#include "table/CResumeNegotiation.h"
#include "table/CTableBoard.h"

#include <functional>
#include <memory>

namespace kelo {

class CBaseChatView;
class CBaseGameinfoView;
class CGameContext;
class CMessageSinkRegistry;
class CZynChatImp;
class CZynPersonListImp;
class IChatSink;
class IEventLoop;
class ISoundPlayer;

// The game objects of one table client, built together around a client's parts: the clocks
// with their messages, the table's board, the negotiations, the seal and resume, and the
// button board, and for a table with a chat, the chat and the people. The window's model and
// kelo-bot both build their table on it, so the order in which the objects take a received
// message is kept here only. It stands between the negotiations and their host, so that leaving
// the table at once ends the game as every other close does.
class CTableClient : private INegotiationHost {
public:
    // What a table with a chat and a list of people needs: where the table's own lines go (the
    // connection's, the people coming and going) and whether the link to the game server is up.
    struct Social {
        IChatSink& tableLines;
        std::function<bool()> linkUp;
    };

    // The ports of the client besides the context's and the event loop.
    struct Ports {
        // Where the seal and resume ask.
        IResumeDialogs& resumeDialogs;
        // Where the board's moves and the clocks are heard (none: silent).
        ISoundPlayer* sound = nullptr;
        // Where the clocks redraw (none: nothing is redrawn).
        IClockView* clockView = nullptr;
        // Where the negotiations' dialogs open (none: until one is set, nobody is asked).
        INegotiationHost* negotiationHost = nullptr;
        // What the button board's own buttons ask (none: they do nothing more).
        IButtonBoardHost* buttonBoardHost = nullptr;
        // Offered at every game end, and once at a close during a game (none: nothing is
        // offered).
        std::function<void()> saveOffer{};
        // The chat and the people (none: neither).
        const Social* social = nullptr;
    };

    CTableClient(CGameContext& context, IEventLoop& loop, const Ports& ports);
    // Leaves the registry it was attached to.
    ~CTableClient() override;
    CTableClient(const CTableClient&) = delete;
    CTableClient& operator=(const CTableClient&) = delete;

    // Registers the objects with the registry in the one order they take a message: the clocks,
    // the board, the negotiations (after the board: an agreement changes the position the board
    // holds), the button board, the seal and resume, then the chat lines (they read a departing
    // person's name before the list forgets the person), the chat's table messages and the
    // people. The board and the resume re-post the moves of a game under way to it. A client is
    // attached to one registry at a time.
    void Attach(CMessageSinkRegistry& registry);
    void Detach();

    // The table closes while its game may be under way: the user agreed to end it or left at
    // once, or the server ended the table. A game under way stops where it stands, so that its
    // clocks run no further behind the questions of the close, and its record is offered once,
    // as at a game's end (a game without a move has none). Whatever ends the same game
    // afterwards, such as the echo of a resignation sent on the way out, offers nothing more.
    void CloseGame();
    bool IsClosing() const { return m_bClosing; }

    CGameContext& Context() { return m_context; }
    CTableBoard& Board() { return m_board; }
    CMainViewClock& Clock() { return m_clock; }
    const CMainViewClock& Clock() const { return m_clock; }
    CNegotiation& Negotiation() { return m_negotiation; }
    CButtonBoard& ButtonBoard() { return m_buttonBoard; }
    CResumeNegotiation& Resume() { return m_resume; }
    // The chat lines and the list of people; none without social.
    CZynChatImp* ChatLines() { return m_pChatLines.get(); }
    CZynPersonListImp* PersonList() { return m_pPersonList.get(); }

private:
    // INegotiationHost: the dialogs and the scores go to the client's host.
    void OpenDialog(CNegotiationDialog& dialog) override;
    void CloseTable() override;
    void OpenResultDialog(const CResultDialogModel& result) override;
    // The board's offer at a game's end, unless the table is closing.
    void OfferSave();

    CGameContext& m_context;
    INegotiationHost* const m_pHost;
    const std::function<void()> m_saveOffer;
    bool m_bClosing = false;
    CTableBoard m_board;
    CMainViewClock m_clock;
    CMainViewClockSink m_clockSink;
    CNegotiation m_negotiation;
    CButtonBoard m_buttonBoard;
    CResumeNegotiation m_resume;
    std::unique_ptr<CZynChatImp> m_pChatLines;
    std::unique_ptr<CZynPersonListImp> m_pPersonList;
    std::unique_ptr<CBaseChatView> m_pChat;
    std::unique_ptr<CBaseGameinfoView> m_pPeople;
    CMessageSinkRegistry* m_pRegistry = nullptr;
};

} // namespace kelo
