// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/PERSON.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelo {

// A person as the server announces it (the table's people, 3106; a newcomer, 3107), through the
// field table of PERSON.
class CPersonRecord {
public:
    static constexpr size_t SIZE = PERSON::WIRE_SIZE;
    static std::array<uint8_t, SIZE> ToWire(const PERSON& person);
    // From SIZE bytes: the fields that do not travel are zero; texts are ended within their
    // fields.
    static PERSON FromWire(const uint8_t* record);
    // False, leaving out as it was, when length is shorter than a record.
    static bool FromWire(const uint8_t* p, size_t length, PERSON& out);
};

} // namespace kelo
