// SPDX-License-Identifier: GPL-3.0-or-later
// Two table clients, each with the real socket control and link, at one desk of the reference
// server on loopback.

#include "QtWait.h"

#include "app/CGameContext.h"
#include "link/CCommunicationLayer.h"
#include "link/CTableLink.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_HEAD.h"
#include "link/MessageTypes.h"
#include "link/qt/SocketControl.h"
#include "ports/qt/CQtEventLoop.h"
#include "support/RecordingSink.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace kelo::test {
namespace {

// Passes everything on to the real control, and can damage one byte of the next frame sent.
class DamagingSocket : public ISocketControl {
public:
    explicit DamagingSocket(ISocketControl& real) : m_real(real) {}
    void SetEvents(ISocketEvents* events) override { m_real.SetEvents(events); }
    void CloseSocket() override { m_real.CloseSocket(); }
    bool Connect(const std::string& host, int32_t port) override {
        return m_real.Connect(host, port);
    }
    bool SendData(const uint8_t* data, size_t count) override {
        std::vector<uint8_t> bytes(data, data + count);
        if (damageAt != 0 && damageAt < count) {
            bytes[damageAt] ^= 0x5A;
            damageAt = 0;
        }
        return m_real.SendData(bytes.data(), bytes.size());
    }
    void UseProxy(int16_t kind, const std::string& host, int32_t port) override {
        m_real.UseProxy(kind, host, port);
    }
    void UseProxyAuth(int16_t kind, const std::string& host, int32_t port, const std::string& user,
                      const std::string& password) override {
        m_real.UseProxyAuth(kind, host, port, user, password);
    }
    bool RecvData(size_t count) override { return m_real.RecvData(count); }

    size_t damageAt = 0;

private:
    ISocketControl& m_real;
};

// One table client: it enters desk 5 as soon as the connection is open.
class Client : public CTableLink::IObserver {
public:
    Client(CQtEventLoop& loop, uint32_t id, uint16_t seat)
        : m_nId(id), m_nSeat(seat),
          link(context.CommunicationLayer(), context.Prompts(), loop, socket) {
        context.Mode().SetLocalMode(false);
        link.SetObserver(this);
        link.RegisterSink(&sink);
    }
    void OnConnect(int16_t result) override {
        if (result != 1)
            return;
        MSG_ENTER_TABLE_BODY enter;
        enter.id = m_nId;
        enter.deskno = 5;
        enter.seatno = m_nSeat;
        enter.watchno = 0xFFFF; // a seated player watches nobody
        context.CommunicationLayer().Send(MSG_ENTER_TABLE, enter);
    }
    void OnConnectionLost() override { ++lost; }
    size_t Count(uint16_t type) const {
        return static_cast<size_t>(std::count_if(sink.seen.begin(), sink.seen.end(),
                                                 [&](const Seen& s) { return s.type == type; }));
    }

private:
    uint32_t m_nId;
    uint16_t m_nSeat;

public:
    CGameContext context;
    SocketControl control;
    DamagingSocket socket{control};
    CTableLink link;
    RecordingSink sink;
    int lost = 0;
};

// A chat body naming its sender as the server would (id, seat, watch number 0xFFFF, the head's
// integers little-endian), so that the relayed body is the sent one byte for byte.
std::vector<uint8_t> ChatLine(uint32_t id, uint16_t seat, const std::string& text) {
    std::vector<uint8_t> body(48, 0);
    for (int i = 0; i < 4; ++i)
        body[i] = static_cast<uint8_t>(id >> (8 * i));
    body[4] = static_cast<uint8_t>(seat);
    body[5] = static_cast<uint8_t>(seat >> 8);
    body[6] = body[7] = 0xFF;
    body.insert(body.end(), text.begin(), text.end());
    body.push_back(0);
    return body;
}

class TableServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        server.setProgram(QStringLiteral(KELO_TABLE_SERVER));
        server.setArguments({"--port", "0"});
        server.setReadChannel(QProcess::StandardOutput);
        server.start();
        ASSERT_TRUE(server.waitForStarted(10000));
        ASSERT_TRUE(WaitFor([&] { return ReadLines() && port != 0; }));
    }
    void TearDown() override {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished(10000);
        }
    }
    // Takes in the server's output; true always, for use inside a wait.
    bool ReadLines() {
        while (server.canReadLine()) {
            const QString line = QString::fromUtf8(server.readLine()).trimmed();
            lines << line;
            if (line.startsWith("listening 127.0.0.1:"))
                port = line.section(':', 1).toInt();
            if (line.startsWith("violation"))
                ++violations;
        }
        return true;
    }
    void Send(Client& client, uint16_t type, const std::vector<uint8_t>& body) {
        client.context.CommunicationLayer().SendMessage(type, body.data(), body.size());
    }
    // The body as the other clients get it: the sender's bytes followed by its body digest.
    static std::vector<uint8_t> BodyOf(const Seen& seen, size_t length) {
        return {seen.body.begin(), seen.body.begin() + std::min(length, seen.body.size())};
    }

    CQtEventLoop loop;
    QProcess server;
    QStringList lines;
    int port = 0;
    int violations = 0;
};

