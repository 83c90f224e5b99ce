// SPDX-License-Identifier: GPL-3.0-or-later
#include "CTableServer.h"

#include "base/CGbkConverter.h"
#include "base/TableTypes.h"
#include "chess/CBaseRule.h"
#include "chess/CChessSet.h"
#include "chess/ChessTypes.h"
#include "link/CCommunicationLayer.h"
#include "link/CPersonRecord.h"
#include "link/MSG_DRAW_ANSWER.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_EXCHANGE_ANSWER.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_EXIT_DISCOURAGE.h"
#include "link/MSG_EXIT_REQUEST.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_RESUME_ANSWER.h"
#include "link/MSG_RESUME_REQUEST.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MSG_START_INFO.h"
#include "link/MSG_TABLE_CHAT.h"
#include "link/MSG_TAKEBACK_ANSWER.h"
#include "link/MSG_USER_STATUS.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "link/PERSON.h"

#include <algorithm>
#include <cstring>

namespace kelo {

namespace {

// The settings a desk's next game is played with.
MSG_START_INFO_BODY StartInfo(uint16_t firstSeat, const CTableServer::TimeSettings& time) {
    MSG_START_INFO_BODY info;
    info.firstColour = static_cast<uint16_t>(WireValue(Colour::White));
    info.firstSeat = firstSeat;
    info.totalTime = time.total;
    info.paceTime = time.pace;
    info.paceAddedTime = time.added;
    info.maxTakeBacks = CTableServer::MAX_TAKEBACKS;
    return info;
}

} // namespace

// The position of a desk's game, played on the core's model, and what the draw rules count.
struct CTableServer::DeskModel {
    CChessSet game;
    CChessDiagram& position = game.Position();
    Colour sideToMove = Colour::White;
    int plies = 0;
    int quietPlies = 0;
    std::map<std::string, int> seen;

    DeskModel() {
        position.Reset();
        position.SetUp(Colour::None, Colour::White);
        ++seen[Key()];
    }
    // The pieces on their squares (with the unmoved flags that castling depends on) and the
    // side to move.
    std::string Key() const {
        std::string key(8 * 8 * 2 + 1, '.');
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                const CBasePiece* piece = position.PieceAt(CBasePoint(x, y));
                if (piece == nullptr)
                    continue;
                key[2 * (x * 8 + y)] = static_cast<char>('A' + WireValue(piece->m_kind) +
                                                         10 * WireValue(piece->m_colour));
                // Only the king's and the rooks' first moves change what may follow.
                const bool castling =
                    piece->m_kind == PieceKind::King || piece->m_kind == PieceKind::Rook;
                key[2 * (x * 8 + y) + 1] = castling && piece->m_bUnmoved ? 'u' : 'm';
            }
        }
        key.back() = static_cast<char>('0' + WireValue(sideToMove));
        return key;
    }
    // Whether the move is the side to move's and legal on the position: the piece it names on
    // its square, the rules' own record for the two squares (its capture, castling and en
    // passant alike) and a promotion piece exactly when a pawn reaches the last row. The rules'
    // record, with the promotion, goes to played when given.
    bool Legal(const MoveRecord& move, MoveRecord* played = nullptr) {
        auto square = [](CBasePoint point) {
            const int32_t code = point.Code();
            return code >= 0 && code % 100 < 8 && code < 800;
        };
        if (move.colour != sideToMove || !square(move.from) || !square(move.to))
            return false;
        const CBasePoint from = move.from;
        const CBasePoint to = move.to;
        CChnChessBoard& board = game.Board();
        CBaseRule* rule = board.RuleAt(from);
        MoveRecord legal;
        if (rule == nullptr || !rule->CheckMove(move.colour, from, to, board, &legal) ||
            legal.kind != move.kind || (legal.flags & FLAG_CAPTURE) != (move.flags & FLAG_CAPTURE))
            return false;
        if (board.IsPromotion(from, to)) {
            if (move.special < SPECIAL_PROMOTE_QUEEN || move.special > SPECIAL_PROMOTE_BISHOP)
                return false;
            legal.special = move.special;
        }
        if (move.special != legal.special)
            return false;
        if (played != nullptr)
            *played = legal;
        return true;
    }
    // Whether the side to move has no legal move, and whether its king is attacked.
    bool Blocked() { return !game.Board().HasLegalMove(sideToMove); }
    bool InCheck() {
        const int32_t king = position.Find(sideToMove, PieceKind::King);
        return king != NO_SQUARE &&
               game.Board().AttackedBy(OppositeColour(sideToMove), CBasePoint::FromCode(king));
    }
    // Plays a legal move; false when it is not.
    bool Play(const MoveRecord& move) {
        MoveRecord played;
        if (!Legal(move, &played) || !position.Apply(played))
            return false;
        const bool capture = (move.flags & FLAG_CAPTURE) != 0 || move.special == SPECIAL_EN_PASSANT;
        quietPlies = capture ? 0 : quietPlies + 1;
        ++plies;
        sideToMove = OppositeColour(sideToMove);
        ++seen[Key()];
        return true;
    }
    // The draw the position calls for, or 0.
    uint16_t Draw() const {
        auto it = seen.find(Key());
        if (it != seen.end() && it->second >= REPETITIONS)
            return DRAW_REPETITION;
        if (quietPlies >= NO_CAPTURE_PLIES)
            return DRAW_NO_CAPTURE;
        if (plies >= MOVE_LIMIT_PLIES)
            return DRAW_MOVE_LIMIT;
        return 0;
    }
};

CTableServer::CTableServer(IOutput& output) : m_output(output) {}

CTableServer::~CTableServer() = default;

bool CTableServer::IsRelayed(uint16_t type) {
    switch (type) {
    case MSG_TABLE_CHAT:
    case MSG_LEAVE_TABLE:
    case MSG_LEAVE_WATCH:
    case MSG_EXIT_REQUEST:
    case MSG_EXIT_ANSWER:
        return true;
    default:
        return IsTableGameMessage(type);
    }
}

