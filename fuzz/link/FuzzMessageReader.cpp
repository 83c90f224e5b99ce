// SPDX-License-Identifier: GPL-3.0-or-later
// The table's link fed with whatever a peer might send. The first byte picks how the socket
// control behaves: as it should (every block exactly the size asked for, cut from the stream
// however its pieces fall) or misbehaving (every piece handed over as a block of its own). The
// rest is a list of pieces, each a length byte and that many bytes. The windows read every byte
// they are told of, so that a length beyond the copy shows up under the address sanitizer; the
// chat and the list of people read theirs as the table window does.

#include "app/CGameContext.h"
#include "link/CMessageRev.h"
#include "link/CTableLink.h"
#include "link/IMessageSink.h"
#include "link/MessageFrame.h"
#include "social/CBaseChatView.h"
#include "social/CBaseGameinfoView.h"
#include "social/CZynChatImp.h"
#include "social/CZynPersonListImp.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class ReadingSink : public kelo::IMessageSink {
public:
    void OnMessageRev(const kelo::CMessageRev& message) override {
        const uint8_t* body = message.Body();
        if (message.Length() > 0 && body == nullptr)
            __builtin_trap();
        for (uint32_t i = 0; i < message.Length(); ++i)
            m_nSum = m_nSum + body[i];
    }

private:
    volatile uint32_t m_nSum = 0;
};

// A request larger than any message may carry would mean the reader trusted a length.
class CheckedSocket : public kelo::test::FakeSocketControl {
public:
    bool RecvData(size_t count) override {
        if (count == 0 || count > kelo::frame::MAX_LENGTH)
            __builtin_trap();
        return FakeSocketControl::RecvData(count);
    }
};

// The table's own lines go to the chat as the table window's do.
class ChatLines : public kelo::IChatSink {
public:
    explicit ChatLines(kelo::CZynChatImp& chat) : m_chat(chat) {}
    void AddSystemLine(const std::string& text, uint32_t colour) override {
        m_chat.AddSystemLine(text, colour);
    }

private:
    kelo::CZynChatImp& m_chat;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const bool exact = (data[0] & 1) == 0;
    kelo::CGameContext context;
    context.Mode().SetLocalMode(false);
    kelo::test::ManualEventLoop loop;
    CheckedSocket socket;
    kelo::CTableLink link(context.CommunicationLayer(), context.Prompts(), loop, socket);
    ReadingSink first, second;
    link.RegisterSink(&first);
    link.RegisterSink(&second);
    kelo::CZynChatImp chat(context.PlayerManager(), context.Mode(), context.Sender(),
                           [] { return true; });
    ChatLines lines(chat);
    kelo::CBaseChatView chatView(context.PlayerManager(), context.State(), lines);
    kelo::CZynPersonListImp list;
    kelo::CBaseGameinfoView listView(context.PlayerManager(), context.State(), &list);
    // A person event addresses the person, as a double click in the list does.
    list.onChanged = [&] {
        if (!list.Rows().empty())
            chat.AddressPerson(list.Rows().back());
    };
    link.RegisterSink(&chat);
    link.RegisterSink(&chatView);
    link.RegisterSink(&listView);
    link.OnConnect(1);

    std::vector<uint8_t> stream;
    size_t served = 0;
    size_t at = 1;
    while (at < size) {
        const size_t length = data[at++];
        const size_t take = length < size - at ? length : size - at;
        const uint8_t* piece = data + at;
        at += take;
        if (exact) {
            stream.insert(stream.end(), piece, piece + take);
            while (served < socket.requests.size() && stream.size() >= socket.requests[served]) {
                const size_t n = socket.requests[served++];
                const std::vector<uint8_t> block(stream.begin(), stream.begin() + n);
                stream.erase(stream.begin(), stream.begin() + n);
                socket.Deliver(block);
                loop.RunPending();
            }
        } else {
            socket.Deliver(std::vector<uint8_t>(piece, piece + take));
            loop.RunPending();
        }
    }
    // Timers fire too: the keep-alive after a sequence start, the receive watchdog.
    loop.Advance(60000);
    link.UnregisterSink(&listView);
    link.UnregisterSink(&chatView);
    link.UnregisterSink(&chat);
    return 0;
}
