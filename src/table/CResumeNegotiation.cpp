// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CResumeNegotiation.h"

#include "base/CGbkConverter.h"
#include "base/GameSettings.h"
#include "chess/CBaseDiagram.h"
#include "link/CMessageRev.h"
#include "link/CMessageSinkRegistry.h"
#include "link/CTableMode.h"
#include "link/IMessageSender.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_RESUME_ANSWER.h"
#include "link/MSG_RESUME_REQUEST.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAL_REQUEST.h"
#include "link/MessageTypes.h"
#include "ports/IPrompts.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CResumeManager.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"
#include "table/TableSettings.h"

#include <cstdio>

namespace kelo {

CResumeNegotiation::CResumeNegotiation(const TableParts& table, CTableBoard& board,
                                       const GameSettings& settings, IPrompts& prompts,
                                       IEventLoop& loop, IResumeDialogs& dialogs)
    : m_table(table), m_board(board), m_settings(settings), m_prompts(prompts), m_loop(loop),
      m_dialogs(dialogs) {}

CResumeNegotiation::~CResumeNegotiation() {
    m_loop.KillTimers(this);
}

bool CResumeNegotiation::IsWatcher() const {
    return m_table.mode.Role() == TableRole::Watcher;
}

uint16_t CResumeNegotiation::OwnSeat() const {
    return m_table.people.GetOwnSeat();
}

void CResumeNegotiation::RequestSeal() {
    if (IsWatcher() || !m_table.state.IsPlaying() || m_bSealRequestOpen)
        return;
    m_bSealRequestOpen = true;
    m_dialogs.OpenSealRequest(SEAL_QUESTION, SEAL_ACTION,
                              [this](bool confirmed) { SendSealRequest(confirmed); });
    m_nSealRequestSeconds = COUNTDOWN_SECONDS;
    m_dialogs.OnSealRequestCountdown(m_nSealRequestSeconds);
    m_loop.SetTimer(this, SEAL_REQUEST_TIMER, 1000);
}

void CResumeNegotiation::SendSealRequest(bool confirmed) {
    if (m_bSealRequestOpen) {
        m_bSealRequestOpen = false;
        m_loop.KillTimer(this, SEAL_REQUEST_TIMER);
        m_dialogs.CloseSealRequest();
    }
    const uint16_t moveNumber = static_cast<uint16_t>(m_board.Board().Position().MoveNumber());
    if (m_table.mode.LocalMode()) {
        // Nobody else is asked: the request answers itself.
        const auto body =
            MSG_SEAL_ANSWER_BODY{OwnSeat(), moveNumber, static_cast<uint16_t>(confirmed), 0}
                .ToWire();
        m_table.sender.SendMessage(MSG_SEAL_ANSWER, body.data(), body.size());
        return;
    }
    // A game that ended while the dialog was open has nothing left to seal.
    if (!confirmed || !m_table.state.IsPlaying())
        return;
    // No button asks to seal and leave: the game goes on to the next one.
    const auto body = MSG_SEAL_REQUEST_BODY{OwnSeat(), moveNumber, 0}.ToWire();
    m_table.sender.SendMessage(MSG_SEAL_REQUEST, body.data(), body.size());
}

void CResumeNegotiation::AnswerSeal(bool agree) {
    if (!m_bSealAnswerOpen)
        return;
    StopCountdown(SEAL_TIMER);
    m_bSealAnswerOpen = false;
    const auto body =
        MSG_SEAL_ANSWER_BODY{OwnSeat(), m_nSealMoveNumber, static_cast<uint16_t>(agree), 0}
            .ToWire();
    m_table.sender.SendMessage(MSG_SEAL_ANSWER, body.data(), body.size());
}

void CResumeNegotiation::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    HandleMessage(message.Type(), body, body != nullptr ? message.Length() : 0);
}

void CResumeNegotiation::HandleMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    if (body == nullptr)
        length = 0;
    switch (type) {
    case MSG_SEAL_REQUEST:
        OnSealRequest(body, length);
        break;
    case MSG_SEAL_ANSWER:
        OnSealAnswer(body, length);
        break;
    case MSG_RESUME_REQUEST:
        OnResumeRequest(body, length);
        break;
    case MSG_RESUME_ANSWER:
        OnResumeAnswer(body, length);
        break;
    default:
        break;
    }
}

