// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CGameContext.h"
#include "link/CCommunicationLayer.h"
#include "link/CMessageRev.h"
#include "link/CTableLink.h"
#include "link/IMessageSink.h"
#include "link/MSG_HEAD.h"
#include "link/MessageFrame.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/RecordingSink.h"
#include "support/StreamFeeder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kelo::test {

class LinkObserver : public CTableLink::IObserver {
public:
    bool OnConnectionMessage(uint16_t type, const uint8_t*, uint32_t) override {
        messages.push_back(type);
        return type != closingType;
    }
    void OnConnectionLost() override { ++lost; }
    std::vector<uint16_t> messages;
    uint16_t closingType = 0;
    int lost = 0;
};

// A message as the server sends it: header and body, no body digest.
inline std::vector<uint8_t> ServerMessage(uint16_t type, const std::vector<uint8_t>& body,
                                          uint32_t sequence = 1) {
    return frame::BuildServerFrame(type, body.data(), body.size(), sequence);
}
// A header that announces a length of its own choosing.
inline std::vector<uint8_t> ServerHeader(uint16_t type, uint32_t length) {
    MSG_HEAD head;
    head.type = type;
    head.length = length;
    const auto wire = head.Encode(1);
    return {wire.begin(), wire.end()};
}

// One networked client on a fake socket and a manual loop, its connection open and the first
// header asked for. Bytes given to Stream are cut into exactly the blocks the reader asks for.
class LinkFixture : public ::testing::Test {
protected:
    LinkFixture() {
        context.Mode().SetLocalMode(false);
        context.SetPrompts(&prompts);
        link.SetObserver(&observer);
        link.RegisterSink(&sink);
        link.OnConnect(1);
    }

    CCommunicationLayer& Layer() { return context.CommunicationLayer(); }

    void Stream(const std::vector<uint8_t>& bytes) { feeder.Stream(bytes); }
    // The header of the n-th frame sent to the socket.
    MSG_HEAD SentHead(size_t n) const { return MSG_HEAD::Decode(socket.sent.at(n).data()); }
    std::vector<uint8_t> SentBody(size_t n) const {
        const auto& bytes = socket.sent.at(n);
        return {bytes.begin() + MSG_HEAD::SIZE, bytes.end() - frame::BODY_DIGEST_SIZE};
    }

    CGameContext context;
    ScriptedPrompts prompts;
    ManualEventLoop loop;
    FakeSocketControl socket;
    CTableLink link{context.CommunicationLayer(), context.Prompts(), loop, socket};
    LinkObserver observer;
    RecordingSink sink;
    StreamFeeder feeder{socket, loop};
};

} // namespace kelo::test
