// The direct start with a record: a local table continues the game of the file, every window
// taking the replayed moves; the save button saves it again.
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainViewModel.h"
#include "base/ScratchFolder.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "link/CTableLink.h"
#include "support/ChessTable.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "table/CResumeManager.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        model = std::make_unique<CMainViewModel>(context, loop, nullptr);
        model->RegisterSinks(*link);
    }
    ~LocalTable() {
        model->UnregisterSinks(*link);
        context.SetPrompts(nullptr);
    }
    test::ScratchFolder scratch;
    CGameContext context;
    test::ManualEventLoop loop;
    test::FakeSocketControl socket;
    SavePrompts prompts;
    std::unique_ptr<CTableLink> link;
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

} // namespace
} // namespace kelo
