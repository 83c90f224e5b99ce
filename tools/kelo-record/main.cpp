// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-record: prints a game record file, writes it as PGN, or makes one from PGN.
#include "CPgnGame.h"

#include "app/CLocalTable.h"
#include "base/CGbkConverter.h"
#include "base/FileBytes.h"
#include "chess/CBaseDiagram.h"
#include "chess/CChessSet.h"
#include "chess/CCoordinateMove.h"
#include "chess/CSanMove.h"
#include "chess/ChessTypes.h"
#include "table/CResumeManager.h"
#include "table/GameRecord.h"
#include "table/RecordFileName.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

using namespace kelo;

namespace {

constexpr const char* USAGE = "usage: kelo-record info FILE.che\n"
                              "       kelo-record pgn FILE.che\n"
                              "       kelo-record from-pgn GAME.pgn OUT.che [--white NICK] "
                              "[--black NICK]\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "kelo-record: %s\n", message.c_str());
    return 2;
}

const char* ColourWord(int16_t colour) {
    return colour == 0 ? "White" : colour == 1 ? "Black" : "none";
}

bool LoadFile(const std::string& path, GameRecord& record, std::string& error) {
    std::vector<uint8_t> bytes;
    switch (ReadFileBytes(path, CResumeManager::MAX_FILE_BYTES, bytes)) {
    case FileReadResult::CannotOpen:
        error = path + ": cannot be opened";
        return false;
    case FileReadResult::TooLarge:
        error = path + ": damaged record (too large)";
        return false;
    case FileReadResult::Read:
        break;
    }
    switch (ReadRecord(bytes.data(), bytes.size(), record)) {
    case RecordError::Damaged:
        error = path + ": damaged record (a length or count reaches past the end, or a "
                       "value no record holds)";
        return false;
    case RecordError::Version:
        error = path + ": record version is not 1.1";
        return false;
    case RecordError::None:
        return true;
    }
    return false;
}

// Plays the record's moves from the start with the rules; their notation, or an error naming
// the first move that does not fit.
bool Replay(const GameRecord& record, CChessSet& game, std::vector<std::string>& sans,
            std::string& error) {
    CChnChessBoard& board = game.Board();
    board.NewPosition();
    Colour colour = Colour::White;
    for (size_t i = 0; i < record.moves.size(); ++i) {
        const MoveRecord& stored = record.moves[i];
        const MoveRecord* legal = nullptr;
        const std::vector<MoveRecord> moves = CSanMove::LegalMoves(board, colour);
        for (const MoveRecord& move : moves)
            if (move.from.Code() == stored.from.Code() && move.to.Code() == stored.to.Code() &&
                PromotionKind(move.special) == PromotionKind(stored.special))
                legal = &move;
        if (legal == nullptr || stored.colour != colour) {
            error = "move " + std::to_string(i + 1) + " (" +
                    CCoordinateMove::Format(stored.from, stored.to, stored.special) +
                    ") is not legal in the game";
            return false;
        }
        sans.push_back(CSanMove::Play(board, colour, *legal));
        colour = OppositeColour(colour);
    }
    return true;
}

// The date of the game in PGN's form, from the time stamp that the client puts at the end of a
// record's file name ("甲_乙_081208_2105.che", or "..._2105_2.che" for a second record of the
// same minute); "????.??.??" when the name carries none, as the save button's names do.
std::string DateFromFileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    // The number that keeps two records of one minute apart (2 to 999) comes after the stamp.
    const size_t last = name.rfind('_');
    if (last != std::string::npos && name.size() - last - 1 < 4 && name.size() > last + 1 &&
        name.find_first_not_of("0123456789", last + 1) == std::string::npos)
        name.erase(last);
    // "_yymmdd_HHMM" at the end.
    std::tm stamp{};
    if (name.size() < 12 || name[name.size() - 12] != '_' ||
        !ReadRecordTimeStamp(name.substr(name.size() - 11), stamp))
        return "????.??.??";
    char text[16];
    std::strftime(text, sizeof text, "%Y.%m.%d", &stamp);
    return text;
}

std::string Nickname(const GameRecord& record, int16_t colour) {
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot)
        if (record.colours[slot] == colour)
            return CGbkConverter::ToUtf8(record.nicknames[slot]);
    return "?";
}

