// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CGbkConverter.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

struct ConvertCase {
    const char* name;
    std::string input;
    std::string expected;
};

// GBK bytes of "国际象棋" and "中文".
const std::string kChessGbk = "\xB9\xFA\xBC\xCA\xCF\xF3\xC6\xE5";
const std::string kChineseGbk = "\xD6\xD0\xCE\xC4";
const std::string kReplacement = "\xEF\xBF\xBD";

const ConvertCase kDecodeCases[] = {
    {"Empty", "", ""},
    {"Ascii", "abc 123", "abc 123"},
    {"Chinese", kChessGbk, "国际象棋"},
    {"Mixed", "a" + kChineseGbk + "b", "a中文b"},
    {"TruncatedAtEnd", "ab\xD6", "ab" + kReplacement},
    // A lead byte followed by a byte that cannot trail it: that byte survives.
    {"LeadBeforeNonTrail", std::string("\xD6") + "1" + kChineseGbk, kReplacement + "1中文"},
    {"InvalidByte", "x\xFFy", "x" + kReplacement + "y"},
    {"EmbeddedNul", std::string("a\0b", 3), std::string("a\0b", 3)},
};

const ConvertCase kEncodeCases[] = {
    {"Ascii", "abc", "abc"},
    {"Chinese", "国际象棋", kChessGbk},
    {"NoticeText", "无法保存 ！", "\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6 \xA3\xA1"},
    // One "?" per character GBK lacks, however many bytes it takes in UTF-8.
    {"CharacterOutsideGbk", "a😀b", "a?b"},
    {"TruncatedUtf8AtEnd", "ab\xE4\xB8", "ab?"},
    {"StrayContinuationByte",
     "a\x80"
     "b",
     "a?b"},
    {"OverlongSlash", "\xC0\xAF", "??"},
    {"Surrogate", "\xED\xA0\x80", "???"},
};

TEST(CGbkConverterTest, Decodes) {
    for (const ConvertCase& c : kDecodeCases)
        EXPECT_EQ(CGbkConverter::ToUtf8(c.input), c.expected) << c.name;
}

TEST(CGbkConverterTest, Encodes) {
    for (const ConvertCase& c : kEncodeCases)
        EXPECT_EQ(CGbkConverter::ToGbk(c.input), c.expected) << c.name;
}

// Longer than the converter's internal buffer, so the output is assembled in pieces.
TEST(CGbkConverterTest, LongTextRoundTrips) {
    std::string utf8;
    for (int i = 0; i < 500; ++i)
        utf8 += "国际象棋 chess ";
    EXPECT_EQ(CGbkConverter::ToUtf8(CGbkConverter::ToGbk(utf8)), utf8);
}

TEST(CGbkConverterTest, CutsWithoutSplittingACharacter) {
    const std::string text = "a" + kChineseGbk; // 1 + 2 + 2 bytes
    EXPECT_EQ(CGbkConverter::CutGbk(text, 0), "");
    EXPECT_EQ(CGbkConverter::CutGbk(text, 1), "a");
    EXPECT_EQ(CGbkConverter::CutGbk(text, 2), "a");
    EXPECT_EQ(CGbkConverter::CutGbk(text, 3), "a\xD6\xD0");
    EXPECT_EQ(CGbkConverter::CutGbk(text, 4), "a\xD6\xD0");
    EXPECT_EQ(CGbkConverter::CutGbk(text, 5), text);
    EXPECT_EQ(CGbkConverter::CutGbk(text, 100), text);
    // A lead byte that starts no character counts as one byte.
    EXPECT_EQ(CGbkConverter::CutGbk(std::string("\xD6") + "1", 1), "\xD6");
    EXPECT_EQ(CGbkConverter::CutGbk("x\xD6", 2), "x\xD6");
}

} // namespace
} // namespace kelo
