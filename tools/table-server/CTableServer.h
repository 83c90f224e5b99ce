// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelo {

// The reference game server's rules, without sockets: it is told of connections, bytes and the
// time, and answers through its output. Clients enter a desk; the server starts their numbered
// exchange, checks every message of theirs (head digest, body digest with their counters,
// sequence numbers rising by one) and relays the table messages to everyone at the desk. It is
// the authority of its desks: only the types a client may originate, game messages only from
// the seated players, a move only from the player to move and legal on its own position, a
// result only during a game and only where it can check it (a mate or stalemate on its position,
// a resignation from the resigning seat, a loss on time on its own clocks), a leave or a chat
// line only for its sender, an exit answer only to a pending request; anything else is a
// violation and goes no further. Seats belong to whoever entered them: a player whose connection
// goes during a game keeps the seat for a while, and whoever goes is announced to the desk.
//
// It also runs the game of each desk: the start information when both players are seated, the
// start of play when both have pressed start, the moves kept for those who enter later, its own
// draw rules, agreed draws and take-backs, the answer to a request to leave, the scores after a
// result and the next game after that.
class CTableServer {
public:
    class IOutput {
    public:
        virtual ~IOutput() = default;
        virtual void Send(int connection, const uint8_t* data, size_t count) = 0;
        virtual void Close(int connection) = 0;
        // One line of the server's log, without the line end.
        virtual void Report(const std::string& line) = 0;
    };

    // A client sent nothing for this long gets an empty keep-alive: clients take a link
    // without data for 45 s as dead, and a quiet table (a player thinking) sends nothing.
    static constexpr uint64_t KEEP_ALIVE_MS = 20000;
    // Between the scores of a game and the new-game message of the next.
    static constexpr uint64_t NEXT_GAME_DELAY_MS = 3000;
    // The server's own draws: the same position a third time, 60 moves without a capture,
    // 200 moves.
    static constexpr uint16_t DRAW_REPETITION = 4;
    static constexpr uint16_t DRAW_NO_CAPTURE = 5;
    static constexpr uint16_t DRAW_MOVE_LIMIT = 6;
    static constexpr int REPETITIONS = 3;
    static constexpr int NO_CAPTURE_PLIES = 120;
    static constexpr int MOVE_LIMIT_PLIES = 400;
    static constexpr uint16_t NO_SEAT = 0xFFFF;
    // The take-backs a player may ask for in a game, as the start information and game state
    // say.
    static constexpr uint16_t MAX_TAKEBACKS = 3;
    // A chat line's text is cut to this many bytes; more lines a second than this from one
    // client are dropped.
    static constexpr size_t MAX_CHAT_TEXT = 400;
    static constexpr int CHAT_LINES_PER_SECOND = 5;
    // A loss on time stands when the server's clock of the side to move is this close to it:
    // the client's one-second timer and the link run a little apart from the server's time.
    static constexpr uint64_t TIME_GRACE_S = 2;
    // The reason of a resignation, which only the resigning seat may give.
    static constexpr uint16_t RESULT_REASON_RESIGN = 8;

    struct TimeSettings {
        uint16_t total = 1800;
        uint16_t pace = 60;
        uint16_t added = 10;
    };

    // What one server lets its clients take. The defaults never touch a client that keeps to
    // the protocol: it completes a message at least every 30 s (its keep-alive), sends only
    // what it may, and a desk has two players and a few watchers.
    struct Limits {
        // Connections at once, entered or not; the next one is closed at once.
        size_t connections = 1000;
        // Clients entered at one desk, players and watchers; the next one is dropped.
        size_t perDesk = 100;
        // A client is dropped at this many violations.
        int violations = 100;
        // A client is dropped when it has not completed a message for this long; bytes that do
        // not make a whole message do not count.
        uint64_t idleMs = 120000;
        // A connection that has not entered a desk for this long is closed.
        uint64_t enterMs = 10000;
        // Connections at once from one address; the next one is closed at once.
        size_t perAddress = 256;
        // A player whose connection goes during a game keeps the seat for this long; then the
        // game is that player's loss on time.
        uint64_t seatHoldMs = 120000;
    };

