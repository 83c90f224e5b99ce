// SPDX-License-Identifier: GPL-3.0-or-later
#include "CRelaySchedule.h"

#include <algorithm>
#include <utility>

namespace kelo {

CRelaySchedule::CRelaySchedule(RelayPlan plan)
    : m_plan(std::move(plan)), m_stallBegun(m_plan.stalls.size(), false),
      m_stallEnded(m_plan.stalls.size(), false), m_cutDone(m_plan.cuts.size(), false) {
    if (m_plan.nPieceMin > m_plan.nPieceMax)
        std::swap(m_plan.nPieceMin, m_plan.nPieceMax);
    if (m_plan.nPieceMin == 0 && m_plan.nPieceMax != 0)
        m_plan.nPieceMin = 1;
}

int CRelaySchedule::Open(uint64_t nowMs) {
    if (!m_nStartMs)
        m_nStartMs = nowMs;
    const int nConnection = ++m_nLastConnection;
    Connection& connection = m_connections[nConnection];
    for (int nFlow = 0; nFlow < 2; ++nFlow) {
        // Each direction draws from its own sequence, so that what one side sends does not
        // change how the other's bytes are cut and delayed.
        std::seed_seq seed{static_cast<uint32_t>(m_plan.nSeed),
                           static_cast<uint32_t>(m_plan.nSeed >> 32),
                           static_cast<uint32_t>(nConnection), static_cast<uint32_t>(nFlow)};
        connection.flows[nFlow].random.seed(seed);
    }
    return nConnection;
}

uint32_t CRelaySchedule::Between(std::mt19937_64& random, uint32_t nLow, uint32_t nHigh) const {
    // The engine's numbers are the same on every platform; the standard distributions are not.
    const uint64_t nRange = static_cast<uint64_t>(nHigh) - nLow + 1;
    return nLow + static_cast<uint32_t>(random() % nRange);
}

uint64_t CRelaySchedule::NextDue(Flow& flow, uint64_t nowMs) {
    int64_t nDelay = m_plan.nDelayMs;
    if (m_plan.nJitterMs != 0)
        nDelay += static_cast<int64_t>(Between(flow.random, 0, 2 * m_plan.nJitterMs)) -
                  static_cast<int64_t>(m_plan.nJitterMs);
    const uint64_t nDue = nowMs + static_cast<uint64_t>(std::max<int64_t>(nDelay, 0));
    flow.nLastDueMs = std::max(flow.nLastDueMs, nDue);
    return flow.nLastDueMs;
}

void CRelaySchedule::Take(int nConnection, RelayDirection direction, uint64_t nowMs,
                          std::string_view bytes) {
    const auto found = m_connections.find(nConnection);
    if (found == m_connections.end())
        return;
    Flow& flow = found->second.flows[static_cast<int>(direction)];
    while (!bytes.empty()) {
        size_t nSize = bytes.size();
        if (m_plan.nPieceMax != 0)
            nSize =
                std::min<size_t>(nSize, Between(flow.random, m_plan.nPieceMin, m_plan.nPieceMax));
        Piece piece;
        piece.bytes.assign(bytes.substr(0, nSize));
        piece.nDueMs = NextDue(flow, nowMs);
        flow.pieces.push_back(std::move(piece));
        bytes.remove_prefix(nSize);
    }
}

void CRelaySchedule::TakeEnd(int nConnection, RelayDirection direction, uint64_t nowMs) {
    const auto found = m_connections.find(nConnection);
    if (found == m_connections.end())
        return;
    Flow& flow = found->second.flows[static_cast<int>(direction)];
    if (flow.bEnded)
        return;
    flow.bEnded = true;
    Piece piece;
    piece.bClose = true;
    piece.nDueMs = NextDue(flow, nowMs);
    flow.pieces.push_back(std::move(piece));
}

void CRelaySchedule::Forget(int nConnection) {
    m_connections.erase(nConnection);
}

uint64_t CRelaySchedule::HeldUntil(uint64_t nDueMs) const {
    // Stalls may overlap or follow each other: a piece freed by one may fall into the next.
    bool bMoved = true;
    while (bMoved) {
        bMoved = false;
        for (const RelayStall& stall : m_plan.stalls) {
            const uint64_t nBegin = *m_nStartMs + stall.nAtMs;
            const uint64_t nEnd = nBegin + stall.nForMs;
            if (nDueMs >= nBegin && nDueMs < nEnd) {
                nDueMs = nEnd;
                bMoved = true;
            }
        }
    }
    return nDueMs;
}

CRelaySchedule::Event CRelaySchedule::NextEvent() const {
    Event best;
    if (!m_nStartMs)
        return best;
    // At one time a stall's end comes before the pieces it frees, the pieces before a cut.
    const auto consider = [&best](const Event& event) {
        if (best.kind == EventKind::None || event.nAtMs < best.nAtMs ||
            (event.nAtMs == best.nAtMs && event.kind < best.kind))
            best = event;
    };
    for (size_t n = 0; n < m_plan.stalls.size(); ++n) {
        const uint64_t nBegin = *m_nStartMs + m_plan.stalls[n].nAtMs;
        if (!m_stallBegun[n])
            consider({EventKind::StallBegin, nBegin, n});
        else if (!m_stallEnded[n])
            consider({EventKind::StallEnd, nBegin + m_plan.stalls[n].nForMs, n});
    }
    for (const auto& [nConnection, connection] : m_connections)
        for (int nFlow = 0; nFlow < 2; ++nFlow)
            if (!connection.flows[nFlow].pieces.empty())
                consider({EventKind::Piece,
                          HeldUntil(connection.flows[nFlow].pieces.front().nDueMs), 0, nConnection,
                          nFlow});
    for (size_t n = 0; n < m_plan.cuts.size(); ++n)
        if (!m_cutDone[n])
            consider({EventKind::Cut, *m_nStartMs + m_plan.cuts[n], n});
    return best;
}

std::optional<uint64_t> CRelaySchedule::NextEventMs() const {
    const Event event = NextEvent();
    if (event.kind == EventKind::None)
        return std::nullopt;
    return event.nAtMs;
}

uint64_t CRelaySchedule::PendingBytes(const Connection& connection) {
    uint64_t nBytes = 0;
    for (const Flow& flow : connection.flows)
        for (const Piece& piece : flow.pieces)
            nBytes += piece.bytes.size();
    return nBytes;
}

std::vector<RelayAction> CRelaySchedule::Due(uint64_t nowMs) {
    std::vector<RelayAction> actions;
    for (Event event = NextEvent(); event.kind != EventKind::None && event.nAtMs <= nowMs;
         event = NextEvent()) {
        RelayAction action;
        switch (event.kind) {
        case EventKind::StallBegin:
            m_stallBegun[event.nIndex] = true;
            action.kind = RelayAction::Kind::StallBegin;
            actions.push_back(std::move(action));
            break;
        case EventKind::StallEnd:
            m_stallEnded[event.nIndex] = true;
            action.kind = RelayAction::Kind::StallEnd;
            // The bytes that fell due during the stall and go out now.
            for (const auto& [nConnection, connection] : m_connections)
                for (const Flow& flow : connection.flows)
                    for (const Piece& piece : flow.pieces)
                        if (piece.nDueMs < event.nAtMs)
                            action.nBytes += piece.bytes.size();
            actions.push_back(std::move(action));
            break;
        case EventKind::Cut:
            m_cutDone[event.nIndex] = true;
            action.kind = RelayAction::Kind::Cut;
            if (m_connections.empty())
                actions.push_back(action);
            for (const auto& [nConnection, connection] : m_connections) {
                action.nConnection = nConnection;
                action.nBytes = PendingBytes(connection);
                actions.push_back(action);
            }
            m_connections.clear();
            break;
        case EventKind::Piece: {
            Connection& connection = m_connections.at(event.nConnection);
            Flow& flow = connection.flows[event.nFlow];
            Piece piece = std::move(flow.pieces.front());
            flow.pieces.pop_front();
            action.kind = piece.bClose ? RelayAction::Kind::Close : RelayAction::Kind::Write;
            action.nConnection = event.nConnection;
            action.direction = static_cast<RelayDirection>(event.nFlow);
            action.nBytes = piece.bytes.size();
            action.bytes = std::move(piece.bytes);
            actions.push_back(std::move(action));
            // Both sides closed and told: the connection is over.
            if (connection.flows[0].bEnded && connection.flows[1].bEnded &&
                connection.flows[0].pieces.empty() && connection.flows[1].pieces.empty())
                m_connections.erase(event.nConnection);
            break;
        }
        case EventKind::None:
            break;
        }
    }
    return actions;
}

} // namespace kelo
