// SPDX-License-Identifier: GPL-3.0-or-later
// The study window offscreen: its size and buttons, and the list, the buttons and clicks on the
// study board driving the board as a person uses them.
#include "base/CSkinManager.h"
#include "chess/CBasePiece.h"
#include "ports/ISoundPlayer.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "support/qt/QtTestSupport.h"
#include "table/qt/CChessBoardStudyWnd.h"
#include "table/qt/CChnBoardStudyImp.h"
#include "table/qt/CDialogManualWnd.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kelo {
namespace {

class NoSound : public ISoundPlayer {
public:
    void PlayWave(uint16_t) override {}
};

// A table with three moves played and a study window opened on it, without a skin folder.
struct StudyWindow : test::ChessTable {
    StudyWindow() {
        test::TestApp();
        people.SetSeatCount(2);
        StartPosition();
        PlayLine("e2e4 e7e5 g1f3");
        skin.LoadSkin("/nonexistent/kelo-skin/", 1280);
        window = std::make_unique<CDialogManualWnd>(position, people, loop, skin, &sound);
        window->show();
    }
    CChnChessBoardStudy& Board() { return window->Host().Board(); }
    CChessBoardStudyWnd& BoardWindow() { return window->Host().BoardWindow(); }
    void Press(const char* caption) {
        QPushButton* button = window->Button(QString::fromUtf8(caption));
        ASSERT_NE(button, nullptr) << caption;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void ClickSquare(const char* name) {
        QTest::mouseClick(&BoardWindow(), Qt::LeftButton, {},
                          BoardWindow().SquareCentre(test::Square(name)));
    }
    void ClickRow(int row) {
        QListWidget* list = window->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    size_t StudyMoves() { return Board().Diagram().MoveCount(); }

    NoSound sound;
    test::ManualEventLoop loop;
    CSkinManager skin;
    std::unique_ptr<CDialogManualWnd> window;
};

TEST(StudyWindow, TitleSizeAndButtons) {
    StudyWindow s;
    EXPECT_EQ(s.window->windowTitle(), QStringLiteral("棋谱研究"));
    EXPECT_EQ(s.window->parentWidget(), nullptr);
    EXPECT_EQ(s.BoardWindow().size(), QSize(360, 360));
    EXPECT_EQ(s.BoardWindow().pos(), QPoint(10, 10));
    EXPECT_EQ(s.window->size(), QSize(360 + 260, 360 + 20));
    EXPECT_FALSE(s.window->Host().isVisible());
    QStringList captions;
    for (const char* caption : {"刷新", "保存", "旋转", "上一步", "下一步", "自动", "关闭"}) {
        QPushButton* button = s.window->Button(QString::fromUtf8(caption));
        ASSERT_NE(button, nullptr) << caption;
        // Every button lies inside the window, in one column, none over the list or the board.
        EXPECT_TRUE(s.window->rect().contains(button->geometry())) << caption;
        EXPECT_FALSE(button->geometry().intersects(s.window->List()->geometry())) << caption;
        EXPECT_FALSE(button->geometry().intersects(s.BoardWindow().geometry())) << caption;
        EXPECT_EQ(button->isEnabled(), std::string(caption) != "保存") << caption;
    }
    EXPECT_TRUE(s.window->rect().contains(s.window->List()->geometry()));
    EXPECT_EQ(s.window->List()->count(), 4);
    EXPECT_EQ(s.window->List()->currentRow(), 3);
    EXPECT_EQ(s.window->List()->item(1)->text(), QStringLiteral("1 白方 : Pe2--e4"));
    EXPECT_FALSE(s.window->grab().isNull());
}

TEST(StudyWindow, ListAndButtonsDriveTheBoard) {
    StudyWindow s;
    s.ClickRow(1);
    EXPECT_EQ(s.StudyMoves(), 1u);
    s.Press("下一步");
    EXPECT_EQ(s.window->List()->currentRow(), 2);
    EXPECT_EQ(s.StudyMoves(), 2u);
    s.Press("上一步");
    s.Press("上一步");
    EXPECT_EQ(s.window->List()->currentRow(), 0);
    EXPECT_EQ(s.StudyMoves(), 0u);

    s.Press("旋转");
    EXPECT_TRUE(s.Board().Mirrored());
    // The replay on the loop's timer moves the list's selection and the board.
    s.Press("自动");
    EXPECT_TRUE(s.window->Button(QStringLiteral("自动"))->isChecked());
    s.loop.Advance(1500);
    EXPECT_EQ(s.window->List()->currentRow(), 1);
    EXPECT_EQ(s.StudyMoves(), 1u);
    s.loop.Advance(4500);
    EXPECT_EQ(s.window->List()->currentRow(), 3);
    EXPECT_FALSE(s.window->Button(QStringLiteral("自动"))->isChecked());

    // A move clicked on the turned board after the first item cuts the list there.
    s.ClickRow(1);
    s.ClickSquare("d7");
    s.ClickSquare("d5");
    ASSERT_EQ(s.window->List()->count(), 3);
    EXPECT_EQ(s.window->List()->item(2)->text(), QStringLiteral("1 黑方 : Pd7--d5"));
    EXPECT_EQ(s.window->List()->currentRow(), 2);
    ASSERT_NE(s.Board().PieceAt(test::Square("d5")), nullptr);
    EXPECT_EQ(s.position.MoveCount(), 3u);

    s.Press("刷新");
    EXPECT_EQ(s.window->List()->count(), 4);
    EXPECT_EQ(s.StudyMoves(), 3u);

    s.Press("关闭");
    EXPECT_FALSE(s.window->isVisible());
}

TEST(StudyWindow, GoesWithItsOwner) {
    StudyWindow s;
    auto owner = std::make_unique<QObject>();
    QPointer<CDialogManualWnd> opened =
        CDialogManualWnd::Open(*owner, s.position, s.people, s.loop, s.skin, &s.sound);
    ASSERT_FALSE(opened.isNull());
    EXPECT_TRUE(opened->isVisible());
    CDialogManual* model = &opened->Model();
    opened->Model().OnAuto();
    owner.reset();
    EXPECT_TRUE(opened.isNull());
    // Its replay timer went with it.
    EXPECT_FALSE(s.loop.IsTimerSet(model, CDialogManual::REPLAY_TIMER));
}

} // namespace
} // namespace kelo
