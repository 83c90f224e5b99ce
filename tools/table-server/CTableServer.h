#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kelo {

// The reference game server's rules, without sockets: it is told of connections, bytes and the
// time, and answers through its output. Clients enter a desk; the server starts their numbered
// exchange, checks every message of theirs (head digest, body digest with their counters,
// sequence numbers rising by one) and relays the table messages to everyone at the desk.
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

    static constexpr uint64_t IDLE_LIMIT_MS = 120000;

    explicit CTableServer(IOutput& output) : m_output(output) {}

    void OnAccept(int connection, uint64_t nowMs);
    void OnData(int connection, const uint8_t* data, size_t count, uint64_t nowMs);
    // The peer went away; nothing more is sent to it.
    void OnClosed(int connection) { m_clients.erase(connection); }
    // Drops the clients that have been silent for too long.
    void OnTick(uint64_t nowMs);

    int Violations() const { return m_nViolations; }
    size_t ClientCount() const { return m_clients.size(); }

    // Whether a client's message goes on to everyone at its desk.
    static bool IsRelayed(uint16_t type);

private:
    struct Client {
        int number = 0;
        bool entered = false;
        uint16_t desk = 0;
        // Counters this server gave the client, and the sequence number expected next.
        uint32_t sequenceComm = 0;
        uint32_t expected = 0;
        uint32_t sequenceServer = 0;
        // Until the first numbered message, messages sent before the start may still arrive.
        bool numbered = false;
        uint64_t lastHeard = 0;
        std::vector<uint8_t> pending;
    };

    // False when the connection was dropped.
    bool OnFrame(int connection, Client& client, const uint8_t* frame, size_t count);
    void Enter(int connection, Client& client, const uint8_t* body, size_t length);
    void Relay(const Client& sender, const uint8_t* frame, size_t count);
    void Drop(int connection, const std::string& why);

    IOutput& m_output;
    std::map<int, Client> m_clients;
    int m_nViolations = 0;
    int m_nConnections = 0;
};

} // namespace kelo
