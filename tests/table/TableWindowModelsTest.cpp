// SPDX-License-Identifier: GPL-3.0-or-later
// The table window's models without a window: the button board's switching by message, the
// player panels' texts and the promotion countdown.
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "table/CButtonBoard.h"
#include "table/CMainViewClock.h"
#include "table/CPlayerPanelModel.h"
#include "table/CPromoteChoice.h"
#include "table/WindowPlacement.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using Ids = std::vector<int32_t>;
constexpr int32_t START = CButtonBoard::ID_START, EXCHANGE = CButtonBoard::ID_EXCHANGE,
                  TAKEBACK = CButtonBoard::ID_TAKEBACK, RESIGN = CButtonBoard::ID_RESIGN,
                  DRAW = CButtonBoard::ID_DRAW, SAVE = CButtonBoard::ID_SAVE,
                  STUDY = CButtonBoard::ID_STUDY, LOAD = CButtonBoard::ID_LOAD;

struct Buttons : test::ChessTable {
    explicit Buttons(bool local, uint32_t own = 100) : ChessTable(own) {
        mode.SetLocalMode(local);
        people.SetSeatCount(2);
        board.CreateButtons();
    }
    void Deliver(uint16_t type, std::vector<uint8_t> body = {}) {
        board.HandleMessage(type, body.data(), static_cast<uint32_t>(body.size()));
    }
    test::ScriptedPrompts prompts;
    CButtonBoard board{table, Parts(), state, sender, prompts};
};

std::vector<uint8_t> MoveBody(Colour colour) {
    MoveRecord move;
    move.colour = colour;
    const auto wire = MSG_MOVE_BODY::FromRecord(move).ToWire();
    return {wire.begin(), wire.end()};
}

TEST(ButtonBoard, LocalTableStartsWithStartAndLoad) {
    Buttons local(true);
    EXPECT_EQ(local.board.EnabledIds(), (Ids{START, LOAD}));
    EXPECT_EQ(local.board.Button(LOAD)->slot, 1);
    EXPECT_EQ(local.board.Button(EXCHANGE), nullptr);
    Buttons network(false);
    EXPECT_TRUE(network.board.EnabledIds().empty());
    EXPECT_NE(network.board.Button(CButtonBoard::ID_GUESS), nullptr);
}

TEST(ButtonBoard, EnablingByMessage) {
    struct Case {
        const char* name;
        bool local;
        uint16_t type;
        std::vector<uint8_t> body;
        Ids enabled;
    };
    const Case cases[] = {
        {"new game", true, MSG_NEW_GAME, {}, {}},
        {"local ready", true, MSG_READY, {0, 0, 0, 1}, {START, STUDY, LOAD}},
        {"local start notice", true, MSG_START_NOTICE, {0, 0, 0, 1}, {SAVE, STUDY}},
        {"local move",
         true,
         MSG_MOVE,
         MoveBody(Colour::White),
         {TAKEBACK, RESIGN, DRAW, SAVE, STUDY}},
        {"start info", false, MSG_START_INFO, {}, {START, EXCHANGE}},
        {"game state", false, MSG_GAME_STATE, {}, {SAVE, STUDY}},
        {"game begins", false, MSG_GAME_BEGIN, {0, 0, 0, 0}, {SAVE, STUDY}},
        {"resume agreed", false, MSG_RESUME_ANSWER, {0xFF, 0xFF, 0, 1}, {SAVE}},
        {"local connect", true, MSG_USER_CONNECT, {}, {START, LOAD}},
        {"game info changes nothing", true, MSG_GAME_INFO, {}, {START, LOAD}},
    };
    for (const Case& c : cases) {
        Buttons table(c.local);
        table.Deliver(c.type, c.body);
        EXPECT_EQ(table.board.EnabledIds(), c.enabled) << c.name;
    }
}

