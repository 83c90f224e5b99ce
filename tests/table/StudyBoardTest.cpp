// SPDX-License-Identifier: GPL-3.0-or-later
// The study window without a window: the list of the table's moves, the positions it shows,
// moves tried on the study board, the automatic replay, turning the board, and that nothing
// done there reaches the table.
#include "chess/CBasePiece.h"
#include "chess/CBaseRule.h"
#include "chess/ChessTypes.h"
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "ports/ISoundPlayer.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "support/RecordingSound.h"
#include "table/CChnChessBoardStudy.h"
#include "table/CDialogManual.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelo {
namespace {

using test::RecordingSound;

class CountingMoves : public IMoveObserver {
public:
    void OnMoveApplied(const MoveRecord&) override { ++count; }
    int count = 0;
};

// A table whose game has the given moves, and a study window opened on it by the user.
struct Study : test::ChessTable {
    explicit Study(const std::string& moves = "", uint32_t own = 100) : ChessTable(own) {
        people.SetSeatCount(2);
        StartPosition();
        if (!moves.empty())
            PlayLine(moves);
        table.SetMoveObserver(&tableMoves);
        study = std::make_unique<CChnChessBoardStudy>(people, prompts, &sound);
        dialog = std::make_unique<CDialogManual>(*study, position, loop);
        dialog->OnInitDialog();
    }
    ~Study() {
        dialog.reset();
        table.SetMoveObserver(nullptr);
    }

    // A click as the board window passes it on: the mouse arrives, is pressed and released.
    void Click(const char* name) {
        const CPoint at = study->Grid().SquareToPixel(study->ToScreen(test::Square(name)));
        study->OnMouseMove(at.x, at.y);
        study->OnLButtonDown(at.x, at.y);
        study->OnLButtonUp(at.x, at.y);
    }
    void Move(const char* from, const char* to) {
        Click(from);
        Click(to);
    }
    const CBasePiece* StudyPiece(const char* name) { return study->PieceAt(test::Square(name)); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const CDialogManual::Item& item : dialog->Items())
            texts.push_back(item.text);
        return texts;
    }
    bool Replaying() const { return loop.IsTimerSet(dialog.get(), CDialogManual::REPLAY_TIMER); }

    test::ScriptedPrompts prompts;
    RecordingSound sound;
    CountingMoves tableMoves;
    test::ManualEventLoop loop;
    std::unique_ptr<CChnChessBoardStudy> study;
    std::unique_ptr<CDialogManual> dialog;
};

TEST(StudyBoard, ListOfTheTableMovesAndThePositionOfAnItem) {
    const struct {
        const char* moves;
        std::vector<std::string> texts;
    } cases[] = {
        {"", {"========"}},
        {"e2e4 e7e5 g1f3",
         {"========", "1 白方 : Pe2--e4", "1 黑方 : Pe7--e5", "2 白方 : Ng1--f3"}},
    };
    for (const auto& c : cases) {
        Study s(c.moves);
        EXPECT_EQ(s.Texts(), c.texts) << c.moves;
        for (size_t i = 0; i < s.dialog->Items().size(); ++i)
            EXPECT_EQ(s.dialog->Items()[i].data, static_cast<int32_t>(i));
        // The last position is shown, and the side to move is the one after it.
        EXPECT_EQ(s.dialog->Selected(), static_cast<int>(c.texts.size() - 1));
        EXPECT_EQ(s.study->Diagram().MoveCount(), c.texts.size() - 1);
        EXPECT_EQ(s.study->TurnColour(), c.texts.size() % 2 == 1 ? Colour::White : Colour::Black);
    }

    Study s("e2e4 e7e5 g1f3");
    s.dialog->SelectItem(2);
    EXPECT_EQ(s.study->Diagram().MoveCount(), 2u);
    ASSERT_NE(s.StudyPiece("e5"), nullptr);
    EXPECT_EQ(s.StudyPiece("f3"), nullptr);
    ASSERT_NE(s.StudyPiece("g1"), nullptr);
    EXPECT_EQ(s.study->TurnColour(), Colour::White);
    // Back to the start, and the ends of the list.
    s.dialog->OnPrevious();
    s.dialog->OnPrevious();
    EXPECT_EQ(s.dialog->Selected(), 0);
    EXPECT_EQ(s.study->Diagram().MoveCount(), 0u);
    s.dialog->OnPrevious();
    EXPECT_EQ(s.dialog->Selected(), 0);
    for (int i = 0; i < 5; ++i)
        s.dialog->OnNext();
    EXPECT_EQ(s.dialog->Selected(), 3);
    EXPECT_EQ(s.study->Diagram().MoveCount(), 3u);
}