bool CTableServer::MayOriginate(uint16_t type) {
    switch (type) {
    case MSG_READY:
    case MSG_EXCHANGE_REQUEST:
    case MSG_EXCHANGE_ANSWER:
    case MSG_RESUME_REQUEST:
    case MSG_RESUME_ANSWER:
    case MSG_START_NOTICE:
    case MSG_MOVE:
    case MSG_TAKEBACK_REQUEST:
    case MSG_TAKEBACK_ANSWER:
    case MSG_DRAW_OFFER:
    case MSG_DRAW_ANSWER:
    case MSG_SEAL_REQUEST:
    case MSG_SEAL_ANSWER:
    case MSG_GAME_RESULT:
    case MSG_LEAVE_SEAT:
    case MSG_TABLE_CHAT_OLD:
    case MSG_KEEP_ALIVE:
    case MSG_TABLE_CHAT:
    case MSG_LEAVE_TABLE:
    case MSG_LEAVE_WATCH:
    case MSG_EXIT_REQUEST:
    case MSG_EXIT_ANSWER:
        return true;
    default:
        return false;
    }
}

std::string CTableServer::Refusal(const Client& client, uint16_t type, const uint8_t* body,
                                  size_t length) {
    if (!MayOriginate(type))
        return "a client may not send this type";
    if (type == MSG_TABLE_CHAT || type == MSG_TABLE_CHAT_OLD) {
        if (length <= MSG_TABLE_CHAT_BODY::SIZE)
            return "a chat line without its head or text";
        return {};
    }
    if (type == MSG_LEAVE_TABLE) {
        // A watcher holds no seat to leave: relayed, any 3026 closes the players' tables.
        if (!client.player)
            return "a leave of the table from a watcher";
        MSG_LEAVE_TABLE_BODY leave;
        if (!MSG_LEAVE_TABLE_BODY::FromWire(body, length, leave))
            return "a short leave";
        // A client leaves the id 0; the server knows it by its connection.
        if ((leave.id != 0 && leave.id != client.id) || leave.seatno != client.seat)
            return "a leave that names someone else";
        return {};
    }
    if (type == MSG_LEAVE_WATCH) {
        if (client.player)
            return "a leave of watching from a player";
        MSG_LEAVE_WATCH_BODY leave;
        if (!wire::DecodeThrough<&MSG_LEAVE_WATCH_BODY::id>(body, length, leave))
            return "a short leave";
        // Seat and watch number are 0xFFFF while the client does not know its own record yet.
        auto own = [](uint16_t named, uint16_t actual) {
            return named == NO_SEAT || named == actual;
        };
        if ((leave.id != 0 && leave.id != client.id) || !own(leave.seatno, client.seat) ||
            !own(leave.watchno, client.watchno))
            return "a leave that names someone else";
        return {};
    }
    if (!client.player)
        return CCommunicationLayer::IsAllowedForWatcher(type) ? std::string()
                                                              : "a watcher may not send this type";
    Desk& desk = m_desks[client.desk];
    const bool playing = desk.phase == Desk::Phase::Playing && desk.model != nullptr;
    if (type == MSG_EXIT_ANSWER) {
        // Only the opponent of a player who asked to leave answers, once.
        MSG_EXIT_ANSWER_BODY answer;
        if (!playing || desk.exitRequester >= 2 || client.seat == desk.exitRequester)
            return "an exit answer nobody asked for";
        if (!MSG_EXIT_ANSWER_BODY::FromWire(body, length, answer) ||
            answer.requesterSeat != desk.exitRequester)
            return "an exit answer to another request";
    }
    // Colours are exchanged between games: an exchange in the middle of one would leave the
    // moves played to the wrong sides. A refusal may still answer a request.
    if (type == MSG_EXCHANGE_REQUEST && playing)
        return "an exchange of colours during a game";
    if (type == MSG_EXCHANGE_ANSWER && playing) {
        MSG_EXCHANGE_ANSWER_BODY answer;
        if (!MSG_EXCHANGE_ANSWER_BODY::FromWire(body, length, answer) || answer.agree != 0)
            return "an exchange of colours during a game";
    }
    if (type == MSG_MOVE) {
        if (!playing)
            return "a move with no game under way";
        if (client.seat != SeatToMove(desk))
            return "a move from the player not to move";
        if (length < MSG_MOVE_BODY::SIZE ||
            !desk.model->Legal(MSG_MOVE_BODY::FromWire(body).ToRecord()))
            return "an illegal move";
    }
    if (type == MSG_GAME_RESULT) {
        if (length < MSG_GAME_RESULT_BODY::SIZE)
            return "a short result";
        const auto claim = MSG_GAME_RESULT_BODY::FromWire(body);
        if (playing) {
            // A mate or a stalemate is judged on the server's position, in favour of the player
            // who moved last.
            const uint16_t seatToMove = SeatToMove(desk);
            if (claim.reason == DRAW_REPETITION || claim.reason == DRAW_NO_CAPTURE ||
                claim.reason == DRAW_MOVE_LIMIT)
                return "a draw by rule, which is the server's to give";
            if (claim.reason == RESULT_REASON_RESIGN &&
                (claim.decisive != 1 || claim.winnerSeat != 1 - client.seat))
                return "a resignation for another seat";
            // Only the side to move can run out of time, and only the server's clocks say so.
            if (claim.reason == RESULT_REASON_TIMEOUT &&
                (claim.decisive != 1 || claim.winnerSeat != 1 - seatToMove ||
                 !OutOfTime(desk, m_nNowMs)))
                return "a loss on time that the server's clocks do not show";
            if (claim.reason == RESULT_REASON_CHECKMATE &&
                (claim.decisive != 1 || claim.winnerSeat != 1 - seatToMove ||
                 !desk.model->InCheck() || !desk.model->Blocked()))
                return "a mate that the position does not show";
            if (claim.reason == RESULT_REASON_STALEMATE &&
                (claim.decisive != 0 || desk.model->InCheck() || !desk.model->Blocked()))
                return "a stalemate that the position does not show";
            return {};
        }
        // Both players may judge the end themselves: the other one's matching result is
        // relayed once. A draw names each sender's own seat, so only a win compares winners.
        const auto& result = claim;
        const bool matches = desk.phase == Desk::Phase::Ended && desk.resultSeat < 2 &&
                             client.seat != desk.resultSeat && result.decisive == desk.result[0] &&
                             result.reason == desk.result[2] &&
                             (result.decisive == 0 || result.winnerSeat == desk.result[1]);
        if (!matches)
            return "a result with no game under way";
        desk.resultSeat = NO_SEAT;
    }
    return {};
}

