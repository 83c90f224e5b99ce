// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/MessageFrame.h"

#include "base/CMD5Checksum.h"
#include "link/WireOrder.h"

#include <algorithm>

namespace kelo::frame {

std::array<uint8_t, BODY_DIGEST_SIZE> BodyDigest(const uint8_t* body, size_t length,
                                                 uint32_t sequenceClient, uint32_t sequenceComm) {
    uint8_t trailer[12];
    wire::PutU32(trailer, sequenceClient);
    wire::PutU32(trailer + 4, DIGEST_CONSTANT);
    wire::PutU32(trailer + 8, sequenceComm);
    CMD5Checksum md5;
    if (length > 0)
        md5.Update(body, length);
    md5.Update(trailer, sizeof trailer);
    std::array<uint8_t, BODY_DIGEST_SIZE> digest{};
    md5.Final(digest.data());
    return digest;
}

std::vector<uint8_t> BuildClientFrame(uint16_t type, const uint8_t* body, size_t length,
                                      uint32_t sequenceClient, uint32_t sequenceComm) {
    if (length > MAX_BODY)
        return {};
    MSG_HEAD head;
    head.type = type;
    head.length = static_cast<uint32_t>(length + BODY_DIGEST_SIZE);
    const auto wireHead = head.Encode(sequenceClient);
    const auto digest = BodyDigest(body, length, sequenceClient, sequenceComm);
    std::vector<uint8_t> out;
    out.reserve(MSG_HEAD::SIZE + length + BODY_DIGEST_SIZE);
    out.insert(out.end(), wireHead.begin(), wireHead.end());
    if (length > 0)
        out.insert(out.end(), body, body + length);
    out.insert(out.end(), digest.begin(), digest.end());
    return out;
}

std::vector<uint8_t> BuildServerFrame(uint16_t type, const uint8_t* body, size_t length,
                                      uint32_t sequence) {
    if (length > MAX_LENGTH)
        return {};
    MSG_HEAD head;
    head.type = type;
    head.length = static_cast<uint32_t>(length);
    const auto wireHead = head.Encode(sequence);
    std::vector<uint8_t> out(wireHead.begin(), wireHead.end());
    if (length > 0)
        out.insert(out.end(), body, body + length);
    return out;
}

} // namespace kelo::frame