TEST(StudyBoard, AMoveTriedAfterAnEarlierItemCutsTheLine) {
    Study s("e2e4 e7e5 g1f3 b8c6 f1b5");
    const size_t sent = s.sender.sent.size();
    s.dialog->SelectItem(2);
    s.Move("d2", "d4");
    EXPECT_EQ(s.dialog->Moves().size(), 3u);
    EXPECT_EQ(s.Texts(), (std::vector<std::string>{"========", "1 白方 : Pe2--e4",
                                                   "1 黑方 : Pe7--e5", "2 白方 : Pd2--d4"}));
    EXPECT_EQ(s.dialog->Selected(), 3);
    EXPECT_EQ(s.dialog->Items()[3].data, 3);
    ASSERT_NE(s.StudyPiece("d4"), nullptr);
    EXPECT_EQ(s.StudyPiece("d2"), nullptr);
    EXPECT_EQ(s.StudyPiece("f3"), nullptr);
    EXPECT_EQ(s.study->TurnColour(), Colour::Black);
    // Black answers on the study board; the line goes on, still written from White's side.
    s.Move("e5", "d4");
    EXPECT_EQ(s.Texts().back(), "2 黑方 : Pe5×d4");
    EXPECT_EQ(s.dialog->Selected(), 4);

    // Nothing reached the table: no message, no move on its board, no clock, the same turn.
    EXPECT_EQ(s.sender.sent.size(), sent);
    EXPECT_EQ(s.position.MoveCount(), 5u);
    EXPECT_EQ(s.tableMoves.count, 0);
    EXPECT_EQ(s.people.GetCurrentTurnSeat(), 0);
    ASSERT_NE(s.position.PieceAt(test::Square("b5")), nullptr);
    EXPECT_EQ(s.position.PieceAt(test::Square("d4")), nullptr);
    EXPECT_TRUE(s.prompts.notices.empty());
    EXPECT_TRUE(s.sound.waves.empty());
    // "刷新" takes the table's game again.
    s.dialog->RefreshMoves();
    EXPECT_EQ(s.dialog->Moves().size(), 5u);
    EXPECT_EQ(s.Texts().back(), "3 白方 : Bf1--b5");
}

TEST(StudyBoard, AStudyMoveThatGivesCheckCarriesTheCheckFlag) {
    Study s("f2f3 e7e5 g2g4");
    s.Move("d8", "h4");
    ASSERT_EQ(s.dialog->Moves().size(), 4u);
    EXPECT_NE(s.dialog->Moves().back().flags & FLAG_CHECK, 0);
    EXPECT_EQ(s.Texts().back(), "2 黑方 : Qd8--h4＋");
    EXPECT_EQ(s.study->KingInCheck(), Colour::White);
    // Replaying the line from the start gives the same position.
    s.dialog->SelectItem(0);
    s.dialog->SelectItem(4);
    ASSERT_NE(s.StudyPiece("h4"), nullptr);
    EXPECT_EQ(s.StudyPiece("h4")->m_kind, PieceKind::Queen);
}

TEST(StudyBoard, AutomaticReplayRunsToTheEndAndStartsAgainWithOnePress) {
    Study s("e2e4 e7e5 g1f3");
    s.dialog->SelectItem(-1);
    s.dialog->OnAuto();
    EXPECT_EQ(s.dialog->Selected(), 0);
    EXPECT_EQ(s.study->Diagram().MoveCount(), 0u);
    EXPECT_EQ(s.loop.TimerPeriod(s.dialog.get(), CDialogManual::REPLAY_TIMER), 1500u);
    s.loop.Advance(1499);
    EXPECT_EQ(s.dialog->Selected(), 0);
    s.loop.Advance(1);
    EXPECT_EQ(s.dialog->Selected(), 1);
    EXPECT_EQ(s.study->Diagram().MoveCount(), 1u);
    s.loop.Advance(3000);
    EXPECT_EQ(s.dialog->Selected(), 3);
    EXPECT_TRUE(s.dialog->AutoReplay());
    // No next item: the replay stops by itself.
    s.loop.Advance(1500);
    EXPECT_FALSE(s.dialog->AutoReplay());
    EXPECT_FALSE(s.Replaying());
    EXPECT_EQ(s.dialog->Selected(), 3);
    // One press starts it again; a second stops it.
    s.dialog->SelectItem(1);
    s.dialog->OnAuto();
    EXPECT_TRUE(s.Replaying());
    s.loop.Advance(1500);
    EXPECT_EQ(s.dialog->Selected(), 2);
    s.dialog->OnAuto();
    EXPECT_FALSE(s.Replaying());
    s.loop.Advance(3000);
    EXPECT_EQ(s.dialog->Selected(), 2);
}

