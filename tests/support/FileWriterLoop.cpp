// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the client's three kinds of file through the core's own writers, over and over, so that
// a script can kill it at any moment and then ask it whether every file is still whole.
// - "init FOLDER" writes the old contents once.
// - "check FOLDER" prints "record old|new", "index old|new", "settings old|new" and "strays N",
//   the most temporary files left behind in one of the two folders. A file that is neither, or
//   whose reading tells the user anything, is named on a line "BAD ...", and the end is 1.
// - "loop FOLDER" checks first, as a start of the client reads the files, then prints "writing"
//   and writes new, old, new ... until it is killed.
// The files: a game record (a game of some hundred plies, saved as the user's save does), the
// index of adjourned games and the settings file, each with an "old" and a "new" content.
#include "base/CGbkConverter.h"
#include "base/FileBytes.h"
#include "base/GameSettings.h"
#include "support/ChessTable.h"
#include "table/CResumeManager.h"
#include "table/GameRecord.h"
#include "table/ResumeEntry.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kelo {
namespace {

// The save dialog answers with the record's path; whatever else is shown is kept.
class SavePrompts : public test::ScriptedPrompts {
public:
    std::string ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
        return chosenPath;
    }
    std::string chosenPath;
};

PERSON Named(uint32_t id, const char* nickname, int16_t seat) {
    PERSON person = test::MakePerson(id, "user", seat);
    CGbkConverter::ToField(person.nickname, CGbkConverter::ToGbk(nickname));
    return person;
}

// 甲 (White) plays 乙 (Black) on 甲's client: the knights go out and back, rounds times.
std::unique_ptr<test::ChessTable> Game(int rounds) {
    auto table = std::make_unique<test::ChessTable>();
    table->people.AddPerson(Named(100, "甲", 0));
    table->people.AddPerson(Named(200, "乙", 1));
    table->people.SetSeatCount(2);
    table->StartPosition();
    std::string line;
    for (int i = 0; i < rounds; ++i)
        line += "g1f3 g8f6 f3g1 f6g8 b1c3 b8c6 c3b1 c6b8 ";
    if (!table->PlayLine(line))
        std::abort();
    table->state.BeginPlaying();
    return table;
}

std::vector<ResumeEntry> Entries(int count, const std::string& folder) {
    std::vector<ResumeEntry> entries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        entries[i].key = "甲_乙_" + std::to_string(i);
        entries[i].path = folder + "甲_乙_0812" + std::to_string(1000 + i) + ".che";
    }
    return entries;
}

struct Contents {
    std::unique_ptr<test::ChessTable> game;
    std::vector<ResumeEntry> entries;
    GameSettings settings;
    // The settings file as it must read, line by line.
    std::string settingsText;
};

struct Files {
    explicit Files(const std::string& folder) {
        folders.m_strConfigFolder = folder + "/config/";
        folders.m_strRecordFolder = folder + "/records/";
        folders.m_strDataFolder = folder + "/data/";
        recordPath = folders.m_strRecordFolder + "甲_乙_.che";
        indexPath = folders.m_strRecordFolder + CResumeManager::INDEX_FILE;
        settingsPath = folders.m_strConfigFolder + "ChessGame.ini";
        // A few hundred plies against a few thousand: a write takes a while, and a file cut
        // anywhere matches neither.
        old.game = Game(40);
        fresh.game = Game(400);
        old.entries = Entries(30, folders.m_strRecordFolder);
        fresh.entries = Entries(300, folders.m_strRecordFolder);
        old.settings.m_strManualPath = folders.m_strRecordFolder;
        old.settings.m_strDllFileName = folder + "/style/picture1.dll";
        fresh.settings = old.settings;
        fresh.settings.m_bSound = false;
        fresh.settings.m_nSaveType = 2;
        fresh.settings.m_nTableBack = 3;
        fresh.settings.m_strEngineCommand = "/usr/games/stockfish --with a long argument list";
        const std::string common = "manualpath=" + old.settings.m_strManualPath +
                                   "\r\ndllfilename=" + old.settings.m_strDllFileName + "\r\n";
        old.settingsText = "[chessgame]\r\nsound=1\r\nshowontop=0\r\nsavetype=1\r\n" + common +
                           "[gogame]\r\ntableback=1\r\n";
        fresh.settingsText = "[chessgame]\r\nsound=0\r\nshowontop=0\r\nsavetype=2\r\n" + common +
                             "enginecommand=" + fresh.settings.m_strEngineCommand +
                             "\r\n[gogame]\r\ntableback=3\r\n";
    }

    CResumeManager Manager(test::ChessTable& table, SavePrompts& prompts) {
        CResumeManager manager(table.Parts(), table.board, old.settings, prompts);
        manager.m_tickCount = [] { return 4242u; };
        return manager;
    }

