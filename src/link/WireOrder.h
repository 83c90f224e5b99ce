// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Reading and writing of the integers of message bodies: big-endian (network order), as nearly
// every body travels, and little-endian for the few that travel as their writers laid them out.
namespace kelo::wire {

inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}
inline uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

inline void PutU16Le(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32Le(uint8_t* p, uint32_t v) {
    PutU16Le(p, static_cast<uint16_t>(v));
    PutU16Le(p + 2, static_cast<uint16_t>(v >> 16));
}
inline uint16_t GetU16Le(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t GetU32Le(const uint8_t* p) {
    return GetU16Le(p) | static_cast<uint32_t>(GetU16Le(p + 2)) << 16;
}

} // namespace kelo::wire