    explicit CTableServer(IOutput& output);
    ~CTableServer();
    CTableServer(const CTableServer&) = delete;
    CTableServer& operator=(const CTableServer&) = delete;

    // The clocks of the games that begin from now on; a game under way keeps its own.
    void SetTimeSettings(const TimeSettings& time) { m_time = time; }
    // The same while the server runs: the desks whose players are seated between games are
    // told the new clocks at once (606), so that the game they start next shows them.
    void ChangeTimeSettings(const TimeSettings& time);
    void SetLimits(const Limits& limits) { m_limits = limits; }

    // False when the server has no room for another connection: the caller closes it.
    // The address is the peer's IPv4 address in host order, for the limit per address.
    bool OnAccept(int connection, uint64_t nowMs, uint32_t address = 0x7F000001);
    void OnData(int connection, const uint8_t* data, size_t count, uint64_t nowMs);
    // The peer went away; nothing more is sent to it.
    void OnClosed(int connection);
    // Starts the next game of a desk when it is due, sends keep-alives to the clients sent
    // nothing for a while and drops the clients that have not completed a message for too long.
    void OnTick(uint64_t nowMs);
    // Reports why the client goes and closes its connection.
    void Drop(int connection, const std::string& why);

    int Violations() const { return m_nViolations; }
    // Chat lines dropped for coming too fast; they are no violation.
    int ChatDrops() const { return m_nChatDrops; }
    size_t ClientCount() const { return m_clients.size(); }

    // Whether a client's message goes on to everyone at its desk.
    static bool IsRelayed(uint16_t type);
    // Whether a client may send the type at all once it has entered; the server's own types
    // are not among them.
    static bool MayOriginate(uint16_t type);

private:
    struct Client {
        int number = 0;
        uint32_t address = 0;
        // When it connected.
        uint64_t connectedMs = 0;
        bool entered = false;
        // Its departure has gone to the desk (its own leave, or it was replaced): nothing more
        // is announced for it.
        bool left = false;
        uint32_t id = 0;
        uint16_t desk = 0;
        uint16_t seat = NO_SEAT;
        uint16_t watchno = NO_SEAT;
        // A seated player; anyone else at the desk watches.
        bool player = false;
        // Counters this server gave the client, and the sequence number expected next.
        uint32_t sequenceComm = 0;
        uint32_t expected = 0;
        uint32_t sequenceServer = 0;
        // Until the first numbered message, messages sent before the start may still arrive.
        bool numbered = false;
        // When it last completed a message (or connected).
        uint64_t lastFrame = 0;
        int violations = 0;
        // When the server last sent it anything.
        uint64_t lastSent = 0;
        // The second its chat lines are counted in, and the count.
        uint64_t chatSecondMs = 0;
        int chatLines = 0;
        std::vector<uint8_t> pending;
    };

    struct DeskModel;
    struct Desk {
        enum class Phase { Waiting, Playing, Ended };
        Phase phase = Phase::Waiting;
        bool started[2] = {false, false};
        uint16_t firstSeat = 0;
        // The game's moves as they were relayed, for those who enter later.
        std::vector<std::array<uint8_t, 20>> steps;
        std::unique_ptr<DeskModel> model;
        // The last resume request between games, kept until it is agreed to.
        std::vector<uint8_t> resumeRequest;
        // When the move in progress began; when the next game is due.
        uint64_t moveStartMs = 0;
        uint64_t nextGameMs = 0;
        // Per seat: total points, games won, lost, drawn.
        std::array<int32_t, 2> total{};
        std::array<int32_t, 2> won{};
        std::array<int32_t, 2> lost{};
        std::array<int32_t, 2> drawn{};
        // The player's result that ended the game (decisive, winner, reason) and its seat, so
        // that the other player's matching result may follow once.
        uint16_t resultSeat = NO_SEAT;
        std::array<uint16_t, 3> result{};
        // The seat whose request to leave the game waits for the opponent's answer.
        uint16_t exitRequester = NO_SEAT;
        // Per seat: the seconds charged to its clock in this game, as the clients charge them.
        std::array<int32_t, 2> used{};
        // The clocks of the game under way, as they were when it began.
        TimeSettings time;
        // Per seat: a player whose connection went during the game, and until when the seat
        // waits for that id.
        std::array<bool, 2> held{};
        std::array<uint32_t, 2> heldId{};
        std::array<uint64_t, 2> heldUntilMs{};
    };