// After a game's end the table readies the next one, but the game just finished can still be
// studied and saved until the player presses start.
TEST(ButtonBoard, TheFinishedGameOnViewCanBeStudiedAndSaved) {
    for (const bool local : {false, true}) {
        Buttons t(local);
        const std::vector<uint8_t> begin{0, 0, 0, 0}, result{0, 0, 0, 1, 0, 0, 0, 8};
        t.table.HandleGameMessage(MSG_GAME_BEGIN, begin.data(), 4);
        t.table.HandleGameMessage(MSG_GAME_RESULT, result.data(), 8);
        t.Deliver(MSG_NEW_GAME);
        EXPECT_EQ(t.board.EnabledIds(), (Ids{SAVE, STUDY})) << local;
        if (local) {
            t.Deliver(MSG_READY, {0, 0, 0, 1});
            EXPECT_EQ(t.board.EnabledIds(), (Ids{START, SAVE, STUDY, LOAD}));
        }
        t.Deliver(MSG_START_INFO);
        t.board.OnButtonUp(START);
        EXPECT_FALSE(t.table.FinishedGameOnView()) << local;
    }
}

// Which buttons each kind of user has through a game: a player by the moves, a watcher only
// the study and save buttons of the game on view, one user on a local table every command of
// the moment, loading a record between games too. Colours are exchanged only between games.
TEST(ButtonBoard, WhatEachUserHasThroughAGame) {
    enum User { PLAYER, WATCHER, LOCAL };
    enum Step { BETWEEN_GAMES, STARTED, OPPONENT_MOVED_AT_4, OPPONENT_MOVED_AT_6, ENDED };
    struct Case {
        User user;
        Step step;
        Ids enabled;
    };
    const Case cases[] = {
        {PLAYER, BETWEEN_GAMES, {START, EXCHANGE}},
        {PLAYER, STARTED, {SAVE, STUDY}},
        {PLAYER, OPPONENT_MOVED_AT_4, {TAKEBACK, DRAW, SAVE, STUDY}},
        {PLAYER, OPPONENT_MOVED_AT_6, {TAKEBACK, RESIGN, DRAW, SAVE, STUDY}},
        {PLAYER, ENDED, {SAVE, STUDY}},
        {WATCHER, BETWEEN_GAMES, {}},
        {WATCHER, STARTED, {SAVE, STUDY}},
        {WATCHER, OPPONENT_MOVED_AT_4, {SAVE, STUDY}},
        {WATCHER, OPPONENT_MOVED_AT_6, {SAVE, STUDY}},
        {WATCHER, ENDED, {SAVE, STUDY}},
        {LOCAL, BETWEEN_GAMES, {START, LOAD}},
        {LOCAL, STARTED, {SAVE, STUDY}},
        {LOCAL, OPPONENT_MOVED_AT_4, {TAKEBACK, RESIGN, DRAW, SAVE, STUDY}},
        {LOCAL, OPPONENT_MOVED_AT_6, {TAKEBACK, RESIGN, DRAW, SAVE, STUDY}},
        {LOCAL, ENDED, {START, SAVE, STUDY, LOAD}},
    };
    const std::vector<uint8_t> begin{0, 0, 0, 0}, resigned{0, 0, 0, 1, 0, 0, 0, 8};
    for (const Case& c : cases) {
        // The watcher (id 300) watches behind White's seat 0, as the user (id 100) plays it.
        Buttons t(c.user == LOCAL, c.user == WATCHER ? 300 : 100);
        if (c.user == WATCHER) {
            t.people.AddPerson(test::MakePerson(300, "watcher", 0, 5));
            t.mode.SetRole(TableRole::Watcher);
        }
        const std::string name = std::to_string(c.user) + "/" + std::to_string(c.step);
        if (c.user != LOCAL)
            t.Deliver(MSG_START_INFO);
        if (c.step >= STARTED) {
            t.Deliver(MSG_START_NOTICE, {0, 0, 0, 1});
            t.table.HandleGameMessage(MSG_GAME_BEGIN, begin.data(), 4);
            t.Deliver(MSG_GAME_BEGIN, begin);
        }
        for (const int16_t number : {int16_t{4}, int16_t{6}}) {
            if (c.step < (number == 4 ? OPPONENT_MOVED_AT_4 : OPPONENT_MOVED_AT_6))
                break;
            t.position.SetMoveNumber(number);
            t.Deliver(MSG_MOVE, MoveBody(Colour::Black));
        }
        if (c.step == ENDED) {
            t.table.HandleGameMessage(MSG_GAME_RESULT, resigned.data(), 8);
            t.Deliver(MSG_NEW_GAME);
            if (c.user == LOCAL)
                t.Deliver(MSG_READY, {0, 0, 0, 1});
        }
        EXPECT_EQ(t.board.EnabledIds(), c.enabled) << name;
        // A watcher is told why a player's button is off.
        if (c.user == WATCHER)
            EXPECT_EQ(t.board.Tooltip(START), "观战时不能开始") << name;
    }
}

