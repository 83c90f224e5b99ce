// SPDX-License-Identifier: GPL-3.0-or-later
// The table window as a person uses it, offscreen: a local game played with the mouse, the
// board seen from Black's side, the refusals, and a start without any skin.
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainViewModel.h"
#include "app/qt/CMainView.h"
#include "app/qt/SkinFallback.h"
#include "base/CSkinManager.h"
#include "chess/CBasePiece.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "link/CTableLink.h"
#include "link/MessageTypes.h"
#include "ports/ISoundPlayer.h"
#include "support/ChessBoard.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/RecordingSound.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"
#include "table/CButtonBoard.h"
#include "table/CPlayerManager.h"
#include "table/CTableBoard.h"
#include "table/qt/CAnnouncer.h"
#include "table/qt/CBitmapViewer.h"
#include "table/qt/CButtonBoardWnd.h"
#include "table/qt/CChessBoardWnd.h"
#include "table/qt/CMoveBoxWnd.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kelo {
namespace {

using test::RecordingSound;

// A local table with its window, on a loop the test drives; no skin folder at all.
struct LocalTableWindow {
    // Away from a local table, what the table sends is kept in sender.
    explicit LocalTableWindow(bool local = true) : context(local ? nullptr : &sender) {
        test::TestApp();
        if (local)
            CLocalTable::Prepare(context);
        context.SetPrompts(&prompts);
        skin.LoadSkin("/nonexistent/kelo-skin/", 1280);
        UseFallbackLayout(skin);
        link = std::make_unique<CTableLink>(context.CommunicationLayer(), context.Prompts(), loop,
                                            socket);
        model =
            std::make_unique<CMainViewModel>(context, loop, CMainViewModel::Ports{.sound = &sound});
        model->RegisterSinks(*link);
        view = std::make_unique<CMainView>(*model, skin, &sound);
        view->show();
    }
    ~LocalTableWindow() {
        view.reset();
        context.SetPrompts(nullptr);
    }
    CChessBoardWnd& Board() { return *view->BoardWindow(); }
    void ClickButton(int32_t id) {
        CBitmapViewer* button = view->ButtonBoardWindow()->Viewer(id);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
        loop.RunPending();
    }
    void Click(QPoint at) {
        QTest::mouseClick(&Board(), Qt::LeftButton, {}, at);
        loop.RunPending();
    }
    void Click(const char* square) {
        const CBasePoint s = test::Square(square);
        Click(Board().SquareCentre(s.x, s.y));
    }
    const CBasePiece* PieceAt(const char* square) {
        return context.Position().PieceAt(test::Square(square));
    }
    size_t Refusals() const {
        return std::count(sound.waves.begin(), sound.waves.end(), ISoundPlayer::WAVE_REFUSED);
    }