int Info(const std::string& path) {
    GameRecord record;
    std::string error;
    if (!LoadFile(path, record, error))
        return Fail(error);
    std::printf("version: %.1f\n", record.version);
    std::printf("owner seat: %d\nkey: %u\nseats: %d\n", record.ownerSeat, record.key,
                record.seatCount);
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot)
        std::printf("slot %d: id %u, %s, %s\n", slot, record.userIds[slot],
                    ColourWord(record.colours[slot]),
                    CGbkConverter::ToUtf8(record.nicknames[slot]).c_str());
    std::printf("bottom: %s\nfirst mover: %s\ncurrent turn: %s\n", ColourWord(record.bottomColour),
                ColourWord(record.firstMoverColour), ColourWord(record.currentTurnColour));
    std::printf("clock: total %d s, per move %d s, added %d s\n", record.clock[0], record.clock[1],
                record.clock[2]);
    std::printf("take-backs: seat 0 %d, seat 1 %d\n", record.takeBacks[0], record.takeBacks[1]);
    std::printf("moves: %zu\n", record.moves.size());
    for (size_t i = 0; i < record.moves.size(); ++i) {
        const MoveRecord& m = record.moves[i];
        const std::string text = CSanMove::SquareName(m.from) + CSanMove::SquareName(m.to);
        const std::string coordinate = text.find('?') == std::string::npos
                                           ? CCoordinateMove::Format(m.from, m.to, m.special)
                                           : text;
        // A pair of plies a line.
        std::printf("%s%s", i % 2 == 0 ? (i == 0 ? "" : "\n") : " ", coordinate.c_str());
    }
    if (!record.moves.empty())
        std::printf("\n");
    return 0;
}

int Pgn(const std::string& path) {
    GameRecord record;
    std::string error;
    if (!LoadFile(path, record, error))
        return Fail(error);
    CChessSet game;
    std::vector<std::string> sans;
    if (!Replay(record, game, sans, error))
        return Fail(path + ": " + error);
    CPgnGame pgn;
    pgn.m_moves = sans;
    CChnChessBoard& board = game.Board();
    const Colour toMove = record.moves.size() % 2 == 0 ? Colour::White : Colour::Black;
    if (!board.HasLegalMove(toMove))
        pgn.m_result = !board.GivesCheck(OppositeColour(toMove)) ? "1/2-1/2"
                       : toMove == Colour::White                 ? "0-1"
                                                                 : "1-0";
    pgn.m_tags = {{"Event", "Kelo table game"},     {"Site", "?"},
                  {"Date", DateFromFileName(path)}, {"Round", "-"},
                  {"White", Nickname(record, 0)},   {"Black", Nickname(record, 1)},
                  {"Result", pgn.m_result}};
    std::fputs(pgn.Write().c_str(), stdout);
    return 0;
}

int FromPgn(const std::string& in, const std::string& out, std::string white, std::string black) {
    std::ifstream file(in, std::ios::binary);
    if (!file)
        return Fail(in + ": cannot be opened");
    std::stringstream text;
    text << file.rdbuf();
    CPgnGame pgn;
    std::string error;
    if (!pgn.Read(text.str(), error))
        return Fail(in + ": " + error);
    CChessSet game;
    CChnChessBoard& board = game.Board();
    board.NewPosition();
    GameRecord record;
    Colour colour = Colour::White;
    for (size_t i = 0; i < pgn.m_moves.size(); ++i) {
        const auto move = CSanMove::Parse(board, colour, pgn.m_moves[i]);
        if (!move)
            return Fail(in + ": move " + std::to_string(i / 2 + 1) +
                        (colour == Colour::White ? ". " : "... ") + pgn.m_moves[i] +
                        " is illegal or unreadable");
        MoveRecord stored = *move;
        // As the client numbers them: the side's own moves.
        stored.moveNumber = static_cast<int16_t>(i / 2 + 1);
        CSanMove::Play(board, colour, stored);
        record.moves.push_back(stored);
        colour = OppositeColour(colour);
    }
    if (white.empty())
        white = pgn.Tag("White").empty() ? "白方" : pgn.Tag("White");
    if (black.empty())
        black = pgn.Tag("Black").empty() ? "黑方" : pgn.Tag("Black");
    // White owns the record in slot 0; the ids are a local table's, so the record resumes
    // on a local table as it is (a table at a server fits them to its players).
    record.ownerSeat = 0;
    record.userIds = {static_cast<uint32_t>(CLocalTable::FIRST_PLAYER_ID),
                      static_cast<uint32_t>(CLocalTable::SECOND_PLAYER_ID)};
    record.colours = {0, 1};
    record.nicknames = {CGbkConverter::ToGbk(white), CGbkConverter::ToGbk(black)};
    record.bottomColour = 0;
    record.firstMoverColour = 0;
    record.currentTurnColour = static_cast<int16_t>(WireValue(colour));
    record.clock = {1200, 60, 10};
    if (!ReplaceFileBytes(out, WriteRecord(record)))
        return Fail(out + ": cannot be written");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(USAGE, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    if ((args[0] == "info" || args[0] == "pgn") && args.size() == 2)
        return args[0] == "info" ? Info(args[1]) : Pgn(args[1]);
    if (args[0] == "from-pgn" && args.size() >= 3) {
        std::string white, black;
        for (size_t i = 3; i < args.size(); i += 2) {
            if (i + 1 >= args.size() || (args[i] != "--white" && args[i] != "--black"))
                return Fail("unexpected argument '" + args[i] + "' (kelo-record --help)");
            (args[i] == "--white" ? white : black) = args[i + 1];
        }
        return FromPgn(args[1], args[2], white, black);
    }
    return Fail("unknown command or missing file (kelo-record --help)");
}