// The server's word that the user watches (its own status with 0 and 0, which the main frame
// has turned into the watcher's role before the board sees it) takes a player's buttons away.
TEST(ButtonBoard, AUserMadeAWatcherLosesThePlayersButtons) {
    Buttons t(false);
    t.Deliver(MSG_START_INFO);
    ASSERT_EQ(t.board.EnabledIds(), (Ids{START, EXCHANGE}));
    t.mode.SetRole(TableRole::Watcher);
    t.Deliver(MSG_USER_STATUS, {0, 0, 0, 100, 0, 0, 0, 0});
    EXPECT_TRUE(t.board.EnabledIds().empty());
    t.board.OnButtonUp(START);
    EXPECT_TRUE(t.sender.sent.empty());
}

TEST(ButtonBoard, OwnStartNoticeDisablesStart) {
    Buttons table(false);
    table.Deliver(MSG_START_INFO);
    table.Deliver(MSG_START_NOTICE, {0, 1, 0, 1}); // the opponent's
    EXPECT_TRUE(table.board.IsEnabled(START));
    table.Deliver(MSG_START_NOTICE, {0, 0, 0, 1});
    EXPECT_FALSE(table.board.IsEnabled(START));
}

TEST(ButtonBoard, TakeBackAndDrawAfterTheOpponentsFourthMove) {
    Buttons table(false); // White, seat 0
    table.table.HandleGameMessage(MSG_GAME_BEGIN, std::vector<uint8_t>{0, 0, 0, 0}.data(), 4);
    table.position.SetMoveNumber(4);
    table.Deliver(MSG_MOVE, MoveBody(Colour::Black));
    EXPECT_TRUE(table.board.IsEnabled(TAKEBACK));
    EXPECT_TRUE(table.board.IsEnabled(DRAW));
    EXPECT_FALSE(table.board.IsEnabled(RESIGN));
    table.Deliver(MSG_MOVE, MoveBody(Colour::White));
    EXPECT_FALSE(table.board.IsEnabled(TAKEBACK));
    EXPECT_FALSE(table.board.IsEnabled(DRAW));
    table.position.SetMoveNumber(6);
    table.Deliver(MSG_MOVE, MoveBody(Colour::White));
    EXPECT_TRUE(table.board.IsEnabled(RESIGN));
}

