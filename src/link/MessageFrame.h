// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/MSG_HEAD.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Building whole messages: the client's frame (header, body, body digest) and the server's
// (header and body only). Client and reference server share these so both ends agree.
namespace kelo::frame {

constexpr size_t BODY_DIGEST_SIZE = 17;
constexpr uint32_t DIGEST_CONSTANT = 7358;
// No message of this protocol comes near this; a header that announces more is a broken
// stream, never an allocation.
constexpr uint32_t MAX_LENGTH = 64 * 1024;
// The largest body a client frame can carry within MAX_LENGTH.
constexpr size_t MAX_BODY = MAX_LENGTH - BODY_DIGEST_SIZE;

// MD5 over the body and the trailer {client counter, 7358, comm counter} (big-endian), then a
// zero byte.
std::array<uint8_t, BODY_DIGEST_SIZE> BodyDigest(const uint8_t* body, size_t length,
                                                 uint32_t sequenceClient, uint32_t sequenceComm);

// A client frame of length + 49 bytes; the header's length is length + 17. Empty when the body
// is larger than MAX_BODY.
std::vector<uint8_t> BuildClientFrame(uint16_t type, const uint8_t* body, size_t length,
                                      uint32_t sequenceClient, uint32_t sequenceComm);

// A server frame: header (length = body length) and the body, no body digest.
std::vector<uint8_t> BuildServerFrame(uint16_t type, const uint8_t* body, size_t length,
                                      uint32_t sequence);

} // namespace kelo::frame
