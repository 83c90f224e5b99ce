// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtWait.h"
#include "RecordingSocketEvents.h"

#include "link/qt/SocketControl.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kelo::test {
namespace {

using Events = RecordingSocketEvents;

// A socket control connected to a loopback peer that the test writes with.
class SocketControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        control.SetEvents(&events);
        control.Connect("127.0.0.1", server.serverPort());
        ASSERT_TRUE(WaitFor([&] { return server.hasPendingConnections(); }));
        peer.reset(server.nextPendingConnection());
        ASSERT_TRUE(WaitFor([&] { return !events.connects.empty(); }));
        ASSERT_EQ(events.connects, std::vector<int16_t>{1});
    }
    void PeerWrite(const std::vector<uint8_t>& bytes) {
        peer->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        peer->flush();
    }

    QTcpServer server;
    SocketControl control;
    Events events;
    std::unique_ptr<QTcpSocket> peer;
};

std::vector<uint8_t> Stream(size_t n) {
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint8_t>(i * 7 + 3);
    return out;
}

TEST_F(SocketControlTest, DeliversExactlyTheBlocksAskedForWhateverTheTcpPieces) {
    const auto bytes = Stream(32 + 5 + 3000 + 1);
    const size_t asks[] = {32, 5, 3000, 1};
    // The peer writes a byte at a time at first, then in one large piece.
    control.RecvData(asks[0]);
    for (size_t i = 0; i < 40; ++i) {
        PeerWrite({bytes[i]});
        Settle(2);
    }
    PeerWrite({bytes.begin() + 40, bytes.end()});
    size_t offset = 0;
    for (size_t n = 0; n < 4; ++n) {
        if (n > 0)
            control.RecvData(asks[n]);
        ASSERT_TRUE(WaitFor([&] { return events.blocks.size() == n + 1; })) << n;
        EXPECT_EQ(events.blocks[n],
                  std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + asks[n]));
        offset += asks[n];
    }
}

TEST_F(SocketControlTest, NothingIsDeliveredThatWasNotAskedFor) {
    PeerWrite(Stream(64));
    control.RecvData(32);
    ASSERT_TRUE(WaitFor([&] { return events.blocks.size() == 1; }));
    Settle();
    EXPECT_EQ(events.blocks.size(), 1u);
    // A close forgets the open question and the queued bytes.
    control.RecvData(32);
    control.CloseSocket();
    Settle();
    EXPECT_EQ(events.blocks.size(), 1u);
}

TEST_F(SocketControlTest, APeersCloseIsToldOnceAfterTheBlocksThatArrivedBeforeIt) {
    const auto bytes = Stream(48);
    PeerWrite(bytes);
    peer->disconnectFromHost();
    control.RecvData(16);
    ASSERT_TRUE(WaitFor([&] { return events.blocks.size() == 1; }));
    Settle();
    // Nothing is asked for while the first block is handled: the close waits.
    EXPECT_EQ(events.closes, 0);
    control.RecvData(32);
    ASSERT_TRUE(WaitFor([&] { return events.blocks.size() == 2; }));
    EXPECT_EQ(events.blocks[1], std::vector<uint8_t>(bytes.begin() + 16, bytes.end()));
    EXPECT_EQ(events.closes, 0);
    // The next block can no longer come.
    control.RecvData(8);
    ASSERT_TRUE(WaitFor([&] { return events.closes == 1; }));
    control.RecvData(8);
    Settle();
    EXPECT_EQ(events.closes, 1);
    EXPECT_EQ(events.blocks.size(), 2u);
}

TEST_F(SocketControlTest, ACloseByTheTableIsNotToldBack) {
    control.RecvData(8);
    control.CloseSocket();
    peer->disconnectFromHost();
    Settle();
    EXPECT_EQ(events.closes, 0);
}

TEST_F(SocketControlTest, SendsReachThePeerAndNeedAConnection) {
    const auto bytes = Stream(100);
    EXPECT_TRUE(control.SendData(bytes.data(), bytes.size()));
    QByteArray got;
    ASSERT_TRUE(WaitFor([&] {
        got += peer->readAll();
        return got.size() >= 100;
    }));
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.end()), bytes);
    control.CloseSocket();
    EXPECT_FALSE(control.SendData(bytes.data(), bytes.size()));
    EXPECT_FALSE(control.RecvData(0));
    EXPECT_FALSE(control.RecvData(SocketControl::MAX_BLOCK + 1));
}

TEST(SocketControlConnect, AFailedAttemptAnswersZero) {
    TestApplication();
    quint16 port = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
        port = closed.serverPort();
    }
    SocketControl control;
    Events events;
    control.SetEvents(&events);
    control.Connect("127.0.0.1", port);
    EXPECT_TRUE(events.connects.empty()); // never from inside the call
    ASSERT_TRUE(WaitFor([&] { return !events.connects.empty(); }));
    EXPECT_EQ(events.connects, std::vector<int16_t>{0});
}

// A proxy with a port it cannot have fails the connection rather than going around the proxy.
TEST(SocketControlConnect, AProxyIsNeverBypassed) {
    TestApplication();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    SocketControl control;
    Events events;
    control.SetEvents(&events);
    control.UseProxy(1, "127.0.0.1", -25536);
    control.Connect("127.0.0.1", server.serverPort());
    ASSERT_TRUE(WaitFor([&] { return !events.connects.empty(); }));
    EXPECT_EQ(events.connects, std::vector<int16_t>{0});
    EXPECT_FALSE(server.hasPendingConnections());

    control.UseProxy(0, "", 0); // no proxy: direct
    control.Connect("127.0.0.1", server.serverPort());
    ASSERT_TRUE(WaitFor([&] { return events.connects.size() == 2; }));
    EXPECT_EQ(events.connects.back(), 1);
}

TEST(SocketControlProxy, KindsMapOntoQtProxies) {
    const struct {
        int16_t kind;
        const char* user;
        QNetworkProxy::ProxyType type;
    } cases[] = {{1, "", QNetworkProxy::HttpProxy},    {2, "", QNetworkProxy::Socks5Proxy},
                 {3, "u", QNetworkProxy::Socks5Proxy}, {4, "", QNetworkProxy::Socks5Proxy},
                 {4, "u", QNetworkProxy::Socks5Proxy}, {0, "", QNetworkProxy::NoProxy},
                 {9, "u", QNetworkProxy::NoProxy}};
    for (const auto& c : cases) {
        const QNetworkProxy proxy =
            SocketControl::ProxyFor(c.kind, "proxy.example", 1080, c.user, "pw");
        EXPECT_EQ(proxy.type(), c.type) << c.kind;
        if (c.type != QNetworkProxy::NoProxy) {
            EXPECT_EQ(proxy.hostName(), "proxy.example");
            EXPECT_EQ(proxy.port(), 1080);
            EXPECT_EQ(proxy.user(), QString(c.user));
        }
    }
    EXPECT_EQ(SocketControl::ProxyFor(1, "proxy.example", 70000, "", "").type(),
              QNetworkProxy::NoProxy);
}

} // namespace
} // namespace kelo::test
