// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CMD5Checksum.h"

#include <cstring>

namespace kelo {

namespace {

inline uint32_t LoadLittle(const uint8_t* p) {
    // Byte-wise assembly is turned into one load by the compiler on little-endian machines and
    // stays correct on big-endian ones.
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void StoreLittle(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline uint32_t RotateLeft(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

// The four round functions. F and G are written in the forms with the shortest dependency
// chain: F as a select through d, G with two independent terms that are added (they never
// have a bit in common, so + equals |).
#define KELO_MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define KELO_MD5_G(x, y, z) (((x) & (z)) + ((y) & ~(z)))
#define KELO_MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define KELO_MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))

#define KELO_MD5_STEP(f, a, b, c, d, x, t, s)                                                      \
    a += f(b, c, d) + (x) + (t);                                                                   \
    a = RotateLeft(a, s) + (b)

} // namespace

CMD5Checksum::CMD5Checksum() {
    Reset();
}

void CMD5Checksum::Reset() {
    std::memset(m_lpszBuffer, 0, sizeof(m_lpszBuffer));
    m_nCount[0] = 0;
    m_nCount[1] = 0;
    m_lMD5[0] = 0x67452301;
    m_lMD5[1] = 0xefcdab89;
    m_lMD5[2] = 0x98badcfe;
    m_lMD5[3] = 0x10325476;
}

bool CMD5Checksum::ComputeDigest(const void* data, size_t length, uint8_t digest[DIGEST_SIZE]) {
    CMD5Checksum md5;
    md5.Update(data, length);
    md5.Final(digest);
    return true;
}

void CMD5Checksum::Update(const void* data, size_t length) {
    if (length == 0)
        return;
    const uint8_t* input = static_cast<const uint8_t*>(data);
    const size_t used = (m_nCount[0] >> 3) & 0x3f;

    // The bit count is a 64-bit number kept as two words; it wraps as RFC 1321 says.
    const uint64_t bits = (static_cast<uint64_t>(m_nCount[1]) << 32 | m_nCount[0]) +
                          (static_cast<uint64_t>(length) << 3);
    m_nCount[0] = static_cast<uint32_t>(bits);
    m_nCount[1] = static_cast<uint32_t>(bits >> 32);

    if (used != 0) {
        const size_t room = 64 - used;
        if (length < room) {
            std::memcpy(m_lpszBuffer + used, input, length);
            return;
        }
        std::memcpy(m_lpszBuffer + used, input, room);
        Transform(m_lpszBuffer, 1);
        input += room;
        length -= room;
    }
    if (length >= 64) {
        Transform(input, length / 64);
        input += length & ~static_cast<size_t>(63);
        length &= 63;
    }
    if (length != 0)
        std::memcpy(m_lpszBuffer, input, length);
}

void CMD5Checksum::Final(uint8_t digest[DIGEST_SIZE]) {
    uint8_t bitCount[8];
    StoreLittle(bitCount, m_nCount[0]);
    StoreLittle(bitCount + 4, m_nCount[1]);

    // Pad with 0x80 and zeros to 56 bytes modulo 64, then the bit count.
    static const uint8_t padding[64] = {0x80};
    const size_t used = (m_nCount[0] >> 3) & 0x3f;
    const size_t padLength = used < 56 ? 56 - used : 120 - used;
    Update(padding, padLength);
    Update(bitCount, 8);

    for (int i = 0; i < 4; ++i)
        StoreLittle(digest + 4 * i, m_lMD5[i]);
    Reset();
}

void CMD5Checksum::Transform(const uint8_t* blocks, size_t count) {
    uint32_t a = m_lMD5[0];
    uint32_t b = m_lMD5[1];
    uint32_t c = m_lMD5[2];
    uint32_t d = m_lMD5[3];

    for (; count != 0; --count, blocks += 64) {
        uint32_t x[16];
        for (int i = 0; i < 16; ++i)
            x[i] = LoadLittle(blocks + 4 * i);
        const uint32_t aa = a, bb = b, cc = c, dd = d;

        KELO_MD5_STEP(KELO_MD5_F, a, b, c, d, x[0], 0xd76aa478, 7);
        KELO_MD5_STEP(KELO_MD5_F, d, a, b, c, x[1], 0xe8c7b756, 12);
        KELO_MD5_STEP(KELO_MD5_F, c, d, a, b, x[2], 0x242070db, 17);
        KELO_MD5_STEP(KELO_MD5_F, b, c, d, a, x[3], 0xc1bdceee, 22);
        KELO_MD5_STEP(KELO_MD5_F, a, b, c, d, x[4], 0xf57c0faf, 7);
        KELO_MD5_STEP(KELO_MD5_F, d, a, b, c, x[5], 0x4787c62a, 12);
        KELO_MD5_STEP(KELO_MD5_F, c, d, a, b, x[6], 0xa8304613, 17);
        KELO_MD5_STEP(KELO_MD5_F, b, c, d, a, x[7], 0xfd469501, 22);
        KELO_MD5_STEP(KELO_MD5_F, a, b, c, d, x[8], 0x698098d8, 7);
        KELO_MD5_STEP(KELO_MD5_F, d, a, b, c, x[9], 0x8b44f7af, 12);
        KELO_MD5_STEP(KELO_MD5_F, c, d, a, b, x[10], 0xffff5bb1, 17);
        KELO_MD5_STEP(KELO_MD5_F, b, c, d, a, x[11], 0x895cd7be, 22);
        KELO_MD5_STEP(KELO_MD5_F, a, b, c, d, x[12], 0x6b901122, 7);
        KELO_MD5_STEP(KELO_MD5_F, d, a, b, c, x[13], 0xfd987193, 12);
        KELO_MD5_STEP(KELO_MD5_F, c, d, a, b, x[14], 0xa679438e, 17);
        KELO_MD5_STEP(KELO_MD5_F, b, c, d, a, x[15], 0x49b40821, 22);

        KELO_MD5_STEP(KELO_MD5_G, a, b, c, d, x[1], 0xf61e2562, 5);
        KELO_MD5_STEP(KELO_MD5_G, d, a, b, c, x[6], 0xc040b340, 9);
        KELO_MD5_STEP(KELO_MD5_G, c, d, a, b, x[11], 0x265e5a51, 14);
        KELO_MD5_STEP(KELO_MD5_G, b, c, d, a, x[0], 0xe9b6c7aa, 20);
        KELO_MD5_STEP(KELO_MD5_G, a, b, c, d, x[5], 0xd62f105d, 5);
        KELO_MD5_STEP(KELO_MD5_G, d, a, b, c, x[10], 0x02441453, 9);
        KELO_MD5_STEP(KELO_MD5_G, c, d, a, b, x[15], 0xd8a1e681, 14);
        KELO_MD5_STEP(KELO_MD5_G, b, c, d, a, x[4], 0xe7d3fbc8, 20);
        KELO_MD5_STEP(KELO_MD5_G, a, b, c, d, x[9], 0x21e1cde6, 5);
        KELO_MD5_STEP(KELO_MD5_G, d, a, b, c, x[14], 0xc33707d6, 9);
        KELO_MD5_STEP(KELO_MD5_G, c, d, a, b, x[3], 0xf4d50d87, 14);
        KELO_MD5_STEP(KELO_MD5_G, b, c, d, a, x[8], 0x455a14ed, 20);
        KELO_MD5_STEP(KELO_MD5_G, a, b, c, d, x[13], 0xa9e3e905, 5);
        KELO_MD5_STEP(KELO_MD5_G, d, a, b, c, x[2], 0xfcefa3f8, 9);
        KELO_MD5_STEP(KELO_MD5_G, c, d, a, b, x[7], 0x676f02d9, 14);
        KELO_MD5_STEP(KELO_MD5_G, b, c, d, a, x[12], 0x8d2a4c8a, 20);

        KELO_MD5_STEP(KELO_MD5_H, a, b, c, d, x[5], 0xfffa3942, 4);
        KELO_MD5_STEP(KELO_MD5_H, d, a, b, c, x[8], 0x8771f681, 11);
        KELO_MD5_STEP(KELO_MD5_H, c, d, a, b, x[11], 0x6d9d6122, 16);
        KELO_MD5_STEP(KELO_MD5_H, b, c, d, a, x[14], 0xfde5380c, 23);
        KELO_MD5_STEP(KELO_MD5_H, a, b, c, d, x[1], 0xa4beea44, 4);
        KELO_MD5_STEP(KELO_MD5_H, d, a, b, c, x[4], 0x4bdecfa9, 11);
        KELO_MD5_STEP(KELO_MD5_H, c, d, a, b, x[7], 0xf6bb4b60, 16);
        KELO_MD5_STEP(KELO_MD5_H, b, c, d, a, x[10], 0xbebfbc70, 23);
        KELO_MD5_STEP(KELO_MD5_H, a, b, c, d, x[13], 0x289b7ec6, 4);
        KELO_MD5_STEP(KELO_MD5_H, d, a, b, c, x[0], 0xeaa127fa, 11);
        KELO_MD5_STEP(KELO_MD5_H, c, d, a, b, x[3], 0xd4ef3085, 16);
        KELO_MD5_STEP(KELO_MD5_H, b, c, d, a, x[6], 0x04881d05, 23);
        KELO_MD5_STEP(KELO_MD5_H, a, b, c, d, x[9], 0xd9d4d039, 4);
        KELO_MD5_STEP(KELO_MD5_H, d, a, b, c, x[12], 0xe6db99e5, 11);
        KELO_MD5_STEP(KELO_MD5_H, c, d, a, b, x[15], 0x1fa27cf8, 16);
        KELO_MD5_STEP(KELO_MD5_H, b, c, d, a, x[2], 0xc4ac5665, 23);

        KELO_MD5_STEP(KELO_MD5_I, a, b, c, d, x[0], 0xf4292244, 6);
        KELO_MD5_STEP(KELO_MD5_I, d, a, b, c, x[7], 0x432aff97, 10);
        KELO_MD5_STEP(KELO_MD5_I, c, d, a, b, x[14], 0xab9423a7, 15);
        KELO_MD5_STEP(KELO_MD5_I, b, c, d, a, x[5], 0xfc93a039, 21);
        KELO_MD5_STEP(KELO_MD5_I, a, b, c, d, x[12], 0x655b59c3, 6);
        KELO_MD5_STEP(KELO_MD5_I, d, a, b, c, x[3], 0x8f0ccc92, 10);
        KELO_MD5_STEP(KELO_MD5_I, c, d, a, b, x[10], 0xffeff47d, 15);
        KELO_MD5_STEP(KELO_MD5_I, b, c, d, a, x[1], 0x85845dd1, 21);
        KELO_MD5_STEP(KELO_MD5_I, a, b, c, d, x[8], 0x6fa87e4f, 6);
        KELO_MD5_STEP(KELO_MD5_I, d, a, b, c, x[15], 0xfe2ce6e0, 10);
        KELO_MD5_STEP(KELO_MD5_I, c, d, a, b, x[6], 0xa3014314, 15);
        KELO_MD5_STEP(KELO_MD5_I, b, c, d, a, x[13], 0x4e0811a1, 21);
        KELO_MD5_STEP(KELO_MD5_I, a, b, c, d, x[4], 0xf7537e82, 6);
        KELO_MD5_STEP(KELO_MD5_I, d, a, b, c, x[11], 0xbd3af235, 10);
        KELO_MD5_STEP(KELO_MD5_I, c, d, a, b, x[2], 0x2ad7d2bb, 15);
        KELO_MD5_STEP(KELO_MD5_I, b, c, d, a, x[9], 0xeb86d391, 21);

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }

    m_lMD5[0] = a;
    m_lMD5[1] = b;
    m_lMD5[2] = c;
    m_lMD5[3] = d;
}

#undef KELO_MD5_F
#undef KELO_MD5_G
#undef KELO_MD5_H
#undef KELO_MD5_I
#undef KELO_MD5_STEP

} // namespace kelo