// The seal answer (647) is {answerer seat, move number, agree, 0}: the agree field is the third,
// at offset 4, whatever the move number says.
TEST(ButtonBoard, SealAnswerTellsTheRequesterAndTheWatchers) {
    constexpr uint32_t WATCHER_ID = 300;
    struct Case {
        const char* name;
        uint32_t own;
        std::vector<uint8_t> body;
        std::vector<std::string> told;
        bool buttonsLeft;
    };
    const std::string refused = "对方不同意你的续盘退出请求！";
    const std::string sealed = "双方续盘保存，本局结束！";
    const Case cases[] = {
        {"refused, at the requester", 100, {0, 1, 0, 7, 0, 0, 0, 0}, {refused}, true},
        {"refused at move number 1", 100, {0, 1, 0, 1, 0, 0, 0, 0}, {refused}, true},
        {"refused, at the one who refused", 200, {0, 1, 0, 7, 0, 0, 0, 0}, {}, true},
        {"refused, at a watcher", WATCHER_ID, {0, 1, 0, 7, 0, 0, 0, 0}, {}, true},
        {"agreed, at the requester", 100, {0, 1, 0, 7, 0, 1, 0, 0}, {}, false},
        {"agreed at move number 0", 200, {0, 1, 0, 0, 0, 1, 0, 0}, {}, false},
        {"agreed, at a watcher", WATCHER_ID, {0, 1, 0, 7, 0, 1, 0, 0}, {sealed}, false},
        {"torn body", 100, {0, 1, 0, 7, 0, 0}, {}, true},
    };
    for (const Case& c : cases) {
        Buttons table(false, c.own);
        if (c.own == WATCHER_ID) {
            table.people.AddPerson(test::MakePerson(WATCHER_ID, "watcher", 0, 5));
            table.mode.SetRole(TableRole::Watcher);
        }
        table.Deliver(MSG_GAME_STATE);
        table.Deliver(MSG_SEAL_ANSWER, c.body);
        EXPECT_EQ(table.prompts.informations, c.told) << c.name;
        EXPECT_TRUE(table.prompts.notices.empty()) << c.name;
        EXPECT_EQ(!table.board.EnabledIds().empty(), c.buttonsLeft) << c.name;
    }
}

TEST(ButtonBoard, StartSendsTheNoticeAndALocalBegin) {
    Buttons table(true);
    table.board.OnButtonUp(START);
    ASSERT_EQ(table.sender.sent.size(), 2u);
    EXPECT_EQ(table.sender.sent[0].type, MSG_START_NOTICE);
    EXPECT_EQ(table.sender.sent[0].body, (std::vector<uint8_t>{0, 0, 0, 1}));
    EXPECT_EQ(table.sender.sent[1].type, MSG_GAME_BEGIN);
}

TEST(ButtonBoard, LockedTableAndDisabledButtonsDoNothing) {
    Buttons table(true);
    table.state.Lock();
    table.board.OnButtonUp(START);
    table.state.Unlock();
    table.board.OnButtonUp(SAVE); // disabled
    EXPECT_TRUE(table.sender.sent.empty());
}

