// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kelo {

class IEventLoop;
class IMessageSink;

// The windows that asked for received messages, in the order they asked. A message is handed
// on as one shared CMessageRev, posted to each window through the event loop, so that every
// window has it before the next block of the stream is read.
class CMessageSinkRegistry {
public:
    explicit CMessageSinkRegistry(IEventLoop& loop);
    ~CMessageSinkRegistry();
    CMessageSinkRegistry(const CMessageSinkRegistry&) = delete;
    CMessageSinkRegistry& operator=(const CMessageSinkRegistry&) = delete;

    // A window is added once; asking again changes nothing.
    void RegisterSink(IMessageSink* sink);
    // A window that goes away leaves the registry first; messages already posted to it are
    // then released without a call.
    void UnregisterSink(IMessageSink* sink);
    size_t Count() const { return m_slots.size(); }

    // Builds one message from the bytes (wire order, copied) and posts it to every window. With
    // no window the message is dropped at once.
    void HandOn(uint16_t type, const uint8_t* body, uint32_t length);

private:
    struct Slot {
        IMessageSink* sink;
    };
    IEventLoop& m_loop;
    std::vector<std::shared_ptr<Slot>> m_slots;
};

} // namespace kelo
