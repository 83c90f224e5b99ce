#pragma once

#include "link/PERSON.h"

#include <array>
#include <cstdint>

namespace kelo {

// A person as the server announces it (the table's people, 3106; a newcomer, 3107): the first
// 256 bytes of the hall's person record, fields at the same offsets, integers in network byte
// order. The school name keeps its first 16 bytes; the level name and the two friendship flags
// do not travel.
class CPersonRecord {
public:
    static constexpr size_t SIZE = 256;
    static std::array<uint8_t, SIZE> ToWire(const PERSON& person);
    // The fields that do not travel are zero; texts are ended within their fields.
    static PERSON FromWire(const uint8_t* record);
};

} // namespace kelo
