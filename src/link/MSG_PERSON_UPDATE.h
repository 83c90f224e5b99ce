// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>

namespace kelo {

// One record of the people's extra data (3110, a list of them): 176 bytes for the person whose
// id it starts with. What the numbers mean belongs to the hall's list of people, which gets each
// record in host order and keeps it; the client only turns the integers round. In memory the
// record has the layout the list reads (HostBytes); on the wire its integers are in network
// order and the rest travels as it is.
struct MSG_PERSON_UPDATE_RECORD {
    static constexpr size_t SIZE = 176;
    uint32_t id = 0;
    uint32_t numbers[5] = {};
    uint16_t number24 = 0;
    uint8_t bytes26[72] = {};
    uint16_t number98 = 0;
    uint8_t bytes100[72] = {};
    uint16_t number172 = 0;
    uint8_t bytes174[2] = {};

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_PERSON_UPDATE_RECORD::id},
        wire::Field{4, &MSG_PERSON_UPDATE_RECORD::numbers},
        wire::Field{24, &MSG_PERSON_UPDATE_RECORD::number24},
        wire::Field{26, &MSG_PERSON_UPDATE_RECORD::bytes26},
        wire::Field{98, &MSG_PERSON_UPDATE_RECORD::number98},
        wire::Field{100, &MSG_PERSON_UPDATE_RECORD::bytes100},
        wire::Field{172, &MSG_PERSON_UPDATE_RECORD::number172},
        wire::Field{174, &MSG_PERSON_UPDATE_RECORD::bytes174},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    // From SIZE bytes.
    static MSG_PERSON_UPDATE_RECORD FromWire(const uint8_t* p) {
        return wire::Decode<MSG_PERSON_UPDATE_RECORD>(p);
    }
    // The record as the list keeps it: integers in host order, at the offsets of the wire.
    std::array<uint8_t, SIZE> HostBytes() const;
};

static_assert(sizeof(MSG_PERSON_UPDATE_RECORD) == MSG_PERSON_UPDATE_RECORD::SIZE);
static_assert(std::is_trivially_copyable_v<MSG_PERSON_UPDATE_RECORD>);
static_assert(offsetof(MSG_PERSON_UPDATE_RECORD, number24) == 24);
static_assert(offsetof(MSG_PERSON_UPDATE_RECORD, number98) == 98);
static_assert(offsetof(MSG_PERSON_UPDATE_RECORD, number172) == 172);
static_assert(wire::FieldsEnd<MSG_PERSON_UPDATE_RECORD>() == MSG_PERSON_UPDATE_RECORD::SIZE);

inline std::array<uint8_t, MSG_PERSON_UPDATE_RECORD::SIZE>
MSG_PERSON_UPDATE_RECORD::HostBytes() const {
    std::array<uint8_t, SIZE> out;
    std::memcpy(out.data(), this, SIZE);
    return out;
}

} // namespace kelo
