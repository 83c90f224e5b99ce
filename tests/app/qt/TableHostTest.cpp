// SPDX-License-Identifier: GPL-3.0-or-later
// The table window as the hall opens it, offscreen, at a server whose link is up: closing it
// during a game opens the exit dialog, which holds the table until it is answered.
#include "app/CGameContext.h"
#include "app/CMainFrame.h"
#include "app/CMainViewModel.h"
#include "app/qt/CMainView.h"
#include "app/qt/CTableHost.h"
#include "base/ScratchFolder.h"
#include "link/CTableLink.h"
#include "link/MessageTypes.h"
#include "support/ChessBoard.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"
#include "table/CNegotiation.h"
#include "table/CPlayerManager.h"
#include "table/qt/CChessBoardWnd.h"
#include "table/qt/CNegotiationDlg.h"

#include <QTest>

#include <gtest/gtest.h>

namespace kelo {
namespace {

std::vector<CNegotiationDlg*> ShownExitDialogs() {
    std::vector<CNegotiationDlg*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = dynamic_cast<CNegotiationDlg*>(widget); dialog && dialog->isVisible())
            shown.push_back(dialog);
    return shown;
}

TEST(TableHost, TheExitDialogHoldsTheTableAndAFurtherCloseBringsItBack) {
    test::TestApp();
    // Settings and records of a home of its own; the test answers the questions.
    test::ScratchFolder home;
    qputenv("HOME", QByteArray::fromStdString(home.Folder()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.Folder() + "config"));
    qputenv("KELO_AUTO_ANSWER", "1");
    CGameContext context;
    test::ScriptedPrompts prompts;
    context.SetPrompts(&prompts);
    CPlayerManager& people = context.PlayerManager();
    people.SetSeatCount(2);
    people.AddPerson(test::MakePerson(100, "alice", 0));
    people.AddPerson(test::MakePerson(200, "bob", 1));
    people.SetOwnId(100);
    context.Mode().SetLocalMode(false);
    context.Mode().SetRole(TableRole::Player);

    CTableHost host(context);
    host.MarkDirectStart();
    host.ShowWindow();
    QCoreApplication::processEvents();
    // The server answers: the link is up, and alice plays White.
    host.Frame()->Link().OnConnect(1);
    const uint8_t begin[] = {0, 0, 0, 0};
    host.Frame()->Link().Registry().HandOn(MSG_GAME_BEGIN, begin, sizeof begin);
    QCoreApplication::processEvents();
    ASSERT_EQ(host.Frame()->LinkDown(), 0);
    ASSERT_TRUE(context.State().IsPlaying());

    CMainView& view = *host.View();
    CChessBoardWnd& board = *view.BoardWindow();
    const CBasePoint e2 = test::Square("e2");
    view.close();
    ASSERT_TRUE(view.isVisible());
    const auto opened = ShownExitDialogs();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]->windowModality(), Qt::WindowModal);
    // A click as the window system delivers it, on e2 of the board.
    const auto clickE2 = [&] {
        QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {},
                          board.mapTo(&view, board.SquareCentre(e2.x, e2.y)));
        QCoreApplication::processEvents();
    };
    // The board takes no click while the question is open.
    clickE2();
    EXPECT_FALSE(host.Model()->BoardWindow().Marks().pieceSelected);
    // A further close brings the same dialog back rather than a second one.
    view.close();
    EXPECT_EQ(ShownExitDialogs(), opened);
    EXPECT_EQ(host.Model()->Negotiation().OpenDialogCount(), 1u);

    // Cancelled, the table is the user's again.
    QPushButton* cancel = test::ButtonNamed(*opened[0], QStringLiteral("取消"));
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShownExitDialogs().empty());
    clickE2();
    EXPECT_TRUE(host.Model()->BoardWindow().Marks().pieceSelected);
    EXPECT_TRUE(view.isVisible());
    context.SetPrompts(nullptr);
}

} // namespace
} // namespace kelo
