// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CPersonRecord.h"

#include "link/WireRecord.h"

namespace kelo {

std::array<uint8_t, CPersonRecord::SIZE> CPersonRecord::ToWire(const PERSON& person) {
    return wire::Encode<PERSON, SIZE>(person);
}

PERSON CPersonRecord::FromWire(const uint8_t* record) {
    return wire::Decode<PERSON>(record);
}

bool CPersonRecord::FromWire(const uint8_t* p, size_t length, PERSON& out) {
    if (p == nullptr || length < SIZE)
        return false;
    out = FromWire(p);
    return true;
}

} // namespace kelo
