// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo {

// Cuts the received byte stream into messages in two phases: a 32-byte header, then the body
// it announces. It asks the socket control for each block and is given exactly that block back.
//
// A keep-alive from the server is read like any message and then dropped: it is handed on to
// nobody.
//
// A stream that cannot be read on is broken, not trusted: a header announcing more than 64 KiB,
// a game state announcing more records than fit in 64 KiB, a header that came short or a block
// of another size than asked for. The reader then stops for good and tells its host, which
// closes the connection.
class CMessageReader {
public:
    class IHost {
    public:
        virtual ~IHost() = default;
        virtual void RecvData(uint32_t count) = 0;
        // The header's digest did not match; the message is read on all the same.
        virtual void OnHeadDigestMismatch(uint16_t type, uint32_t length) = 0;
        // A whole message, before it is handed on: the connection messages that the link and
        // the frame act on. False closes the table: nothing is handed on and reading stops.
        virtual bool OnMessage(uint16_t type, const uint8_t* body, uint32_t length) = 0;
        virtual void HandOn(uint16_t type, const uint8_t* body, uint32_t length) = 0;
        virtual void OnBroken() = 0;
    };

    enum class Phase { Idle, Header, Body, GameStateRecords, Stopped };

    static constexpr uint32_t HEADER_SIZE = 32;
    static constexpr int32_t NO_TYPE = -1;

    explicit CMessageReader(IHost& host) : m_host(host) {}

    // A fresh stream: header phase, no current type, and the first header asked for.
    void Start();
    // Stops reading; later blocks are ignored until the next Start.
    void Stop() { m_phase = Phase::Stopped; }
    void OnReceive(const uint8_t* data, size_t count);

    Phase GetPhase() const { return m_phase; }
    int32_t CurrentType() const { return m_nType; }
    uint32_t CurrentLength() const { return m_nLength; }

private:
    void OnHeader(const uint8_t* data, size_t count);
    void OnBody(const uint8_t* data, size_t count);
    void OnGameStateRecords(const uint8_t* data, size_t count);
    // Runs the message through the host's own handling, then hands it on; false when the host
    // closed the table.
    bool Deliver(uint16_t type, const uint8_t* body, uint32_t length);
    void AskHeader();
    void Break();

    IHost& m_host;
    Phase m_phase = Phase::Idle;
    int32_t m_nType = NO_TYPE;
    uint32_t m_nLength = 0;
    // The block size asked for last; anything else is a broken stream.
    uint32_t m_nExpected = 0;
};

} // namespace kelo
