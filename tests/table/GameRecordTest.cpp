// SPDX-License-Identifier: GPL-3.0-or-later
// The record file's bytes, and the index's, written and read back.
#include "table/GameRecord.h"
#include "base/CGbkConverter.h"
#include "support/ChessTable.h"
#include "table/RecordFileName.h"
#include "table/ResumeEntry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelo {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, static_cast<uint16_t>(v));
    Put16(b, static_cast<uint16_t>(v >> 16));
}
void PutDouble(Bytes& b, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    Put32(b, static_cast<uint32_t>(bits));
    Put32(b, static_cast<uint32_t>(bits >> 32));
}

GameRecord SmallRecord() {
    GameRecord r;
    r.ownerSeat = 1;
    r.key = 0x01020304;
    r.userIds = {200, 100};
    r.colours = {1, 0};
    r.nicknames = {CGbkConverter::ToGbk("甲"), CGbkConverter::ToGbk("乙")};
    r.bottomColour = 1;
    r.firstMoverColour = 0;
    r.currentTurnColour = 1;
    r.clock = {1200, 60, 10};
    r.takeBacks = {2, 3};
    MoveRecord m;
    m.from = CBasePoint::FromCode(0x0406);
    m.to = CBasePoint::FromCode(0x0404);
    m.colour = Colour::White;
    m.kind = PieceKind::Pawn;
    m.special = 0x12;
    m.flags = 0x34;
    m.moveNumber = 7;
    m.clock = 9;
    r.moves = {m};
    return r;
}

// Every field at its place, little-endian, the step without its unused bits and with the move
// number before the clock.
TEST(GameRecordFile, WritesTheFieldsInTheFileOrder) {
    Bytes expected;
    PutDouble(expected, 1.1);
    expected.push_back(2);
    expected.insert(expected.end(), {0xBC, 0xD7}); // 甲 in GBK
    expected.push_back(2);
    expected.insert(expected.end(), {0xD2, 0xD2}); // 乙
    Put16(expected, 1);                            // owner seat
    Put32(expected, 0x01020304);                   // key
    Put16(expected, 2);                            // seat count
    Put32(expected, 200);
    Put16(expected, 1);
    Put32(expected, 100);
    Put16(expected, 0);
    Put16(expected, 1); // bottom
    Put16(expected, 0); // first mover
    Put16(expected, 1); // current turn
    Put16(expected, 2); // take-backs of seat 0, seat 1
    Put16(expected, 3);
    Put16(expected, 1200); // clock settings
    Put16(expected, 60);
    Put16(expected, 10);
    Put16(expected, 1); // M
    Put16(expected, 0x1234);
    Put16(expected, 0);
    Put16(expected, 6);
    Put32(expected, 0x0406);
    Put32(expected, 0x0404);
    Put16(expected, 7); // move number
    Put16(expected, 9); // clock
    EXPECT_EQ(WriteRecord(SmallRecord()), expected);
}

// A real game with castling, en passant and a promotion to a knight comes back equal and is
// written again byte for byte.
TEST(GameRecordFile, AGameRoundTripsByteForByte) {
    test::ChessTable table;
    table.StartPosition();
    table.promotionAnswers = {PieceKind::Knight};
    ASSERT_TRUE(table.PlayLine("e2e4 a7a6 e4e5 d7d5 e5d6 a6a5 d6c7 a5a4 c7b8 b7b6 g1f3 b6b5 "
                               "f1e2 b5b4 e1g1"));
    GameRecord record = SmallRecord();
    record.moves = table.position.Moves();
    ASSERT_EQ(record.moves.size(), 15u);
    EXPECT_EQ(record.moves[8].kind, PieceKind::Pawn);
    const Bytes bytes = WriteRecord(record);
    EXPECT_EQ(bytes.size(), 8 + 3 + 3 + 2 + 4 + 2 + 12 + 6 + 4 + 6 + 2 + 18 * 15u);
    GameRecord read;
    ASSERT_EQ(ReadRecord(bytes.data(), bytes.size(), read), RecordError::None);
    EXPECT_EQ(read, record);
    EXPECT_EQ(read.version, 1.1);
    EXPECT_EQ(WriteRecord(read), bytes);

    // The moves replay on a fresh board to the same position.
    test::ChessBoard replay;
    replay.StartPosition();
    for (const MoveRecord& move : read.moves)
        ASSERT_TRUE(replay.board.Play(move).applied);
    EXPECT_EQ(replay.position.Moves(), record.moves);
}

// The three forms of the length prefix, at their borders.
TEST(GameRecordFile, TextLengthPrefixes) {
    struct Case {
        size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        GameRecord record;
        record.nicknames[0] = std::string(c.length, 'a');
        const Bytes bytes = WriteRecord(record);
        EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 8 + c.prefix.size()), c.prefix)
            << c.length;
        GameRecord read;
        ASSERT_EQ(ReadRecord(bytes.data(), bytes.size(), read), RecordError::None) << c.length;
        EXPECT_EQ(read.nicknames[0].size(), c.length);
        EXPECT_EQ(WriteRecord(read), bytes);
    }
}

