// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CNegotiation.h"

#include "base/CGbkConverter.h"
#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "link/CMessageRev.h"
#include "link/CTableMode.h"
#include "link/IMessageSender.h"
#include "link/MSG_DRAW_ANSWER.h"
#include "link/MSG_DRAW_OFFER.h"
#include "link/MSG_EXCHANGE_ANSWER.h"
#include "link/MSG_EXCHANGE_REQUEST.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_EXIT_REQUEST.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_TAKEBACK_ANSWER.h"
#include "link/MSG_TAKEBACK_REQUEST.h"
#include "link/MessageTypes.h"
#include "ports/IPrompts.h"
#include "table/CMainViewClock.h"
#include "table/CPlayerManager.h"
#include "table/CResultDialogModel.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"
#include "table/GameResult.h"
#include "table/TableSettings.h"

#include <algorithm>

namespace kelo {

using Kind = CNegotiationDialog::Kind;

CNegotiation::CNegotiation(CTableBoard& board, const TableParts& table, IEventLoop& loop,
                           IPrompts& prompts, INegotiationHost* host, CMainViewClock* clock)
    : m_board(board), m_table(table), m_loop(loop), m_prompts(prompts), m_pHost(host),
      m_pClock(clock) {}

CNegotiation::~CNegotiation() = default;

CNegotiationDialog& CNegotiation::Open(Kind kind, bool requestMode,
                                       std::function<void(int32_t)> command,
                                       const std::string& text) {
    Sweep();
    auto run = [this, command = std::move(command)](int32_t id) {
        ++m_nCommandDepth;
        if (command)
            command(id);
        --m_nCommandDepth;
    };
    m_dialogs.push_back(
        std::make_unique<CNegotiationDialog>(kind, requestMode, m_loop, std::move(run), text));
    CNegotiationDialog& dialog = *m_dialogs.back();
    if (kind != Kind::Information)
        dialog.SetCountdownSeconds(m_nCountdownSeconds);
    if (m_pHost != nullptr)
        m_pHost->OpenDialog(dialog);
    return dialog;
}

void CNegotiation::Inform(const std::string& text) {
    Open(Kind::Information, true, nullptr, text);
}

void CNegotiation::Sweep() {
    if (m_nCommandDepth > 0)
        return;
    std::erase_if(m_dialogs, [](const auto& dialog) { return dialog->IsClosed(); });
}

CNegotiationDialog* CNegotiation::OpenDialog() const {
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it)
        if (!(*it)->IsClosed())
            return it->get();
    return nullptr;
}

bool CNegotiation::IsOpen(const CNegotiationDialog* dialog) const {
    for (const auto& open : m_dialogs)
        if (open.get() == dialog)
            return !open->IsClosed();
    return false;
}

size_t CNegotiation::OpenDialogCount() const {
    return static_cast<size_t>(std::count_if(m_dialogs.begin(), m_dialogs.end(),
                                             [](const auto& d) { return !d->IsClosed(); }));
}

void CNegotiation::Send(uint16_t type, const uint8_t* body, size_t length) {
    m_table.sender.SendMessage(type, body, length);
}

bool CNegotiation::IsOwnSeat(uint16_t seat) const {
    return seat == m_table.people.GetOwnSeat();
}

void CNegotiation::Redraw() {
    if (IBoardObserver* observer = m_board.Observer())
        observer->OnBoardChanged();
}

// Take-back.

void CNegotiation::RequestTakeBack() {
    CTableState& state = m_table.state;
    // The count is compared signed and after the fact: with a maximum of 3 the fourth request
    // still goes, the fifth does not.
    if (state.TakeBackCount() > state.MaxTakeBacks()) {
        m_prompts.Verify(TOO_MANY_TAKEBACKS, "确定", "取消");
        return;
    }
    if (m_board.Board().Position().MoveCount() < 2)
        return;
    auto confirm = [this](int32_t id) {
        if (id != CNegotiationDialog::ID_AGREE)
            return;
        CTableState& state = m_table.state;
        state.CountOwnTakeBack();
        MSG_TAKEBACK_REQUEST_BODY request;
        request.seat = m_table.people.GetOwnSeat();
        request.count = static_cast<uint16_t>(state.TakeBackCount());
        request.step = 1;
        Send(MSG_TAKEBACK_REQUEST, request);
    };
    // One user playing both sides has nobody to ask.
    if (m_table.mode.LocalMode())
        confirm(CNegotiationDialog::ID_AGREE);
    else
        Open(Kind::BackPace, true, confirm);
}