bool CTableServer::OnAccept(int connection, uint64_t nowMs, uint32_t address) {
    m_nNowMs = nowMs;
    if (m_clients.size() >= m_limits.connections) {
        m_output.Report("connection refused: " + std::to_string(m_clients.size()) +
                        " connections already");
        return false;
    }
    const auto fromAddress = std::count_if(m_clients.begin(), m_clients.end(), [&](const auto& c) {
        return c.second.address == address;
    });
    if (static_cast<size_t>(fromAddress) >= m_limits.perAddress) {
        m_output.Report("connection refused: " + std::to_string(fromAddress) +
                        " connections from " + std::to_string(address >> 24) + "." +
                        std::to_string((address >> 16) & 0xFF) + "." +
                        std::to_string((address >> 8) & 0xFF) + "." +
                        std::to_string(address & 0xFF) + " already");
        return false;
    }
    Client client;
    client.number = ++m_nConnections;
    client.address = address;
    client.connectedMs = nowMs;
    client.lastFrame = nowMs;
    client.lastSent = nowMs;
    m_clients[connection] = client;
    return true;
}

void CTableServer::OnData(int connection, const uint8_t* data, size_t count, uint64_t nowMs) {
    auto it = m_clients.find(connection);
    if (it == m_clients.end())
        return;
    m_nNowMs = nowMs;
    Client& client = it->second;
    client.pending.insert(client.pending.end(), data, data + count);
    size_t used = 0;
    while (client.pending.size() - used >= MSG_HEAD::SIZE) {
        const MSG_HEAD head = MSG_HEAD::Decode(client.pending.data() + used);
        if (head.length > frame::MAX_LENGTH) {
            if (Violation(connection, client,
                          "client " + std::to_string(client.number) + ": a header announces " +
                              std::to_string(head.length) + " bytes"))
                Drop(connection, "unreadable stream");
            return;
        }
        const size_t size = MSG_HEAD::SIZE + head.length;
        if (client.pending.size() - used < size)
            break;
        // Only a whole message is a sign of life.
        client.lastFrame = nowMs;
        if (!OnFrame(connection, client, client.pending.data() + used, size, nowMs))
            return;
        used += size;
    }
    client.pending.erase(client.pending.begin(), client.pending.begin() + used);
}

bool CTableServer::OnFrame(int connection, Client& client, const uint8_t* bytes, size_t count,
                           uint64_t nowMs) {
    const MSG_HEAD head = MSG_HEAD::Decode(bytes);
    const std::string what = "client " + std::to_string(client.number) +
                             " type=" + std::to_string(head.type) +
                             " seq=" + std::to_string(head.sequence);
    if (head.length < frame::BODY_DIGEST_SIZE)
        return Violation(connection, client, what + ": no body digest");
    const uint8_t* body = bytes + MSG_HEAD::SIZE;
    const size_t length = head.length - frame::BODY_DIGEST_SIZE;
    const uint8_t* digest = body + length;
    const bool headOk = MSG_HEAD::Check(bytes);
    auto digestMatches = [&](uint32_t client, uint32_t comm) {
        const auto expected = frame::BodyDigest(body, length, client, comm);
        return std::equal(expected.begin(), expected.end(), digest);
    };

    // Before the numbered exchange every message carries the start values, and a client may
    // still send such messages while the server's start message is on its way.
    const bool unnumbered = !client.numbered && headOk &&
                            head.sequence == CCommunicationLayer::INITIAL_SEQUENCE_CLIENT &&
                            digestMatches(CCommunicationLayer::INITIAL_SEQUENCE_CLIENT,
                                          CCommunicationLayer::INITIAL_SEQUENCE_COMM);
    std::string failures;
    if (!unnumbered) {
        if (!client.entered) {
            failures = headOk ? "body digest" : "head digest";
        } else {
            client.numbered = true;
            // A header whose digest fails cannot be trusted for its sequence number either.
            const uint32_t sequence = headOk ? head.sequence : client.expected;
            if (!headOk)
                failures += ", head digest";
            if (headOk && sequence != client.expected)
                failures += ", sequence " + std::to_string(sequence) + " where " +
                            std::to_string(client.expected) + " was due";
            if (!digestMatches(sequence, client.sequenceComm))
                failures += ", body digest";
            client.expected = sequence + 1;
            if (!failures.empty())
                failures.erase(0, 2);
        }
    }
    // A message that fails a check is counted once and goes no further.
    if (!failures.empty())
        return Violation(connection, client, what + ": " + failures);

    if (!client.entered) {
        if (head.type != MSG_ENTER_TABLE || length < MSG_ENTER_TABLE_BODY::SIZE)
            return Violation(connection, client, what + ": the first message must enter a desk");
        return Enter(connection, client, body, length, nowMs);
    }
    // After its own leave a client may still send what it had under way (a move, its last
    // keep-alive): nothing of it goes on.
    if (client.left)
        return true;
    const std::string refusal = Refusal(client, head.type, body, length);
    if (!refusal.empty())
        return Violation(connection, client, what + ": " + refusal);
    // A body the server rewrites goes on in the frame form the sender used.
    const uint32_t comm =
        unnumbered ? CCommunicationLayer::INITIAL_SEQUENCE_COMM : client.sequenceComm;
    switch (head.type) {
    case MSG_TABLE_CHAT:
    case MSG_TABLE_CHAT_OLD:
        return OnChat(connection, client, head.type, head.sequence, comm, body, length, nowMs);
    case MSG_LEAVE_TABLE:
    case MSG_LEAVE_WATCH:
        OnLeave(client, head.type, head.sequence, comm, body, length);
        return true;
    default:
        break;
    }
    if (IsRelayed(head.type))
        Relay(client, bytes, count);
    OnGameMessage(client, head.type, body, length, nowMs);
    return true;
}

