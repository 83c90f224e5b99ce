// SPDX-License-Identifier: GPL-3.0-or-later
// The board's handling of the table's game messages: starting a game, the moves, the replay of
// a game under way and the small state messages around a game.

#include "table/CTableBoard.h"

#include "chess/CBaseDiagram.h"
#include "chess/ChessTypes.h"
#include "link/CMessageRev.h"
#include "link/CMessageSinkRegistry.h"
#include "link/CTableMode.h"
#include "link/IMessageSender.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MSG_TAKEBACK_REQUEST.h"
#include "link/MessageTypes.h"
#include "ports/IPrompts.h"
#include "ports/ISoundPlayer.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableState.h"
#include "table/GameResult.h"
#include "table/TableSettings.h"

namespace kelo {

CTableBoard::~CTableBoard() = default;

bool CTableBoard::CanSelect(CBasePoint square) {
    const CPlayerManager& players = m_table.people;
    const CPlayerRecord* toMove =
        players.GetPersonBySeat(static_cast<int16_t>(players.GetCurrentTurnSeat()));
    return toMove != nullptr && m_board.CanSelect(square, toMove->colour);
}

bool CTableBoard::SeatsMatch(const std::vector<uint32_t>& playerIds) const {
    const CPlayerManager& people = m_table.people;
    if (playerIds.size() != people.SeatCount())
        return false;
    for (uint32_t id : playerIds) {
        const CPlayerRecord* person = people.GetPersonById(id);
        if (person == nullptr || person->Role() != TableRole::Player)
            return false;
    }
    return true;
}

bool CTableBoard::Play(const MoveRecord& move) {
    const MoveJudgement judgement = m_board.Play(move);
    if (!judgement.applied)
        return false;
    const CPlayerManager& players = m_table.people;
    const uint16_t ownSeat = players.GetOwnSeat();
    const bool ownMove = move.colour == players.GetOwnColour();
    switch (judgement.verdict) {
    case Verdict::Checkmate:
        if (const CPlayerRecord* winner = players.GetPersonByColour(move.colour))
            SendGameResult(1, static_cast<uint16_t>(winner->person.seatno),
                           RESULT_REASON_CHECKMATE);
        break;
    case Verdict::Stalemate:
        if (ownMove)
            SendGameResult(0, ownSeat, RESULT_REASON_STALEMATE);
        break;
    case Verdict::FiveChecks:
        if (ownMove)
            SendGameResult(0, ownSeat, RESULT_REASON_PERPETUAL_CHECK);
        break;
    case Verdict::None:
        break;
    }
    return true;
}

void CTableBoard::SendGameResult(uint16_t decisive, uint16_t winnerSeat, uint16_t reason) {
    kelo::SendGameResult(m_table.sender, m_table.people, decisive, winnerSeat, reason);
}

void CTableBoard::OnMessageRev(const CMessageRev& message) {
    // Never trust the length beyond what the copy holds: no body means nothing to read.
    const uint8_t* body = message.Body();
    HandleGameMessage(message.Type(), body, body != nullptr ? message.Length() : 0);
}

void CTableBoard::HandleGameMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    if (body == nullptr)
        length = 0;
    switch (type) {
    case MSG_NEW_GAME:
        OnNewGame();
        break;
    case MSG_GAME_BEGIN:
        OnGameBegin(body, length);
        break;
    case MSG_MOVE:
        OnMove(body, length);
        break;
    case MSG_TAKEBACK_REQUEST: {
        // A record of the game keeps how many take-backs each side has used: the request
        // announces the requester's count.
        MSG_TAKEBACK_REQUEST_BODY request;
        if (wire::DecodeThrough<&MSG_TAKEBACK_REQUEST_BODY::count>(body, length, request))
            m_table.state.NoteSeatTakeBacks(request.seat, static_cast<int16_t>(request.count));
        break;
    }
    case MSG_GAME_RESULT:
        if (length >= MSG_GAME_RESULT_BODY::SIZE)
            OnGameResult(MSG_GAME_RESULT_BODY::FromWire(body));
        break;
    case MSG_SCORES:
        OnScores(body, length);
        break;
    case MSG_GAME_PREPARE:
        OnGamePrepare();
        break;
    case MSG_START_INFO:
        OnStartInfo();
        break;
    case MSG_GAME_STATE:
        OnGameState(body, length);
        break;
    case MSG_TABLE_UNLOCK:
        m_bAwaitingEcho = false;
        m_table.state.Unlock();
        break;
    case MSG_GAME_STATE_MOVES:
        OnGameStateMoves(body, length);
        break;
    default:
        // The negotiations, the adjourned games and the button board take their messages as
        // windows of their own; other types are not the board's.
        break;
    }
}

