// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ISocketControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelo::test {

// A socket control without a network: it keeps what is sent and what is asked for, and the
// test delivers the blocks.
class FakeSocketControl : public ISocketControl {
public:
    void SetEvents(ISocketEvents* events) override { this->events = events; }
    void CloseSocket() override { ++closeCount; }
    bool Connect(const std::string& host, int32_t port) override {
        connects.push_back(host + ":" + std::to_string(port));
        return true;
    }
    bool SendData(const uint8_t* data, size_t count) override {
        sent.emplace_back(data, data + count);
        return true;
    }
    void UseProxy(int16_t kind, const std::string& host, int32_t port) override {
        proxies.push_back("UseProxy " + std::to_string(kind) + " " + host + ":" +
                          std::to_string(port));
    }
    void UseProxyAuth(int16_t kind, const std::string& host, int32_t port, const std::string& user,
                      const std::string& password) override {
        proxies.push_back("UseProxyAuth " + std::to_string(kind) + " " + host + ":" +
                          std::to_string(port) + " " + user + "/" + password);
    }
    bool RecvData(size_t count) override {
        requests.push_back(count);
        return true;
    }

    // Delivers the next block as the control would.
    void Deliver(const std::vector<uint8_t>& block) {
        if (events != nullptr)
            events->OnReceive(block.data(), block.size());
    }
    size_t LastRequest() const { return requests.empty() ? 0 : requests.back(); }

    ISocketEvents* events = nullptr;
    std::vector<std::vector<uint8_t>> sent;
    std::vector<size_t> requests;
    std::vector<std::string> connects;
    std::vector<std::string> proxies;
    int closeCount = 0;
};

} // namespace kelo::test
