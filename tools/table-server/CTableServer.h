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
// result only during a game; anything else is a violation and goes no further.
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
    };

    explicit CTableServer(IOutput& output);
    ~CTableServer();
    CTableServer(const CTableServer&) = delete;
    CTableServer& operator=(const CTableServer&) = delete;

    void SetTimeSettings(const TimeSettings& time) { m_time = time; }
    void SetLimits(const Limits& limits) { m_limits = limits; }

    // False when the server has no room for another connection: the caller closes it.
    bool OnAccept(int connection, uint64_t nowMs);
    void OnData(int connection, const uint8_t* data, size_t count, uint64_t nowMs);
    // The peer went away; nothing more is sent to it.
    void OnClosed(int connection);
    // Starts the next game of a desk when it is due, sends keep-alives to the clients sent
    // nothing for a while and drops the clients that have not completed a message for too long.
    void OnTick(uint64_t nowMs);
    // Reports why the client goes and closes its connection.
    void Drop(int connection, const std::string& why);

    int Violations() const { return m_nViolations; }
    size_t ClientCount() const { return m_clients.size(); }

    // Whether a client's message goes on to everyone at its desk.
    static bool IsRelayed(uint16_t type);
    // Whether a client may send the type at all once it has entered; the server's own types
    // are not among them.
    static bool MayOriginate(uint16_t type);

private:
    struct Client {
        int number = 0;
        bool entered = false;
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
    };

    // False when the connection was dropped.
    bool OnFrame(int connection, Client& client, const uint8_t* frame, size_t count,
                 uint64_t nowMs);
    // Why the message of an entered client may not go on, or empty when it may.
    std::string Refusal(const Client& client, uint16_t type, const uint8_t* body, size_t length);
    // False when the client was turned away.
    bool Enter(int connection, Client& client, const uint8_t* body, size_t length, uint64_t nowMs);
    void Relay(const Client& sender, const uint8_t* frame, size_t count);
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
    int m_nConnections = 0;
    // The time the server was last told.
    uint64_t m_nNowMs = 0;
};

} // namespace kelo