bool CTableServer::Enter(int connection, Client& client, const uint8_t* body, size_t,
                         uint64_t nowMs) {
    const auto enter = MSG_ENTER_TABLE_BODY::FromWire(body);
    // A second entry of an id that is connected takes over, as a login elsewhere does: the
    // old connection is told so and closed, and goes without a departure; the new one takes
    // its place.
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        Client& old = it->second;
        if (it->first == connection || !old.entered || old.left || old.id != enter.id) {
            ++it;
            continue;
        }
        const int oldConnection = it->first;
        const uint16_t oldDesk = old.desk;
        SendTo(oldConnection, old, MSG_LOGIN_ELSEWHERE, nullptr, 0);
        m_output.Report("client " + std::to_string(old.number) + " replaced by client " +
                        std::to_string(client.number) + ", id=" + std::to_string(enter.id));
        m_output.Close(oldConnection);
        it = m_clients.erase(it);
        // A desk left empty by the replaced connection is forgotten, unless it holds a seat.
        const bool anyone = std::any_of(m_clients.begin(), m_clients.end(), [&](const auto& c) {
            return c.second.entered && c.second.desk == oldDesk;
        });
        auto desk = m_desks.find(oldDesk);
        if (!anyone && oldDesk != enter.deskno && desk != m_desks.end() && !desk->second.held[0] &&
            !desk->second.held[1])
            m_desks.erase(desk);
    }
    const auto present = std::count_if(m_clients.begin(), m_clients.end(), [&](const auto& entry) {
        return entry.second.entered && entry.second.desk == enter.deskno;
    });
    if (static_cast<size_t>(present) >= m_limits.perDesk) {
        Drop(connection, "desk " + std::to_string(enter.deskno) + " is full");
        return false;
    }
    client.entered = true;
    client.id = enter.id;
    client.desk = enter.deskno;
    client.seat = enter.seatno;
    client.watchno = enter.watchno;
    // A seated player has no watch number (-1); a seat taken by someone still here makes the
    // newcomer a watcher behind it.
    client.player = enter.watchno == NO_SEAT && enter.seatno < 2;
    for (const auto& [other, known] : m_clients) {
        if (other != connection && known.entered && !known.left && known.player &&
            known.desk == client.desk && known.seat == client.seat)
            client.player = false;
    }
    // A seat held for a player whose connection went is that player's alone.
    Desk& held = m_desks[client.desk];
    bool back = false;
    if (client.player && held.held[client.seat]) {
        back = held.heldId[client.seat] == client.id;
        client.player = back;
        if (back)
            held.held[client.seat] = false;
    }
    // Counters of the server's choosing, different for every connection.
    MSG_SEQUENCE_START_BODY start;
    start.sequenceClient = 100000 + 1000 * static_cast<uint32_t>(client.number);
    start.sequenceComm = 3000 + static_cast<uint32_t>(client.number);
    start.sequenceServer = 9000 + static_cast<uint32_t>(client.number);
    client.expected = start.sequenceClient + 1;
    client.sequenceComm = start.sequenceComm;
    client.sequenceServer = start.sequenceServer;
    m_output.Report("client " + std::to_string(client.number) + " id=" + std::to_string(enter.id) +
                    " entered desk " + std::to_string(enter.deskno) + " seat " +
                    std::to_string(enter.seatno) + " watchno " + std::to_string(enter.watchno) +
                    " types " + std::to_string(enter.servicetype) + "," +
                    std::to_string(enter.gametype) + "," + std::to_string(enter.subtype));
    const auto wire = start.ToWire();
    SendTo(connection, client, MSG_SEQUENCE_START, wire.data(), wire.size());
    SendPersons(connection, client);
    // A client that asked for a seat someone else holds watches instead; its own status says
    // so, to it alone (the others learn it from its record).
    if (!client.player && enter.watchno == NO_SEAT && enter.seatno < 2) {
        MSG_USER_STATUS_BODY status;
        status.id = client.id;
        const auto watching = status.ToWire();
        SendTo(connection, client, MSG_USER_STATUS, watching.data(), watching.size());
        m_output.Report("client " + std::to_string(client.number) + " watches: seat " +
                        std::to_string(enter.seatno) + " is taken");
    }

    Desk& desk = m_desks[client.desk];
    if (back) {
        MSG_USER_STATUS_BODY status;
        status.id = client.id;
        status.role = 1;
        const auto wire = status.ToWire();
        SendToDesk(client.desk, MSG_USER_STATUS, wire.data(), wire.size());
        m_output.Report("desk " + std::to_string(client.desk) + " seat " +
                        std::to_string(client.seat) + " is back");
    }
    if (desk.phase == Desk::Phase::Playing) {
        SendGameState(connection, client, desk, nowMs);
        return true;
    }
    // A resume request still waiting for its answer reaches a newcomer too, so that the
    // agreement rebuilds its board as it does everyone else's.
    if (!desk.resumeRequest.empty())
        SendTo(connection, client, MSG_RESUME_REQUEST, desk.resumeRequest.data(),
               desk.resumeRequest.size());
    if (desk.phase == Desk::Phase::Waiting && client.player)
        OfferStart(client.desk, desk);
    return true;
}

void CTableServer::Transmit(int connection, Client& client, const uint8_t* data, size_t count) {
    client.lastSent = m_nNowMs;
    m_output.Send(connection, data, count);
}

void CTableServer::SendTo(int connection, Client& client, uint16_t type, const uint8_t* body,
                          size_t length) {
    const auto bytes = frame::BuildServerFrame(type, body, length, client.sequenceServer);
    Transmit(connection, client, bytes.data(), bytes.size());
}

void CTableServer::SendToDesk(uint16_t deskNo, uint16_t type, const uint8_t* body, size_t length) {
    for (auto& [connection, client] : m_clients) {
        if (client.entered && client.desk == deskNo)
            SendTo(connection, client, type, body, length);
    }
}

void CTableServer::SendPersons(int connection, Client& newcomer) {
    auto record = [](const Client& c) {
        PERSON person{};
        person.id = c.id;
        person.deskno = static_cast<int16_t>(c.desk);
        person.seatno = static_cast<int16_t>(c.seat);
        person.watchno = static_cast<int16_t>(c.watchno);
        person.status = WireValue(c.player ? TableRole::Player : TableRole::Watcher);
        return CPersonRecord::ToWire(person);
    };
    std::vector<uint8_t> people;
    for (const auto& [other, client] : m_clients) {
        if (client.entered && !client.left && client.desk == newcomer.desk) {
            const auto one = record(client);
            people.insert(people.end(), one.begin(), one.end());
        }
    }
    SendTo(connection, newcomer, MSG_TABLE_PERSONS, people.data(), people.size());
    const auto one = record(newcomer);
    for (auto& [other, client] : m_clients) {
        if (other != connection && client.entered && client.desk == newcomer.desk)
            SendTo(other, client, MSG_USER_ENTER, one.data(), one.size());
    }
}

bool CTableServer::BothSeated(uint16_t deskNo) const {
    bool seated[2] = {false, false};
    for (const auto& [connection, client] : m_clients) {
        if (client.entered && !client.left && client.player && client.desk == deskNo)
            seated[client.seat] = true;
    }
    return seated[0] && seated[1];
}

