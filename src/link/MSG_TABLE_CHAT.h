#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelo {

// The 48-byte head of a table chat line (3021); the line follows it, ended by a zero byte. The
// sender fills in its id, seat and watch number; the formatting fields come from the chat
// component and are carried unchanged, so a head read and written again keeps every byte.
//
// Unlike every other body, the head travels as it is: the wire layer converts only the message
// header, so the head's integers are in the little-endian order of the machines that wrote the
// protocol. They are written and read in that order on every platform, byte by byte.
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

    // Offsets of the fields in the head.
    static constexpr size_t ID_AT = 0;
    static constexpr size_t SEAT_AT = 4;
    static constexpr size_t WATCH_AT = 6;
    static constexpr size_t TEXT_AT = 8;
    static constexpr size_t COLOUR_AT = 28;
    static constexpr size_t VALUE_AT = 32;
    static constexpr size_t FLAGS_AT = 34;
    static constexpr size_t RESERVED_AT = 44;

    static void Put16(uint8_t* p, uint16_t v) {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
    static void Put32(uint8_t* p, uint32_t v) {
        Put16(p, static_cast<uint16_t>(v));
        Put16(p + 2, static_cast<uint16_t>(v >> 16));
    }
    static uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
    static uint32_t Get32(const uint8_t* p) {
        return Get16(p) | static_cast<uint32_t>(Get16(p + 2)) << 16;
    }

    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        Put32(out.data() + ID_AT, id);
        Put16(out.data() + SEAT_AT, seatno);
        Put16(out.data() + WATCH_AT, watchno);
        std::memcpy(out.data() + TEXT_AT, formatText.data(), formatText.size());
        Put32(out.data() + COLOUR_AT, colour);
        Put16(out.data() + VALUE_AT, formatValue);
        for (size_t i = 0; i < formatFlags.size(); ++i)
            Put16(out.data() + FLAGS_AT + 2 * i, formatFlags[i]);
        std::memcpy(out.data() + RESERVED_AT, reserved.data(), reserved.size());
        return out;
    }
    // False, leaving out as it was, when the body is shorter than the head.
    static bool FromWire(const uint8_t* p, size_t length, MSG_TABLE_CHAT_BODY& out) {
        if (p == nullptr || length < SIZE)
            return false;
        out.id = Get32(p + ID_AT);
        out.seatno = Get16(p + SEAT_AT);
        out.watchno = Get16(p + WATCH_AT);
        std::memcpy(out.formatText.data(), p + TEXT_AT, out.formatText.size());
        out.colour = Get32(p + COLOUR_AT);
        out.formatValue = Get16(p + VALUE_AT);
        for (size_t i = 0; i < out.formatFlags.size(); ++i)
            out.formatFlags[i] = Get16(p + FLAGS_AT + 2 * i);
        std::memcpy(out.reserved.data(), p + RESERVED_AT, out.reserved.size());
        return true;
    }
    // Writes the sender's own id, seat and watch number into a head on the wire, leaving its
    // other bytes as they are.
    static void StampSender(uint8_t* p, uint32_t id, uint16_t seatno, uint16_t watchno) {
        Put32(p + ID_AT, id);
        Put16(p + SEAT_AT, seatno);
        Put16(p + WATCH_AT, watchno);
    }
};

} // namespace kelo