    test::RecordingSender sender;
    CGameContext context;
    test::ManualEventLoop loop;
    test::FakeSocketControl socket;
    test::ScriptedPrompts prompts;
    RecordingSound sound;
    CSkinManager skin;
    std::unique_ptr<CTableLink> link;
    std::unique_ptr<CMainViewModel> model;
    std::unique_ptr<CMainView> view;
};

TEST(TableWindow, StartsWithoutASkinFolder) {
    LocalTableWindow table;
    EXPECT_TRUE(table.view->isVisible());
    EXPECT_GT(table.view->width(), 0);
    EXPECT_FALSE(table.view->grab().isNull());
    EXPECT_FALSE(table.Board().grab().isNull());
}

TEST(TableWindow, LocalGamePlayedWithClicks) {
    LocalTableWindow table;
    // Before the start a click on an own piece only says what to do.
    table.Click("e2");
    EXPECT_EQ(table.prompts.notices.size(), 1u);
    EXPECT_EQ(table.Refusals(), 1u);

    table.ClickButton(CButtonBoard::ID_START);
    ASSERT_TRUE(table.context.State().IsPlaying());
    table.Click("e2");
    table.Click("e4");
    // Black is to move now: its panel at the top shows the sign.
    EXPECT_TRUE(table.model->Panels().SlotAt(0).toMove);
    EXPECT_EQ(table.model->Panels().SlotAt(0).colour, Colour::Black);
    ASSERT_NE(table.PieceAt("e4"), nullptr);
    EXPECT_EQ(table.PieceAt("e4")->m_kind, PieceKind::Pawn);
    EXPECT_EQ(table.PieceAt("e2"), nullptr);
    // The same user now plays Black.
    table.Click("e7");
    table.Click("e5");
    ASSERT_NE(table.PieceAt("e5"), nullptr);
    EXPECT_EQ(table.PieceAt("e5")->m_colour, Colour::Black);
    EXPECT_EQ(table.Refusals(), 1u);
    EXPECT_TRUE(table.model->ButtonBoard().IsEnabled(CButtonBoard::ID_TAKEBACK));
    EXPECT_FALSE(table.model->ButtonBoard().IsEnabled(CButtonBoard::ID_START));
}

// The white h-pawn takes its way to g8 with clicks; the choice asked there is the one played.
TEST(TableWindow, PromotionByClicksPlaysThePieceChosen) {
    LocalTableWindow table;
    table.ClickButton(CButtonBoard::ID_START);
    const char* const moves[][2] = {{"h2", "h4"}, {"g7", "g5"}, {"h4", "g5"}, {"a7", "a6"},
                                    {"g5", "g6"}, {"a6", "a5"}, {"g6", "h7"}, {"a5", "a4"}};
    for (const auto& [from, to] : moves) {
        table.Click(from);
        table.Click(to);
    }
    ASSERT_NE(table.PieceAt("h7"), nullptr);
    EXPECT_EQ(table.prompts.promotionQuestions, 0);
    table.prompts.promotionAnswers.push_back(PieceKind::Knight);
    table.Click("h7");
    table.Click("g8");
    EXPECT_EQ(table.prompts.promotionQuestions, 1);
    const CBasePiece* knight = table.PieceAt("g8");
    ASSERT_NE(knight, nullptr);
    EXPECT_EQ(knight->m_kind, PieceKind::Knight);
    EXPECT_EQ(knight->m_colour, Colour::White);
    EXPECT_EQ(table.PieceAt("h7"), nullptr);
    EXPECT_EQ(table.Refusals(), 0u);
}

TEST(TableWindow, ClickHalfASquareLeftOfColumnALandsOnIt) {
    LocalTableWindow table;
    table.ClickButton(CButtonBoard::ID_START);
    const CBoardGrid& grid = table.model->BoardWindow().Grid();
    const QPoint a2 = table.Board().SquareCentre(0, 6);
    // A pixel further left is off the board: with nothing picked up, nothing is.
    table.Click(a2 - QPoint(grid.m_nSquareWidth / 2 + 1, 0));
    EXPECT_FALSE(table.model->BoardWindow().Marks().pieceSelected);
    table.Click(a2 - QPoint(grid.m_nSquareWidth / 2, 0));
    EXPECT_TRUE(table.model->BoardWindow().Marks().pieceSelected);
    EXPECT_EQ(table.model->BoardWindow().Marks().selected, test::Square("a2"));
}

// The window model alone keeps the hand's marks: where the picked-up piece may go, and nothing
// once the board starts another game.
TEST(TableWindow, APickedUpPieceShowsItsTargetsUntilTheNextGame) {
    LocalTableWindow table;
    table.ClickButton(CButtonBoard::ID_START);
    table.Click("g1");
    const BoardMarks& marks = table.model->BoardWindow().Marks();
    ASSERT_TRUE(marks.pieceSelected);
    EXPECT_EQ(marks.validSquares,
              (std::vector<CBasePoint>{test::Square("f3"), test::Square("h3")}));
    EXPECT_EQ(marks.markSquares, std::vector<CBasePoint>{test::Square("g1")});
    table.model->Client().Board().HandleGameMessage(MSG_NEW_GAME, nullptr, 0);
    const BoardMarks& after = table.model->BoardWindow().Marks();
    EXPECT_FALSE(after.pieceSelected);
    EXPECT_TRUE(after.validSquares.empty());
    EXPECT_TRUE(after.markSquares.empty());
}

TEST(TableWindow, DragReleasedOnItsOwnSquareKeepsThePiece) {
    LocalTableWindow table;
    table.ClickButton(CButtonBoard::ID_START);
    const QPoint g1 = table.Board().SquareCentre(6, 7);
    QTest::mousePress(&table.Board(), Qt::LeftButton, {}, g1);
    QTest::mouseMove(&table.Board(), g1 + QPoint(8, -5));
    QTest::mouseRelease(&table.Board(), Qt::LeftButton, {}, g1 + QPoint(8, -5));
    table.loop.RunPending();
    EXPECT_TRUE(table.model->BoardWindow().Marks().pieceSelected);
    EXPECT_FALSE(table.model->BoardWindow().IsDragging());
    EXPECT_NE(table.PieceAt("g1"), nullptr);
    // A drag that ends on f3 plays the knight there.
    QTest::mousePress(&table.Board(), Qt::LeftButton, {}, g1);
    const QPoint f3 = table.Board().SquareCentre(5, 5);
    QTest::mouseMove(&table.Board(), f3);
    QTest::mouseRelease(&table.Board(), Qt::LeftButton, {}, f3);
    table.loop.RunPending();
    ASSERT_NE(table.PieceAt("f3"), nullptr);
    EXPECT_EQ(table.PieceAt("f3")->m_kind, PieceKind::Knight);
}

// A client at a server that plays Black: its view is turned and only its own moves count.
struct BlackAtServer : LocalTableWindow {
    BlackAtServer() : LocalTableWindow(false) {
        CPlayerManager& people = context.PlayerManager();
        people.AddPerson(test::MakePerson(100, "white", 0));
        people.AddPerson(test::MakePerson(200, "black", 1));
        people.SetOwnId(200);
        people.SetSeatCount(2);
        context.Mode().SetLocalMode(false);
        const uint8_t begin[] = {0, 0, 0, 0};
        model->Client().Board().HandleGameMessage(MSG_GAME_BEGIN, begin, sizeof begin);
    }
};

TEST(TableWindow, BlackSeesTheBoardTurned) {
    BlackAtServer table;
    ASSERT_EQ(table.context.PlayerManager().GetOwnColour(), Colour::Black);
    const CBoardGrid& grid = table.model->BoardWindow().Grid();
    const CPoint bottomLeft = grid.SquareToPixel(CBasePoint(0, 7));
    EXPECT_EQ(table.model->BoardWindow().SquareAt(bottomLeft.x, bottomLeft.y), test::Square("h8"));
    const CBasePiece* rook = table.PieceAt("h8");
    ASSERT_NE(rook, nullptr);
    EXPECT_EQ(rook->m_kind, PieceKind::Rook);
    EXPECT_EQ(table.model->BoardWindow().FileLabel(0), "h");
    EXPECT_EQ(table.model->BoardWindow().RankLabel(7), "8");
}

TEST(TableWindow, WhileTheOpponentIsToMoveClicksOnlyRefuse) {
    BlackAtServer table;
    const QPoint e7 = table.Board().SquareCentre(4, 1);
    QTest::mouseMove(&table.Board(), e7);
    EXPECT_EQ(table.Board().cursor().shape(), Qt::ArrowCursor);
    table.Click("e7");
    table.Click("e2");
    table.Click("e5");
    EXPECT_EQ(table.Refusals(), 3u);
    EXPECT_FALSE(table.model->BoardWindow().Marks().pieceSelected);
    EXPECT_TRUE(table.sender.sent.empty());
}

// A local game without the mouse: the buttons through their accessible actions (a disabled one
// does nothing), the board with the keys, a bad and a good move typed into the move box, and
// what a screen reader reads of the board and hears on the spoken line.
TEST(TableWindow, PlayedWithKeysAndReadAsAScreenReaderWould) {
    LocalTableWindow table;
    QAccessibleInterface* takeBack = QAccessible::queryAccessibleInterface(
        table.view->ButtonBoardWindow()->Viewer(CButtonBoard::ID_TAKEBACK));
    QAccessibleInterface* start = QAccessible::queryAccessibleInterface(
        table.view->ButtonBoardWindow()->Viewer(CButtonBoard::ID_START));
    ASSERT_NE(start, nullptr);
    ASSERT_NE(takeBack, nullptr);
    EXPECT_EQ(start->role(), QAccessible::Button);
    EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("开始"));
    EXPECT_FALSE(start->state().disabled);
    EXPECT_TRUE(takeBack->state().disabled);
    // Its description is the tooltip: why it is off, and its shortcut.
    EXPECT_TRUE(takeBack->text(QAccessible::Description).endsWith(QStringLiteral("快捷键 Alt+H")))
        << takeBack->text(QAccessible::Description).toStdString();
    takeBack->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(table.prompts.questions.empty());
    start->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    table.loop.RunPending();
    ASSERT_TRUE(table.context.State().IsPlaying());

    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&table.Board());
    ASSERT_NE(board, nullptr);
    ASSERT_EQ(board->childCount(), 64);
    EXPECT_EQ(board->child(0)->text(QAccessible::Name), QStringLiteral("a8 黑方车"));
    // The cursor starts on e2: Space picks the pawn up, Escape puts it back, and again with
    // two steps up it goes to e4.
    QTest::keyClick(&table.Board(), Qt::Key_Space);
    const int e2 = table.Board().CellIndex(test::Square("e2"));
    EXPECT_TRUE(board->child(e2)->state().selected);
    QTest::keyClick(&table.Board(), Qt::Key_Escape);
    EXPECT_FALSE(board->child(e2)->state().selected);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return})
        QTest::keyClick(&table.Board(), key);
    table.loop.RunPending();
    const int e4 = table.Board().CellIndex(test::Square("e4"));
    EXPECT_EQ(board->child(e4)->text(QAccessible::Name), QStringLiteral("e4 白方兵"));
    EXPECT_EQ(board->child(e4)->text(QAccessible::Description), QStringLiteral("上一步"));

    CAnnouncer* spoken = nullptr;
    for (QObject* child : table.view->children())
        if (auto* found = dynamic_cast<CAnnouncer*>(child))
            spoken = found;
    ASSERT_NE(spoken, nullptr);
    EXPECT_EQ(spoken->accessibleName(), QStringLiteral("白方 : Pe2--e4"));

    CMoveBoxWnd* box = table.view->MoveBoxWindow();
    box->setText(QStringLiteral("Nf5"));
    QTest::keyClick(box, Qt::Key_Return);
    table.loop.RunPending();
    EXPECT_EQ(box->text(), QStringLiteral("Nf5"));
    EXPECT_EQ(spoken->accessibleName(), QStringLiteral("“Nf5”不是黑方现在能走的棋"));
    box->setText(QStringLiteral("Nf6"));
    QTest::keyClick(box, Qt::Key_Return);
    table.loop.RunPending();
    EXPECT_TRUE(box->text().isEmpty());
    ASSERT_NE(table.PieceAt("f6"), nullptr);
    EXPECT_EQ(spoken->accessibleName(), QStringLiteral("黑方 : Ng8--f6"));
}

} // namespace
} // namespace kelo
