// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtWait.h"
#include "RecordingSocketEvents.h"

#include "link/qt/CDeferredSocketControl.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kelo::test {
namespace {

using Events = RecordingSocketEvents;

// The network module is loaded by the first connection, not before: closing or sending on a
// table that never connected loads nothing. Events given before the load reach the connection
// made from the module, and the stream flows both ways through it.
TEST(DeferredSocketControl, TheModuleComesWithTheFirstConnection) {
    TestApplication();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    CDeferredSocketControl control({QStringLiteral(KELO_LINK_MODULE)});
    Events events;
    control.SetEvents(&events);
    control.CloseSocket();
    const uint8_t hello[] = {1, 2, 3};
    EXPECT_FALSE(control.SendData(hello, sizeof hello));
    EXPECT_FALSE(control.Loaded());

    ASSERT_TRUE(control.Connect("127.0.0.1", server.serverPort()));
    EXPECT_TRUE(control.Loaded());
    ASSERT_TRUE(WaitFor([&] { return server.hasPendingConnections(); }));
    std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
    ASSERT_TRUE(WaitFor([&] { return !events.connects.empty(); }));
    EXPECT_EQ(events.connects, std::vector<int16_t>{1});

    EXPECT_TRUE(control.SendData(hello, sizeof hello));
    ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() == 3; }));
    peer->write("\x07\x08", 2);
    peer->flush();
    EXPECT_TRUE(control.RecvData(2));
    ASSERT_TRUE(WaitFor([&] { return !events.blocks.empty(); }));
    EXPECT_EQ(events.blocks[0], (std::vector<uint8_t>{7, 8}));
}

// Without the module the table cannot connect, and says so as an unreachable server would; it
// neither stops nor looks for the module again at every attempt.
TEST(DeferredSocketControl, WithoutTheModuleEveryAttemptFails) {
    TestApplication();
    CDeferredSocketControl control({QStringLiteral(KELO_LINK_MODULE) + "-missing"});
    control.UseProxy(4, "127.0.0.1", 1080);
    Events events;
    control.SetEvents(&events);
    EXPECT_FALSE(control.Connect("127.0.0.1", 1));
    EXPECT_FALSE(control.Connect("127.0.0.1", 1));
    EXPECT_TRUE(events.connects.empty()) << "answered after the call, never inside it";
    ASSERT_TRUE(WaitFor([&] { return events.connects.size() == 2; }));
    EXPECT_EQ(events.connects, (std::vector<int16_t>{0, 0}));
    EXPECT_FALSE(control.RecvData(4));
    EXPECT_FALSE(control.Loaded());
}

} // namespace
} // namespace kelo::test
