// SPDX-License-Identifier: GPL-3.0-or-later
// The chat and the list of people on screen, offscreen: what is typed goes to the game server
// through the link, received lines show in their colour, and a double click on a person
// addresses them in the input line.
#include "app/CGameContext.h"
#include "app/CTableClient.h"
#include "base/CGbkConverter.h"
#include "base/qt/SkinQt.h"
#include "link/CCommunicationLayer.h"
#include "link/CTableLink.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_TABLE_CHAT.h"
#include "link/MessageTypes.h"
#include "social/CZynChatImp.h"
#include "social/CZynPersonListImp.h"
#include "social/qt/CChatWnd.h"
#include "social/qt/CPersonListWnd.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/QuietResumeDialogs.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"
#include "table/CPlayerManager.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

namespace kelo {
namespace {

// The table's own lines go to the chat, as in the window.
struct TableLines : IChatSink {
    void AddSystemLine(const std::string& text, uint32_t colour) override {
        if (chat != nullptr)
            chat->AddSystemLine(text, colour);
    }
    CZynChatImp* chat = nullptr;
};

// A watcher's table client with its link open on a fake socket, and the two windows on the
// client's chat lines and list of people.
struct SocialWindows {
    SocialWindows() {
        PERSON alice = test::MakePerson(100, "alice", 0);
        alice.watchno = -1;
        PERSON carol = test::MakePerson(300, "carol", 0, 5);
        carol.watchno = 2;
        context.PlayerManager().AddPerson(alice);
        context.PlayerManager().AddPerson(carol);
        context.PlayerManager().SetOwnId(300);
        link.OnConnect(1);
        // Made once the hall's people are known: the client lists them as it is made.
        client = std::make_unique<CTableClient>(
            context, loop, CTableClient::Ports{.resumeDialogs = dialogs, .social = &social});
        client->Attach(link.Registry());
        lines.chat = client->ChatLines();
        chatWnd = std::make_unique<CChatWnd>(Chat());
        listWnd = std::make_unique<CPersonListWnd>(List());
        chatWnd->resize(220, 120);
        listWnd->resize(220, 80);
        chatWnd->show();
        listWnd->show();
    }
    ~SocialWindows() { context.SetPrompts(nullptr); }
    CZynChatImp& Chat() { return *client->ChatLines(); }
    CZynPersonListImp& List() { return *client->PersonList(); }

    // The application comes before the windows.
    QApplication& app = test::TestApp();
    CGameContext context;
    // At a server, before the windows look at the mode.
    bool networked = (context.Mode().SetLocalMode(false), true);
    test::FakeSocketControl socket;
    test::ManualEventLoop loop;
    CTableLink link{context.CommunicationLayer(), context.Prompts(), loop, socket};
    test::QuietResumeDialogs dialogs;
    TableLines lines;
    const CTableClient::Social social{
        lines, [this] { return context.CommunicationLayer().IsConnected(); }};
    std::unique_ptr<CTableClient> client;
    std::unique_ptr<CChatWnd> chatWnd;
    std::unique_ptr<CPersonListWnd> listWnd;
};

TEST(SocialWindows, TheChatSendsWhatIsTyped) {
    SocialWindows t;
    const size_t before = t.socket.sent.size();
    QTest::keyClicks(t.chatWnd->InputLine(), QStringLiteral("hello "));
    t.chatWnd->InputLine()->insert(QStringLiteral("你好")); // as an input method puts it
    QTest::keyClick(t.chatWnd->InputLine(), Qt::Key_Return);

    ASSERT_EQ(t.socket.sent.size(), before + 1);
    const std::vector<uint8_t>& frame = t.socket.sent.back();
    const MSG_HEAD head = MSG_HEAD::Decode(frame.data());
    // Before the server starts the numbered exchange the chat goes as the older type.
    EXPECT_EQ(head.type, MSG_TABLE_CHAT_OLD);
    MSG_TABLE_CHAT_BODY chatHead;
    ASSERT_TRUE(MSG_TABLE_CHAT_BODY::FromWire(frame.data() + MSG_HEAD::SIZE,
                                              frame.size() - MSG_HEAD::SIZE, chatHead));
    EXPECT_EQ(chatHead.id, 300u);
    EXPECT_EQ(chatHead.watchno, 2);
    const char* line =
        reinterpret_cast<const char*>(frame.data() + MSG_HEAD::SIZE + MSG_TABLE_CHAT_BODY::SIZE);
    EXPECT_EQ(CGbkConverter::ToUtf8(line), "carol(carol[旁观])说：hello 你好");
    EXPECT_TRUE(t.chatWnd->InputLine()->text().isEmpty());
}

TEST(SocialWindows, LinesInTheirColourAndPeopleAddressed) {
    SocialWindows t;
    t.Chat().AddSystemLine("正在断线重连，请稍后……", CHAT_SYSTEM_COLOUR);
    MSG_TABLE_CHAT_BODY head;
    head.colour = 0x00008000;
    const auto wire = head.ToWire();
    std::vector<uint8_t> body(wire.begin(), wire.end());
    const std::string text = CGbkConverter::ToGbk("alice(alice)说：hi");
    body.insert(body.end(), text.begin(), text.end());
    body.push_back(0);
    t.link.Registry().HandOn(MSG_TABLE_CHAT, body.data(), static_cast<uint32_t>(body.size()));
    t.loop.RunPending();

    QTextDocument* lines = t.chatWnd->Transcript()->document();
    ASSERT_EQ(lines->blockCount(), 2);
    const QTextBlock first = lines->firstBlock();
    EXPECT_EQ(first.text(), QStringLiteral("正在断线重连，请稍后……"));
    EXPECT_EQ(first.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    const QTextBlock second = first.next();
    EXPECT_EQ(second.text(), QStringLiteral("alice(alice)说：hi"));
    EXPECT_EQ(second.begin().fragment().charFormat().foreground().color(), QColor(0, 128, 0));

    // The people: the players first, the own row marked; a double click addresses the person.
    ASSERT_EQ(t.listWnd->topLevelItemCount(), 2);
    EXPECT_EQ(t.listWnd->topLevelItem(0)->text(0), QStringLiteral("alice"));
    // Without a skin the list keeps its fixed colours; the own row stands out from the rest.
    EXPECT_EQ(t.listWnd->topLevelItem(1)->background(0).color(),
              ToQColor(t.List().GetColours().selfBack));
    EXPECT_NE(t.List().GetColours().selfBack, t.List().GetColours().back);
    const QRect row = t.listWnd->visualItemRect(t.listWnd->topLevelItem(0));
    QTest::mouseClick(t.listWnd->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(t.listWnd->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(t.chatWnd->InputLine()->text(), QStringLiteral("alice[alice],"));
}

} // namespace
} // namespace kelo
