#include "CTableServer.h"

#include "link/CCommunicationLayer.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"

#include <algorithm>

namespace kelo {

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

void CTableServer::OnAccept(int connection, uint64_t nowMs) {
    Client client;
    client.number = ++m_nConnections;
    client.lastHeard = nowMs;
    m_clients[connection] = client;
}

void CTableServer::OnData(int connection, const uint8_t* data, size_t count, uint64_t nowMs) {
    auto it = m_clients.find(connection);
    if (it == m_clients.end())
        return;
    Client& client = it->second;
    client.lastHeard = nowMs;
    client.pending.insert(client.pending.end(), data, data + count);
    size_t used = 0;
    while (client.pending.size() - used >= MSG_HEAD::SIZE) {
        const MSG_HEAD head = MSG_HEAD::Decode(client.pending.data() + used);
        if (head.length > frame::MAX_LENGTH) {
            ++m_nViolations;
            m_output.Report("violation client " + std::to_string(client.number) +
                            ": a header announces " + std::to_string(head.length) + " bytes");
            Drop(connection, "unreadable stream");
            return;
        }
        const size_t size = MSG_HEAD::SIZE + head.length;
        if (client.pending.size() - used < size)
            break;
        if (!OnFrame(connection, client, client.pending.data() + used, size))
            return;
        used += size;
    }
    client.pending.erase(client.pending.begin(), client.pending.begin() + used);
}

bool CTableServer::OnFrame(int connection, Client& client, const uint8_t* bytes, size_t count) {
    const MSG_HEAD head = MSG_HEAD::Decode(bytes);
    const std::string what = "client " + std::to_string(client.number) +
                             " type=" + std::to_string(head.type) +
                             " seq=" + std::to_string(head.sequence);
    if (head.length < frame::BODY_DIGEST_SIZE) {
        ++m_nViolations;
        m_output.Report("violation " + what + ": no body digest");
        return true;
    }
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
    if (!failures.empty()) {
        // A message that fails a check is counted once and goes no further.
        ++m_nViolations;
        m_output.Report("violation " + what + ": " + failures);
        return true;
    }

    if (!client.entered) {
        if (head.type != MSG_ENTER_TABLE || length < MSG_ENTER_TABLE_BODY::SIZE) {
            ++m_nViolations;
            m_output.Report("violation " + what + ": the first message must enter a desk");
            return true;
        }
        Enter(connection, client, body, length);
        return true;
    }
    if (IsRelayed(head.type))
        Relay(client, bytes, count);
    return true;
}

void CTableServer::Enter(int connection, Client& client, const uint8_t* body, size_t) {
    const auto enter = MSG_ENTER_TABLE_BODY::FromWire(body);
    client.entered = true;
    client.desk = enter.deskno;
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
    const auto bytes = frame::BuildServerFrame(MSG_SEQUENCE_START, wire.data(), wire.size(),
                                               client.sequenceServer);
    m_output.Send(connection, bytes.data(), bytes.size());
}

void CTableServer::Relay(const Client& sender, const uint8_t* frame, size_t count) {
    for (const auto& [connection, client] : m_clients) {
        if (client.entered && client.desk == sender.desk)
            m_output.Send(connection, frame, count);
    }
}

void CTableServer::OnTick(uint64_t nowMs) {
    std::vector<int> silent;
    for (const auto& [connection, client] : m_clients) {
        if (nowMs - client.lastHeard >= IDLE_LIMIT_MS)
            silent.push_back(connection);
    }
    for (int connection : silent)
        Drop(connection, "silent for 120 s");
}

void CTableServer::Drop(int connection, const std::string& why) {
    auto it = m_clients.find(connection);
    if (it == m_clients.end())
        return;
    m_output.Report("client " + std::to_string(it->second.number) + " dropped: " + why);
    m_clients.erase(it);
    m_output.Close(connection);
}

} // namespace kelo