TEST(StudyBoard, TurningTheBoardMirrorsAndRelabelsButNotTheList) {
    Study s("e2e4");
    EXPECT_FALSE(s.study->Mirrored());
    EXPECT_EQ(s.study->FileLabel(0) + s.study->RankLabel(0), "a8");
    const CPoint a1 = s.study->Grid().SquareToPixel(CBasePoint(0, 7));
    EXPECT_EQ(s.study->SquareAt(a1.x, a1.y), test::Square("a1"));

    s.dialog->OnRotate();
    EXPECT_TRUE(s.study->Mirrored());
    EXPECT_EQ(s.study->ViewSeat(), 1);
    EXPECT_EQ(s.study->ViewColour(), Colour::Black);
    EXPECT_EQ(s.study->FileLabel(0) + s.study->RankLabel(0), "h1");
    EXPECT_EQ(s.study->FileLabel(7) + s.study->RankLabel(7), "a8");
    // The bottom-left square on the screen is h8 now.
    EXPECT_EQ(s.study->SquareAt(a1.x, a1.y), test::Square("h8"));
    EXPECT_EQ(s.Texts().back(), "1 白方 : Pe2--e4");
    // Black to move plays with clicks on the turned board.
    s.Move("e7", "e5");
    EXPECT_EQ(s.Texts().back(), "1 黑方 : Pe7--e5");

    s.dialog->OnRotate();
    EXPECT_FALSE(s.study->Mirrored());
    EXPECT_EQ(s.study->ViewSeat(), 0);
}

TEST(StudyBoard, SeatTableBeginsWithTheUsersSeat) {
    const struct {
        uint32_t own;
        std::vector<int16_t> seats;
        bool mirrored;
    } cases[] = {
        {100, {0, 1}, false},
        {200, {1, 0}, true},
        // A looker-on, not seated: the first mover's side.
        {999, {0, 1}, false},
    };
    for (const auto& c : cases) {
        Study s("", c.own);
        std::vector<int16_t> seats;
        for (const CBaseBoardStudy::StudySeat& seat : s.study->SeatTable())
            seats.push_back(seat.seat);
        EXPECT_EQ(seats, c.seats) << c.own;
        EXPECT_EQ(s.study->Mirrored(), c.mirrored) << c.own;
        EXPECT_EQ(s.study->ColourOfSeat(0), Colour::White);
        EXPECT_EQ(s.study->ColourOfSeat(1), Colour::Black);
        // White begins, whoever opened the window.
        EXPECT_EQ(s.study->Turn(), 0);
        s.Move("e2", "e4");
        EXPECT_EQ(s.dialog->Moves().size(), 1u) << c.own;
    }
}

TEST(StudyBoard, RefusedClicksSayWhyAndChangeNothing) {
    Study s("e2e4");
    // Black is to move: a white piece cannot be picked up.
    s.Click("d2");
    EXPECT_EQ(s.sound.waves, std::vector<uint16_t>{ISoundPlayer::WAVE_REFUSED});
    EXPECT_FALSE(s.study->Marks().pieceSelected);
    // A black pawn picked up, then an empty square it cannot reach.
    s.Click("e7");
    EXPECT_TRUE(s.study->Marks().pieceSelected);
    s.Click("e4");
    EXPECT_EQ(s.prompts.notices, std::vector<std::string>{CBaseBoardStudy::CANNOT_MOVE_THERE});
    EXPECT_TRUE(s.study->Marks().pieceSelected);
    EXPECT_EQ(s.dialog->Moves().size(), 1u);
    // A move reaching the study board as a step message is played there and passes the turn;
    // the black pawn still held is then no longer of the side to move.
    MoveRecord step;
    ASSERT_TRUE(
        s.study->RuleAt(test::Square("d7"))
            ->CheckMove(Colour::Black, test::Square("d7"), test::Square("d5"), *s.study, &step));
    const auto wire = MSG_MOVE_BODY::FromRecord(step).ToWire();
    s.study->HandleGameMessage(MSG_MOVE, wire.data(), static_cast<uint32_t>(wire.size()));
    ASSERT_NE(s.StudyPiece("d5"), nullptr);
    EXPECT_EQ(s.study->LastMoveSquares(),
              (std::vector<CBasePoint>{test::Square("d7"), test::Square("d5")}));
    EXPECT_EQ(s.study->TurnColour(), Colour::White);
    s.Click("f7");
    EXPECT_EQ(s.prompts.notices.back(), CBaseBoardStudy::NOT_A_TARGET);
    EXPECT_EQ(s.dialog->Moves().size(), 1u);
}

} // namespace
} // namespace kelo
