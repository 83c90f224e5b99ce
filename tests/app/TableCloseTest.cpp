// SPDX-License-Identifier: GPL-3.0-or-later
// A table that closes during a game: the game stops where it stands and its record is offered
// once, as the settings say, whether the user closes a local table, leaves a server's table at
// once, or the game never had a move.
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainFrame.h"
#include "app/CMainViewModel.h"
#include "app/IMainFrameHost.h"
#include "base/ScratchFolder.h"
#include "chess/CBasePiece.h"
#include "chess/CBaseRule.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "chess/CCoordinateMove.h"
#include "link/CTableLink.h"
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/TestSupport.h"
#include "table/CNegotiation.h"
#include "table/CResumeManager.h"
#include "table/CTableBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace kelo {
namespace {

namespace fs = std::filesystem;

// A person who takes a while over the save question: the loop and its clocks run on behind
// it, as they do behind a modal question. The file dialog takes the name offered.
class SlowPrompts : public test::ScriptedPrompts {
public:
    explicit SlowPrompts(test::ManualEventLoop& loop) : m_loop(loop) { yesNoAnswer = true; }
    bool Verify(const std::string& question, const std::string& ok,
                const std::string& cancel) override {
        const bool answer = ScriptedPrompts::Verify(question, ok, cancel);
        if (question == CResumeManager::END_QUESTION)
            m_loop.Advance(120 * 1000);
        return answer;
    }
    std::string ChooseSaveFile(const std::string& folder, const std::string& name,
                               const std::string&, const std::string&) override {
        return folder + name;
    }
    size_t Asked(const std::string& question) const {
        return static_cast<size_t>(
            std::count_if(questions.begin(), questions.end(),
                          [&](const std::string& q) { return q.starts_with(question); }));
    }

private:
    test::ManualEventLoop& m_loop;
};

// The table window's host as the frame sees it: the end-of-game save at a close ends the
// client's game there; the table closes when told.
class ClosingHost : public IMainFrameHost, public INegotiationHost {
public:
    void AddSystemLine(const std::string&, uint32_t) override {}
    void CloseWindow(TableClose) override { ++closes; }
    void SaveGame(int mode) override {
        if (mode == CResumeManager::SAVE_GAME_END && client != nullptr)
            client->CloseGame();
    }
    void OpenExitDialog(bool, uint16_t, const std::string&) override {}
    void OpenDialog(CNegotiationDialog&) override {}
    void CloseTable() override { ++tableCloses; }
    CTableClient* client = nullptr;
    int closes = 0;
    int tableCloses = 0;
};

// One client's table with its window's objects and a frame, its records saved into a scratch
// folder as the save type says. Local: the user plays both sides; otherwise alice (White,
// seat 0) plays bob at a server, and what the table sends is kept in sender.
struct Table {
    explicit Table(bool local, int16_t saveType)
        : context(local ? nullptr : &sender), prompts(loop) {
        if (local) {
            CLocalTable::Prepare(context);
        } else {
            CPlayerManager& people = context.PlayerManager();
            people.SetSeatCount(2);
            people.AddPerson(test::MakePerson(100, "alice", 0));
            people.AddPerson(test::MakePerson(200, "bob", 1));
            people.SetOwnId(100);
            context.Mode().SetLocalMode(false);
            context.Mode().SetRole(TableRole::Player);
        }
        context.SetPrompts(&prompts);
        context.Settings().m_nSaveType = saveType;
        context.Settings().m_strManualPath = scratch.Folder() + "records/";
        // The frame holds the link, as in the window.
        frame = std::make_unique<CMainFrame>(context, loop, socket, host);
        CMainViewModel::Ports ports;
        ports.negotiationHost = &host;
        ports.saveOffer = [this] {
            CResumeManager(context.Table(), context.Board(), context.Settings(), context.Prompts())
                .SaveGame(CResumeManager::SAVE_GAME_END);
        };
        model = std::make_unique<CMainViewModel>(context, loop, ports);
        model->RegisterSinks(frame->Link());
        host.client = &model->Client();
    }
    ~Table() { context.SetPrompts(nullptr); }

    void Start(bool local) {
        if (local) {
            model->ButtonBoard().OnButtonUp(CButtonBoard::ID_START);
        } else {
            const uint8_t begin[] = {0, 0, 0, 0};
            frame->Link().Registry().HandOn(MSG_GAME_BEGIN, begin, sizeof begin);
        }
        loop.RunPending();
        ASSERT_TRUE(context.State().IsPlaying());
    }
    // Each move as the server relays it (in local mode the table's own sender does).
    void Play(const char* line) {
        CChnChessBoard& board = context.Board();
        std::istringstream moves(line);
        for (std::string text; moves >> text;) {
            const auto move = CCoordinateMove::Parse(text);
            const CBasePiece* piece = context.Position().PieceAt(move->from);
            ASSERT_NE(piece, nullptr) << text;
            const Colour colour = piece->m_colour;
            MoveRecord record;
            ASSERT_TRUE(board.RuleAt(move->from)
                            ->CheckMoveWithPromotion(colour, move->from, move->to, board,
                                                     PieceKind::Queen, record))
                << text;
            record.moveNumber = context.Position().MoveNumber();
            const auto body = MSG_MOVE_BODY::FromRecord(record).ToWire();
            frame->Link().Registry().HandOn(MSG_MOVE, body.data(),
                                            static_cast<uint32_t>(body.size()));
            loop.RunPending();
        }
    }
    std::vector<std::string> Records() const {
        std::vector<std::string> files;
        const std::string folder = scratch.Folder() + "records/";
        if (fs::exists(folder))
            for (const auto& entry : fs::directory_iterator(folder))
                files.push_back(entry.path().filename().string());
        return files;
    }
    size_t Sent(uint16_t type) const {
        return static_cast<size_t>(
            std::count_if(sender.sent.begin(), sender.sent.end(),
                          [type](const test::RecordingSender::Sent& s) { return s.type == type; }));
    }