void CTableBoard::SendMove(const MoveRecord& record) {
    MoveRecord move = record;
    move.moveNumber = m_board.Position().MoveNumber();
    move.clock = m_table.time.m_nStepCounter;
    const auto bytes = MSG_MOVE_BODY::FromRecord(move).ToWire();
    // Set before sending: in local mode the echo may come back at once.
    m_bAwaitingEcho = true;
    m_table.sender.SendMessage(MSG_MOVE, bytes.data(), bytes.size());
}

void CTableBoard::SendSeatFlag(uint16_t type, uint16_t seat, uint16_t flag) {
    const auto bytes = MSG_SEAT_FLAG_BODY{seat, flag}.ToWire();
    m_table.sender.SendMessage(type, bytes.data(), bytes.size());
}

void CTableBoard::SendReady() {
    SendSeatFlag(MSG_READY, m_table.people.GetOwnSeat(), 1);
}

void CTableBoard::NewPosition() {
    m_board.NewPosition();
}

void CTableBoard::Redraw() {
    if (m_pObserver != nullptr)
        m_pObserver->OnBoardChanged();
}

void CTableBoard::OnNewGame() {
    m_table.state.NewGame();
    // A finished game stays on view, last move and check mark too, until the next one begins
    // or the player presses start: the counts are reset then.
    if (!m_bFinishedOnView)
        m_board.ResetGameState();
    SendReady();
    Redraw();
}

void CTableBoard::LeaveFinishedGame() {
    if (!m_bFinishedOnView)
        return;
    m_bFinishedOnView = false;
    m_board.ResetGameState();
}

void CTableBoard::OnGameBegin(const uint8_t* body, uint32_t length) {
    MSG_SEAT_FLAG_BODY begin;
    if (!wire::DecodeThrough<&MSG_SEAT_FLAG_BODY::seat>(body, length, begin))
        return;
    m_table.state.BeginPlaying();
    m_bResultTaken = false;
    m_bFinishedOnView = false;
    // The position starts afresh, so the counts that describe it do too: a count left over
    // from a joined game would keep the new game's first moves from being judged.
    m_board.ResetGameState();
    // White moves first, so the first seat holds the bottom colour whatever came before.
    CPlayerManager& players = m_table.people;
    AssignSeatColours(players, begin.seat, m_board.BottomColour());
    players.SetCurrentTurnSeat(begin.seat);
    m_bAwaitingEcho = false;
    NewPosition();
    Redraw();
}

void CTableBoard::OnMove(const uint8_t* body, uint32_t length) {
    if (length < MSG_MOVE_BODY::SIZE)
        return;
    const MoveRecord move = MSG_MOVE_BODY::FromWire(body).ToRecord();
    // The referee applies the move only when it fits the position: a move from an empty square
    // or off the board, or of the side not to move (White moves first, then the sides take
    // turns), leaves the position, the counts and the turn as they were.
    MoveRecord last;
    const Colour toMove =
        m_board.Position().LastMove(last) ? OppositeColour(last.colour) : Colour::White;
    if (move.colour != toMove)
        return;
    if (!Play(move))
        return;
    // Replayed moves are silent, all but the last.
    if (m_board.PlyCount() >= m_board.ReplayCount() && m_pSound != nullptr)
        m_pSound->PlayWave(ISoundPlayer::WAVE_MOVE);
    m_bAwaitingEcho = false;
    CPlayerManager& players = m_table.people;
    // The move number counts the own side's moves; in local mode, where this client plays
    // both sides, it counts after the other side's move, so that it rises once per pair.
    const bool ownColour = move.colour == players.GetOwnColour();
    if (ownColour != m_table.mode.LocalMode())
        m_board.Position().AddMoveNumber();
    players.AdvanceTurn(true);
    if (m_pMoveObserver != nullptr)
        m_pMoveObserver->OnMoveApplied(move);
    Redraw();
}

void CTableBoard::OnGamePrepare() {
    m_table.state.Lock();
    SendReady();
    // Without a server nobody else starts the game: seat 0 begins at once.
    if (m_table.mode.LocalMode())
        SendSeatFlag(MSG_GAME_BEGIN, 0, 0);
}

void CTableBoard::OnStartInfo() {
    m_table.state.Lock();
    if (m_bFinishedOnView)
        return;
    NewPosition();
    Redraw();
}

