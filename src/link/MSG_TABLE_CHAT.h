// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The 48-byte head of a table chat line (3021); the line follows it, ended by a zero byte. The
// sender fills in its id, seat and watch number; the formatting fields come from the chat
// component and are carried unchanged, so a head read and written again keeps every byte.
//
// Unlike every other body, the head travels as it is: the wire layer converts only the message
// header, so the head's integers are in the little-endian order of the machines that wrote the
// protocol. They are written and read in that order on every platform.
struct MSG_TABLE_CHAT_BODY {
    static constexpr size_t SIZE = 48;
    uint32_t id = 0;
    uint16_t seatno = 0;
    uint16_t watchno = 0;
    std::array<char, 20> formatText{};
    uint32_t colour = 0;
    uint16_t formatValue = 0;
    std::array<uint16_t, 5> formatFlags{};
    std::array<uint8_t, 4> reserved{};

    static constexpr wire::Order WIRE_ORDER = wire::Order::Little;
    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_TABLE_CHAT_BODY::id},
        wire::Field{4, &MSG_TABLE_CHAT_BODY::seatno},
        wire::Field{6, &MSG_TABLE_CHAT_BODY::watchno},
        wire::Field{8, &MSG_TABLE_CHAT_BODY::formatText},
        wire::Field{28, &MSG_TABLE_CHAT_BODY::colour},
        wire::Field{32, &MSG_TABLE_CHAT_BODY::formatValue},
        wire::Field{34, &MSG_TABLE_CHAT_BODY::formatFlags},
        wire::Field{44, &MSG_TABLE_CHAT_BODY::reserved},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    // False, leaving out as it was, when the body is shorter than the head.
    static bool FromWire(const uint8_t* p, size_t length, MSG_TABLE_CHAT_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
