// SPDX-License-Identifier: GPL-3.0-or-later
// A client that asked for a seat someone else holds watches: the server says so with the user's
// own status (3002: its id, then 0 and 0), and the whole client follows, its buttons too.
#include "app/CGameContext.h"
#include "app/CMainFrame.h"
#include "app/CMainViewModel.h"
#include "app/IMainFrameHost.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/StreamFeeder.h"
#include "support/TestSupport.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

struct QuietHost : IMainFrameHost {
    void CloseWindow(TableClose) override { ++closes; }
    void SaveGame(int) override {}
    void OpenExitDialog(bool, uint16_t, const std::string&) override {}
    void AddSystemLine(const std::string&, uint32_t) override {}
    int closes = 0;
};

// alice (id 100) asked for White's seat 0, which bob (id 200) holds too as far as the server
// knows; the start information of the desk follows.
TEST(TakenSeat, TheOwnStatusWithZerosMakesTheClientAWatcher) {
    using Ids = std::vector<int32_t>;
    // 662: first colour 0, first seat 0, take-backs used 0, 1800 s, 60 s a move, 10 s added,
    // 3 take-backs allowed, 4 more bytes.
    const std::vector<uint8_t> startInfo{0,    0, 0,    0, 0, 0, 0x07, 0x08, 0,
                                         0x3C, 0, 0x0A, 0, 3, 0, 0,    0,    0};
    for (const bool toldToWatch : {false, true}) {
        CGameContext context;
        test::ScriptedPrompts prompts;
        test::ManualEventLoop loop;
        test::FakeSocketControl socket;
        QuietHost host;
        context.Mode().SetLocalMode(false);
        context.SetPrompts(&prompts);
        CPlayerManager& people = context.PlayerManager();
        people.SetSeatCount(2);
        PERSON alice = test::MakePerson(100, "alice", 0);
        alice.watchno = -1;
        people.AddPerson(alice);
        people.AddPerson(test::MakePerson(200, "bob", 1));
        people.SetOwnId(100);
        CMainFrame frame{context, loop, socket, host};
        CMainViewModel model(context, loop, {});
        model.RegisterSinks(frame.Link());
        test::StreamFeeder feeder{socket, loop};
        frame.Connect();
        feeder.Restart();
        frame.Link().OnConnect(1);
        auto server = [&](uint16_t type, const std::vector<uint8_t>& body) {
            feeder.Stream(frame::BuildServerFrame(type, body.data(), body.size(), 1));
        };
        if (toldToWatch)
            server(MSG_USER_STATUS, {0, 0, 0, 100, 0, 0, 0, 0});
        server(MSG_START_INFO, startInfo);
        EXPECT_EQ(context.Mode().IsWatcher(), toldToWatch);
        const Ids player{CButtonBoard::ID_START, CButtonBoard::ID_EXCHANGE};
        EXPECT_EQ(model.ButtonBoard().EnabledIds(), toldToWatch ? Ids{} : player);
        EXPECT_EQ(host.closes, 0);
    }
}

} // namespace
} // namespace kelo
