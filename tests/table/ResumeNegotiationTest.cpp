// SPDX-License-Identifier: GPL-3.0-or-later
// Sealing and resuming between the clients of one table: each client is a table of its own and
// the test carries the messages from one to the others as the server would.
#include "base/CGbkConverter.h"
#include "base/GameSettings.h"
#include "base/ScratchFolder.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_RESUME_ANSWER.h"
#include "link/MSG_RESUME_REQUEST.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAL_REQUEST.h"
#include "link/MessageTypes.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelo {
namespace {

template <size_t N> std::vector<uint8_t> Bytes(const std::array<uint8_t, N>& a) {
    return {a.begin(), a.end()};
}

constexpr uint32_t WHITE_ID = 100, BLACK_ID = 200, WATCHER_ID = 300;

class RecordingDialogs : public IResumeDialogs {
public:
    void OpenSealRequest(const std::string& q, const std::string& action, Answer) override {
        opened.push_back("request: " + q + " / " + action);
    }
    void CloseSealRequest() override { opened.push_back("request closed"); }
    void OnSealRequestCountdown(int seconds) override { requestSeconds = seconds; }
    int requestSeconds = 0;
    void OpenSealAnswer(const std::string& q, Answer) override { opened.push_back("seal: " + q); }
    void OpenResumeAnswer(const std::string& q, Answer) override {
        opened.push_back("resume: " + q);
    }
    void ShowInformation(const std::string& text) override { information.push_back(text); }
    void OnSealed(const std::string& path) override { sealed.push_back(path); }
    std::vector<std::string> opened, information, sealed;
};

class Prompts : public test::ScriptedPrompts {
public:
    std::string ChooseOpenFile(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
        return openPath;
    }
    std::string openPath;
};

// One client of the table with its negotiation.
struct Client {
    Client(uint32_t ownId, const std::string& folder) : table(ownId) {
        table.people.SetSeatCount(2);
        if (ownId == WATCHER_ID) {
            table.people.AddPerson(test::MakePerson(WATCHER_ID, "watcher", 0, 5));
            table.mode.SetRole(TableRole::Watcher);
        } else {
            table.mode.SetRole(TableRole::Player);
        }
        table.StartPosition();
        table.state.BeginPlaying();
        settings.m_strManualPath = folder;
    }
    test::ChessTable table;
    GameSettings settings;
    Prompts prompts;
    test::ManualEventLoop loop;
    RecordingDialogs dialogs;
    CResumeNegotiation negotiation{table.Parts(), table.table, settings, prompts, loop, dialogs};
};

class ResumeNegotiationTest : public ::testing::Test {
protected:
    // What the clients sent since the last call, delivered to every client in order.
    void Relay() {
        for (bool more = true; more;) {
            more = false;
            for (Client* from : clients) {
                auto sent = std::move(from->table.sender.sent);
                from->table.sender.sent.clear();
                for (const auto& message : sent) {
                    more = true;
                    log.push_back(message.type);
                    for (Client* to : clients) {
                        to->table.table.HandleGameMessage(
                            message.type, message.body.data(),
                            static_cast<uint32_t>(message.body.size()));
                        to->negotiation.HandleMessage(message.type, message.body.data(),
                                                      static_cast<uint32_t>(message.body.size()));
                    }
                }
            }
        }
    }
    // Plays the line on every client, as relayed moves.
    void PlayEverywhere(const std::string& line) {
        for (Client* c : clients)
            ASSERT_TRUE(c->table.PlayLine(line));
    }
    ResumeEntry StoredGame(const std::string& line, const char* name = "game.che") {
        test::ChessTable source(WHITE_ID);
        source.people.SetSeatCount(2);
        source.StartPosition();
        EXPECT_TRUE(source.PlayLine(line));
        GameRecord record;
        GameSettings settings;
        test::ScriptedPrompts prompts;
        EXPECT_TRUE(
            CResumeManager(source.Parts(), source.board, settings, prompts).BuildRecord(record));
        const auto bytes = WriteRecord(record);
        const std::string path = scratch.Folder() + name;
        test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
        ResumeEntry entry;
        entry.key = "stored";
        entry.path = path;
        return entry;
    }

