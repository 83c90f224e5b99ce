// SPDX-License-Identifier: GPL-3.0-or-later
// The save offer, loading a record and the index of adjourned games, on files in a scratch
// folder.
#include "base/CGbkConverter.h"
#include "base/GameSettings.h"
#include "base/ScratchFolder.h"
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "support/ChessTable.h"
#include "table/CResumeManager.h"

#include <gtest/gtest.h>

#include <fstream>

#include <filesystem>
#include <sys/stat.h>

namespace kelo {
namespace {

namespace fs = std::filesystem;

// Scripted file dialogs and name input on top of the scripted questions.
class FilePrompts : public test::ScriptedPrompts {
public:
    std::string ChooseSaveFile(const std::string& folder, const std::string& name,
                               const std::string& filter, const std::string& extension) override {
        saveDialogs.push_back(folder + "|" + name + "|" + filter + "|" + extension);
        return chosenPath;
    }
    bool InputText(const std::string& caption, const std::string&, std::string& text) override {
        inputs.push_back(caption + ":" + text);
        if (names.empty())
            return false;
        text = names.front();
        names.pop_front();
        return true;
    }
    std::vector<std::string> saveDialogs;
    std::string chosenPath;
    std::deque<std::string> names;
    std::vector<std::string> inputs;
};

PERSON Named(uint32_t id, const char* nickname, int16_t seat) {
    PERSON person = test::MakePerson(id, "user", seat);
    CGbkConverter::ToField(person.nickname, CGbkConverter::ToGbk(nickname));
    return person;
}

// 甲 (id 100, White, seat 0) plays 乙 (id 200, Black, seat 1) on 甲's client; four plies made.
class ResumeManagerTest : public ::testing::Test {
protected:
    ResumeManagerTest() {
        table.people.AddPerson(Named(100, "甲", 0));
        table.people.AddPerson(Named(200, "乙", 1));
        table.people.SetSeatCount(2);
        table.StartPosition();
        EXPECT_TRUE(table.PlayLine("e2e4 e7e5 g1f3 b8c6"));
        table.state.BeginPlaying();
        settings.m_strManualPath = scratch.Folder() + "records/deeper";
        stamp.tm_year = 108;
        stamp.tm_mon = 11;
        stamp.tm_mday = 8;
        stamp.tm_hour = 21;
        stamp.tm_min = 5;
    }
    CResumeManager Manager() {
        CResumeManager manager(table.Parts(), table.board, settings, prompts);
        manager.m_tickCount = [] { return 4242u; };
        manager.m_localTime = [this] { return stamp; };
        return manager;
    }
    std::string Folder() const { return scratch.Folder() + "records/deeper/"; }
    GameRecord Load(const std::string& path) {
        GameRecord record;
        EXPECT_TRUE(Manager().LoadRecord(path, record)) << path;
        return record;
    }

