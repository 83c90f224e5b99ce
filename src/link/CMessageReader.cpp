// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CMessageReader.h"

#include "link/MSG_GAME_STATE.h"
#include "link/MSG_HEAD.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"

#include <algorithm>

namespace kelo {

namespace {
// The server's start-up messages have fixed sizes whatever their header says.
constexpr uint32_t GAME_PREPARE_SIZE = 40;
constexpr uint32_t START_INFO_SIZE = 18;
} // namespace

void CMessageReader::Start() {
    m_nType = NO_TYPE;
    m_nLength = 0;
    AskHeader();
}

void CMessageReader::AskHeader() {
    m_phase = Phase::Header;
    m_nExpected = HEADER_SIZE;
    m_host.RecvData(HEADER_SIZE);
}

void CMessageReader::Break() {
    m_phase = Phase::Stopped;
    m_host.OnBroken();
}

void CMessageReader::OnReceive(const uint8_t* data, size_t count) {
    if (m_phase == Phase::Idle || m_phase == Phase::Stopped)
        return;
    if (count != m_nExpected || data == nullptr) {
        Break();
        return;
    }
    switch (m_phase) {
    case Phase::Header:
        OnHeader(data, count);
        break;
    case Phase::Body:
        OnBody(data, count);
        break;
    case Phase::GameStateRecords:
        OnGameStateRecords(data, count);
        break;
    default:
        break;
    }
}

void CMessageReader::OnHeader(const uint8_t* data, size_t) {
    const MSG_HEAD head = MSG_HEAD::Decode(data);
    if (head.length > frame::MAX_LENGTH) {
        Break();
        return;
    }
    if (!MSG_HEAD::Check(data))
        m_host.OnHeadDigestMismatch(head.type, head.length);
    if (m_phase != Phase::Header)
        return; // the host stopped the reader while it told the user
    m_nType = head.type;
    m_nLength = head.length;

    // The unlock goes to the windows as soon as its header is in, body or not.
    if (head.type == MSG_TABLE_UNLOCK)
        m_host.HandOn(MSG_TABLE_UNLOCK, nullptr, 0);

    if (head.length == 0) {
        if (Deliver(head.type, nullptr, 0))
            AskHeader();
        return;
    }
    switch (head.type) {
    case MSG_GAME_PREPARE:
        m_nExpected = GAME_PREPARE_SIZE;
        break;
    case MSG_START_INFO:
        m_nExpected = START_INFO_SIZE;
        break;
    case MSG_GAME_STATE:
        m_nExpected = MSG_GAME_STATE_BODY::SIZE;
        break;
    default:
        m_nExpected = head.length;
        break;
    }
    m_phase = Phase::Body;
    m_host.RecvData(m_nExpected);
}

void CMessageReader::OnBody(const uint8_t* data, size_t count) {
    const auto type = static_cast<uint16_t>(m_nType);
    if (type == MSG_GAME_STATE) {
        m_host.HandOn(MSG_GAME_STATE, data, MSG_GAME_STATE_BODY::SIZE);
        const uint32_t records = wire::GetU16(data + MSG_GAME_STATE_BODY::COUNT_OFFSET);
        if (records < 1) {
            AskHeader();
            return;
        }
        const uint32_t bytes = records * MSG_GAME_STATE_BODY::RECORD_SIZE;
        if (bytes > frame::MAX_LENGTH) {
            Break();
            return;
        }
        m_phase = Phase::GameStateRecords;
        m_nExpected = bytes;
        m_host.RecvData(bytes);
        return;
    }
    // The fixed-size start-up messages may announce another length than was read; the windows
    // are never told of more bytes than they get.
    const auto length = static_cast<uint32_t>(std::min<size_t>(m_nLength, count));
    if (Deliver(type, data, length))
        AskHeader();
}

void CMessageReader::OnGameStateRecords(const uint8_t* data, size_t count) {
    m_host.HandOn(MSG_GAME_STATE_MOVES, data, static_cast<uint32_t>(count));
    AskHeader();
}

bool CMessageReader::Deliver(uint16_t type, const uint8_t* body, uint32_t length) {
    // The server's keep-alive only shows that the link lives; its data event has already
    // restarted the watchdog, and no window has anything to do with it.
    if (type == MSG_KEEP_ALIVE)
        return true;
    if (!m_host.OnMessage(type, body, length)) {
        m_phase = Phase::Stopped;
        return false;
    }
    if (m_phase == Phase::Stopped)
        return false;
    // Older servers still send the chat under its old number.
    m_host.HandOn(type == MSG_TABLE_CHAT_OLD ? MSG_TABLE_CHAT : type, body, length);
    return true;
}

} // namespace kelo