TEST_F(TableServerTest, TwoClientsAtOneDeskShareEveryMessageAndADamagedFrameIsCounted) {
    Client a(loop, 1001, 0);
    Client b(loop, 1002, 1);
    a.control.Connect("127.0.0.1", port);
    b.control.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] {
        return a.context.CommunicationLayer().SequenceMode() &&
               b.context.CommunicationLayer().SequenceMode();
    })) << lines.join('\n').toStdString();

    // Chat goes to everybody at the desk whatever the game, so it shows the relay alone.
    const std::vector<uint8_t> line = ChatLine(1001, 0, std::string(20, '1'));
    const std::vector<uint8_t> chat = ChatLine(1002, 1, "ni hao");
    Send(a, MSG_TABLE_CHAT, line);
    Send(b, MSG_TABLE_CHAT, chat);
    Send(a, MSG_DRAW_OFFER, {0, 0, 0, 12, 0, 0});
    ASSERT_TRUE(WaitFor([&] {
        return a.Count(MSG_DRAW_OFFER) == 1 && b.Count(MSG_DRAW_OFFER) == 1 &&
               a.Count(MSG_TABLE_CHAT) == 2 && b.Count(MSG_TABLE_CHAT) == 2;
    })) << (ReadLines(), lines.join(QChar(10)).toStdString());
    for (Client* client : {&a, &b}) {
        const auto& seen = client->sink.seen;
        auto it = std::find_if(seen.begin(), seen.end(), [&](const Seen& s) {
            return s.type == MSG_TABLE_CHAT && s.length == line.size() + 17;
        });
        ASSERT_NE(it, seen.end()); // relayed unchanged, body digest included
        EXPECT_EQ(BodyOf(*it, line.size()), line);
        it = std::find_if(seen.begin(), seen.end(), [&](const Seen& s) {
            return s.type == MSG_TABLE_CHAT && BodyOf(s, chat.size()) == chat;
        });
        EXPECT_NE(it, seen.end());
    }
    ReadLines();
    EXPECT_EQ(violations, 0) << lines.join('\n').toStdString();

    // One byte of the next line's body is damaged on its way out.
    a.socket.damageAt = MSG_HEAD::SIZE + 3;
    Send(a, MSG_TABLE_CHAT, line);
    ASSERT_TRUE(WaitFor([&] { return ReadLines() && violations == 1; }))
        << lines.join('\n').toStdString();
    // The exchange goes on: the next message is accepted and relayed.
    Send(a, MSG_TABLE_CHAT, line);
    ASSERT_TRUE(
        WaitFor([&] { return a.Count(MSG_TABLE_CHAT) == 3 && b.Count(MSG_TABLE_CHAT) == 3; }));

    server.terminate();
    ASSERT_TRUE(server.waitForFinished(10000));
    ReadLines();
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(violations, 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("stopped, 1 violations")) << lines.join('\n').toStdString();
    EXPECT_EQ(a.lost + b.lost, 0);
}

} // namespace
} // namespace kelo::test
