// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CMD5Checksum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kelo {
namespace {

std::string Hex(const uint8_t* digest) {
    std::string text;
    char pair[3];
    for (size_t i = 0; i < CMD5Checksum::DIGEST_SIZE; ++i) {
        std::snprintf(pair, sizeof(pair), "%02x", digest[i]);
        text += pair;
    }
    return text;
}

std::string DigestOf(const std::string& input) {
    uint8_t digest[CMD5Checksum::DIGEST_SIZE];
    EXPECT_TRUE(CMD5Checksum::ComputeDigest(input.data(), input.size(), digest));
    return Hex(digest);
}

struct DigestCase {
    std::string input;
    const char* digest;
};

// The RFC 1321 test suite, then runs of "a" that end just before, on and just after the
// padding boundaries (55 bytes is the longest input padded within one block).
const DigestCase kDigestCases[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
    {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
    {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
    {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
    {std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
};

TEST(CMD5ChecksumTest, KnownDigests) {
    for (const DigestCase& c : kDigestCases)
        EXPECT_EQ(DigestOf(c.input), c.digest) << "input of " << c.input.size() << " bytes";
}

// Every split of every test input into two pieces, and the same input one byte at a time,
// must give the one-call digest: this exercises every path through the block buffer.
TEST(CMD5ChecksumTest, PiecesGiveTheSameDigest) {
    for (const DigestCase& c : kDigestCases) {
        const std::string& in = c.input;
        for (size_t split = 0; split <= in.size(); ++split) {
            CMD5Checksum md5;
            md5.Update(in.data(), split);
            md5.Update(in.data() + split, in.size() - split);
            uint8_t digest[CMD5Checksum::DIGEST_SIZE];
            md5.Final(digest);
            EXPECT_EQ(Hex(digest), c.digest) << in.size() << " bytes split at " << split;
        }
        CMD5Checksum md5;
        for (char ch : in)
            md5.Update(&ch, 1);
        uint8_t digest[CMD5Checksum::DIGEST_SIZE];
        md5.Final(digest);
        EXPECT_EQ(Hex(digest), c.digest) << in.size() << " bytes fed one at a time";
    }
}

// Three-way splits of a longer input cross a block boundary inside the middle piece.
TEST(CMD5ChecksumTest, ThreePiecesOfALongInput) {
    std::string input;
    for (int i = 0; i < 200; ++i)
        input += static_cast<char>(i * 7 + 3);
    const std::string expected = DigestOf(input);
    for (size_t first = 0; first <= input.size(); first += 5) {
        for (size_t second = first; second <= input.size(); second += 11) {
            CMD5Checksum md5;
            md5.Update(input.data(), first);
            md5.Update(input.data() + first, second - first);
            md5.Update(input.data() + second, input.size() - second);
            uint8_t digest[CMD5Checksum::DIGEST_SIZE];
            md5.Final(digest);
            ASSERT_EQ(Hex(digest), expected) << "splits at " << first << " and " << second;
        }
    }
}

// After Final the object starts over, so the wire layer can reuse one object per message.
TEST(CMD5ChecksumTest, FinalStartsOver) {
    CMD5Checksum md5;
    uint8_t digest[CMD5Checksum::DIGEST_SIZE];
    md5.Update("junk", 4);
    md5.Final(digest);
    md5.Update("abc", 3);
    md5.Final(digest);
    EXPECT_EQ(Hex(digest), "900150983cd24fb0d6963f7d28e17f72");
}

} // namespace
} // namespace kelo