    // False when the connection was dropped.
    bool OnFrame(int connection, Client& client, const uint8_t* frame, size_t count,
                 uint64_t nowMs);
    // Why the message of an entered client may not go on, or empty when it may.
    std::string Refusal(const Client& client, uint16_t type, const uint8_t* body, size_t length);
    // False when the client was turned away.
    bool Enter(int connection, Client& client, const uint8_t* body, size_t length, uint64_t nowMs);
    void Relay(const Client& sender, const uint8_t* frame, size_t count);
    // Relays a body the server changed, in the sender's own frame form.
    void RelayBody(const Client& sender, uint16_t type, uint32_t sequence, uint32_t comm,
                   const uint8_t* body, size_t length);
    // A chat line: the sender's own head, a bounded text; false when the client was dropped.
    bool OnChat(int connection, Client& client, uint16_t type, uint32_t sequence, uint32_t comm,
                const uint8_t* body, size_t length, uint64_t nowMs);
    // The sender's own leave (3026 or 3027), relayed with its true id and seat.
    void OnLeave(Client& client, uint16_t type, uint32_t sequence, uint32_t comm,
                 const uint8_t* body, size_t length);
    // Tells the rest of the desk that a client has gone, as its own leave would have.
    void AnnounceDeparture(const Client& client, uint64_t nowMs);
    // The seat of the side to move in the desk's game.
    static uint16_t SeatToMove(const Desk& desk);
    // Whether the side to move has run out of time on the server's clocks, within the grace.
    bool OutOfTime(const Desk& desk, uint64_t nowMs) const;
    // The game under way ends without a result; the desk waits for the next start.
    void AbandonGame(Desk& desk);
    // A held seat is given up: the desk learns that its player could not come back.
    void ReleaseSeat(uint16_t deskNo, Desk& desk, uint16_t seat);
    // Counts and reports a violation; false when it was one too many and the client is gone.
    bool Violation(int connection, Client& client, const std::string& what);

    // The game of a desk.
    void OnGameMessage(Client& client, uint16_t type, const uint8_t* body, size_t length,
                       uint64_t nowMs);
    void OfferStart(uint16_t deskNo, Desk& desk);
    void BeginGame(uint16_t deskNo, Desk& desk, uint64_t nowMs);
    void OnMove(uint16_t deskNo, Desk& desk, const uint8_t* body, size_t length, uint64_t nowMs);
    // An agreed take-back: the last two kept moves go, and the position is played again
    // from the rest.
    void TakeBack(Desk& desk);
    // The opponent's answer to a request to leave the game under way.
    void OnExitAnswer(const Client& client, Desk& desk, const uint8_t* body, size_t length);
    // The players agreed to continue a stored game: its moves become the desk's game.
    void ResumeGame(uint16_t deskNo, Desk& desk, uint64_t nowMs);
    void EndGame(uint16_t deskNo, Desk& desk, uint16_t decisive, uint16_t winner, uint64_t nowMs);
    void SendGameState(int connection, Client& client, const Desk& desk, uint64_t nowMs);
    void SendPersons(int connection, Client& client);
    bool BothSeated(uint16_t deskNo) const;
    // Every byte a client is sent goes through here, so that its keep-alive waits.
    void Transmit(int connection, Client& client, const uint8_t* data, size_t count);
    void SendTo(int connection, Client& client, uint16_t type, const uint8_t* body, size_t length);
    void SendToDesk(uint16_t deskNo, uint16_t type, const uint8_t* body, size_t length);

    IOutput& m_output;
    TimeSettings m_time;
    Limits m_limits;
    std::map<int, Client> m_clients;
    std::map<uint16_t, Desk> m_desks;
    int m_nViolations = 0;
    int m_nChatDrops = 0;
    int m_nConnections = 0;
    // The time the server was last told.
    uint64_t m_nNowMs = 0;
};

} // namespace kelo
