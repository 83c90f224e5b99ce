// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CResumeManager.h"

#include "base/CFileLock.h"
#include "base/CGbkConverter.h"
#include "base/FileBytes.h"
#include "base/GameSettings.h"
#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "link/CTableMode.h"
#include "ports/IPrompts.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableState.h"
#include "table/RecordFileName.h"

#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace kelo {

namespace {

uint32_t SystemTickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::tm SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// A chosen name without an extension gets the record's.
std::string WithExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "." + CResumeManager::EXTENSION;
    return path;
}

// Two records made within the same minute under the same names keep apart: the later one gets
// a number before its extension.
std::string UnusedPath(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return path;
    const std::string stem = path.substr(0, path.size() - 4);
    for (int n = 2; n < 1000; ++n) {
        const std::string candidate = stem + "_" + std::to_string(n) + ".che";
        if (!std::filesystem::exists(candidate, error))
            return candidate;
    }
    return path;
}

} // namespace

CResumeManager::CResumeManager(const TableParts& table, CBaseBoard& board,
                               const GameSettings& settings, IPrompts& prompts)
    : m_tickCount(SystemTickCount), m_localTime(SystemLocalTime), m_table(table), m_board(board),
      m_settings(settings), m_prompts(prompts) {}

std::string CResumeManager::RecordFolder() const {
    // A folder read from the settings file may lack its separator; the file name is never
    // glued onto the folder's own name.
    return WithTrailingSlash(m_settings.m_strManualPath);
}

std::string CResumeManager::IndexPath() const {
    return RecordFolder() + INDEX_FILE;
}

void CResumeManager::LoadIndex() {
    m_entries.clear();
    std::vector<uint8_t> bytes;
    const FileReadResult read = ReadFileBytes(IndexPath(), MAX_FILE_BYTES, bytes);
    if (read == FileReadResult::CannotOpen)
        return;
    if (read == FileReadResult::TooLarge || !ReadIndex(bytes.data(), bytes.size(), m_entries))
        m_prompts.ShowNotice(INDEX_DAMAGED);
}

bool CResumeManager::WriteIndex() {
    return MakeFolder(RecordFolder()) && ReplaceFileBytes(IndexPath(), kelo::WriteIndex(m_entries));
}

bool CResumeManager::RemoveEntry(const ResumeEntry& entry) {
    // A copy: the entry may be one of the list about to be read again.
    const std::string path = entry.path;
    CFileLock lock(IndexPath());
    // Another client may have sealed a game since this list was read.
    LoadIndex();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path == path) {
            m_entries.erase(it);
            break;
        }
    }
    return WriteIndex();
}

std::string CResumeManager::NicknameAt(uint16_t seat) const {
    const CPlayerRecord* person = m_table.people.GetPersonBySeat(static_cast<int16_t>(seat));
    return person == nullptr
               ? std::string()
               : CGbkConverter::ToUtf8(CGbkConverter::FromField(person->person.nickname));
}

uint16_t CResumeManager::OwnSeatOrFirst() const {
    // A watcher's record is made from the first seat on.
    const CPlayerRecord* own = m_table.people.GetOwnRecord();
    return own != nullptr && own->Role() == TableRole::Player
               ? static_cast<uint16_t>(own->person.seatno)
               : uint16_t{0};
}

bool CResumeManager::SeatPair(uint16_t& own, uint16_t& other) const {
    const CPlayerManager& people = m_table.people;
    own = OwnSeatOrFirst();
    other = people.SeatAfter(own, true);
    return people.GetPersonBySeat(static_cast<int16_t>(own)) != nullptr &&
           people.GetPersonBySeat(static_cast<int16_t>(other)) != nullptr;
}

std::string CResumeManager::GameName(bool quiet) {
    uint16_t own = 0, other = 0;
    if (!SeatPair(own, other))
        return {};
    const std::string proposed = NicknameAt(own) + "_" + NicknameAt(other) + "_";
    if (quiet)
        return proposed;
    for (;;) {
        std::string name = proposed;
        if (!m_prompts.InputText("请输入续盘名称", "封盘名：", name))
            return proposed;
        if (!name.empty())
            return name;
        m_prompts.ShowNotice(BAD_NAME);
    }
}

std::string CResumeManager::FileGameName() const {
    uint16_t own = 0, other = 0;
    if (!SeatPair(own, other))
        return {};
    return SafeFileName(NicknameAt(own)) + "_" + SafeFileName(NicknameAt(other)) + "_";
}

std::string CResumeManager::FullPath() const {
    return RecordFolder() + ProposedName();
}

std::string CResumeManager::ProposedName() const {
    return FileGameName() + RecordTimeStamp(m_localTime()) + ".che";
}

std::string CResumeManager::ShortName() const {
    return FileGameName() + ".che";
}