void CNegotiation::OnTakeBackRequest(const uint8_t* body, uint32_t length) {
    MSG_TAKEBACK_REQUEST_BODY request;
    if (!MSG_TAKEBACK_REQUEST_BODY::FromWire(body, length, request) || m_table.mode.IsWatcher())
        return;
    if (m_table.mode.LocalMode()) {
        TakeBackTwoPlies(static_cast<int16_t>(request.step));
        return;
    }
    if (IsOwnSeat(request.seat))
        return;
    Open(Kind::BackPace, false, [this, request](int32_t id) {
        MSG_TAKEBACK_ANSWER_BODY answer;
        answer.seat = request.seat;
        answer.count = request.count;
        answer.step = request.step;
        answer.agree = id == CNegotiationDialog::ID_AGREE ? 1 : 0;
        Send(MSG_TAKEBACK_ANSWER, answer);
    });
}

void CNegotiation::OnTakeBackAnswer(const uint8_t* body, uint32_t length) {
    MSG_TAKEBACK_ANSWER_BODY answer;
    if (!MSG_TAKEBACK_ANSWER_BODY::FromWire(body, length, answer))
        return;
    if (answer.agree == 1) {
        // Always two plies, whatever the step number says; the clocks go back by the step.
        TakeBackTwoPlies(static_cast<int16_t>(answer.step));
    } else if (IsOwnSeat(answer.seat) && !m_table.mode.IsWatcher()) {
        Inform(TAKEBACK_REFUSED);
    }
}

bool CNegotiation::TakeBackTwoPlies(int16_t steps) {
    // With fewer than two plies there is no pair to take back: the position and the move
    // number stay as they are rather than being half undone.
    if (!m_board.Board().TakeBack(2))
        return false;
    if (m_pClock != nullptr)
        m_pClock->OnTakeBack(steps);
    Redraw();
    return true;
}

// Draw.

void CNegotiation::OfferDraw() {
    Open(Kind::Peace, true, [this](int32_t id) {
        if (id != CNegotiationDialog::ID_AGREE)
            return;
        MSG_DRAW_OFFER_BODY offer;
        offer.seat = m_table.people.GetOwnSeat();
        offer.moveNumber = static_cast<uint16_t>(m_board.Board().Position().MoveNumber());
        Send(MSG_DRAW_OFFER, offer);
    });
}

void CNegotiation::OnDrawOffer(const uint8_t* body, uint32_t length) {
    MSG_DRAW_OFFER_BODY offer;
    if (!wire::DecodeThrough<&MSG_DRAW_OFFER_BODY::seat>(body, length, offer))
        return;
    if (m_table.mode.LocalMode()) {
        // Nobody to ask: the game ends drawn at once.
        m_board.m_nResultReason = static_cast<int16_t>(RESULT_REASON_CHECKMATE);
        SendGameResult(m_table.sender, m_table.people, 0, CPlayerManager::NONE,
                       RESULT_REASON_CHECKMATE);
        return;
    }
    if (m_table.mode.IsWatcher() || IsOwnSeat(offer.seat))
        return;
    std::string nickname;
    if (const CPlayerRecord* requester =
            m_table.people.GetPersonBySeat(static_cast<int16_t>(offer.seat)))
        nickname = CGbkConverter::ToUtf8(CGbkConverter::FromField(requester->person.nickname));
    Open(
        Kind::Peace, false,
        [this](int32_t id) {
            MSG_DRAW_ANSWER_BODY answer;
            answer.seat = m_table.people.GetOwnSeat();
            answer.moveNumber = static_cast<uint16_t>(m_board.Board().Position().MoveNumber());
            answer.agree = id == CNegotiationDialog::ID_AGREE ? 1 : 0;
            Send(MSG_DRAW_ANSWER, answer);
        },
        nickname);
}

