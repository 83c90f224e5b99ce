// SPDX-License-Identifier: GPL-3.0-or-later
// The table client of a window with a chat: the chat and the list of people take the server's
// messages after the game objects, in the one order the client keeps.
#include "app/CGameContext.h"
#include "app/CMainViewModel.h"
#include "link/CTableLink.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "social/CZynPersonListImp.h"
#include "social/IChatSink.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelo {
namespace {

class Lines : public IChatSink {
public:
    void AddSystemLine(const std::string& text, uint32_t) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

struct WindowTable {
    WindowTable() {
        CPlayerManager& people = context.PlayerManager();
        people.SetSeatCount(2);
        people.AddPerson(test::MakePerson(100, "alice", 0));
        people.AddPerson(test::MakePerson(200, "bob", 1));
        people.AddPerson(test::MakePerson(300, "carol", 0, 5));
        people.SetOwnId(100);
        link = std::make_unique<CTableLink>(context.CommunicationLayer(), context.Prompts(), loop,
                                            socket);
        const CTableClient::Social social{chat, [] { return true; }};
        model = std::make_unique<CMainViewModel>(context, loop,
                                                 CMainViewModel::Ports{.social = &social});
        model->RegisterSinks(*link);
    }
    bool Listed(const char* name) {
        const auto& rows = model->Client().PersonList()->Rows();
        return std::any_of(rows.begin(), rows.end(),
                           [name](const PERSON& row) { return std::string(row.username) == name; });
    }
    CGameContext context;
    test::ManualEventLoop loop;
    test::FakeSocketControl socket;
    Lines chat;
    std::unique_ptr<CTableLink> link;
    std::unique_ptr<CMainViewModel> model;
};

TEST(TableClient, TheChatNamesADepartingWatcherBeforeTheListForgetsThem) {
    WindowTable table;
    // The people the hall named are listed from the start.
    EXPECT_TRUE(table.Listed("carol"));
    std::vector<uint8_t> body(10);
    wire::PutU32(body.data(), 300);
    table.link->Registry().HandOn(MSG_LEAVE_WATCH, body.data(), static_cast<uint32_t>(body.size()));
    table.loop.RunPending();
    EXPECT_EQ(table.chat.lines, std::vector<std::string>{"carol 离开了!"});
    EXPECT_FALSE(table.Listed("carol"));
}

TEST(TableClient, AWindowWithoutAChatHasNoPeopleHandlers) {
    CGameContext context;
    test::ManualEventLoop loop;
    CMainViewModel model(context, loop, {});
    EXPECT_EQ(model.Client().ChatLines(), nullptr);
    EXPECT_EQ(model.Client().PersonList(), nullptr);
}

} // namespace
} // namespace kelo