    test::ScratchFolder scratch;
    Client white{WHITE_ID, scratch.Folder() + "white/"};
    Client black{BLACK_ID, scratch.Folder() + "black/"};
    Client watcher{WATCHER_ID, scratch.Folder() + "watcher/"};
    std::vector<Client*> clients{&white, &black, &watcher};
    std::vector<uint16_t> log;
};

TEST_F(ResumeNegotiationTest, AnAgreedSealStoresTheGameOnBothPlayers) {
    PlayEverywhere("e2e4 e7e5 g1f3");
    white.negotiation.RequestSeal();
    EXPECT_EQ(white.dialogs.opened,
              (std::vector<std::string>{"request: 你真的请求封盘并结束本局游戏么？ / "
                                        "封盘保存,进入下一局"}));
    EXPECT_TRUE(white.table.sender.sent.empty());
    white.negotiation.SendSealRequest(true);
    ASSERT_EQ(white.table.sender.sent.size(), 1u);
    EXPECT_EQ(white.table.sender.sent[0].type, MSG_SEAL_REQUEST);
    EXPECT_EQ(white.dialogs.opened.back(), "request closed");
    white.dialogs.opened.clear();
    Relay();
    // Only the opponent is asked.
    EXPECT_TRUE(white.dialogs.opened.empty());
    EXPECT_TRUE(watcher.dialogs.opened.empty());
    EXPECT_EQ(black.dialogs.opened,
              std::vector<std::string>{"seal: 对方请求封盘进入下一局，你同意么？"});
    black.negotiation.AnswerSeal(true);
    Relay();
    for (Client* c : clients)
        EXPECT_EQ(c->table.state.State(), GameState::None);
    for (Client* player : {&white, &black}) {
        ASSERT_EQ(player->dialogs.sealed.size(), 1u);
        CResumeManager manager(player->table.Parts(), player->table.board, player->settings,
                               player->prompts);
        manager.LoadIndex();
        ASSERT_EQ(manager.Entries().size(), 1u);
        EXPECT_EQ(manager.Entries()[0].path, player->dialogs.sealed[0]);
        GameRecord record;
        ASSERT_TRUE(manager.LoadRecord(manager.Entries()[0].path, record));
        EXPECT_EQ(record.moves.size(), 3u);
    }
    EXPECT_EQ(watcher.dialogs.sealed, std::vector<std::string>{""});
    EXPECT_FALSE(std::filesystem::exists(scratch.Folder() + "watcher"));
}

// Silence refuses; the leave flag picks the question; a refusal keeps the game.
TEST_F(ResumeNegotiationTest, ASealAnswerCountsDown) {
    MSG_SEAL_REQUEST_BODY request{0, 2, 1};
    const auto bytes = request.ToWire();
    black.negotiation.HandleMessage(MSG_SEAL_REQUEST, bytes.data(), bytes.size());
    EXPECT_EQ(black.dialogs.opened,
              std::vector<std::string>{"seal: 对方请求封盘并退出游戏，你同意么？"});
    black.loop.Advance(29000);
    EXPECT_TRUE(black.table.sender.sent.empty());
    black.loop.Advance(1000);
    ASSERT_EQ(black.table.sender.sent.size(), 1u);
    EXPECT_EQ(black.table.sender.sent[0].body, Bytes(MSG_SEAL_ANSWER_BODY{1, 2, 0, 0}.ToWire()));
    Relay();
    EXPECT_EQ(white.table.state.State(), GameState::Playing);
    EXPECT_TRUE(white.dialogs.sealed.empty());
}

// The asker's dialog counts down too: at a server its end sends nothing, alone at a local table
// it answers no; a second request waits for the first dialog to close.
TEST_F(ResumeNegotiationTest, ASealRequestCountsDown) {
    struct Case {
        bool local;
        std::vector<std::vector<uint8_t>> sent;
    };
    for (const Case& c :
         {Case{false, {}}, Case{true, {Bytes(MSG_SEAL_ANSWER_BODY{0, 1, 0, 0}.ToWire())}}}) {
        SCOPED_TRACE(c.local ? "local" : "network");
        Client client{WHITE_ID, scratch.Folder() + "c/"};
        client.table.mode.SetLocalMode(c.local);
        client.negotiation.RequestSeal();
        client.negotiation.RequestSeal();
        EXPECT_EQ(client.dialogs.opened.size(), 1u);
        EXPECT_EQ(client.dialogs.requestSeconds, 30);
        client.loop.Advance(29000);
        EXPECT_EQ(client.dialogs.requestSeconds, 1);
        EXPECT_TRUE(client.table.sender.sent.empty());
        client.loop.Advance(1000);
        EXPECT_EQ(client.dialogs.opened.back(), "request closed");
        std::vector<std::vector<uint8_t>> sent;
        for (const auto& message : client.table.sender.sent)
            sent.push_back(message.body);
        EXPECT_EQ(sent, c.sent);
        // A late click after the countdown changes nothing.
        client.table.sender.sent.clear();
        client.loop.Advance(5000);
        EXPECT_TRUE(client.table.sender.sent.empty());
    }
}

// The request carries the stored game; after agreement every client, the watcher too, replays
// its 30 moves in order, and the referee announces nothing while it does, not even the mate
// that ends the stored game.
TEST_F(ResumeNegotiationTest, AnAgreedResumeReplaysTheStoredMovesEverywhere) {
    const std::string line = "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5 c2c3 d7d6 b1d2 a7a6 "
                             "a2a4 h7h6 h2h3 c8e6 c4e6 f7e6 d1b3 d8c8 e1g1 e8g8 f1e1 c8d7 "
                             "d2f1 g8h7 c1e3 c5e3 f1e3 a8b8";
    const ResumeEntry entry = StoredGame(line);
    for (Client* c : clients)
        c->table.state.NewGame();
    ASSERT_TRUE(white.negotiation.RequestResume(entry));
    ASSERT_EQ(white.table.sender.sent.size(), 1u);
    const auto& request = white.table.sender.sent[0];
    EXPECT_EQ(request.type, MSG_RESUME_REQUEST);
    EXPECT_EQ(request.body.size(), 44u + 20u * 30u);
    MSG_RESUME_REQUEST_BODY head;
    ASSERT_TRUE(MSG_RESUME_REQUEST_BODY::FromWire(request.body.data(), request.body.size(), head));
    EXPECT_EQ(head.seatno, 0);
    EXPECT_EQ(head.userIds, (std::array<uint32_t, 2>{WHITE_ID, BLACK_ID}));
    EXPECT_EQ(head.moveCount, 30);
    Relay();
    EXPECT_EQ(black.dialogs.opened,
              std::vector<std::string>{"resume: white[0][me:1]请求续盘，你同意么？"});
    EXPECT_TRUE(white.dialogs.opened.empty());
    EXPECT_TRUE(watcher.dialogs.opened.empty());
    black.negotiation.AnswerResume(true);
    Relay();

    test::ChessBoard expected;
    expected.StartPosition();
    ASSERT_TRUE(expected.PlayLine(line));
    for (Client* c : clients) {
        EXPECT_EQ(c->table.position.Moves(), expected.position.Moves());
        EXPECT_EQ(c->table.state.State(), GameState::Playing);
        EXPECT_EQ(c->table.people.GetCurrentTurnSeat(), 0); // White to move after 30 plies
        EXPECT_EQ(c->table.board.ReplayCount(), 30);
    }
    EXPECT_EQ(log, (std::vector<uint16_t>{MSG_RESUME_REQUEST, MSG_RESUME_ANSWER}));

    // A stored game that ends in mate replays without a result.
    log.clear();
    const ResumeEntry mate = StoredGame("f2f3 e7e5 g2g4 d8h4", "mate.che");
    ASSERT_TRUE(white.negotiation.RequestResume(mate));
    Relay();
    black.negotiation.AnswerResume(true);
    Relay();
    EXPECT_EQ(log, (std::vector<uint16_t>{MSG_RESUME_REQUEST, MSG_RESUME_ANSWER}));
    EXPECT_EQ(watcher.table.position.Moves().size(), 4u);
}

// The colours of a resumed game are numbered from the record's bottom colour at the seat of the
// player with the first-mover colour, whatever the slots said.
TEST_F(ResumeNegotiationTest, AResumeNumbersTheColoursFromTheBottomColourAtTheFirstMover) {
    // Black's request: ids 100 and 200 with colours 0 and 1, bottom colour 0, first mover and
    // turn colour 1, clocks 1200/60/10, no take-backs, no moves.
    const std::vector<uint8_t> request = {0,   1,   0, 0,  0,   0,  0, 42, 0, 2, 0, 0, 0, 0, 0,
                                          100, 0,   0, 0,  200, 0,  0, 0,  1, 0, 0, 0, 1, 0, 1,
                                          4,   176, 0, 60, 0,   10, 0, 0,  0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> agreed = {0, 0, 0, 1};
    for (Client* c : clients) {
        c->negotiation.HandleMessage(MSG_RESUME_REQUEST, request.data(), request.size());
        c->negotiation.HandleMessage(MSG_RESUME_ANSWER, agreed.data(), agreed.size());
        const CPlayerManager& people = c->table.people;
        EXPECT_EQ(people.GetPersonById(BLACK_ID)->colour, Colour::White);
        EXPECT_EQ(people.GetPersonById(WHITE_ID)->colour, Colour::Black);
        EXPECT_EQ(people.GetFirstMoverSeat(), 1);
        EXPECT_EQ(people.GetCurrentTurnSeat(), 1);
        EXPECT_EQ(c->table.time.m_nTotalTime, 1200);
    }
    EXPECT_EQ(watcher.table.people.GetOwnColour(), Colour::Black); // behind seat 0
}

// A resume that cannot be rebuilt is a failure with the stop icon, and the table keeps its game.
TEST_F(ResumeNegotiationTest, AResumeThatCannotBeRebuiltFailsWithTheStopIcon) {
    // ids 100 and 999 (nobody here); then 100 and 200 with a first-mover colour nobody has.
    const std::vector<uint8_t> strangers = {0,   0,   0, 0,  0,   0,  0, 1, 0, 2, 0, 0, 0, 0, 0,
                                            100, 0,   0, 3,  231, 0,  0, 0, 1, 0, 0, 0, 0, 0, 0,
                                            4,   176, 0, 60, 0,   10, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> noFirstMover = {0,   0,   0, 0,  0,   0,  0, 1, 0, 2, 0, 0, 0, 0, 0,
                                               100, 0,   0, 0,  200, 0,  0, 0, 1, 0, 0, 0, 5, 0, 0,
                                               4,   176, 0, 60, 0,   10, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> agreed = {0, 1, 0, 1};
    ASSERT_TRUE(black.table.PlayLine("e2e4"));
    for (const auto* request : {&strangers, &noFirstMover}) {
        black.negotiation.HandleMessage(MSG_RESUME_REQUEST, request->data(), request->size());
        black.negotiation.HandleMessage(MSG_RESUME_ANSWER, agreed.data(), agreed.size());
    }
    EXPECT_EQ(black.prompts.errors,
              (std::vector<std::string>{"用户不正确，续盘失败！", "续盘失败！"}));
    EXPECT_EQ(black.table.position.Moves().size(), 1u);
}

TEST_F(ResumeNegotiationTest, ARefusedResumeIsShownToAllButTheOneWhoRefused) {
    ASSERT_TRUE(white.negotiation.RequestResume(StoredGame("e2e4 e7e5")));
    Relay();
    black.loop.Advance(30000); // silence refuses
    Relay();
    EXPECT_EQ(white.dialogs.information, std::vector<std::string>{"别人不同意你的续盘请求！"});
    EXPECT_EQ(watcher.dialogs.information, std::vector<std::string>{"别人不同意你的续盘请求！"});
    EXPECT_TRUE(black.dialogs.information.empty());
    EXPECT_TRUE(white.table.position.Moves().empty());
}

// What keeps a request from going out, and answers that find nothing to resume.
TEST_F(ResumeNegotiationTest, RequestsThatCannotGoOut) {
    const ResumeEntry empty = StoredGame("");
    EXPECT_FALSE(white.negotiation.RequestResume(empty));
    EXPECT_EQ(white.prompts.notices, std::vector<std::string>{"不存在走子纪录，不能续盘！"});

    white.prompts.notices.clear();
    white.table.people.RemovePerson(BLACK_ID);
    EXPECT_FALSE(white.negotiation.RequestResume(StoredGame("e2e4")));
    EXPECT_EQ(white.prompts.notices, std::vector<std::string>{"用户不匹配，不能续盘！"});
    EXPECT_TRUE(white.table.sender.sent.empty());

    // An agreement without a request, and a request cut short, change nothing.
    const auto agree = MSG_RESUME_ANSWER_BODY{1, 1}.ToWire();
    black.negotiation.HandleMessage(MSG_RESUME_ANSWER, agree.data(), agree.size());
    const std::vector<uint8_t> torn(44 + 19, 0);
    std::vector<uint8_t> claimsOne = torn;
    claimsOne[41] = 1;
    black.negotiation.HandleMessage(MSG_RESUME_REQUEST, claimsOne.data(), claimsOne.size());
    EXPECT_EQ(black.negotiation.PendingRecord(), nullptr);
    EXPECT_TRUE(black.dialogs.opened.empty());
}

// Without a server: sealing answers itself and starts the next game; a record file continues
// at once.
TEST_F(ResumeNegotiationTest, LocalModeSealsAndResumesAlone) {
    clients = {&white};
    white.table.mode.SetLocalMode(true);
    white.table.PlayLine("d2d4 d7d5");
    white.negotiation.SendSealRequest(true);
    EXPECT_EQ(white.table.sender.sent[0].body, Bytes(MSG_SEAL_ANSWER_BODY{0, 1, 1, 0}.ToWire()));
    Relay();
    EXPECT_EQ(white.dialogs.sealed.size(), 1u);
    EXPECT_FALSE(white.dialogs.sealed[0].empty());
    EXPECT_EQ(log, (std::vector<uint16_t>{MSG_SEAL_ANSWER, MSG_NEW_GAME, MSG_READY}));

    log.clear();
    white.prompts.openPath = white.dialogs.sealed[0];
    white.negotiation.ResumeFromFile();
    Relay();
    EXPECT_EQ(log, (std::vector<uint16_t>{MSG_RESUME_ANSWER}));
    EXPECT_EQ(white.table.position.Moves().size(), 2u);

    log.clear();
    EXPECT_TRUE(white.negotiation.ResumeRecordPath(StoredGame("e2e4 e7e5 g1f3").path));
    Relay();
    EXPECT_EQ(log, (std::vector<uint16_t>{MSG_RESUME_REQUEST, MSG_RESUME_ANSWER}));
    EXPECT_EQ(white.table.position.Moves().size(), 3u);
    EXPECT_FALSE(white.negotiation.ResumeRecordPath(scratch.Folder() + "missing.che"));
    EXPECT_EQ(white.prompts.notices, std::vector<std::string>{"不存在走子纪录，不能续盘！"});
}

} // namespace
} // namespace kelo
