// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule of a bad link: what the relay writes, to which side and when. The bytes read from
// either side of a connection are cut into pieces, each held for the delay plus its own jitter,
// never overtaking an earlier piece of the same direction; a stall holds every direction of
// every connection until it ends, and a cut closes the connections open at its time. Times are
// milliseconds of the caller's clock; the stalls and cuts count from the first connection.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kelo {

struct RelayStall {
    uint64_t nAtMs = 0;
    uint64_t nForMs = 0;
};

struct RelayPlan {
    uint32_t nDelayMs = 0;
    uint32_t nJitterMs = 0;
    // Sizes of the pieces a read is cut into; 0 passes each read on whole.
    uint32_t nPieceMin = 0;
    uint32_t nPieceMax = 0;
    std::vector<RelayStall> stalls;
    std::vector<uint64_t> cuts;
    uint64_t nSeed = 0;
};

enum class RelayDirection { ToServer = 0, ToClient = 1 };

struct RelayAction {
    enum class Kind {
        Write,      // write the bytes to the side the direction leads to
        Close,      // the sending side has closed: close the side the direction leads to
        Cut,        // close both sides now; nBytes pending bytes were dropped
        StallBegin, // nConnection 0
        StallEnd,   // nConnection 0; nBytes bytes had been held
    };
    Kind kind = Kind::Write;
    int nConnection = 0;
    RelayDirection direction = RelayDirection::ToServer;
    std::string bytes;
    uint64_t nBytes = 0;
};

class CRelaySchedule {
public:
    explicit CRelaySchedule(RelayPlan plan);

    // A new connection; the first one starts the clock of the stalls and cuts. Numbers from 1.
    int Open(uint64_t nowMs);
    // Bytes read from the side that sends in this direction.
    void Take(int nConnection, RelayDirection direction, uint64_t nowMs, std::string_view bytes);
    // The side that sends in this direction has closed: pass the close on after its bytes.
    void TakeEnd(int nConnection, RelayDirection direction, uint64_t nowMs);
    // The connection is gone (both sides closed or failed): its pending pieces are dropped.
    void Forget(int nConnection);

    // Everything due by now, in the order in which it fell due.
    std::vector<RelayAction> Due(uint64_t nowMs);
    // When the next action falls due, if anything waits.
    std::optional<uint64_t> NextEventMs() const;

    bool IsOpen(int nConnection) const { return m_connections.count(nConnection) != 0; }

private:
    struct Piece {
        uint64_t nDueMs = 0;
        bool bClose = false;
        std::string bytes;
    };
    struct Flow {
        std::mt19937_64 random;
        std::deque<Piece> pieces;
        uint64_t nLastDueMs = 0;
        bool bEnded = false;
    };
    struct Connection {
        Flow flows[2];
    };
    enum class EventKind { None, StallBegin, StallEnd, Cut, Piece };
    struct Event {
        EventKind kind = EventKind::None;
        uint64_t nAtMs = 0;
        size_t nIndex = 0;
        int nConnection = 0;
        int nFlow = 0;
    };

    uint64_t HeldUntil(uint64_t nDueMs) const;
    uint64_t NextDue(Flow& flow, uint64_t nowMs);
    uint32_t Between(std::mt19937_64& random, uint32_t nLow, uint32_t nHigh) const;
    Event NextEvent() const;
    static uint64_t PendingBytes(const Connection& connection);

    RelayPlan m_plan;
    std::optional<uint64_t> m_nStartMs;
    int m_nLastConnection = 0;
    std::map<int, Connection> m_connections;
    std::vector<bool> m_stallBegun;
    std::vector<bool> m_stallEnded;
    std::vector<bool> m_cutDone;
};

} // namespace kelo