void CTableBoard::OnGameState(const uint8_t* body, uint32_t length) {
    if (length < MSG_GAME_STATE_BODY::SIZE)
        return;
    const MSG_GAME_STATE_BODY state = MSG_GAME_STATE_BODY::FromWire(body);
    const uint16_t firstSeat = state.fields[1];
    m_table.state.JoinPlaying(static_cast<int16_t>(state.fields[6]));
    m_bResultTaken = false;
    m_bFinishedOnView = false;
    // The moves that follow rebuild the game from its start; a client that had a game before
    // (back after a lost connection) must count them from 0 as a fresh one does, or the
    // replayed moves would be judged again.
    m_board.ResetGameState();
    CPlayerManager& players = m_table.people;
    AssignSeatColours(players, firstSeat, m_board.BottomColour());
    players.SetCurrentTurnSeat(firstSeat);
    CPlayerTimeControl& time = m_table.time;
    time.m_nTotalTime = static_cast<int16_t>(state.fields[3]);
    time.m_nPaceTime = static_cast<int16_t>(state.fields[4]);
    time.m_nPaceAddedTime = static_cast<int16_t>(state.fields[5]);
    m_board.SetReplayCount(static_cast<int16_t>(state.RecordCount()));
    NewPosition();
    m_bAwaitingEcho = false;
    Redraw();
}

void CTableBoard::OnGameStateMoves(const uint8_t* body, uint32_t length) {
    NewPosition();
    Redraw();
    // Only whole steps; a torn last one is dropped.
    for (uint32_t at = 0; at + MSG_MOVE_BODY::SIZE <= length; at += MSG_MOVE_BODY::SIZE) {
        if (m_pHandOn != nullptr)
            m_pHandOn->HandOn(MSG_MOVE, body + at, MSG_MOVE_BODY::SIZE);
        else
            OnMove(body + at, MSG_MOVE_BODY::SIZE);
    }
}

void CTableBoard::OnGameResult(const MSG_GAME_RESULT_BODY& result) {
    // Both players may report the same end (a mate is seen on both sides), and the server
    // passes on each report: a game ends once, with one result dialog and one save offer.
    if (m_bResultTaken)
        return;
    m_bResultTaken = true;
    m_bFinishedOnView = true;
    m_table.state.End(GameEnd::Result);
    const CPlayerManager& players = m_table.people;
    const ResultSeats seats = SeatsOf(players, result);
    m_nResultWinnerSeat = seats.winner;
    m_nResultLoserSeat = seats.loser;
    m_nResultReason = static_cast<int16_t>(result.reason);
    const bool local = m_table.mode.LocalMode();
    if (local) {
        const std::string line = ResultLine();
        if (!line.empty() && m_pPrompts != nullptr)
            m_pPrompts->ShowNotice(line);
    }
    if (m_pObserver != nullptr)
        m_pObserver->OnGameResult(result);
    if (m_saveOffer)
        m_saveOffer();
    // Nobody else starts the next game of a local table. It is asked for only now: a message
    // box runs the event loop, which would take the new game before the finished one is saved.
    if (local)
        m_table.sender.SendMessage(MSG_NEW_GAME, nullptr, 0);
}

void CTableBoard::RecordAgreedDraw(uint16_t answererSeat) {
    MSG_GAME_RESULT_BODY draw;
    draw.senderSeat = answererSeat;
    draw.decisive = 0;
    draw.winnerSeat = CPlayerManager::NONE;
    draw.reason = RESULT_REASON_CHECKMATE;
    m_bResultTaken = true;
    m_bFinishedOnView = true;
    m_table.state.End(GameEnd::Draw);
    m_nResultWinnerSeat = static_cast<int16_t>(CPlayerManager::NONE);
    m_nResultLoserSeat = static_cast<int16_t>(CPlayerManager::NONE);
    m_nResultReason = static_cast<int16_t>(RESULT_REASON_CHECKMATE);
    if (m_pObserver != nullptr)
        m_pObserver->OnGameResult(draw);
    if (m_saveOffer)
        m_saveOffer();
}

std::string CTableBoard::ResultLine() const {
    return kelo::ResultLine(m_table.people, m_nResultWinnerSeat, m_nResultLoserSeat,
                            m_nResultReason);
}

void CTableBoard::OnScores(const uint8_t* body, uint32_t length) {
    MSG_SCORES_BODY scores;
    if (!MSG_SCORES_BODY::FromWire(body, length, scores))
        return;
    m_table.state.End(GameEnd::Scores);
    if (m_pObserver != nullptr)
        m_pObserver->OnScores(scores);
}

} // namespace kelo