TEST(GameRecordFile, NoMovesWritesACountOfZeroAndNoSteps) {
    GameRecord record = SmallRecord();
    record.moves.clear();
    const Bytes bytes = WriteRecord(record);
    EXPECT_EQ(bytes.size(), WriteRecord(SmallRecord()).size() - 18);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
    EXPECT_EQ(bytes[bytes.size() - 1], 0);
    GameRecord read;
    ASSERT_EQ(ReadRecord(bytes.data(), bytes.size(), read), RecordError::None);
    EXPECT_TRUE(read.moves.empty());
}

TEST(GameRecordFile, AnotherVersionIsRefusedBeforeAnythingElseIsRead) {
    Bytes bytes;
    PutDouble(bytes, 1.0);
    GameRecord read = SmallRecord();
    EXPECT_EQ(ReadRecord(bytes.data(), bytes.size(), read), RecordError::Version);
    EXPECT_EQ(read, SmallRecord());
}

// Every cut of a good file, a move count or text length past the end, and a seat count that
// no chess record has are damage; the record stays untouched.
TEST(GameRecordFile, DamagedFilesLoadNothing) {
    const Bytes good = WriteRecord(SmallRecord());
    for (size_t cut = 0; cut < good.size(); ++cut) {
        GameRecord read;
        EXPECT_NE(ReadRecord(good.data(), cut, read), RecordError::None) << cut;
        EXPECT_EQ(read, GameRecord()) << cut;
    }
    Bytes longText = good;
    longText[8] = 200; // the first nickname claims 200 bytes
    Bytes manyMoves = good;
    manyMoves[good.size() - 18 - 2] = 2; // M = 2 with one step
    Bytes seats = good;
    seats[8 + 3 + 3 + 2 + 4] = 3; // N = 3
    Bytes wide = good;
    wide[8] = 0xFF; // the 0xFF 0xFFFE prefix is never written
    wide.insert(wide.begin() + 9, {0xFE, 0xFF});
    for (const Bytes& bad : {longText, manyMoves, seats, wide}) {
        GameRecord read;
        EXPECT_EQ(ReadRecord(bad.data(), bad.size(), read), RecordError::Damaged);
    }
}

TEST(ResumeIndexFile, RoundTripsAndDropsEntriesOfAnotherVersion) {
    ResumeEntry a{"甲_乙_", 2, "/records/甲_乙_081208_2105.che", 1, 1.1};
    ResumeEntry old{"old", 2, "/records/old.che", 1, 1.0};
    ResumeEntry b{"甲_乙_", 2, "/records/甲_乙_081208_2106.che", 1, 1.1};
    const Bytes bytes = WriteIndex({a, old, b});
    Bytes expected;
    Put16(expected, 3);
    Put16(expected, 1);
    Put16(expected, 2);
    const std::string path = CGbkConverter::ToGbk(a.path);
    expected.push_back(static_cast<uint8_t>(path.size()));
    expected.insert(expected.end(), path.begin(), path.end());
    const std::string key = CGbkConverter::ToGbk(a.key);
    expected.push_back(static_cast<uint8_t>(key.size()));
    expected.insert(expected.end(), key.begin(), key.end());
    PutDouble(expected, 1.1);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + expected.size()), expected);

    std::vector<ResumeEntry> read;
    ASSERT_TRUE(ReadIndex(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read, (std::vector<ResumeEntry>{a, b}));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<ResumeEntry> damaged{a};
        EXPECT_FALSE(ReadIndex(bytes.data(), cut, damaged)) << cut;
        EXPECT_EQ(damaged, std::vector<ResumeEntry>{a});
    }
    const Bytes negative{0xFF, 0xFF};
    EXPECT_FALSE(ReadIndex(negative.data(), negative.size(), read));
}

TEST(RecordFileName, NicknamesBecomeSafeFileNames) {
    struct Case {
        const char* nickname;
        const char* safe;
    };
    const Case cases[] = {
        {"甲", "甲"},
        {"Alice_1", "Alice_1"},
        {"../../etc/passwd", "_._.._etc_passwd"},
        {"..", "_."},
        {"a/b\\c", "a_b_c"},
        {"x\ny\tz", "x_y_z"},
        {"$(rm -rf ~)", "_(rm_-rf__)"},
        {"a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
        {"", "_"},
        {"\xff\xfe", "__"},
        {"😀", "_"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SafeFileName(c.nickname), c.safe) << c.nickname;
    // Long names are cut at a character's end.
    std::string longName;
    for (int i = 0; i < 40; ++i)
        longName += "象";
    const std::string safe = SafeFileName(longName);
    EXPECT_LE(safe.size(), SAFE_NAME_BYTES);
    EXPECT_EQ(safe.size() % 3, 0u);
    EXPECT_EQ(SafeFileName(std::string(1000, 'a')).size(), SAFE_NAME_BYTES);
}

TEST(RecordFileName, TimeStampHasTwoDigitYear) {
    std::tm t{};
    t.tm_year = 108;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 21;
    t.tm_min = 5;
    EXPECT_EQ(RecordTimeStamp(t), "081208_2105");
}

} // namespace
} // namespace kelo