void CTableServer::ChangeTimeSettings(const TimeSettings& time) {
    m_time = time;
    m_output.Report("time " + std::to_string(time.total) + "," + std::to_string(time.pace) + "," +
                    std::to_string(time.added) + " for the games to come");
    // A desk that has ended its game gets the new clocks with its next start information.
    for (auto& [deskNo, desk] : m_desks) {
        if (desk.phase == Desk::Phase::Waiting && BothSeated(deskNo)) {
            const auto body =
                StartInfo(desk.firstSeat, m_time).ToWire(MSG_START_INFO_BODY::GAME_INFO_SIZE);
            SendToDesk(deskNo, MSG_GAME_INFO, body.data(), body.size());
        }
    }
}

void CTableServer::OfferStart(uint16_t deskNo, Desk& desk) {
    if (!BothSeated(deskNo))
        return;
    const auto body =
        StartInfo(desk.firstSeat, m_time).ToWire(MSG_START_INFO_BODY::START_INFO_SIZE);
    SendToDesk(deskNo, MSG_START_INFO, body.data(), body.size());
    // The start information locks the tables; they are freed so that the players can press
    // start.
    SendToDesk(deskNo, MSG_TABLE_UNLOCK, nullptr, 0);
}

void CTableServer::OnGameMessage(Client& client, uint16_t type, const uint8_t* body, size_t length,
                                 uint64_t nowMs) {
    if (!client.player)
        return;
    Desk& desk = m_desks[client.desk];
    switch (type) {
    case MSG_START_NOTICE:
        if (desk.phase != Desk::Phase::Waiting)
            return;
        desk.started[client.seat] = true;
        if (desk.started[0] && desk.started[1] && BothSeated(client.desk))
            BeginGame(client.desk, desk, nowMs);
        break;
    case MSG_EXCHANGE_ANSWER: {
        // The players agreed to exchange colours: the seat they named moves first from now on,
        // and the next start of play and game state name it, so that the clients, which take
        // their colours from that seat, keep what they agreed. A game under way keeps the first
        // seat its moves were played from.
        MSG_EXCHANGE_ANSWER_BODY answer;
        if (desk.phase != Desk::Phase::Playing &&
            MSG_EXCHANGE_ANSWER_BODY::FromWire(body, length, answer) && answer.agree == 1 &&
            answer.firstSeat < 2)
            desk.firstSeat = answer.firstSeat;
        break;
    }
    case MSG_MOVE:
        if (desk.phase == Desk::Phase::Playing)
            OnMove(client.desk, desk, body, length, nowMs);
        break;
    case MSG_TAKEBACK_ANSWER: {
        MSG_TAKEBACK_ANSWER_BODY answer;
        if (desk.phase == Desk::Phase::Playing &&
            MSG_TAKEBACK_ANSWER_BODY::FromWire(body, length, answer) && answer.agree == 1)
            TakeBack(desk);
        break;
    }
    case MSG_DRAW_ANSWER: {
        // An agreed draw is the game's result; the clients record it from the answer itself.
        MSG_DRAW_ANSWER_BODY answer;
        if (desk.phase == Desk::Phase::Playing &&
            MSG_DRAW_ANSWER_BODY::FromWire(body, length, answer) && answer.agree == 1)
            EndGame(client.desk, desk, 0, NO_SEAT, nowMs);
        break;
    }
    case MSG_EXIT_REQUEST:
        if (desk.phase == Desk::Phase::Playing)
            desk.exitRequester = client.seat;
        break;
    case MSG_EXIT_ANSWER:
        OnExitAnswer(client, desk, body, length);
        break;
    case MSG_SEAL_ANSWER: {
        // A sealed game ends without scores; the next game follows as after a result.
        MSG_SEAL_ANSWER_BODY answer;
        if (desk.phase == Desk::Phase::Playing &&
            MSG_SEAL_ANSWER_BODY::FromWire(body, length, answer) && answer.agree == 1) {
            desk.phase = Desk::Phase::Ended;
            desk.nextGameMs = nowMs + NEXT_GAME_DELAY_MS;
            m_output.Report("desk " + std::to_string(client.desk) + " game sealed");
        }
        break;
    }
    case MSG_RESUME_REQUEST:
        if (desk.phase != Desk::Phase::Playing && length >= MSG_RESUME_REQUEST_BODY::SIZE)
            desk.resumeRequest.assign(body, body + length);
        break;
    case MSG_RESUME_ANSWER: {
        MSG_RESUME_ANSWER_BODY answer;
        if (desk.phase == Desk::Phase::Playing || desk.resumeRequest.empty() ||
            !MSG_RESUME_ANSWER_BODY::FromWire(body, length, answer))
            break;
        if (answer.agree == 1)
            ResumeGame(client.desk, desk, nowMs);
        else
            desk.resumeRequest.clear();
        break;
    }
    case MSG_GAME_RESULT:
        if (desk.phase == Desk::Phase::Playing && length >= MSG_GAME_RESULT_BODY::SIZE) {
            const auto result = MSG_GAME_RESULT_BODY::FromWire(body);
            EndGame(client.desk, desk, result.decisive, result.winnerSeat, nowMs);
            desk.resultSeat = client.seat;
            desk.result = {result.decisive, result.winnerSeat, result.reason};
        }
        break;
    default:
        break;
    }
}

void CTableServer::BeginGame(uint16_t deskNo, Desk& desk, uint64_t nowMs) {
    desk.phase = Desk::Phase::Playing;
    desk.used = {};
    desk.time = m_time;
    desk.exitRequester = NO_SEAT;
    desk.resumeRequest.clear();
    desk.steps.clear();
    desk.model = std::make_unique<DeskModel>();
    desk.moveStartMs = nowMs;
    m_output.Report("desk " + std::to_string(deskNo) + " game begins, seat " +
                    std::to_string(desk.firstSeat) + " first");
    // The flag after the first seat is not used.
    const auto begin = MSG_SEAT_FLAG_BODY{desk.firstSeat, 0}.ToWire();
    SendToDesk(deskNo, MSG_GAME_BEGIN, begin.data(), begin.size());
    SendToDesk(deskNo, MSG_TABLE_UNLOCK, nullptr, 0);
}