void CResumeNegotiation::OnSealRequest(const uint8_t* body, uint32_t length) {
    MSG_SEAL_REQUEST_BODY request;
    if (!MSG_SEAL_REQUEST_BODY::FromWire(body, length, request) || IsWatcher() ||
        request.seatno == OwnSeat())
        return;
    m_nSealMoveNumber = request.moveNumber;
    m_bSealAnswerOpen = true;
    m_dialogs.OpenSealAnswer(request.leave == 1 ? SEAL_LEAVE_QUESTION : SEAL_NEXT_QUESTION,
                             [this](bool agree) { AnswerSeal(agree); });
    StartCountdown(SEAL_TIMER);
}

void CResumeNegotiation::OnSealAnswer(const uint8_t* body, uint32_t length) {
    MSG_SEAL_ANSWER_BODY answer;
    if (!MSG_SEAL_ANSWER_BODY::FromWire(body, length, answer))
        return;
    // The button board tells the requester of a refusal and the watchers of a seal.
    if (answer.agree != 1)
        return;
    // Only the players store the game; everyone's table is left without a game.
    m_strSealedPath.clear();
    const GameState state = m_table.state.State();
    if (!IsWatcher() && (state == GameState::Playing || state == GameState::Ended)) {
        m_strSealedPath = CResumeManager(m_table, m_board.Board(), m_settings, m_prompts)
                              .SaveGame(CResumeManager::SAVE_SEAL);
    }
    m_table.state.ClearGame();
    m_board.Board().ClearLastMove();
    if (IBoardObserver* observer = m_board.Observer())
        observer->OnBoardChanged();
    m_dialogs.OnSealed(m_strSealedPath);
    if (m_table.mode.LocalMode())
        m_table.sender.SendMessage(MSG_NEW_GAME, nullptr, 0);
}

bool CResumeNegotiation::RequestResume(const ResumeEntry& entry) {
    auto record = std::make_unique<GameRecord>();
    CResumeManager manager(m_table, m_board.Board(), m_settings, m_prompts);
    if (!manager.LoadRecord(entry.path, *record))
        return false;
    record->ownerSeat = static_cast<int16_t>(OwnSeat());
    if (!m_board.SeatsMatch({record->userIds.begin(), record->userIds.end()})) {
        m_prompts.ShowNotice(USERS_MISMATCH);
        return false;
    }
    if (record->moves.empty()) {
        m_prompts.ShowNotice(NO_MOVES);
        return false;
    }
    if (m_table.mode.LocalMode()) {
        m_pPending = std::move(record);
        SendResumeAnswer(MSG_RESUME_ANSWER_BODY::LOCAL_SEAT, true);
    } else {
        // The request goes to the table through the server; every client, this one too,
        // takes it from there.
        const std::vector<uint8_t> bytes = ResumeRequestBytes(*record);
        m_table.sender.SendMessage(MSG_RESUME_REQUEST, bytes.data(), bytes.size());
    }
    return true;
}

void CResumeNegotiation::ResumeFromFile() {
    if (!m_table.mode.LocalMode())
        return;
    CResumeManager manager(m_table, m_board.Board(), m_settings, m_prompts);
    const std::string path = m_prompts.ChooseOpenFile(
        manager.RecordFolder(), "*.che", CResumeManager::FILTER, CResumeManager::EXTENSION);
    if (path.empty())
        return;
    auto record = std::make_unique<GameRecord>();
    if (!manager.LoadRecord(path, *record))
        return;
    record->ownerSeat = static_cast<int16_t>(OwnSeat());
    if (record->moves.empty()) {
        m_prompts.ShowError(NO_MOVES);
        return;
    }
    m_pPending = std::move(record);
    SendResumeAnswer(MSG_RESUME_ANSWER_BODY::LOCAL_SEAT, true);
}

bool CResumeNegotiation::ResumeRecordPath(const std::string& path) {
    auto record = std::make_unique<GameRecord>();
    CResumeManager manager(m_table, m_board.Board(), m_settings, m_prompts);
    if (!manager.LoadRecord(path, *record) || record->moves.empty()) {
        m_prompts.ShowNotice(NO_MOVES);
        return false;
    }
    record->ownerSeat = static_cast<int16_t>(OwnSeat());
    // As a resume at a table: the request (which makes the record the pending one), then the
    // agreement.
    const std::vector<uint8_t> bytes = ResumeRequestBytes(*record);
    m_table.sender.SendMessage(MSG_RESUME_REQUEST, bytes.data(), bytes.size());
    SendResumeAnswer(MSG_RESUME_ANSWER_BODY::LOCAL_SEAT, true);
    return true;
}

