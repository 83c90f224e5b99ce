// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's notices and questions as the window shows them, offscreen: a user's failed
// connection in the table's question box, the server's end of the table in the information
// dialog that closes itself, and the question about an opponent who dropped out in a message box
// with OK and Cancel.
#include "app/CGameContext.h"
#include "app/CMainFrame.h"
#include "app/IMainFrameHost.h"
#include "app/qt/CQtPrompts.h"
#include "link/MSG_HEAD.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/StreamFeeder.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"
#include "table/qt/CDialogVerify.h"
#include "table/qt/CNegotiationDlg.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kelo {
namespace {

class QuietHost : public IMainFrameHost {
public:
    void AddSystemLine(const std::string& text, uint32_t) override { lines.push_back(text); }
    void CloseWindow(TableClose) override { ++closes; }
    void SaveGame(int mode) override { saves.push_back(mode); }
    void OpenExitDialog(bool, uint16_t, const std::string&) override {}
    std::vector<std::string> lines;
    int closes = 0;
    std::vector<int> saves;
};

// Alice (id 100, seat 0) at a server's table with bob (id 200, seat 1), asked through the
// window's prompts.
class MainFrameDialogsTest : public ::testing::Test {
protected:
    MainFrameDialogsTest() {
        test::TestApp();
        context.Mode().SetLocalMode(false);
        context.SetPrompts(&prompts);
        CPlayerManager& people = context.PlayerManager();
        people.SetSeatCount(2);
        people.AddPerson(test::MakePerson(100, "alice", 0));
        people.AddPerson(test::MakePerson(200, "bob", 1));
        people.SetOwnId(100);
        frame.Connect();
        frame.Link().OnConnect(1);
        Server(MSG_TABLE_PERSONS, {});
    }
    void Server(uint16_t type, const std::vector<uint8_t>& body) {
        feeder.Stream(frame::BuildServerFrame(type, body.data(), body.size(), 1));
    }
    // Runs what is given on the modal window as soon as it is open; a window that is still
    // open afterwards (the wrong one) is cancelled, so that a failure never hangs the test.
    static void OnModal(std::function<void(QWidget&)> act) {
        QTimer::singleShot(0, [act] {
            QPointer<QWidget> modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            act(*modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal.data()); dialog && dialog->isVisible())
                dialog->reject();
        });
    }

    CGameContext context;
    test::ManualEventLoop loop;
    CQtPrompts prompts{QStringLiteral("国际象棋"), loop, QImage()};
    test::FakeSocketControl socket;
    QuietHost host;
    CMainFrame frame{context, loop, socket, host};
    test::StreamFeeder feeder{socket, loop};
};

// 3003 with result 0 (at 2) for bob (id at 8).
TEST_F(MainFrameDialogsTest, AFailedConnectionOfAUserIsAskedInTheQuestionBox) {
    bool shown = false;
    OnModal([&](QWidget& modal) {
        auto* verify = dynamic_cast<CDialogVerify*>(&modal);
        ASSERT_NE(verify, nullptr);
        shown = true;
        EXPECT_EQ(verify->windowTitle(), "确认窗口");
        EXPECT_EQ(verify->Title(), "确认提示");
        EXPECT_EQ(verify->TextLines(), QStringList{"用户\"bob\"连接失败，游戏结束！"});
        EXPECT_EQ(test::ButtonLabels(*verify), (QStringList{"确定", "取消"}));
        EXPECT_EQ(host.closes, 0) << "the table waits for the box";
        test::ButtonNamed(*verify, "取消")->click();
    });
    Server(MSG_USER_CONNECT, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 200});
    EXPECT_TRUE(shown);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// 3026 for bob (id at 0) with reason 1 (at 6), during a game: nobody clicks, the notice counts
// its 20 s down and closes, and then the game is saved and the table closed.
TEST_F(MainFrameDialogsTest, TheServersEndOfTheTableClosesItsNoticeByItself) {
    context.State().BeginPlaying();
    QPointer<CNegotiationDlg> notice;
    OnModal([&](QWidget& modal) {
        notice = dynamic_cast<CNegotiationDlg*>(&modal);
        ASSERT_FALSE(notice.isNull());
        EXPECT_EQ(notice->windowTitle(), "提示");
        EXPECT_EQ(notice->TextLines(), QStringList{"[20]用户“bob”强行退出,游戏结束!"});
        loop.Advance(19000);
        EXPECT_EQ(notice->TextLines(), QStringList{"[1]用户“bob”强行退出,游戏结束!"});
        EXPECT_TRUE(host.saves.empty());
        loop.Advance(1000);
    });
    Server(MSG_LEAVE_TABLE, {0, 0, 0, 200, 0, 0, 0, 1});
    EXPECT_EQ(loop.Now(), 20000u);
    EXPECT_EQ(host.saves, std::vector<int>{1});
    EXPECT_EQ(host.closes, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(notice.isNull() || !notice->isVisible());
}

// Closing while the opponent's connection is broken asks in a message box with OK and Cancel,
// the question icon and the program's caption; Cancel stays, OK leaves the table.
TEST_F(MainFrameDialogsTest, WaitingForABrokenOpponentIsAnOkCancelQuestion) {
    context.State().BeginPlaying();
    context.State().MarkOpponentBroken();
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        socket.sent.clear();
        bool shown = false;
        OnModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            ASSERT_NE(box, nullptr);
            shown = true;
            EXPECT_EQ(box->windowTitle(), "国际象棋");
            EXPECT_EQ(box->text(), "对方断线了，您确定不再等待一会了么？");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            box->button(button)->click();
        });
        const bool closes = frame.OnClose();
        EXPECT_TRUE(shown);
        EXPECT_EQ(closes, button == QMessageBox::Ok);
        // The leave goes out only on OK (before the numbered exchange, in its older form).
        ASSERT_EQ(socket.sent.size(), closes ? 1u : 0u);
        if (closes) {
            EXPECT_EQ(MSG_HEAD::Decode(socket.sent[0].data()).type, MSG_LEAVE_SEAT);
        }
    }
}

} // namespace
} // namespace kelo