void CTableServer::OnMove(uint16_t deskNo, Desk& desk, const uint8_t* body, size_t length,
                          uint64_t nowMs) {
    if (length < MSG_MOVE_BODY::SIZE || !desk.model)
        return;
    // Only moves that fit the game are kept; the clients ignore the others as well.
    const uint16_t mover = SeatToMove(desk);
    if (!desk.model->Play(MSG_MOVE_BODY::FromWire(body).ToRecord()))
        return;
    // The mover's clock is charged the whole seconds of the move, less the time added per move,
    // as the clients charge it.
    if (mover < 2)
        desk.used[mover] +=
            static_cast<int32_t>((nowMs - desk.moveStartMs) / 1000) - desk.time.added;
    std::array<uint8_t, MSG_MOVE_BODY::SIZE> step{};
    std::copy(body, body + MSG_MOVE_BODY::SIZE, step.begin());
    desk.steps.push_back(step);
    desk.moveStartMs = nowMs;
    if (const uint16_t draw = desk.model->Draw()) {
        MSG_GAME_RESULT_BODY result;
        result.senderSeat = NO_SEAT;
        result.decisive = 0;
        result.winnerSeat = NO_SEAT;
        result.reason = draw;
        const auto wire = result.ToWire();
        SendToDesk(deskNo, MSG_GAME_RESULT, wire.data(), wire.size());
        EndGame(deskNo, desk, 0, NO_SEAT, nowMs);
    }
}

void CTableServer::TakeBack(Desk& desk) {
    // The clients take back two plies whatever the request said; so does the desk.
    if (desk.steps.size() < 2)
        return;
    desk.steps.resize(desk.steps.size() - 2);
    desk.model = std::make_unique<DeskModel>();
    for (const auto& step : desk.steps)
        desk.model->Play(MSG_MOVE_BODY::FromWire(step.data()).ToRecord());
}

void CTableServer::OnExitAnswer(const Client& client, Desk& desk, const uint8_t* body,
                                size_t length) {
    MSG_EXIT_ANSWER_BODY answer;
    if (desk.phase != Desk::Phase::Playing || !MSG_EXIT_ANSWER_BODY::FromWire(body, length, answer))
        return;
    // The request is answered; the requester is named by its seat, whatever id the answer says.
    const uint16_t requesterSeat = desk.exitRequester;
    desk.exitRequester = NO_SEAT;
    uint32_t requesterId = desk.held[requesterSeat] ? desk.heldId[requesterSeat] : 0;
    for (const auto& [connection, other] : m_clients) {
        if (other.entered && !other.left && other.player && other.desk == client.desk &&
            other.seat == requesterSeat)
            requesterId = other.id;
    }
    if (answer.refused != 0) {
        // The opponent wants the game played out: the requester is told so.
        MSG_EXIT_DISCOURAGE_BODY discourage;
        discourage.id = requesterId;
        const auto wire = discourage.ToWire();
        SendToDesk(client.desk, MSG_EXIT_DISCOURAGE, wire.data(), wire.size());
        return;
    }
    // Let go: the game ends without a result and everybody at the desk learns that the
    // requester left, which closes their tables.
    AbandonGame(desk);
    MSG_LEAVE_TABLE_BODY leave;
    leave.id = requesterId;
    leave.seatno = requesterSeat;
    leave.reason = 0;
    const auto wire = leave.ToWire();
    SendToDesk(client.desk, MSG_LEAVE_TABLE, wire.data(), wire.size());
}

void CTableServer::ResumeGame(uint16_t deskNo, Desk& desk, uint64_t nowMs) {
    const std::vector<uint8_t> request = std::move(desk.resumeRequest);
    desk.resumeRequest.clear();
    MSG_RESUME_REQUEST_BODY head;
    if (!MSG_RESUME_REQUEST_BODY::FromWire(request.data(), request.size(), head) ||
        request.size() < MSG_RESUME_REQUEST_BODY::SIZE + head.moveCount * MSG_MOVE_BODY::SIZE)
        return;
    // The first seat is the seat of the player who holds the colour that moved first.
    uint16_t firstSeat = NO_SEAT;
    for (int slot = 0; slot < 2; ++slot) {
        if (head.colours[slot] != head.firstMoverColour)
            continue;
        for (const auto& [connection, client] : m_clients) {
            if (client.entered && client.player && client.desk == deskNo &&
                client.id == head.userIds[slot])
                firstSeat = client.seat;
        }
    }
    if (firstSeat >= 2)
        return;
    auto model = std::make_unique<DeskModel>();
    std::vector<std::array<uint8_t, MSG_MOVE_BODY::SIZE>> steps;
    for (uint16_t i = 0; i < head.moveCount; ++i) {
        const uint8_t* at =
            request.data() + MSG_RESUME_REQUEST_BODY::SIZE + i * MSG_MOVE_BODY::SIZE;
        if (!model->Play(MSG_MOVE_BODY::FromWire(at).ToRecord()))
            return;
        std::array<uint8_t, MSG_MOVE_BODY::SIZE> step{};
        std::copy(at, at + MSG_MOVE_BODY::SIZE, step.begin());
        steps.push_back(step);
    }
    desk.phase = Desk::Phase::Playing;
    desk.started[0] = desk.started[1] = false;
    desk.used = {};
    desk.time = m_time;
    desk.exitRequester = NO_SEAT;
    desk.firstSeat = firstSeat;
    desk.model = std::move(model);
    desk.steps = std::move(steps);
    desk.moveStartMs = nowMs;
    m_output.Report("desk " + std::to_string(deskNo) + " game resumed, " +
                    std::to_string(head.moveCount) + " moves, seat " + std::to_string(firstSeat) +
                    " first");
}

void CTableServer::EndGame(uint16_t deskNo, Desk& desk, uint16_t decisive, uint16_t winner,
                           uint64_t nowMs) {
    desk.phase = Desk::Phase::Ended;
    desk.nextGameMs = nowMs + NEXT_GAME_DELAY_MS;
    desk.resultSeat = NO_SEAT;
    // Ten points move from the loser to the winner; a draw moves none.
    std::array<int32_t, 2> points{};
    if (decisive != 0 && winner < 2) {
        points[winner] = 10;
        points[1 - winner] = -10;
        ++desk.won[winner];
        ++desk.lost[1 - winner];
    } else {
        ++desk.drawn[0];
        ++desk.drawn[1];
    }
    desk.total[0] += points[0];
    desk.total[1] += points[1];
    m_output.Report("desk " + std::to_string(deskNo) + " game over, points " +
                    std::to_string(points[0]) + " " + std::to_string(points[1]));
    MSG_SCORES_BODY scores;
    scores.points = points;
    scores.total = desk.total;
    scores.won = desk.won;
    scores.lost = desk.lost;
    scores.drawn = desk.drawn;
    const auto body = scores.ToWire();
    SendToDesk(deskNo, MSG_SCORES, body.data(), body.size());
    desk.exitRequester = NO_SEAT;
    // A seat held for the game is held no longer.
    for (uint16_t seat = 0; seat < 2; ++seat) {
        if (desk.held[seat])
            ReleaseSeat(deskNo, desk, seat);
    }
}