std::vector<uint8_t> CResumeNegotiation::ResumeRequestBytes(const GameRecord& record) const {
    MSG_RESUME_REQUEST_BODY head;
    head.seatno = static_cast<uint16_t>(record.ownerSeat);
    head.key = record.key;
    head.seatCount = static_cast<uint16_t>(record.seatCount);
    head.userIds = record.userIds;
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
        head.colours[slot] = static_cast<uint16_t>(record.colours[slot]);
        head.takeBacks[slot] = static_cast<uint16_t>(record.takeBacks[slot]);
    }
    head.bottomColour = static_cast<uint16_t>(record.bottomColour);
    head.firstMoverColour = static_cast<uint16_t>(record.firstMoverColour);
    head.currentTurnColour = static_cast<uint16_t>(record.currentTurnColour);
    for (int i = 0; i < 3; ++i)
        head.clock[i] = static_cast<uint16_t>(record.clock[i]);
    const size_t count = std::min(record.moves.size(), GameRecord::MAX_MOVES);
    head.moveCount = static_cast<uint16_t>(count);
    const auto headBytes = head.ToWire();
    std::vector<uint8_t> bytes(headBytes.begin(), headBytes.end());
    for (size_t i = 0; i < count; ++i) {
        const auto step = MSG_MOVE_BODY::FromRecord(record.moves[i]).ToWire();
        bytes.insert(bytes.end(), step.begin(), step.end());
    }
    return bytes;
}

void CResumeNegotiation::OnResumeRequest(const uint8_t* body, uint32_t length) {
    MSG_RESUME_REQUEST_BODY head;
    if (!MSG_RESUME_REQUEST_BODY::FromWire(body, length, head) ||
        head.moveCount > GameRecord::MAX_MOVES ||
        length < MSG_RESUME_REQUEST_BODY::SIZE + head.moveCount * MSG_MOVE_BODY::SIZE)
        return;
    auto record = std::make_unique<GameRecord>();
    record->ownerSeat = static_cast<int16_t>(head.seatno);
    record->key = head.key;
    record->seatCount = static_cast<int16_t>(head.seatCount);
    record->userIds = head.userIds;
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
        record->colours[slot] = static_cast<int16_t>(head.colours[slot]);
        record->takeBacks[slot] = static_cast<int16_t>(head.takeBacks[slot]);
    }
    record->bottomColour = static_cast<int16_t>(head.bottomColour);
    record->firstMoverColour = static_cast<int16_t>(head.firstMoverColour);
    record->currentTurnColour = static_cast<int16_t>(head.currentTurnColour);
    for (int i = 0; i < 3; ++i)
        record->clock[i] = static_cast<int16_t>(head.clock[i]);
    for (uint16_t i = 0; i < head.moveCount; ++i)
        record->moves.push_back(
            MSG_MOVE_BODY::FromWire(body + MSG_MOVE_BODY::SIZE * i + MSG_RESUME_REQUEST_BODY::SIZE)
                .ToRecord());
    m_pPending = std::move(record);
    // Only the other player answers; watchers only follow.
    if (IsWatcher() || head.seatno == OwnSeat())
        return;
    const CPlayerRecord* requester =
        m_table.people.GetPersonBySeat(static_cast<int16_t>(head.seatno));
    const std::string nickname =
        requester != nullptr
            ? CGbkConverter::ToUtf8(CGbkConverter::FromField(requester->person.nickname))
            : std::string();
    char question[256];
    std::snprintf(question, sizeof question, "%s[%d][me:%d]请求续盘，你同意么？", nickname.c_str(),
                  head.seatno, OwnSeat());
    m_bResumeAnswerOpen = true;
    m_dialogs.OpenResumeAnswer(question, [this](bool agree) { AnswerResume(agree); });
    StartCountdown(RESUME_TIMER);
}

void CResumeNegotiation::AnswerResume(bool agree) {
    if (!m_bResumeAnswerOpen)
        return;
    StopCountdown(RESUME_TIMER);
    m_bResumeAnswerOpen = false;
    SendResumeAnswer(OwnSeat(), agree);
}

void CResumeNegotiation::SendResumeAnswer(uint16_t seat, bool agree) {
    const auto body = MSG_RESUME_ANSWER_BODY{seat, static_cast<uint16_t>(agree)}.ToWire();
    m_table.sender.SendMessage(MSG_RESUME_ANSWER, body.data(), body.size());
}

