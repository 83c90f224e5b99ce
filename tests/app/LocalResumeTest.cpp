// SPDX-License-Identifier: GPL-3.0-or-later
// The local table: a record given at the direct start continues its game, every window taking
// the replayed moves, and the save button saves it again; every ending of a local game is saved.
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainViewModel.h"
#include "base/ScratchFolder.h"
#include "chess/CBaseRule.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "chess/CCoordinateMove.h"
#include "link/CTableLink.h"
#include "support/ChessTable.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "table/CResumeManager.h"
#include "table/CTableBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

namespace kelo {
namespace {

class SavePrompts : public test::ScriptedPrompts {
public:
    std::string ChooseSaveFile(const std::string& folder, const std::string& name,
                               const std::string&, const std::string&) override {
        return folder + "again-" + name;
    }
};

struct LocalTable {
    LocalTable() {
        CLocalTable::Prepare(context);
        context.SetPrompts(&prompts);
        context.Settings().m_strManualPath = scratch.Folder() + "records/";
        link = std::make_unique<CTableLink>(context.CommunicationLayer(), context.Prompts(), loop,
                                            socket);
        CMainViewModel::Ports ports;
        ports.saveOffer = [this] {
            if (saveOffer)
                saveOffer();
        };
        model = std::make_unique<CMainViewModel>(context, loop, ports);
        model->RegisterSinks(*link);
    }
    ~LocalTable() { context.SetPrompts(nullptr); }
    test::ScratchFolder scratch;
    CGameContext context;
    test::ManualEventLoop loop;
    test::FakeSocketControl socket;
    SavePrompts prompts;
    std::unique_ptr<CTableLink> link;
    // What the table offers at a game's end (none: nothing).
    std::function<void()> saveOffer;
    std::unique_ptr<CMainViewModel> model;
};

TEST(LocalResume, ARecordOnTheCommandLineContinuesItsGame) {
    LocalTable local;
    // A game between two other people, stored at their table.
    test::ChessTable source;
    source.people.SetSeatCount(2);
    source.StartPosition();
    ASSERT_TRUE(source.PlayLine("e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4"));
    GameRecord record;
    GameSettings settings;
    test::ScriptedPrompts quiet;
    ASSERT_TRUE(CResumeManager(source.Parts(), source.board, settings, quiet).BuildRecord(record));
    const auto bytes = WriteRecord(record);
    const std::string path = local.scratch.Folder() + "sicilian.che";
    test::WriteFile(path, std::string(bytes.begin(), bytes.end()));

    ASSERT_TRUE(local.model->Resume().ResumeRecordPath(path));
    local.loop.RunPending();
    EXPECT_EQ(local.context.Position().Moves(), source.position.Moves());
    EXPECT_EQ(local.context.State().State(), GameState::Playing);
    EXPECT_TRUE(local.prompts.notices.empty());
    // The local players carry the record's names; Black is to move.
    const CPlayerManager& people = local.context.PlayerManager();
    EXPECT_STREQ(people.GetPersonById(CLocalTable::FIRST_PLAYER_ID)->person.nickname, "white");
    EXPECT_EQ(people.GetPersonBySeat(static_cast<int16_t>(people.GetCurrentTurnSeat()))->colour,
              Colour::Black);
    EXPECT_TRUE(local.model->ButtonBoard().IsEnabled(CButtonBoard::ID_SAVE));

    // The save button writes the same moves again, into the record folder it makes.
    local.model->ButtonBoard().OnButtonUp(CButtonBoard::ID_SAVE);
    const std::string again = local.scratch.Folder() + "records/again-white_black_.che";
    ASSERT_TRUE(std::filesystem::exists(again));
    GameRecord saved;
    ASSERT_TRUE(CResumeManager(local.context.Table(), local.context.Board(),
                               local.context.Settings(), local.prompts)
                    .LoadRecord(again, saved));
    EXPECT_EQ(saved.moves, record.moves);
}

TEST(LocalResume, ARecordWithoutMovesIsRefused) {
    LocalTable local;
    EXPECT_FALSE(local.model->Resume().ResumeRecordPath(local.scratch.Folder() + "none.che"));
    local.loop.RunPending();
    EXPECT_EQ(local.prompts.notices, std::vector<std::string>{"不存在走子纪录，不能续盘！"});
    EXPECT_TRUE(local.context.Position().Moves().empty());
}

// A message box runs the event loop until the user closes it; so does every question.
class SpinningPrompts : public test::ScriptedPrompts {
public:
    explicit SpinningPrompts(test::ManualEventLoop& loop) : m_loop(loop) { yesNoAnswer = true; }
    void ShowNotice(const std::string& text) override {
        ScriptedPrompts::ShowNotice(text);
        m_loop.RunPending();
    }
    bool AskYesNo(const std::string& question) override {
        m_loop.RunPending();
        return ScriptedPrompts::AskYesNo(question);
    }

private:
    test::ManualEventLoop& m_loop;
};

// A local game that ends in mate, resignation or time is saved automatically with its moves,
// although the result's message box runs the loop that brings the next game.
TEST(LocalGameEnd, EveryEndingIsSavedWithItsMoves) {
    struct Case {
        const char* name;
        const char* line;
        std::function<void(LocalTable&)> end;
        size_t moves;
    };
    const Case cases[] = {
        {"mate", "f2f3 e7e5 g2g4 d8h4", [](LocalTable&) {}, 4},
        {"resignation", "e2e4 e7e5",
         [](LocalTable& local) {
             local.model->Negotiation().Resign();
             local.loop.RunPending();
         },
         2},
        {"time", "e2e4", [](LocalTable& local) { local.loop.Advance(70 * 1000); }, 1},
    };
    for (const Case& c : cases) {
        LocalTable local;
        SpinningPrompts prompts(local.loop);
        local.context.SetPrompts(&prompts);
        local.context.Settings().m_nSaveType = 1;
        std::vector<std::string> saved;
        local.saveOffer = [&] {
            saved.push_back(CResumeManager(local.context.Table(), local.context.Board(),
                                           local.context.Settings(), local.context.Prompts())
                                .SaveGame(CResumeManager::SAVE_GAME_END));
        };
        local.model->ButtonBoard().OnButtonUp(CButtonBoard::ID_START);
        local.loop.RunPending();
        ASSERT_EQ(local.context.State().State(), GameState::Playing) << c.name;
        CChnChessBoard& board = local.context.Board();
        std::istringstream line(c.line);
        Colour colour = Colour::White;
        for (std::string text; line >> text; colour = OppositeColour(colour)) {
            const auto move = CCoordinateMove::Parse(text);
            MoveRecord record;
            ASSERT_TRUE(board.RuleAt(move->from)
                            ->CheckMoveWithPromotion(colour, move->from, move->to, board,
                                                     PieceKind::Queen, record))
                << text;
            local.model->Client().Board().SendMove(record);
            local.loop.RunPending();
        }
        c.end(local);
        ASSERT_EQ(saved.size(), 1u) << c.name;
        ASSERT_FALSE(saved[0].empty()) << c.name;
        GameRecord record;
        ASSERT_TRUE(CResumeManager(local.context.Table(), board, local.context.Settings(), prompts)
                        .LoadRecord(saved[0], record))
            << c.name;
        EXPECT_EQ(record.moves.size(), c.moves) << c.name;
        // The next game followed the save: the table is ready for its start.
        EXPECT_EQ(local.context.State().State(), GameState::Ready) << c.name;
        local.saveOffer = nullptr;
        local.context.SetPrompts(&local.prompts);
    }
}

} // namespace
} // namespace kelo
