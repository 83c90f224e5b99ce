#include "CTableServer.h"

#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kelo {
namespace {

class Output : public CTableServer::IOutput {
public:
    void Send(int connection, const uint8_t* data, size_t count) override {
        received[connection].emplace_back(data, data + count);
    }
    void Close(int connection) override { closed.insert(connection); }
    void Report(const std::string& line) override { lines.push_back(line); }

    std::map<int, std::vector<std::vector<uint8_t>>> received;
    std::set<int> closed;
    std::vector<std::string> lines;
};

// One client as the server sees it: it enters a desk and numbers its messages with the
// counters the server gave it.
struct Client {
    int connection;
    uint32_t sequence = 5588;
    uint32_t comm = 2593;

    std::vector<uint8_t> Frame(uint16_t type, const std::vector<uint8_t>& body,
                               bool numbered = true) {
        if (numbered)
            ++sequence;
        return frame::BuildClientFrame(type, body.data(), body.size(), sequence, comm);
    }
};

class TableServerTest : public ::testing::Test {
protected:
    Client Enter(int connection, uint16_t desk) {
        server.OnAccept(connection, now);
        Client client{connection};
        MSG_ENTER_TABLE_BODY enter;
        enter.id = 1000 + connection;
        enter.deskno = desk;
        const auto body = enter.ToWire();
        Send(client, client.Frame(MSG_ENTER_TABLE, {body.begin(), body.end()}, false));
        const auto& answer = output.received[connection].back();
        const MSG_HEAD head = MSG_HEAD::Decode(answer.data());
        EXPECT_EQ(head.type, MSG_SEQUENCE_START);
        EXPECT_EQ(head.length, 28u); // the server's own messages carry no body digest
        EXPECT_TRUE(MSG_HEAD::Check(answer.data()));
        const auto start = MSG_SEQUENCE_START_BODY::FromWire(answer.data() + MSG_HEAD::SIZE);
        client.sequence = start.sequenceClient;
        client.comm = start.sequenceComm;
        output.received[connection].clear();
        return client;
    }
    void Send(const Client& client, const std::vector<uint8_t>& bytes) {
        server.OnData(client.connection, bytes.data(), bytes.size(), now);
    }

    Output output;
    CTableServer server{output};
    uint64_t now = 1000;
};

TEST_F(TableServerTest, RelaysTableMessagesUnchangedToTheWholeDeskOnly) {
    Client a = Enter(1, 7);
    Client b = Enter(2, 7);
    Client other = Enter(3, 8);
    Send(a, a.Frame(MSG_KEEP_ALIVE, {}));
    const auto move = a.Frame(MSG_MOVE, std::vector<uint8_t>(20, 5));
    // Delivered a byte at a time: the server cuts the stream itself.
    for (uint8_t byte : move)
        server.OnData(1, &byte, 1, now);
    const auto chat = b.Frame(MSG_TABLE_CHAT, {'h', 'i'});
    Send(b, chat);
    for (int connection : {1, 2}) {
        ASSERT_EQ(output.received[connection].size(), 2u) << connection;
        EXPECT_EQ(output.received[connection][0], move);
        EXPECT_EQ(output.received[connection][1], chat);
    }
    EXPECT_TRUE(output.received[3].empty());
    EXPECT_EQ(server.Violations(), 0);
    (void)other;
}

TEST_F(TableServerTest, AMessageSentBeforeTheStartArrivedIsNoViolation) {
    server.OnAccept(1, now);
    Client early{1};
    MSG_ENTER_TABLE_BODY enter;
    const auto body = enter.ToWire();
    Send(early, early.Frame(MSG_ENTER_TABLE, {body.begin(), body.end()}, false));
    Send(early, early.Frame(MSG_TABLE_CHAT_OLD, {'x'}, false)); // still 5588 and 2593
    EXPECT_EQ(server.Violations(), 0);
}

// Every kind of damage to one frame is one violation; the client's later messages are fine.
TEST_F(TableServerTest, EachDamagedFrameCountsOnce) {
    const struct {
        const char* name;
        size_t offset; // from the start of the frame
    } cases[] = {
        {"type", 1}, {"sequence", 11}, {"head digest", 20}, {"body", 33}, {"body digest", 60}};
    int connection = 10;
    for (const auto& c : cases) {
        Client client = Enter(++connection, 1);
        const int before = server.Violations();
        auto bytes = client.Frame(MSG_MOVE, std::vector<uint8_t>(20, 9));
        bytes[c.offset] ^= 0x01;
        Send(client, bytes);
        EXPECT_EQ(server.Violations(), before + 1) << c.name;
        EXPECT_TRUE(output.received[connection].empty()) << c.name << " was relayed";
        Send(client, client.Frame(MSG_MOVE, std::vector<uint8_t>(20, 9)));
        EXPECT_EQ(server.Violations(), before + 1) << c.name << " threw the next message off";
        EXPECT_EQ(output.received[connection].size(), 1u) << c.name;
        server.OnClosed(connection);
    }
}

TEST_F(TableServerTest, ASkippedNumberIsOneViolationAndTheCountFollowsTheClient) {
    Client a = Enter(1, 1);
    ++a.sequence;
    Send(a, a.Frame(MSG_KEEP_ALIVE, {}));
    Send(a, a.Frame(MSG_KEEP_ALIVE, {}));
    EXPECT_EQ(server.Violations(), 1);
    ASSERT_FALSE(output.lines.empty());
    EXPECT_NE(output.lines.back().find("violation client 1 type=3011"), std::string::npos)
        << output.lines.back();
}

TEST_F(TableServerTest, AHeaderAnnouncingTooMuchDropsTheClient) {
    Client a = Enter(1, 1);
    MSG_HEAD head;
    head.type = MSG_MOVE;
    head.length = 65537;
    const auto wire = head.Encode(a.sequence + 1);
    server.OnData(1, wire.data(), wire.size(), now);
    EXPECT_EQ(output.closed.count(1), 1u);
    EXPECT_EQ(server.ClientCount(), 0u);
    EXPECT_EQ(server.Violations(), 1);
}

TEST_F(TableServerTest, DropsAClientSilentFor120Seconds) {
    Client a = Enter(1, 1);
    Client b = Enter(2, 1);
    now += 60000;
    Send(b, b.Frame(MSG_KEEP_ALIVE, {}));
    now += 59999;
    server.OnTick(now);
    EXPECT_TRUE(output.closed.empty());
    now += 1;
    server.OnTick(now);
    EXPECT_EQ(output.closed, std::set<int>{1});
    EXPECT_EQ(server.ClientCount(), 1u);
    (void)a;
}

} // namespace
} // namespace kelo