bool CResumeManager::BuildRecord(GameRecord& record) {
    const CPlayerManager& people = m_table.people;
    GameRecord made;
    const uint16_t own = OwnSeatOrFirst();
    made.ownerSeat = static_cast<int16_t>(own);
    made.key = m_tickCount();
    made.seatCount = GameRecord::SLOTS;
    uint16_t seat = own;
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
        const CPlayerRecord* person = people.GetPersonBySeat(static_cast<int16_t>(seat));
        if (person == nullptr) {
            m_prompts.ShowNotice(SAVE_FAILED);
            return false;
        }
        made.userIds[slot] = person->person.id;
        made.colours[slot] = WireValue(person->colour);
        made.nicknames[slot] = CGbkConverter::FromField(person->person.nickname);
        seat = people.SeatAfter(seat, true);
    }
    made.bottomColour = WireValue(m_board.BottomColour());
    const auto colourAt = [&](uint16_t at) {
        const CPlayerRecord* person = people.GetPersonBySeat(static_cast<int16_t>(at));
        return person != nullptr ? WireValue(person->colour) : int16_t{0};
    };
    made.firstMoverColour = colourAt(people.GetFirstMoverSeat());
    made.currentTurnColour = colourAt(people.GetCurrentTurnSeat());
    made.clock = {m_table.time.m_nTotalTime, m_table.time.m_nPaceTime,
                  m_table.time.m_nPaceAddedTime};
    // The own side's take-backs as the table counts them, the other side's as its last
    // request announced them.
    for (uint16_t s = 0; s < GameRecord::SLOTS; ++s)
        made.takeBacks[s] = m_table.state.SeatTakeBackCount(s);
    if (own < GameRecord::SLOTS)
        made.takeBacks[own] = m_table.state.TakeBackCount();
    made.moves = m_board.Position().Moves();
    record = std::move(made);
    return true;
}

bool CResumeManager::WriteRecordFile(const std::string& path, const GameRecord& record) {
    return !path.empty() && ReplaceFileBytes(path, WriteRecord(record));
}

std::string CResumeManager::SaveGame(int mode, bool finishedOnView) {
    const GameState state = m_table.state.State();
    if (!finishedOnView && state != GameState::Playing && state != GameState::Ended &&
        state != GameState::Closing)
        return {};
    // A game ended or left before its first move holds nothing worth a file or a question.
    if (mode == SAVE_GAME_END && m_board.Position().Moves().empty())
        return {};
    GameRecord record;
    if (!BuildRecord(record))
        return {};
    // The folder is made before the first save, so that a dialog opens in it too.
    MakeFolder(RecordFolder());
    std::string path;
    switch (mode) {
    case SAVE_SEAL:
        return SealGame(record);
    case SAVE_GAME_END:
        if (m_settings.m_nSaveType == 1) {
            path = UnusedPath(FullPath());
        } else if (m_settings.m_nSaveType == 2 && m_prompts.Verify(END_QUESTION, "保存", "放弃")) {
            // Games that end within the same minute would be offered the same name: the offer
            // is a name not yet taken, so that accepting it keeps the game saved before.
            const std::string offered = UnusedPath(FullPath());
            path = m_prompts.ChooseSaveFile(
                RecordFolder(), offered.substr(offered.find_last_of('/') + 1), FILTER, EXTENSION);
        }
        break;
    case SAVE_ASKED:
        path = m_prompts.ChooseSaveFile(RecordFolder(), ShortName(), FILTER, EXTENSION);
        break;
    default:
        break;
    }
    if (path.empty())
        return {};
    path = WithExtension(path);
    return WriteRecordFile(path, record) ? path : std::string();
}

std::string CResumeManager::SealGame(const GameRecord& record) {
    const std::string key = GameName(false);
    const std::string path = UnusedPath(FullPath());
    // The record first, then the index under its lock: the index never names a file that was
    // not written, and a game sealed by another client meanwhile is kept.
    if (!WriteRecordFile(path, record))
        return {};
    CFileLock lock(IndexPath());
    LoadIndex();
    ResumeEntry entry;
    entry.key = key;
    entry.seatCount = record.seatCount;
    entry.path = path;
    AddEntry(entry);
    if (!WriteIndex()) {
        ::unlink(path.c_str());
        return {};
    }
    return path;
}

bool CResumeManager::LoadRecord(const std::string& path, GameRecord& record) {
    std::vector<uint8_t> bytes;
    const FileReadResult read = ReadFileBytes(path, MAX_FILE_BYTES, bytes);
    if (read == FileReadResult::CannotOpen)
        return false;
    GameRecord loaded;
    const RecordError error = read == FileReadResult::TooLarge
                                  ? RecordError::Damaged
                                  : ReadRecord(bytes.data(), bytes.size(), loaded);
    if (error != RecordError::None) {
        m_prompts.ShowNotice(error == RecordError::Version ? VERSION_TOO_LOW : DAMAGED);
        return false;
    }
    FitPlayers(loaded);
    record = std::move(loaded);
    return true;
}

void CResumeManager::FitPlayers(GameRecord& record) {
    CPlayerManager& people = m_table.people;
    if (m_table.mode.LocalMode()) {
        // The user plays both sides: the local player of each slot's colour (else of the
        // slot's seat) takes the slot and its nickname.
        for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
            const CPlayerRecord* local =
                people.GetPersonByColour(ColourFromWire(record.colours[slot]));
            if (local == nullptr)
                local = people.GetPersonBySeat(static_cast<int16_t>(slot));
            if (local == nullptr)
                continue;
            PERSON renamed = local->person;
            CGbkConverter::ToField(renamed.nickname, record.nicknames[slot]);
            record.userIds[slot] = renamed.id;
            people.AddPerson(renamed);
        }
        return;
    }
    const CPlayerRecord* first = people.GetPersonBySeat(0);
    const CPlayerRecord* second = people.GetPersonBySeat(1);
    const uint32_t id0 = first != nullptr ? first->person.id : 0;
    const uint32_t id1 = second != nullptr ? second->person.id : 0;
    const auto seated = [&](uint32_t id) { return id != 0 && (id == id0 || id == id1); };
    if (seated(record.userIds[0]))
        record.userIds[1] = record.userIds[0] == id0 ? id1 : id0;
    else if (seated(record.userIds[1]))
        record.userIds[0] = record.userIds[1] == id0 ? id1 : id0;
    else
        record.userIds = {id0, id1};
}

} // namespace kelo
