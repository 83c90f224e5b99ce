// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/GameRecord.h"
#include "table/ResumeEntry.h"
#include "table/TableParts.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace kelo {

class CBaseBoard;
class IPrompts;
struct GameSettings;

// Game records and the index of adjourned games. One is made for each use; it reads the index
// again when asked and never keeps it between uses.
class CResumeManager {
public:
    static constexpr const char* INDEX_FILE = "resumesChnManager.dat";
    static constexpr const char* FILTER = "国际象棋 (*.che)|*.che|所有文件 (*.*)|*.*||";
    static constexpr const char* EXTENSION = "che";
    // A record of the longest game with long names is far below this.
    static constexpr size_t MAX_FILE_BYTES = 4 << 20;

    // What SaveGame does by mode.
    enum SaveMode { SAVE_SEAL = 0, SAVE_GAME_END = 1, SAVE_ASKED = 2 };

    CResumeManager(const TableParts& table, CBaseBoard& board, const GameSettings& settings,
                   IPrompts& prompts);

    // The record folder, ending with "/", and the index file in it.
    std::string RecordFolder() const;
    std::string IndexPath() const;

    // The index. LoadIndex: a missing or unreadable index is an empty list; a damaged one too,
    // and the user is told. WriteIndex replaces the file whole; false when it could not.
    void LoadIndex();
    bool WriteIndex();
    void AddEntry(const ResumeEntry& entry) { m_entries.push_back(entry); }
    // Removes the first entry with the same path and writes the index; the record file stays.
    // False when the index could not be written (the removal then stays in memory only).
    bool RemoveEntry(const ResumeEntry& entry);
    const std::vector<ResumeEntry>& Entries() const { return m_entries; }

    // "%s_%s_" with the own nickname and the nickname at the seat after the own one; empty
    // when either seat has no player. Not quiet: the user may edit it (an empty name is
    // refused and asked again; closing the dialog keeps the proposal).
    std::string GameName(bool quiet);
    // The same made of safe file names.
    std::string FileGameName() const;
    // The three forms of a record's file name.
    std::string FullPath() const;
    std::string ProposedName() const;
    std::string ShortName() const;

    // The game on the board as a record; false (and "保存失败") when a seat has no player.
    bool BuildRecord(GameRecord& record);
    // The save offer by mode; the path written, empty when nothing was. Only a game under way,
    // ended or closing with the table is saved, or the finished game that is still on view
    // (finishedOnView) while the table readies the next one. At a game's end (SAVE_GAME_END) a
    // game without a move is neither offered nor saved.
    std::string SaveGame(int mode, bool finishedOnView = false);
    // Reads the record file and fits its players to the table: in local mode the local players
    // take the record's slots and nicknames, otherwise the ids are fitted to the two players
    // seated. False when nothing was loaded; a damaged file or another version is told.
    bool LoadRecord(const std::string& path, GameRecord& record);

    // The clock; tests set fixed values.
    std::function<uint32_t()> m_tickCount;
    std::function<std::tm()> m_localTime;

    static constexpr const char* SAVE_FAILED = "保存失败";
    static constexpr const char* VERSION_TOO_LOW = "文件版本太低,无法进行续盘!";
    static constexpr const char* DAMAGED = "棋局文件已损坏，无法载入！";
    static constexpr const char* INDEX_DAMAGED = "续盘索引文件已损坏，已忽略其中的棋局。";
    static constexpr const char* BAD_NAME = "棋局名称不合法！";
    static constexpr const char* END_QUESTION = "本局游戏结束，您要保存棋局么？";

private:
    // Writes the record through a temporary file; false when nothing was written.
    bool WriteRecordFile(const std::string& path, const GameRecord& record);
    std::string SealGame(const GameRecord& record);
    void FitPlayers(GameRecord& record);
    std::string NicknameAt(uint16_t seat) const;
    uint16_t OwnSeatOrFirst() const;
    // The own seat (the first for a watcher) and the seat after it; false when either is empty.
    bool SeatPair(uint16_t& own, uint16_t& other) const;

    TableParts m_table;
    CBaseBoard& m_board;
    const GameSettings& m_settings;
    IPrompts& m_prompts;
    std::vector<ResumeEntry> m_entries;
};

} // namespace kelo