    // Each through the writer the client uses: the save of a game, the index of adjourned
    // games, the settings.
    bool WriteRecord(Contents& contents) {
        SavePrompts prompts;
        prompts.chosenPath = recordPath;
        return Manager(*contents.game, prompts).SaveGame(CResumeManager::SAVE_ASKED) == recordPath;
    }
    bool WriteIndex(Contents& contents) {
        SavePrompts prompts;
        CResumeManager manager = Manager(*old.game, prompts);
        for (const ResumeEntry& entry : contents.entries)
            manager.AddEntry(entry);
        return manager.WriteIndex();
    }
    bool WriteSettings(Contents& contents) {
        SavePrompts prompts;
        return SaveGameSettings(contents.settings, folders, prompts);
    }

    SettingsFolders folders;
    std::string recordPath, indexPath, settingsPath;
    Contents old, fresh;
};

std::string Bytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(path, 64 << 20, bytes) != FileReadResult::Read)
        return "(missing)";
    return std::string(bytes.begin(), bytes.end());
}

// "old" or "new" by the bytes, after the reader has read them without a word to the user.
int Check(Files& files) {
    int bad = 0;
    const auto judge = [&](const char* what, const std::string& path, const std::string& oldBytes,
                           const std::string& newBytes, const std::vector<std::string>& told) {
        const std::string bytes = Bytes(path);
        const char* verdict = bytes == oldBytes ? "old" : bytes == newBytes ? "new" : nullptr;
        if (verdict == nullptr || !told.empty()) {
            std::printf(
                "BAD %s %s: %zu bytes (old %zu, new %zu)%s%s\n", what, path.c_str(), bytes.size(),
                oldBytes.size(), newBytes.size(),
                told.empty() ? "" : ", the reader said: ", told.empty() ? "" : told[0].c_str());
            ++bad;
            return;
        }
        std::printf("%s %s\n", what, verdict);
    };

    const auto recordBytes = [&](Contents& contents) {
        SavePrompts prompts;
        GameRecord record;
        files.Manager(*contents.game, prompts).BuildRecord(record);
        const std::vector<uint8_t> bytes = kelo::WriteRecord(record);
        return std::string(bytes.begin(), bytes.end());
    };
    {
        SavePrompts prompts;
        GameRecord loaded;
        const bool read =
            files.Manager(*files.old.game, prompts).LoadRecord(files.recordPath, loaded);
        if (!read)
            prompts.notices.push_back("(not loaded)");
        judge("record", files.recordPath, recordBytes(files.old), recordBytes(files.fresh),
              prompts.notices);
    }
    {
        SavePrompts prompts;
        CResumeManager manager = files.Manager(*files.old.game, prompts);
        manager.LoadIndex();
        if (manager.Entries() != files.old.entries && manager.Entries() != files.fresh.entries)
            prompts.notices.push_back("(other entries)");
        const std::vector<uint8_t> oldIndex = kelo::WriteIndex(files.old.entries);
        const std::vector<uint8_t> newIndex = kelo::WriteIndex(files.fresh.entries);
        judge("index", files.indexPath, std::string(oldIndex.begin(), oldIndex.end()),
              std::string(newIndex.begin(), newIndex.end()), prompts.notices);
    }
    {
        GameSettings read;
        LoadGameSettings(read, files.folders);
        std::vector<std::string> told;
        const auto same = [&](const GameSettings& s) {
            return read.m_bSound == s.m_bSound && read.m_nSaveType == s.m_nSaveType &&
                   read.m_nTableBack == s.m_nTableBack &&
                   read.m_strManualPath == s.m_strManualPath &&
                   read.m_strEngineCommand == s.m_strEngineCommand;
        };
        if (!same(files.old.settings) && !same(files.fresh.settings))
            told.push_back("(other settings)");
        judge("settings", files.settingsPath, files.old.settingsText, files.fresh.settingsText,
              told);
    }

    // Whatever else lies in the two folders was left by a write that did not finish.
    int strays = 0;
    for (const std::string& folder :
         {files.folders.m_strConfigFolder, files.folders.m_strRecordFolder}) {
        int here = 0;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            const std::string path = entry.path().string();
            if (path != files.recordPath && path != files.indexPath && path != files.settingsPath)
                ++here;
        }
        strays = std::max(strays, here);
    }
    std::printf("strays %d\n", strays);
    return bad == 0 ? 0 : 1;
}

} // namespace
} // namespace kelo

int main(int argc, char** argv) {
    using namespace kelo;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s init|loop|check FOLDER\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    Files files(argv[2]);
    if (mode == "init") {
        MakeFolder(files.folders.m_strRecordFolder);
        const bool ok = files.WriteRecord(files.old) && files.WriteIndex(files.old) &&
                        files.WriteSettings(files.old);
        return ok ? 0 : 1;
    }
    if (mode == "loop") {
        // One process for both: the start of a program is what takes the time of a round.
        Check(files);
        std::printf("writing\n");
        std::fflush(stdout);
        for (bool fresh = true;; fresh = !fresh) {
            Contents& contents = fresh ? files.fresh : files.old;
            if (!files.WriteRecord(contents) || !files.WriteIndex(contents) ||
                !files.WriteSettings(contents)) {
                std::fprintf(stderr, "a write failed\n");
                return 1;
            }
        }
    }
    if (mode == "check")
        return Check(files);
    std::fprintf(stderr, "usage: %s init|loop|check FOLDER\n", argv[0]);
    return 2;
}