    test::ScratchFolder scratch;
    test::RecordingSender sender;
    CGameContext context;
    test::ManualEventLoop loop;
    test::FakeSocketControl socket;
    SlowPrompts prompts;
    ClosingHost host;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CMainViewModel> model;
};

// Closing a local game and agreeing to end it stops its clocks: while the person reads the
// save question long past the move's time, no time-out ends the game a second time, so there
// is one question and one record, with the moves played.
TEST(TableClose, ALocalGameEndedByTheCloseIsOfferedOnce) {
    Table table(true, 2);
    table.Start(true);
    table.Play("e2e4 e7e5");
    EXPECT_TRUE(table.frame->OnClose());
    EXPECT_EQ(table.prompts.Asked(CMainFrame::LOCAL_CLOSE_QUESTION), 1u);
    EXPECT_EQ(table.prompts.Asked(CResumeManager::END_QUESTION), 1u);
    EXPECT_TRUE(table.prompts.notices.empty()); // no time-loss box
    const auto records = table.Records();
    ASSERT_EQ(records.size(), 1u);
    GameRecord record;
    ASSERT_TRUE(CResumeManager(table.context.Table(), table.context.Board(),
                               table.context.Settings(), table.prompts)
                    .LoadRecord(table.scratch.Folder() + "records/" + records[0], record));
    EXPECT_EQ(record.moves.size(), 2u);
}

// A game without a move has no record, whether it is saved at once or asked about.
TEST(TableClose, AGameWithoutAMoveLeavesNoRecord) {
    for (const int16_t saveType : {1, 2}) {
        Table table(true, saveType);
        table.Start(true);
        EXPECT_TRUE(table.frame->OnClose());
        EXPECT_EQ(table.prompts.Asked(CMainFrame::LOCAL_CLOSE_QUESTION), 1u) << saveType;
        EXPECT_EQ(table.prompts.Asked(CResumeManager::END_QUESTION), 0u) << saveType;
        EXPECT_TRUE(table.Records().empty()) << saveType;
    }
}

// "强行退出" at a server ends the game as any close does: saved at once with automatic saving,
// offered with the asked one. A game past move 10 is resigned on the way out; the result's
// echo, heard while the table closes, offers nothing more.
TEST(TableClose, LeavingAtOnceSavesAsTheSettingsSay) {
    struct Case {
        int16_t saveType;
        const char* line;
        size_t results; // resignations sent
        size_t questions;
    } cases[] = {
        {1, "e2e4 e7e5 g1f3", 0, 0},
        {2, "e2e4 e7e5 g1f3", 0, 1},
        {1,
         "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6 c2c3 e8g8 h2h3 "
         "c6a5 b3c2 c7c5 d2d4 d8c7",
         1, 0},
    };
    for (const Case& c : cases) {
        Table table(false, c.saveType);
        table.Start(false);
        table.Play(c.line);
        table.model->Negotiation().OpenExitDialog(true, 0);
        CNegotiationDialog* dialog = table.model->Negotiation().OpenDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->Press(CNegotiationDialog::ID_LEAVE_NOW);
        EXPECT_EQ(table.host.tableCloses, 1) << c.line;
        EXPECT_EQ(table.Sent(MSG_GAME_RESULT), c.results) << c.line;
        EXPECT_EQ(table.Sent(MSG_LEAVE_TABLE), 1u) << c.line;
        EXPECT_EQ(table.prompts.Asked(CResumeManager::END_QUESTION), c.questions) << c.line;
        ASSERT_EQ(table.Records().size(), 1u) << c.line;
        // The server passes the resignation on to every client, its sender's too.
        for (const auto& sent : table.sender.sent)
            if (sent.type == MSG_GAME_RESULT)
                table.frame->Link().Registry().HandOn(sent.type, sent.body.data(),
                                                      static_cast<uint32_t>(sent.body.size()));
        table.loop.RunPending();
        EXPECT_EQ(table.prompts.Asked(CResumeManager::END_QUESTION), c.questions) << c.line;
        EXPECT_EQ(table.Records().size(), 1u) << c.line;
    }
}

} // namespace
} // namespace kelo