    test::ScratchFolder scratch;
    test::ChessTable table;
    GameSettings settings;
    FilePrompts prompts;
    std::tm stamp{};
};

// The automatic save at a game end names the file after both players and the minute, in a
// record folder that did not exist yet (and whose setting lacked its separator).
TEST_F(ResumeManagerTest, AutomaticSaveWritesTheFullPath) {
    table.state.End(GameEnd::Result);
    table.state.StartTakeBacks(1, 3);
    const std::string path = Manager().SaveGame(CResumeManager::SAVE_GAME_END);
    EXPECT_EQ(path, Folder() + "甲_乙_081208_2105.che");
    ASSERT_TRUE(fs::exists(path));
    const GameRecord record = Load(path);
    EXPECT_EQ(record.ownerSeat, 0);
    EXPECT_EQ(record.key, 4242u);
    EXPECT_EQ(record.userIds, (std::array<uint32_t, 2>{100, 200}));
    EXPECT_EQ(record.colours, (std::array<int16_t, 2>{0, 1}));
    EXPECT_EQ(record.nicknames[0], CGbkConverter::ToGbk("甲"));
    EXPECT_EQ(record.nicknames[1], CGbkConverter::ToGbk("乙"));
    EXPECT_EQ(record.clock, (std::array<int16_t, 3>{1800, 60, 10}));
    EXPECT_EQ(record.takeBacks, (std::array<int16_t, 2>{1, 0}));
    EXPECT_EQ(record.moves, table.position.Moves());
    // A second save in the same minute keeps the first file.
    EXPECT_EQ(Manager().SaveGame(CResumeManager::SAVE_GAME_END),
              Folder() + "甲_乙_081208_2105_2.che");
    EXPECT_TRUE(prompts.notices.empty());
}

// Black's client: the record starts with the own seat, and the take-back count of the other
// seat is the one its last request announced.
TEST_F(ResumeManagerTest, OwnSeatComesFirstAndTakeBacksFillBothSlots) {
    table.people.SetOwnId(200);
    table.state.StartTakeBacks(2, 3);
    uint8_t request[6];
    wire::PutU16(request, 0);
    wire::PutU16(request + 2, 3);
    wire::PutU16(request + 4, 1);
    table.table.HandleGameMessage(MSG_TAKEBACK_REQUEST, request, sizeof request);
    GameRecord record;
    ASSERT_TRUE(Manager().BuildRecord(record));
    EXPECT_EQ(record.ownerSeat, 1);
    EXPECT_EQ(record.userIds, (std::array<uint32_t, 2>{200, 100}));
    EXPECT_EQ(record.nicknames[0], CGbkConverter::ToGbk("乙"));
    EXPECT_EQ(record.takeBacks, (std::array<int16_t, 2>{3, 2}));
    EXPECT_EQ(Manager().ShortName(), "乙_甲_.che");
}

TEST_F(ResumeManagerTest, SaveTypesAndModes) {
    struct Case {
        const char* what;
        int mode;
        int16_t saveType;
        bool verify;
        std::string chosen;
        std::string expectedDialog; // empty: no save dialog
        bool written;
    };
    const std::string filter = CResumeManager::FILTER;
    const Case cases[] = {
        {"ask, save", 1, 2, true, "mine", "甲_乙_081208_2105.che", true},
        {"ask, give up", 1, 2, false, "mine", "", false},
        {"ask, cancelled dialog", 1, 2, true, "", "甲_乙_081208_2105.che", false},
        {"never save", 1, 3, true, "mine", "", false},
        {"save button", 2, 3, false, "mine.che", "甲_乙_.che", true},
        {"save button cancelled", 2, 1, false, "", "甲_乙_.che", false},
    };
    for (const Case& c : cases) {
        prompts = FilePrompts();
        prompts.yesNoAnswer = c.verify;
        prompts.chosenPath = c.chosen.empty() ? "" : scratch.Folder() + c.chosen;
        settings.m_nSaveType = c.saveType;
        const std::string path = Manager().SaveGame(c.mode);
        if (c.expectedDialog.empty()) {
            EXPECT_TRUE(prompts.saveDialogs.empty()) << c.what;
        } else {
            ASSERT_EQ(prompts.saveDialogs.size(), 1u) << c.what;
            EXPECT_EQ(prompts.saveDialogs[0],
                      Folder() + "|" + c.expectedDialog + "|" + filter + "|che")
                << c.what;
        }
        EXPECT_EQ(path.empty(), !c.written) << c.what;
        if (c.written) {
            // A name chosen without the extension gets it.
            EXPECT_EQ(path, scratch.Folder() + "mine.che") << c.what;
            EXPECT_EQ(Load(path).moves.size(), 4u) << c.what;
            fs::remove(path);
        }
    }
    EXPECT_EQ(prompts.questions.size(), 0u);
}

// A game that ends in the same minute as one saved before is offered a name of its own.
TEST_F(ResumeManagerTest, TheOfferedNameNeverNamesAGameSavedBefore) {
    settings.m_nSaveType = 2;
    fs::create_directories(Folder());
    std::ofstream(Folder() + "甲_乙_081208_2105.che") << "earlier";
    prompts = FilePrompts();
    prompts.yesNoAnswer = true;
    Manager().SaveGame(CResumeManager::SAVE_GAME_END);
    ASSERT_EQ(prompts.saveDialogs.size(), 1u);
    EXPECT_EQ(
        prompts.saveDialogs[0].substr(0, prompts.saveDialogs[0].find('|', Folder().size() + 1)),
        Folder() + "|甲_乙_081208_2105_2.che");
}

TEST_F(ResumeManagerTest, NothingIsSavedOutsideAGameOrWithAnEmptySeat) {
    table.state.NewGame();
    EXPECT_EQ(Manager().SaveGame(CResumeManager::SAVE_GAME_END), "");
    EXPECT_TRUE(prompts.notices.empty());
    // The finished game still on view is saved while the table readies the next one.
    const std::string kept = Manager().SaveGame(CResumeManager::SAVE_GAME_END, true);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(Load(kept).moves.size(), 4u);
    fs::remove(kept);
    table.state.BeginPlaying();
    table.people.RemovePerson(200);
    EXPECT_EQ(Manager().SaveGame(CResumeManager::SAVE_GAME_END), "");
    EXPECT_EQ(prompts.notices, std::vector<std::string>{"保存失败"});
    EXPECT_FALSE(fs::exists(Folder()) && !fs::is_empty(Folder()));
}

// A nickname from another person never leads the file out of the record folder; the record
// keeps the name as it is.
TEST_F(ResumeManagerTest, HostileNicknamesStayInTheRecordFolder) {
    table.people.AddPerson(Named(200, "../../x", 1));
    const std::string path = Manager().SaveGame(CResumeManager::SAVE_GAME_END);
    EXPECT_EQ(path, Folder() + "甲__._.._x_081208_2105.che");
    EXPECT_EQ(Load(path).nicknames[1], "../../x");
}

TEST_F(ResumeManagerTest, LoadingReadOnlyDamagedAndOldFiles) {
    const std::string path = Manager().SaveGame(CResumeManager::SAVE_GAME_END);
    ASSERT_FALSE(path.empty());
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(Load(path).moves.size(), 4u);

    std::string bytes = test::ReadFile(path);
    const std::string damagedPath = Folder() + "damaged.che";
    test::WriteFile(damagedPath, bytes.substr(0, bytes.size() - 5));
    const std::string oldPath = Folder() + "old.che";
    const double old = 1.0;
    bytes.replace(0, 8, reinterpret_cast<const char*>(&old), 8);
    test::WriteFile(oldPath, bytes);
    struct Case {
        std::string path;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        {damagedPath, {CResumeManager::DAMAGED}},
        {oldPath, {"文件版本太低,无法进行续盘!"}},
        {Folder() + "missing.che", {}},
        {Folder(), {}},
    };
    for (const Case& c : cases) {
        prompts.notices.clear();
        GameRecord record;
        record.key = 77;
        EXPECT_FALSE(Manager().LoadRecord(c.path, record)) << c.path;
        EXPECT_EQ(record.key, 77u);
        EXPECT_EQ(prompts.notices, c.notices) << c.path;
    }
}

// At a server the record's ids are fitted to the two players seated now.
TEST_F(ResumeManagerTest, LoadingFitsTheIdsToTheSeatedPlayers) {
    struct Case {
        uint32_t id0, id1, fitted0, fitted1;
    };
    const Case cases[] = {
        {100, 999, 100, 200}, {200, 999, 200, 100}, {999, 100, 200, 100},
        {999, 200, 100, 200}, {998, 999, 100, 200},
    };
    for (const Case& c : cases) {
        GameRecord record;
        record.userIds = {c.id0, c.id1};
        const std::string path = Folder() + "fit.che";
        fs::create_directories(Folder());
        const auto bytes = WriteRecord(record);
        test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
        const GameRecord loaded = Load(path);
        EXPECT_EQ(loaded.userIds, (std::array<uint32_t, 2>{c.fitted0, c.fitted1}))
            << c.id0 << " " << c.id1;
    }
}

// In local mode the local players take the slots by colour, with the record's nicknames.
TEST_F(ResumeManagerTest, LoadingInLocalModeRenamesTheLocalPlayers) {
    table.mode.SetLocalMode(true);
    GameRecord record;
    record.userIds = {7, 8};
    record.colours = {1, 0};
    record.nicknames = {CGbkConverter::ToGbk("丙"), CGbkConverter::ToGbk("丁")};
    fs::create_directories(Folder());
    const auto bytes = WriteRecord(record);
    test::WriteFile(Folder() + "local.che", std::string(bytes.begin(), bytes.end()));
    const GameRecord loaded = Load(Folder() + "local.che");
    EXPECT_EQ(loaded.userIds, (std::array<uint32_t, 2>{200, 100}));
    EXPECT_EQ(CGbkConverter::FromField(table.people.GetPersonById(200)->person.nickname),
              CGbkConverter::ToGbk("丙"));
    EXPECT_EQ(CGbkConverter::FromField(table.people.GetPersonById(100)->person.nickname),
              CGbkConverter::ToGbk("丁"));
}

// Sealing twice under the same name keeps both games; deleting one removes it by its path and
// leaves its record file.
TEST_F(ResumeManagerTest, SealedGamesAreAllKeptInTheIndex) {
    prompts.names = {"", "周末对局"};
    const std::string first = Manager().SaveGame(CResumeManager::SAVE_SEAL);
    EXPECT_EQ(prompts.notices, std::vector<std::string>{"棋局名称不合法！"});
    EXPECT_EQ(prompts.inputs,
              (std::vector<std::string>{"请输入续盘名称:甲_乙_", "请输入续盘名称:甲_乙_"}));
    prompts.names = {"周末对局"};
    const std::string second = Manager().SaveGame(CResumeManager::SAVE_SEAL);
    ASSERT_FALSE(first.empty());
    ASSERT_NE(first, second);

    CResumeManager manager = Manager();
    manager.LoadIndex();
    ASSERT_EQ(manager.Entries().size(), 2u);
    EXPECT_EQ(manager.Entries()[0].key, "周末对局");
    EXPECT_EQ(manager.Entries()[0].path, first);
    EXPECT_EQ(manager.Entries()[1].key, "周末对局");
    EXPECT_EQ(manager.Entries()[1].path, second);
    EXPECT_EQ(Load(first).moves.size(), 4u);

    EXPECT_TRUE(manager.RemoveEntry(manager.Entries()[0]));
    CResumeManager reloaded = Manager();
    reloaded.LoadIndex();
    ASSERT_EQ(reloaded.Entries().size(), 1u);
    EXPECT_EQ(reloaded.Entries()[0].path, second);
    EXPECT_TRUE(fs::exists(first));

    // Closing the name dialog keeps the proposal.
    const std::string third = Manager().SaveGame(CResumeManager::SAVE_SEAL);
    reloaded.LoadIndex();
    ASSERT_EQ(reloaded.Entries().size(), 2u);
    EXPECT_EQ(reloaded.Entries()[1].key, "甲_乙_");
    EXPECT_EQ(reloaded.Entries()[1].path, third);
}

// An entry of another version is gone at the next load and from the file at the next write.
TEST_F(ResumeManagerTest, EntriesOfAnotherVersionAreDropped) {
    fs::create_directories(Folder());
    const auto bytes =
        WriteIndex({{"old", 2, "/x/old.che", 1, 1.0}, {"new", 2, "/x/new.che", 1, 1.1}});
    const std::string index = Folder() + CResumeManager::INDEX_FILE;
    test::WriteFile(index, std::string(bytes.begin(), bytes.end()));
    CResumeManager manager = Manager();
    manager.LoadIndex();
    ASSERT_EQ(manager.Entries().size(), 1u);
    EXPECT_EQ(manager.Entries()[0].key, "new");
    ASSERT_TRUE(manager.WriteIndex());
    const auto written = WriteIndex({{"new", 2, "/x/new.che", 1, 1.1}});
    EXPECT_EQ(test::ReadFile(index), std::string(written.begin(), written.end()));

    // A damaged index is told and read as empty.
    test::WriteFile(index, std::string(bytes.begin(), bytes.end() - 3));
    manager.LoadIndex();
    EXPECT_TRUE(manager.Entries().empty());
    EXPECT_EQ(prompts.notices, std::vector<std::string>{CResumeManager::INDEX_DAMAGED});
}

// When the index cannot be written nothing of the seal stays: no entry and no record file.
TEST_F(ResumeManagerTest, ASealThatCannotWriteTheIndexLeavesNoRecord) {
    fs::create_directories(Folder() + CResumeManager::INDEX_FILE + "/blocked");
    EXPECT_EQ(Manager().SaveGame(CResumeManager::SAVE_SEAL), "");
    EXPECT_FALSE(fs::exists(Folder() + "甲_乙_081208_2105.che"));
}

} // namespace
} // namespace kelo