void CTableServer::SendGameState(int connection, Client& client, const Desk& desk, uint64_t nowMs) {
    MSG_GAME_STATE_BODY state;
    state.fields[1] = desk.firstSeat;
    state.fields[3] = desk.time.total;
    state.fields[4] = desk.time.pace;
    state.fields[5] = desk.time.added;
    state.fields[6] = MAX_TAKEBACKS;
    // The seconds the move in progress has run.
    state.fields[12] =
        static_cast<uint16_t>(std::min<uint64_t>((nowMs - desk.moveStartMs) / 1000, 0x7FFF));
    state.fields[13] = static_cast<uint16_t>(desk.steps.size());
    // The records follow the 28-byte head at once, without a header of their own; the head's
    // length covers the head only.
    const auto head = state.ToWire();
    std::vector<uint8_t> bytes =
        frame::BuildServerFrame(MSG_GAME_STATE, head.data(), head.size(), client.sequenceServer);
    for (const auto& step : desk.steps)
        bytes.insert(bytes.end(), step.begin(), step.end());
    Transmit(connection, client, bytes.data(), bytes.size());
    SendTo(connection, client, MSG_TABLE_UNLOCK, nullptr, 0);
}

void CTableServer::OnClosed(int connection) {
    auto it = m_clients.find(connection);
    if (it == m_clients.end())
        return;
    const Client client = it->second;
    m_clients.erase(it);
    if (!client.entered)
        return;
    auto desk = m_desks.find(client.desk);
    if (desk == m_desks.end())
        return;
    // A player who goes before the start has to press start again.
    if (client.player && desk->second.phase == Desk::Phase::Waiting)
        desk->second.started[client.seat] = false;
    if (!client.left)
        AnnounceDeparture(client, m_nNowMs);
    const bool anyone = std::any_of(m_clients.begin(), m_clients.end(), [&](const auto& entry) {
        return entry.second.entered && entry.second.desk == client.desk;
    });
    if (!anyone && !desk->second.held[0] && !desk->second.held[1])
        m_desks.erase(desk);
}

void CTableServer::AnnounceDeparture(const Client& client, uint64_t nowMs) {
    Desk& desk = m_desks[client.desk];
    if (!client.player) {
        MSG_LEAVE_WATCH_BODY leave;
        leave.id = client.id;
        leave.seatno = client.seat;
        leave.watchno = client.watchno;
        const auto wire = leave.ToWire();
        SendToDesk(client.desk, MSG_LEAVE_WATCH, wire.data(), wire.size());
        return;
    }
    if (desk.phase == Desk::Phase::Playing) {
        // The game waits for its player: the seat is held for that id.
        desk.held[client.seat] = true;
        desk.heldId[client.seat] = client.id;
        desk.heldUntilMs[client.seat] = nowMs + m_limits.seatHoldMs;
        MSG_USER_STATUS_BODY broken;
        broken.id = client.id;
        const auto wire = broken.ToWire();
        SendToDesk(client.desk, MSG_USER_BROKEN, wire.data(), wire.size());
        m_output.Report("desk " + std::to_string(client.desk) + " seat " +
                        std::to_string(client.seat) + " held for id=" + std::to_string(client.id));
        return;
    }
    MSG_LEAVE_TABLE_BODY leave;
    leave.id = client.id;
    leave.seatno = client.seat;
    leave.reason = 2;
    const auto wire = leave.ToWire();
    SendToDesk(client.desk, MSG_LEAVE_TABLE, wire.data(), wire.size());
}

void CTableServer::ReleaseSeat(uint16_t deskNo, Desk& desk, uint16_t seat) {
    desk.held[seat] = false;
    m_output.Report("desk " + std::to_string(deskNo) + " seat " + std::to_string(seat) +
                    " no longer held for id=" + std::to_string(desk.heldId[seat]));
    MSG_LEAVE_TABLE_BODY leave;
    leave.id = desk.heldId[seat];
    leave.seatno = seat;
    leave.reason = 2; // could not come back
    const auto wire = leave.ToWire();
    SendToDesk(deskNo, MSG_LEAVE_TABLE, wire.data(), wire.size());
}

void CTableServer::AbandonGame(Desk& desk) {
    desk.phase = Desk::Phase::Waiting;
    desk.started[0] = desk.started[1] = false;
    desk.steps.clear();
    desk.model.reset();
    desk.exitRequester = NO_SEAT;
}

uint16_t CTableServer::SeatToMove(const Desk& desk) {
    if (!desk.model)
        return NO_SEAT;
    return desk.model->sideToMove == Colour::White ? desk.firstSeat
                                                   : static_cast<uint16_t>(1 - desk.firstSeat);
}

bool CTableServer::OutOfTime(const Desk& desk, uint64_t nowMs) const {
    const uint16_t seat = SeatToMove(desk);
    if (seat >= 2 || nowMs < desk.moveStartMs)
        return false;
    // The client counts the seconds of the move and is out once they pass the time per move or
    // what is left of its total; the server's count may be behind by the grace.
    const int64_t step = static_cast<int64_t>((nowMs - desk.moveStartMs) / 1000);
    const int64_t limit =
        std::min<int64_t>(desk.time.pace, static_cast<int64_t>(desk.time.total) - desk.used[seat]);
    return step + static_cast<int64_t>(TIME_GRACE_S) > limit;
}

void CTableServer::RelayBody(const Client& sender, uint16_t type, uint32_t sequence, uint32_t comm,
                             const uint8_t* body, size_t length) {
    const auto frame = frame::BuildClientFrame(type, body, length, sequence, comm);
    Relay(sender, frame.data(), frame.size());
}

