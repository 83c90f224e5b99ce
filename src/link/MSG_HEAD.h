// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelo {

// The 32-byte header in front of every message. In memory type, length and sequence are in host
// order; on the wire:
//   0  u16 type           2  two unused bytes (not covered by the digest)
//   4  u32 length         (bytes after the header: body, plus 17 digest bytes from a client)
//   8  u32 sequence       12 16-byte head digest        28 four unused bytes
struct MSG_HEAD {
    static constexpr size_t SIZE = 32;
    static constexpr size_t DIGEST_OFFSET = 12;
    static constexpr uint16_t INITIAL_TYPE = 0xFFFF;
    static constexpr uint32_t INITIAL_SEQUENCE = 5588;

    uint16_t type = INITIAL_TYPE;
    uint32_t length = 0;
    uint32_t sequence = INITIAL_SEQUENCE;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_HEAD::type},
        wire::Field{4, &MSG_HEAD::length},
        wire::Field{8, &MSG_HEAD::sequence},
    };

    void Initialise() { *this = MSG_HEAD{}; }

    // The wire form with the sender's current client counter in it (whatever sequence holds),
    // and the head digest over type, length and that counter.
    std::array<uint8_t, SIZE> Encode(uint32_t sequenceClient) const;
    // Type, length and sequence from a wire header; the digest is not looked at.
    static MSG_HEAD Decode(const uint8_t* wire);
    // True when the 16 digest bytes of a received header match its type, length and sequence.
    static bool Check(const uint8_t* wire);
    // Digest over wire bytes 0-1 and 4-11 followed by "5931".
    static std::array<uint8_t, 16> HeadDigest(const uint8_t* wire);
};

} // namespace kelo
