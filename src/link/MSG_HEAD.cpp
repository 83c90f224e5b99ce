// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/MSG_HEAD.h"

#include "base/CMD5Checksum.h"

#include <algorithm>
#include <cstring>

namespace kelo {

std::array<uint8_t, MSG_HEAD::SIZE> MSG_HEAD::Encode(uint32_t sequenceClient) const {
    MSG_HEAD sent = *this;
    sent.sequence = sequenceClient;
    std::array<uint8_t, SIZE> bytes = wire::Encode(sent);
    const std::array<uint8_t, 16> digest = HeadDigest(bytes.data());
    std::copy(digest.begin(), digest.end(), bytes.begin() + DIGEST_OFFSET);
    return bytes;
}

MSG_HEAD MSG_HEAD::Decode(const uint8_t* wire) {
    return wire::Decode<MSG_HEAD>(wire);
}

bool MSG_HEAD::Check(const uint8_t* wire) {
    const std::array<uint8_t, 16> digest = HeadDigest(wire);
    return std::equal(digest.begin(), digest.end(), wire + DIGEST_OFFSET);
}

std::array<uint8_t, 16> MSG_HEAD::HeadDigest(const uint8_t* wire) {
    uint8_t block[14];
    std::memcpy(block, wire, 2);
    std::memcpy(block + 2, wire + 4, 8);
    std::memcpy(block + 10, "5931", 4);
    std::array<uint8_t, 16> digest{};
    CMD5Checksum::ComputeDigest(block, sizeof block, digest.data());
    return digest;
}

} // namespace kelo