// An enabled button says what it does; a disabled one says why it is off, from the game's state.
TEST(ButtonBoard, TooltipsSayWhyAButtonIsOff) {
    enum Setup { FRESH, OWN_START, PLAYING, WATCHING };
    struct Case {
        const char* name;
        bool local;
        Setup setup;
        int16_t moveNumber;
        std::vector<Colour> moves;
        int32_t id;
        std::string tooltip;
    };
    const Case cases[] = {
        {"local start is on", true, FRESH, 1, {}, START, "开始新的一局"},
        {"local save before a game", true, FRESH, 1, {}, SAVE, "对局开始后才能保存"},
        {"local take-back before a move", true, PLAYING, 1, {}, TAKEBACK, "走棋后才能悔棋"},
        {"local start in a game", true, PLAYING, 1, {}, START, "对局中不能开始"},
        {"network start before the table is ready",
         false,
         FRESH,
         1,
         {},
         START,
         "等服务器准备好下一局才能开始"},
        {"own start sent", false, OWN_START, 1, {}, START, "你已开始，等待对方开始"},
        {"take-back at move 3", false, PLAYING, 3, {Colour::Black}, TAKEBACK, "第4步后才能悔棋"},
        {"draw after the own move",
         false,
         PLAYING,
         4,
         {Colour::White},
         DRAW,
         "对方走棋后、轮到你走时才能和棋"},
        {"take-back after the opponent's move",
         false,
         PLAYING,
         4,
         {Colour::Black},
         TAKEBACK,
         "请对方同意悔棋"},
        {"resign at move 5", false, PLAYING, 5, {Colour::Black}, RESIGN, "第6步后才能认输"},
        {"resign at move 6", false, PLAYING, 6, {Colour::White}, RESIGN, "认输，本局结束"},
        {"take-back between games", false, FRESH, 9, {}, TAKEBACK, "对局中才能悔棋"},
        {"a watcher's start", false, WATCHING, 9, {Colour::Black}, START, "观战时不能开始"},
        {"guess", false, FRESH, 1, {}, CButtonBoard::ID_GUESS, "竞猜尚未开放"},
    };
    for (const Case& c : cases) {
        Buttons table(c.local, c.setup == WATCHING ? 300 : 100);
        if (c.setup == WATCHING) {
            table.people.AddPerson(test::MakePerson(300, "watcher", 0, 5));
            table.mode.SetRole(TableRole::Watcher);
        }
        if (c.setup == OWN_START) {
            table.Deliver(MSG_START_INFO);
            table.Deliver(MSG_READY, {0, 0, 0, 1});
            table.Deliver(MSG_START_NOTICE, {0, 0, 0, 1});
        }
        if (c.setup == PLAYING || c.setup == WATCHING) {
            table.table.HandleGameMessage(MSG_GAME_BEGIN, std::vector<uint8_t>{0, 0, 0, 0}.data(),
                                          4);
            table.Deliver(MSG_START_NOTICE, {0, 0, 0, 1});
            table.Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
        }
        table.position.SetMoveNumber(c.moveNumber);
        for (Colour mover : c.moves)
            table.Deliver(MSG_MOVE, MoveBody(mover));
        EXPECT_EQ(table.board.Tooltip(c.id), c.tooltip) << c.name;
    }
}

TEST(ButtonBoard, SlotsMakeRoomAndFollowTheGrid) {
    Buttons table(false);
    table.board.SetGrid(4, 2, {56, 29}, {60, 33});
    table.board.SetButtonSlot(CButtonBoard::ID_GUESS, 1);
    EXPECT_EQ(table.board.Button(EXCHANGE)->slot, 2);
    EXPECT_EQ(table.board.Button(TAKEBACK)->slot, 3);
    table.board.LayoutButtons();
    // Slot 5 (the draw button now) is row 1, column 1.
    EXPECT_EQ(table.board.Button(DRAW)->slot, 5);
    EXPECT_EQ(table.board.Button(DRAW)->rect, (CRect{60, 33, 116, 62}));
}

// The study window (620 x 410 with its frame) beside the table where the screen has room.
TEST(WindowPlacement, BesideTheOwnerWhereItFits) {
    struct Case {
        const char* name;
        CRect screen, owner;
        CPoint at;
    };
    const CPoint size{620, 410};
    const Case cases[] = {
        {"right of a small table", {0, 0, 1920, 1080}, {100, 50, 890, 620}, {898, 50}},
        {"left when the right is short", {0, 0, 1920, 1080}, {1000, 50, 1790, 620}, {372, 50}},
        {"below, kept on the screen", {0, 0, 1024, 1080}, {300, 20, 1090, 590}, {300, 598}},
        {"above", {0, 0, 1024, 1080}, {100, 500, 890, 1070}, {100, 82}},
        {"raised to stay on the screen", {0, 0, 1920, 1080}, {100, 800, 890, 1370}, {898, 670}},
        // The 800 skin fills an 800 x 600 screen: over the table's right edge, its panels.
        {"nowhere beside", {0, 0, 800, 600}, {5, 15, 795, 585}, {180, 190}},
        // On 1000 x 740 the 800 table leaves 210 px on its right and 170 below: those first.
        {"into the free corner", {0, 0, 1000, 740}, {0, 0, 790, 570}, {380, 330}},
        {"free space on the left", {0, 0, 1000, 740}, {210, 0, 1000, 570}, {380, 330}},
    };
    for (const Case& c : cases) {
        const CPoint at = PlaceBeside(c.screen, c.owner, size);
        EXPECT_EQ(at, c.at) << c.name << ": " << at.x << "," << at.y;
    }
}