void CNegotiation::OnDrawAnswer(const uint8_t* body, uint32_t length) {
    MSG_DRAW_ANSWER_BODY answer;
    if (!MSG_DRAW_ANSWER_BODY::FromWire(body, length, answer))
        return;
    if (answer.agree == 1)
        m_board.RecordAgreedDraw(answer.seat);
    else if (!IsOwnSeat(answer.seat) && !m_table.mode.IsWatcher())
        Inform(DRAW_REFUSED);
}

// Exchange of colours.

void CNegotiation::RequestExchange() {
    Open(Kind::Exchange, true, [this](int32_t id) {
        if (id == CNegotiationDialog::ID_AGREE)
            SendExchangeRequest();
    });
}

void CNegotiation::SendExchangeRequest() {
    const CPlayerManager& people = m_table.people;
    MSG_EXCHANGE_REQUEST_BODY request;
    request.seat = people.GetOwnSeat();
    request.nextSeat = people.SeatAfter(request.seat, true);
    Send(MSG_EXCHANGE_REQUEST, request);
}

void CNegotiation::OnExchangeRequest(const uint8_t* body, uint32_t length) {
    MSG_EXCHANGE_REQUEST_BODY request;
    if (!wire::DecodeThrough<&MSG_EXCHANGE_REQUEST_BODY::seat>(body, length, request))
        return;
    if (m_table.mode.IsWatcher() || m_table.mode.LocalMode() || IsOwnSeat(request.seat))
        return;
    auto answer = [this](int32_t id) {
        const CPlayerManager& people = m_table.people;
        MSG_EXCHANGE_ANSWER_BODY answer;
        answer.seat = people.GetOwnSeat();
        answer.agree = id == CNegotiationDialog::ID_AGREE ? 1 : 0;
        // The seat after the first mover, not after the seat whose turn it is: between games
        // the turn is wherever the last game left it, and an agreed exchange that named the
        // same first mover again would change nothing.
        answer.firstSeat = people.SeatAfter(people.GetFirstMoverSeat(), true);
        Send(MSG_EXCHANGE_ANSWER, answer);
    };
    // Colours are exchanged between games only: during one the request is refused at once,
    // without asking the user.
    if (m_table.state.IsPlaying()) {
        answer(CNegotiationDialog::ID_REFUSE);
        return;
    }
    Open(Kind::Exchange, false, answer);
}

void CNegotiation::OnExchangeAnswer(const uint8_t* body, uint32_t length) {
    MSG_EXCHANGE_ANSWER_BODY answer;
    if (!MSG_EXCHANGE_ANSWER_BODY::FromWire(body, length, answer))
        return;
    const bool watcher = m_table.mode.IsWatcher();
    // An agreement that arrives during a game (from a client that asked or agreed in the middle
    // of one) is not applied: the game's moves stay with the sides that played them.
    if (answer.agree == 1 && m_table.state.IsPlaying())
        return;
    if (answer.agree == 1) {
        CPlayerManager& people = m_table.people;
        // The new first mover takes the bottom colour, White, and the others follow it.
        AssignSeatColours(people, answer.firstSeat, m_board.Board().BottomColour());
        people.SetCurrentTurnSeat(answer.firstSeat);
        Redraw();
        if (watcher)
            Inform(EXCHANGED);
    } else if (!IsOwnSeat(answer.seat) && !watcher) {
        Inform(EXCHANGE_REFUSED);
    }
}

// Resignation and leaving.

void CNegotiation::Resign() {
    if (!m_prompts.AskYesNo(RESIGN_QUESTION))
        return;
    const CPlayerManager& people = m_table.people;
    // One user playing both sides resigns for the side to move.
    const uint16_t loser =
        m_table.mode.LocalMode() ? people.GetCurrentTurnSeat() : people.GetOwnSeat();
    SendGameResult(m_table.sender, people, 1, people.SeatAfter(loser, true), RESIGN_REASON);
}