bool CTableServer::OnChat(int connection, Client& client, uint16_t type, uint32_t sequence,
                          uint32_t comm, const uint8_t* body, size_t length, uint64_t nowMs) {
    (void)connection;
    if (nowMs - client.chatSecondMs >= 1000) {
        client.chatSecondMs = nowMs;
        client.chatLines = 0;
    }
    if (++client.chatLines > CHAT_LINES_PER_SECOND) {
        ++m_nChatDrops;
        // One line a second tells of the drops; the count is in the closing line.
        if (client.chatLines == CHAT_LINES_PER_SECOND + 1)
            m_output.Report("chat dropped: client " + std::to_string(client.number) +
                            " sends more than " + std::to_string(CHAT_LINES_PER_SECOND) +
                            " lines a second");
        return true;
    }
    // The text runs to its zero byte, at most MAX_CHAT_TEXT bytes cut on a character, and is
    // always ended.
    const char* text = reinterpret_cast<const char*>(body + MSG_TABLE_CHAT_BODY::SIZE);
    std::string line(text, strnlen(text, length - MSG_TABLE_CHAT_BODY::SIZE));
    if (line.size() > MAX_CHAT_TEXT)
        line = CGbkConverter::CutGbk(line, MAX_CHAT_TEXT);
    // The head speaks for its sender; every other byte of it goes on as it came.
    MSG_TABLE_CHAT_BODY head;
    MSG_TABLE_CHAT_BODY::FromWire(body, length, head);
    head.id = client.id;
    head.seatno = client.seat;
    head.watchno = client.watchno;
    const auto wire = head.ToWire();
    std::vector<uint8_t> out(wire.begin(), wire.end());
    out.insert(out.end(), line.begin(), line.end());
    out.push_back(0);
    RelayBody(client, type, sequence, comm, out.data(), out.size());
    return true;
}

void CTableServer::OnLeave(Client& client, uint16_t type, uint32_t sequence, uint32_t comm,
                           const uint8_t* body, size_t length) {
    std::vector<uint8_t> out(body, body + length);
    if (type == MSG_LEAVE_TABLE) {
        MSG_LEAVE_TABLE_BODY leave;
        MSG_LEAVE_TABLE_BODY::FromWire(body, length, leave);
        leave.id = client.id;
        leave.seatno = client.seat;
        const auto wire = leave.ToWire();
        std::copy(wire.begin(), wire.end(), out.begin());
    } else {
        MSG_LEAVE_WATCH_BODY leave;
        leave.id = client.id;
        leave.seatno = client.seat;
        leave.watchno = client.watchno;
        const auto wire = leave.ToWire();
        std::copy(wire.begin(), wire.begin() + static_cast<long>(std::min(length, wire.size())),
                  out.begin());
        if (length < wire.size())
            out.assign(wire.begin(), wire.end());
    }
    RelayBody(client, type, sequence, comm, out.data(), out.size());
    client.left = true;
    Desk& desk = m_desks[client.desk];
    if (client.player) {
        // A player who leaves a game under way ends it without a result, as the tables it
        // closes do.
        if (desk.phase == Desk::Phase::Playing)
            AbandonGame(desk);
        desk.started[client.seat] = false;
        client.player = false;
    }
}

void CTableServer::Relay(const Client& sender, const uint8_t* frame, size_t count) {
    const uint16_t deskNo = sender.desk;
    for (auto& [connection, client] : m_clients) {
        if (client.entered && client.desk == deskNo)
            Transmit(connection, client, frame, count);
    }
}

void CTableServer::OnTick(uint64_t nowMs) {
    m_nNowMs = nowMs;
    for (auto& [deskNo, desk] : m_desks) {
        if (desk.phase != Desk::Phase::Ended || nowMs < desk.nextGameMs)
            continue;
        desk.phase = Desk::Phase::Waiting;
        desk.started[0] = desk.started[1] = false;
        desk.steps.clear();
        desk.model.reset();
        const uint8_t body[6] = {};
        SendToDesk(deskNo, MSG_NEW_GAME, body, sizeof body);
        OfferStart(deskNo, desk);
    }
    std::vector<uint16_t> released;
    for (auto& [deskNo, desk] : m_desks) {
        for (uint16_t seat = 0; seat < 2; ++seat) {
            if (!desk.held[seat] || nowMs < desk.heldUntilMs[seat])
                continue;
            released.push_back(deskNo);
            if (desk.phase != Desk::Phase::Playing) {
                AbandonGame(desk);
                ReleaseSeat(deskNo, desk, seat);
                continue;
            }
            // The player did not come back in time: the game is that player's loss on time,
            // told before the seat is given up, so that the other player has the result, the
            // scores and the record.
            m_output.Report("desk " + std::to_string(deskNo) + " seat " + std::to_string(seat) +
                            " loses: id=" + std::to_string(desk.heldId[seat]) +
                            " did not come back");
            MSG_GAME_RESULT_BODY result;
            result.senderSeat = NO_SEAT;
            result.decisive = 1;
            result.winnerSeat = static_cast<uint16_t>(1 - seat);
            result.reason = RESULT_REASON_TIMEOUT;
            const auto wire = result.ToWire();
            SendToDesk(deskNo, MSG_GAME_RESULT, wire.data(), wire.size());
            EndGame(deskNo, desk, 1, result.winnerSeat, nowMs);
        }
    }
    // A desk that only kept a seat for someone who did not come back is forgotten.
    for (uint16_t deskNo : released) {
        auto it = m_desks.find(deskNo);
        const bool anyone = std::any_of(m_clients.begin(), m_clients.end(), [&](const auto& c) {
            return c.second.entered && c.second.desk == deskNo;
        });
        if (it != m_desks.end() && !anyone && !it->second.held[0] && !it->second.held[1])
            m_desks.erase(it);
    }
    for (auto& [connection, client] : m_clients) {
        if (client.entered && nowMs - client.lastSent >= KEEP_ALIVE_MS)
            SendTo(connection, client, MSG_KEEP_ALIVE, nullptr, 0);
    }
    std::vector<std::pair<int, std::string>> idle;
    for (const auto& [connection, client] : m_clients) {
        if (nowMs - client.lastFrame >= m_limits.idleMs)
            idle.emplace_back(connection, "no whole message for " +
                                              std::to_string(m_limits.idleMs / 1000) + " s");
        else if (!client.entered && nowMs - client.connectedMs >= m_limits.enterMs)
            idle.emplace_back(connection, "did not enter a desk within " +
                                              std::to_string(m_limits.enterMs / 1000) + " s");
    }
    for (const auto& [connection, why] : idle)
        Drop(connection, why);
}

bool CTableServer::Violation(int connection, Client& client, const std::string& what) {
    ++m_nViolations;
    m_output.Report("violation " + what);
    if (++client.violations < m_limits.violations)
        return true;
    Drop(connection, std::to_string(client.violations) + " violations");
    return false;
}

void CTableServer::Drop(int connection, const std::string& why) {
    auto it = m_clients.find(connection);
    if (it == m_clients.end())
        return;
    m_output.Report("client " + std::to_string(it->second.number) + " dropped: " + why);
    m_output.Close(connection);
    OnClosed(connection);
}

} // namespace kelo