void CResumeNegotiation::OnResumeAnswer(const uint8_t* body, uint32_t length) {
    MSG_RESUME_ANSWER_BODY answer;
    if (!MSG_RESUME_ANSWER_BODY::FromWire(body, length, answer))
        return;
    if (answer.agree != 1) {
        if (answer.seatno != OwnSeat())
            m_dialogs.ShowInformation(RESUME_REFUSED);
        return;
    }
    if (m_pPending != nullptr)
        Rebuild(*m_pPending);
}

void CResumeNegotiation::Rebuild(const GameRecord& record) {
    CPlayerManager& people = m_table.people;
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
        const CPlayerRecord* person = people.GetPersonById(record.userIds[slot]);
        if (person == nullptr || person->Role() != TableRole::Player) {
            m_prompts.ShowError(WRONG_USERS);
            return;
        }
    }
    const Colour firstColour = ColourFromWire(record.firstMoverColour);
    uint16_t firstSeat = CPlayerManager::NONE;
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
        if (record.colours[slot] == record.firstMoverColour)
            firstSeat =
                static_cast<uint16_t>(people.GetPersonById(record.userIds[slot])->person.seatno);
    }
    if (!IsSide(firstColour) || firstSeat == CPlayerManager::NONE) {
        m_prompts.ShowError(RESUME_FAILED);
        return;
    }
    const uint16_t ownSeat = OwnSeat();
    CBaseBoard& board = m_board.Board();
    board.SetBottomColour(ColourFromWire(record.bottomColour));
    // Each player takes the colour of the slot that holds it; then, from the first mover on,
    // the seats (and the watchers behind them) are numbered from the record's bottom colour.
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot)
        people.SetColour(record.userIds[slot], ColourFromWire(record.colours[slot]));
    const Colour bottom = ColourFromWire(record.bottomColour);
    if (IsSide(bottom))
        AssignSeatColours(people, firstSeat, bottom);
    else
        people.SetFirstMoverSeat(firstSeat);
    board.ResetGameState();
    board.NewPosition();
    people.SetCurrentTurnSeat(firstSeat);
    m_table.state.ResumePlaying(ownSeat < GameRecord::SLOTS ? record.takeBacks[ownSeat] : 0,
                                {record.takeBacks[0], record.takeBacks[1]});
    m_board.m_bAwaitingEcho = false;
    // The replayed moves are played, not judged.
    board.SetReplayCount(static_cast<int16_t>(record.moves.size()));
    m_table.time.m_nTotalTime = record.clock[0];
    m_table.time.m_nPaceTime = record.clock[1];
    m_table.time.m_nPaceAddedTime = record.clock[2];
    // Every window takes the moves as if the server had relayed them.
    for (const MoveRecord& move : record.moves) {
        const auto step = MSG_MOVE_BODY::FromRecord(move).ToWire();
        if (m_pHandOn != nullptr)
            m_pHandOn->HandOn(MSG_MOVE, step.data(), step.size());
        else
            m_board.HandleGameMessage(MSG_MOVE, step.data(), step.size());
    }
    m_dialogs.OnResumed(record.moves.size());
}

void CResumeNegotiation::StartCountdown(uint32_t timer) {
    (timer == SEAL_TIMER ? m_nSealSeconds : m_nResumeSeconds) = COUNTDOWN_SECONDS;
    m_dialogs.OnCountdown(COUNTDOWN_SECONDS);
    m_loop.SetTimer(this, timer, 1000);
}

void CResumeNegotiation::StopCountdown(uint32_t timer) {
    m_loop.KillTimer(this, timer);
    m_dialogs.CloseAnswer();
}

void CResumeNegotiation::OnTimer(uint32_t id) {
    if (id == SEAL_REQUEST_TIMER) {
        if (--m_nSealRequestSeconds > 0)
            m_dialogs.OnSealRequestCountdown(m_nSealRequestSeconds);
        else
            SendSealRequest(false);
        return;
    }
    int& seconds = id == SEAL_TIMER ? m_nSealSeconds : m_nResumeSeconds;
    if (--seconds > 0) {
        m_dialogs.OnCountdown(seconds);
        return;
    }
    // Silence refuses.
    if (id == SEAL_TIMER)
        AnswerSeal(false);
    else if (id == RESUME_TIMER)
        AnswerResume(false);
}

} // namespace kelo
