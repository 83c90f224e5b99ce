// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ISocketControl.h"

#include <cstdint>
#include <vector>

namespace kelo::test {

// Keeps what a socket control tells: the connection results, the blocks and the closes.
class RecordingSocketEvents : public ISocketEvents {
public:
    void OnConnect(int16_t result) override { connects.push_back(result); }
    void OnReceive(const uint8_t* data, size_t count) override {
        blocks.emplace_back(data, data + count);
    }
    void OnClose() override { ++closes; }
    std::vector<int16_t> connects;
    std::vector<std::vector<uint8_t>> blocks;
    int closes = 0;
};

} // namespace kelo::test
