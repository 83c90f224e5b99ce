// SPDX-License-Identifier: GPL-3.0-or-later
// The table window's help and spoken line, offscreen with both generated skins: the help
// button opens the installed page, the spoken line shows a long answer whole and goes when
// what it says no longer holds. KELO_SCREENSHOTS=FOLDER keeps a picture of each step.
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainViewModel.h"
#include "app/qt/CMainView.h"
#include "base/CSkinManager.h"
#include "base/qt/SkinQt.h"
#include "link/CTableLink.h"
#include "ports/IBrowser.h"
#include "support/ChessBoard.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"
#include "table/CButtonBoard.h"
#include "table/CNegotiation.h"
#include "table/CResultDialogModel.h"
#include "table/qt/CAnnouncer.h"
#include "table/qt/CBitmapViewer.h"
#include "table/qt/CButtonBoardWnd.h"
#include "table/qt/CChessBoardWnd.h"
#include "table/qt/CMoveBoxWnd.h"
#include "table/qt/CNegotiationDlg.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kelo {
namespace {

struct RecordingBrowser : IBrowser {
    bool Open(const std::string& address) override {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

// The user's answers come from the test; what the user is told is said on the spoken line as
// well, as the program's prompts do.
struct SpokenPrompts : test::ScriptedPrompts {
    void ShowNotice(const std::string& text) override {
        ScriptedPrompts::ShowNotice(text);
        if (view != nullptr)
            view->Announce(text, true);
    }
    void ShowInformation(const std::string& text, bool modal) override {
        ScriptedPrompts::ShowInformation(text, modal);
        if (view != nullptr)
            view->Announce(text, true);
    }
    CMainView* view = nullptr;
};

// A local table in a window with the generated skin of a screen width; its dialogs open over
// the window and say their texts there, as the program's table host does.
struct SkinnedTable : INegotiationHost {
    explicit SkinnedTable(int screenWidth) : m_nWidth(screenWidth) {
        test::TestApp();
        CLocalTable::Prepare(context);
        context.SetPrompts(&prompts);
        prompts.yesNoAnswer = true;
        skin.LoadSkin(KELO_DATA_FOLDER, screenWidth);
        link = std::make_unique<CTableLink>(context.CommunicationLayer(), context.Prompts(), loop,
                                            socket);
        model = std::make_unique<CMainViewModel>(context, loop,
                                                 CMainViewModel::Ports{.negotiationHost = this});
        model->RegisterSinks(*link);
        view = std::make_unique<CMainView>(*model, skin, nullptr);
        view->show();
        prompts.view = view.get();
        for (QObject* child : view->children())
            if (auto* found = dynamic_cast<CAnnouncer*>(child))
                spoken = found;
    }
    ~SkinnedTable() override {
        prompts.view = nullptr;
        view.reset();
        context.SetPrompts(nullptr);
    }
    void OpenDialog(CNegotiationDialog& dialog) override {
        auto* window = new CNegotiationDlg(dialog, view.get());
        view->AnnounceWhile(dialog.Text(), *window);
        window->show();
        dialogs.push_back(window);
    }
    void OpenResultDialog(const CResultDialogModel& result) override {
        view->Announce(result.Line().empty() ? std::string("本局结束") : result.Line(), true);
    }
    void ClickButton(int32_t id) {
        CBitmapViewer* button = view->ButtonBoardWindow()->Viewer(id);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
        loop.RunPending();
    }
    void Play(const char* from, const char* to) {
        CChessBoardWnd& board = *view->BoardWindow();
        for (const char* square : {from, to}) {
            const CBasePoint s = test::Square(square);
            QTest::mouseClick(&board, Qt::LeftButton, {}, board.SquareCentre(s.x, s.y));
            loop.RunPending();
        }
    }
    void Type(const char* text) {
        CMoveBoxWnd* box = view->MoveBoxWindow();
        box->setText(QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_Return);
        loop.RunPending();
    }
    void Picture(const std::string& step) const {
        const QString folder = qEnvironmentVariable("KELO_SCREENSHOTS");
        if (!folder.isEmpty())
            view->grab().save(folder + "/" + QString::number(m_nWidth < 1024 ? 800 : 1024) + "-" +
                              QString::fromStdString(step) + ".png");
    }

    int m_nWidth;
    CGameContext context;
    test::ManualEventLoop loop;
    test::FakeSocketControl socket;
    SpokenPrompts prompts;
    CSkinManager skin;
    std::unique_ptr<CTableLink> link;
    std::unique_ptr<CMainViewModel> model;
    std::unique_ptr<CMainView> view;
    CAnnouncer* spoken = nullptr;
    std::vector<QPointer<CNegotiationDlg>> dialogs;
};

const int SCREEN_WIDTHS[] = {1023, 1024};

TEST(TableWindowLines, TheHelpButtonAndF1OpenTheInstalledPage) {
    for (const int width : SCREEN_WIDTHS) {
        SkinnedTable table(width);
        RecordingBrowser browser;
        table.model->Commands().SetHelp(&browser, KELO_DATA_FOLDER);
        const CMainViewButtons& buttons = table.model->ViewButtons();
        ASSERT_TRUE(buttons.IsShown(CMainViewButtons::HELP)) << width;
        const QPoint help(buttons.ButtonAt(CMainViewButtons::HELP).rect.left + 10,
                          buttons.ButtonAt(CMainViewButtons::HELP).rect.top + 8);
        QTest::mouseClick(table.view.get(), Qt::LeftButton, {}, help);
        ASSERT_EQ(browser.opened.size(), 1u) << width;
        EXPECT_EQ(browser.opened[0], "file://" KELO_DATA_FOLDER "help/index.html") << width;
        table.view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(table.view.get())) << width;
        QTest::keyClick(table.view->BoardWindow(), Qt::Key_F1);
        EXPECT_EQ(browser.opened.size(), 2u) << width;
        EXPECT_TRUE(table.prompts.notices.empty()) << width;
    }
}

// No action button: what it would open (the magic actions) does not exist, so its place shows
// the window's background, not a button face without a caption.
TEST(TableWindowLines, NoActionButtonIsDrawn) {
    for (const int width : SCREEN_WIDTHS) {
        SkinnedTable table(width);
        const QImage shot = table.view->grab().toImage();
        const QImage back = LoadSkinImage(table.skin.m_strFrmBackPath);
        const QPoint centre = ToQRect(table.skin.m_rcActionButton).center();
        ASSERT_FALSE(back.isNull()) << width;
        EXPECT_EQ(shot.pixel(centre), back.pixel(centre)) << width;
        table.Picture("no-action-button");
    }
}

// The clocks' answer is the longest the move box gives: it is shown whole, on the band's two
// lines or in a box of its own below them, never cut.
TEST(TableWindowLines, AMoveBoxAnswerIsShownWhole) {
    for (const int width : SCREEN_WIDTHS) {
        SkinnedTable table(width);
        ASSERT_NE(table.spoken, nullptr);
        table.ClickButton(CButtonBoard::ID_START);
        table.Play("e2", "e4");
        table.Type("c");
        const QString answer = table.spoken->accessibleName();
        ASSERT_TRUE(answer.contains(QStringLiteral("黑方"))) << answer.toStdString();
        EXPECT_EQ(table.spoken->text(), answer) << width;
        EXPECT_LE(table.spoken->heightForWidth(table.spoken->width()), table.spoken->height())
            << width;
        // Below the board's top edge only as a box, over at most a third of the board.
        const QRect board = table.view->BoardWindow()->geometry();
        EXPECT_LT(table.spoken->geometry().bottom(), board.top() + board.height() / 3) << width;
        table.Picture("clocks-answer");
        table.Type("l");
        EXPECT_FALSE(table.spoken->Boxed()) << width;
        EXPECT_EQ(table.spoken->text(), QStringLiteral("上一步 白方 : Pe2--e4")) << width;
    }
}

TEST(TableWindowLines, TheSpokenLineGoesWhenItNoLongerHolds) {
    for (const int width : SCREEN_WIDTHS) {
        SkinnedTable table(width);
        table.ClickButton(CButtonBoard::ID_START);
        table.Play("e2", "e4");
        table.Play("e7", "e5");
        EXPECT_EQ(table.spoken->text(), QStringLiteral("黑方 : Pe7--e5")) << width;
        // A take-back: the undone move is not said any more, nor an answer about the clocks
        // before it.
        table.ClickButton(CButtonBoard::ID_TAKEBACK);
        ASSERT_EQ(table.context.Position().MoveCount(), 0u) << width;
        EXPECT_TRUE(table.spoken->text().isEmpty()) << table.spoken->text().toStdString();
        table.Picture("after-takeback");
        table.Play("e2", "e4");
        table.Play("e7", "e5");
        table.Type("c");
        EXPECT_TRUE(table.spoken->text().contains(QStringLiteral("已走 1步"))) << width;
        table.ClickButton(CButtonBoard::ID_TAKEBACK);
        EXPECT_TRUE(table.spoken->text().isEmpty()) << table.spoken->text().toStdString();

        // A draw offered, then not confirmed: the question goes with its dialog.
        table.Play("e2", "e4");
        table.Play("e7", "e5");
        table.ClickButton(CButtonBoard::ID_DRAW);
        ASSERT_EQ(table.dialogs.size(), 1u) << width;
        EXPECT_EQ(table.spoken->text(), QStringLiteral("您真的要和棋么？")) << width;
        table.Picture("draw-question");
        table.dialogs.back()->reject();
        table.loop.RunPending();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(table.dialogs.back().isNull()) << width;
        EXPECT_TRUE(table.spoken->text().isEmpty()) << table.spoken->text().toStdString();

        // A resignation ends the game; its ending stays until the next game begins.
        table.ClickButton(CButtonBoard::ID_RESIGN);
        ASSERT_FALSE(table.context.State().IsPlaying()) << width;
        const QString ending = table.spoken->text();
        EXPECT_FALSE(ending.isEmpty()) << width;
        table.Picture("ending");
        table.ClickButton(CButtonBoard::ID_START);
        ASSERT_TRUE(table.context.State().IsPlaying()) << width;
        EXPECT_NE(table.spoken->text(), ending) << width;
        EXPECT_TRUE(table.spoken->text().isEmpty()) << table.spoken->text().toStdString();
        table.Picture("next-game");
    }
}

} // namespace
} // namespace kelo