void CNegotiation::OpenExitDialog(bool requestMode, uint16_t seat) {
    if (requestMode) {
        Open(Kind::GameClose, true, [this](int32_t id) {
            if (id == CNegotiationDialog::ID_LEAVE_NOW)
                LeaveNow();
            else if (id == CNegotiationDialog::ID_ASK_LEAVE)
                AskToLeave();
        });
    } else {
        Open(Kind::GameClose, false,
             [this, seat](int32_t id) { AnswerExit(seat, id == CNegotiationDialog::ID_AGREE); });
    }
}

void CNegotiation::LeaveNow() {
    const CPlayerManager& people = m_table.people;
    // Leaving a game that has gone on this long gives it up: the resignation goes first.
    if (m_board.Board().Position().MoveNumber() > LEAVE_RESIGNS_AFTER) {
        SendGameResult(m_table.sender, people, 1, people.SeatAfter(people.GetOwnSeat(), true),
                       RESIGN_REASON);
        SendLeaveTable(0);
    } else {
        SendLeaveTable(m_table.state.IsPlaying() ? 1 : 0);
    }
    if (m_pHost != nullptr)
        m_pHost->CloseTable();
}

void CNegotiation::AskToLeave() {
    const CPlayerManager& people = m_table.people;
    if (!m_table.state.IsPlaying()) {
        SendLeaveTable(0);
        if (m_pHost != nullptr)
            m_pHost->CloseTable();
        return;
    }
    MSG_EXIT_REQUEST_BODY request;
    request.id = people.OwnId();
    request.seatno = people.GetOwnSeat();
    request.flag = 1;
    Send(MSG_EXIT_REQUEST, request);
}

void CNegotiation::AnswerExit(uint16_t requesterSeat, bool agree) {
    const CPlayerManager& people = m_table.people;
    MSG_EXIT_ANSWER_BODY answer;
    answer.answererId = people.OwnId();
    answer.answererSeat = people.GetOwnSeat();
    if (const CPlayerRecord* requester =
            people.GetPersonBySeat(static_cast<int16_t>(requesterSeat)))
        answer.requesterId = requester->person.id;
    answer.requesterSeat = requesterSeat;
    answer.refused = agree ? 0 : 1;
    Send(MSG_EXIT_ANSWER, answer);
}

void CNegotiation::SendLeaveTable(uint16_t reason) {
    // The server knows the sender by its connection: the id field stays 0.
    MSG_LEAVE_TABLE_BODY leave;
    leave.seatno = m_table.people.GetOwnSeat();
    leave.reason = reason;
    Send(MSG_LEAVE_TABLE, leave);
}

// Messages.

void CNegotiation::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    HandleMessage(message.Type(), body, body != nullptr ? message.Length() : 0);
}

void CNegotiation::HandleMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    if (body == nullptr)
        length = 0;
    switch (type) {
    case MSG_TAKEBACK_REQUEST:
        OnTakeBackRequest(body, length);
        break;
    case MSG_TAKEBACK_ANSWER:
        OnTakeBackAnswer(body, length);
        break;
    case MSG_DRAW_OFFER:
        OnDrawOffer(body, length);
        break;
    case MSG_DRAW_ANSWER:
        OnDrawAnswer(body, length);
        break;
    case MSG_EXCHANGE_REQUEST:
        OnExchangeRequest(body, length);
        break;
    case MSG_EXCHANGE_ANSWER:
        OnExchangeAnswer(body, length);
        break;
    case MSG_SCORES: {
        MSG_SCORES_BODY scores;
        if (MSG_SCORES_BODY::FromWire(body, length, scores) && m_pHost != nullptr)
            m_pHost->OpenResultDialog(
                CResultDialogModel(m_board.ResultLine(), m_table.people, scores));
        break;
    }
    default:
        break;
    }
}

} // namespace kelo
