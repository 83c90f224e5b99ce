// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"
#include "table/CNegotiationDialog.h"
#include "table/TableParts.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelo {

class CMainViewClock;
class CResultDialogModel;
class CTableBoard;
class IEventLoop;
class IPrompts;

// Whoever shows the negotiation dialogs: the table window, or a tool that answers them itself.
class INegotiationHost {
public:
    virtual ~INegotiationHost() = default;
    // A dialog opened; it is shown until it closes, which it tells its view.
    virtual void OpenDialog(CNegotiationDialog& dialog) = 0;
    // The user left the table at once; the table closes without a question.
    virtual void CloseTable() {}
    // The scores of a game came: the result dialog, modeless; every score opens one.
    virtual void OpenResultDialog(const CResultDialogModel&) {}
};

// The table's negotiations between its two players: taking back a move, a draw, exchanging
// colours, resigning and leaving; and the score table at the end of a game. The requests start from
// the table's commands; the requests and answers of the opponent arrive as the game's messages. The
// requester's client and watchers ignore a request; the opponent answers within the dialog's
// countdown, and every client applies an agreement.
class CNegotiation : public IMessageSink {
public:
    static constexpr const char* TOO_MANY_TAKEBACKS =
        "您已经超过了允许悔棋的最大次数，不能再悔棋了！";
    static constexpr const char* TAKEBACK_REFUSED = "对方不同意悔棋！";
    static constexpr const char* DRAW_REFUSED = "对方不同意和棋！";
    static constexpr const char* EXCHANGE_REFUSED = "对方不同意交换！";
    static constexpr const char* EXCHANGED = "双方交换执子色！";
    static constexpr const char* RESIGN_QUESTION = "您确定要认输么？";
    static constexpr uint16_t RESIGN_REASON = 8;
    // Leaving at once after this move number counts as a resignation.
    static constexpr int16_t LEAVE_RESIGNS_AFTER = 10;

    // The dialogs open through host (none: nobody is asked); the clocks' move counts follow a
    // take-back (none: there are no clocks).
    CNegotiation(CTableBoard& board, const TableParts& table, IEventLoop& loop, IPrompts& prompts,
                 INegotiationHost* host = nullptr, CMainViewClock* clock = nullptr);
    ~CNegotiation() override;
    CNegotiation(const CNegotiation&) = delete;
    CNegotiation& operator=(const CNegotiation&) = delete;

    // The requests' and answers' countdown, when it is not the usual one.
    void SetCountdownSeconds(int seconds) { m_nCountdownSeconds = seconds; }

    // The table's commands.
    void RequestTakeBack();
    void OfferDraw();
    void RequestExchange();
    // The exchange request itself, for a caller that has asked the user already.
    void SendExchangeRequest();
    void Resign();
    // The exit dialog: in request mode the user asks to leave the game under way; in answer
    // mode the user answers the request of the player at the given seat.
    void OpenExitDialog(bool requestMode, uint16_t seat);

    // 616, 617, 636, 637, 641, 642 and the scores (656), after the board has taken them; other
    // types are not the negotiations'.
    void OnMessageRev(const CMessageRev& message) override;
    void HandleMessage(uint16_t type, const uint8_t* body, uint32_t length);

    // Takes back the last two plies on the board, when it has them, and lowers the clocks'
    // move counts by steps. False when there was nothing to take back.
    bool TakeBackTwoPlies(int16_t steps);

    // The dialog opened last and still open, or none.
    CNegotiationDialog* OpenDialog() const;
    // Whether the dialog is one of the open ones (it is not looked at otherwise).
    bool IsOpen(const CNegotiationDialog* dialog) const;
    size_t OpenDialogCount() const;

private:
    CNegotiationDialog& Open(CNegotiationDialog::Kind kind, bool requestMode,
                             std::function<void(int32_t)> command, const std::string& text = {});
    // A notice in a dialog of its own that closes itself.
    void Inform(const std::string& text);
    // Drops the dialogs that have closed, unless one of them is running its command.
    void Sweep();
    void Send(uint16_t type, const uint8_t* body, size_t length);
    template <class Body> void Send(uint16_t type, const Body& body) {
        const auto bytes = body.ToWire();
        Send(type, bytes.data(), bytes.size());
    }
    bool IsOwnSeat(uint16_t seat) const;
    void OnTakeBackRequest(const uint8_t* body, uint32_t length);
    void OnTakeBackAnswer(const uint8_t* body, uint32_t length);
    void OnDrawOffer(const uint8_t* body, uint32_t length);
    void OnDrawAnswer(const uint8_t* body, uint32_t length);
    void OnExchangeRequest(const uint8_t* body, uint32_t length);
    void OnExchangeAnswer(const uint8_t* body, uint32_t length);
    void LeaveNow();
    void AskToLeave();
    void AnswerExit(uint16_t requesterSeat, bool agree);
    void SendLeaveTable(uint16_t reason);
    void Redraw();

    CTableBoard& m_board;
    TableParts m_table;
    IEventLoop& m_loop;
    IPrompts& m_prompts;
    INegotiationHost* const m_pHost;
    CMainViewClock* m_pClock = nullptr;
    std::vector<std::unique_ptr<CNegotiationDialog>> m_dialogs;
    int m_nCommandDepth = 0;
    int m_nCountdownSeconds = 0;
};

} // namespace kelo