TEST(PlayerPanel, Texts) {
    struct Case {
        int16_t total, pace, step, ownUsed;
        uint16_t turnSeat;
        const char* ownTotal;
        const char* ownMove;
        const char* otherTotal;
        const char* otherMove;
    };
    const Case cases[] = {
        {1200, 60, 10, 0, 0, "19分50秒", "00分50秒", "20分00秒", "01分00秒"},
        {1200, 60, 10, 0, 1, "20分00秒", "01分00秒", "19分50秒", "00分50秒"},
        {600, 60, 15, 590, 0, "00分00秒", "00分00秒", "10分00秒", "01分00秒"},
    };
    for (const Case& c : cases) {
        test::ChessTable table;
        table.people.SetSeatCount(2);
        table.time.m_nTotalTime = c.total;
        table.time.m_nPaceTime = c.pace;
        table.time.m_nStepCounter = c.step;
        table.people.SetCurrentTurnSeat(c.turnSeat);
        table.state.BeginPlaying();
        test::ManualEventLoop loop;
        CMainViewClock clock(table.Parts(), table.time, table.sender, loop);
        clock.m_nOwnUsedTime = c.ownUsed;
        const CPlayerPanelModel panels(table.Parts(), clock);
        ASSERT_TRUE(panels.Visible());
        const auto top = panels.SlotAt(0), bottom = panels.SlotAt(1);
        EXPECT_EQ(bottom.totalLeft, c.ownTotal) << c.total << " " << c.turnSeat;
        EXPECT_EQ(bottom.moveLeft, c.ownMove);
        EXPECT_EQ(top.totalLeft, c.otherTotal);
        EXPECT_EQ(top.moveLeft, c.otherMove);
        EXPECT_EQ(bottom.hot, c.turnSeat == 0);
        EXPECT_EQ(top.hot, c.turnSeat == 1);
    }
}

TEST(PlayerPanel, NamesSettingsAndNoPanelWithoutAnOpponent) {
    test::ChessTable table;
    test::ManualEventLoop loop;
    CMainViewClock clock(table.Parts(), table.time, table.sender, loop);
    table.time.m_nTotalTime = 1200;
    const CPlayerPanelModel panels(table.Parts(), clock);
    EXPECT_EQ(panels.SlotAt(1).username, "white");
    EXPECT_EQ(panels.SlotAt(0).nickname, "black");
    EXPECT_EQ(panels.SlotAt(1).moves, "0步");
    EXPECT_EQ(panels.TableSettings().total, "20分00秒");
    EXPECT_EQ(panels.TableSettings().added, "10");
    // Outside a game nobody's times are highlighted.
    EXPECT_FALSE(panels.SlotAt(1).hot);
    table.people.RemovePerson(200);
    EXPECT_FALSE(panels.Visible());
}

TEST(PromoteChoice, CountdownPicksTheQueen) {
    test::ManualEventLoop loop;
    PieceKind chosen = PieceKind::None;
    CPromoteChoice choice(loop, [&](PieceKind kind) { chosen = kind; });
    choice.Start();
    loop.Advance(24000);
    EXPECT_EQ(chosen, PieceKind::None);
    EXPECT_EQ(choice.Remaining(), 1);
    loop.Advance(1000);
    EXPECT_EQ(chosen, PieceKind::Queen);

    CPromoteChoice knight(loop, [&](PieceKind kind) { chosen = kind; });
    knight.Start();
    knight.Choose(PieceKind::Knight);
    loop.Advance(30000);
    EXPECT_EQ(chosen, PieceKind::Knight);
}

} // namespace
} // namespace kelo
