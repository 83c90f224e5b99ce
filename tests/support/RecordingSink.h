// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/CMessageRev.h"
#include "link/IMessageSink.h"

#include <cstdint>
#include <vector>

namespace kelo::test {

// What a window saw of one message.
struct Seen {
    uint16_t type;
    uint32_t length;
    std::vector<uint8_t> body;
    uint32_t refCount;
};

class RecordingSink : public IMessageSink {
public:
    void OnMessageRev(const CMessageRev& message) override {
        const uint8_t* body = message.Body();
        seen.push_back({message.Type(), message.Length(),
                        body != nullptr ? std::vector<uint8_t>(body, body + message.Length())
                                        : std::vector<uint8_t>{},
                        message.RefCount()});
    }
    std::vector<Seen> seen;
};

// Delivers one message to a window as the registry does, and gives up the share afterwards.
inline void Deliver(IMessageSink& sink, uint16_t type, const std::vector<uint8_t>& body) {
    CMessageRev* message = CMessageRev::Create(type, body.empty() ? nullptr : body.data(),
                                               static_cast<uint32_t>(body.size()));
    message->SetRefCount(1);
    sink.OnMessageRev(*message);
    message->Release();
}

} // namespace kelo::test
