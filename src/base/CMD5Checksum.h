// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo {

// The MD5 message digest (RFC 1321) that protects every message header and body on the wire.
// The digest is used as 16 raw bytes, never as hexadecimal text.
class CMD5Checksum {
public:
    static constexpr size_t DIGEST_SIZE = 16;

    CMD5Checksum();
    virtual ~CMD5Checksum() = default;

    // Digest of one piece of memory in one call. Always succeeds; the result is kept only for
    // callers that test it.
    static bool ComputeDigest(const void* data, size_t length, uint8_t digest[DIGEST_SIZE]);

    // Adds input; every complete 64-byte block is processed at once.
    void Update(const void* data, size_t length);
    // Pads the input, writes the digest and starts over, so the object can digest the next
    // input.
    void Final(uint8_t digest[DIGEST_SIZE]);

private:
    void Reset();
    // Runs the compression function over count consecutive 64-byte blocks.
    void Transform(const uint8_t* blocks, size_t count);

    uint8_t m_lpszBuffer[64];
    // Input length in bits, low word first.
    uint32_t m_nCount[2];
    uint32_t m_lMD5[4];
};

} // namespace kelo
