// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageFrame.h"
#include "link/WireOrder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kelo {
namespace {

std::string Hex(const uint8_t* p, size_t n) {
    std::string out;
    char buf[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", p[i]);
        out += buf;
    }
    return out;
}

TEST(MsgHead, InitialisedHeaderHasTheStartValues) {
    MSG_HEAD head;
    head.type = 1;
    head.length = 2;
    head.sequence = 3;
    head.Initialise();
    EXPECT_EQ(head.type, 0xFFFF);
    EXPECT_EQ(head.length, 0u);
    EXPECT_EQ(head.sequence, 5588u);
}

// Reference values from an independent MD5 over the big-endian fields.
TEST(MsgHead, EncodesBigEndianWithTheCallersCounterAndTheHeadDigest) {
    MSG_HEAD head;
    head.type = 631;
    head.length = 37;
    head.sequence = 1; // encode writes the counter it is given, not this
    const auto wire = head.Encode(5588);
    EXPECT_EQ(Hex(wire.data(), 12), "0277000000000025000015d4");
    EXPECT_EQ(Hex(wire.data() + 12, 16), "8539937df436adf5db00017c6a4e0b70");
    const MSG_HEAD back = MSG_HEAD::Decode(wire.data());
    EXPECT_EQ(back.type, 631);
    EXPECT_EQ(back.length, 37u);
    EXPECT_EQ(back.sequence, 5588u);
    EXPECT_TRUE(MSG_HEAD::Check(wire.data()));
}

TEST(MsgHead, CheckCoversTypeLengthSequenceAndDigestButNotTheUnusedBytes) {
    MSG_HEAD head;
    head.type = 3021;
    head.length = 100;
    const auto good = head.Encode(777);
    for (size_t i = 0; i < MSG_HEAD::SIZE; ++i) {
        auto wire = good;
        wire[i] ^= 0x40;
        const bool unused = (i == 2 || i == 3 || i >= 28);
        EXPECT_EQ(MSG_HEAD::Check(wire.data()), unused) << "byte " << i;
    }
}

TEST(MessageFrame, EmptyBodyIs49BytesWithTheDigestOfTheTrailerAlone) {
    const auto bytes = frame::BuildClientFrame(3011, nullptr, 0, 5588, 2593);
    ASSERT_EQ(bytes.size(), 49u);
    EXPECT_EQ(MSG_HEAD::Decode(bytes.data()).length, 17u);
    EXPECT_EQ(Hex(bytes.data() + 32, 16), "29f914e3f744a8acd88d807df36fd2a8");
    EXPECT_EQ(bytes[48], 0);
}

TEST(MessageFrame, BodyDigestCoversTheBodyAndBothCounters) {
    uint8_t body[20];
    for (uint8_t i = 0; i < 20; ++i)
        body[i] = i;
    const auto bytes = frame::BuildClientFrame(631, body, sizeof body, 1002, 77);
    ASSERT_EQ(bytes.size(), 69u);
    EXPECT_EQ(MSG_HEAD::Decode(bytes.data()).length, 37u);
    EXPECT_EQ(MSG_HEAD::Decode(bytes.data()).sequence, 1002u);
    EXPECT_EQ(Hex(bytes.data() + 52, 16), "e4895cf9782121fc4989b9dc89ba504b");
}

TEST(MessageFrame, RefusesABodyBeyondTheLimit) {
    std::vector<uint8_t> body(frame::MAX_BODY + 1);
    EXPECT_TRUE(frame::BuildClientFrame(631, body.data(), body.size(), 1, 1).empty());
    EXPECT_EQ(frame::BuildClientFrame(631, body.data(), frame::MAX_BODY, 1, 1).size(),
              frame::MAX_LENGTH + MSG_HEAD::SIZE);
}

TEST(MessageBodies, SequenceStartAndGameStateReadTheirFieldsFromWireOrder) {
    MSG_SEQUENCE_START_BODY start{0x01020304, 0x0A0B0C0D, 0x11121314};
    const auto wire = start.ToWire();
    EXPECT_EQ(Hex(wire.data() + 8, 4), "01020304");
    EXPECT_EQ(Hex(wire.data() + 16, 4), "0a0b0c0d");
    EXPECT_EQ(Hex(wire.data() + 24, 4), "11121314");
    const auto back = MSG_SEQUENCE_START_BODY::FromWire(wire.data());
    EXPECT_EQ(back.sequenceComm, start.sequenceComm);
    EXPECT_EQ(back.sequenceClient, start.sequenceClient);
    EXPECT_EQ(back.sequenceServer, start.sequenceServer);

    uint8_t state[28] = {};
    wire::PutU16(state + 6, 1200);
    wire::PutU16(state + 26, 3);
    const auto game = MSG_GAME_STATE_BODY::FromWire(state);
    EXPECT_EQ(game.fields[3], 1200);
    EXPECT_EQ(game.RecordCount(), 3);
}

} // namespace
} // namespace kelo
