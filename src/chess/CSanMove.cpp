// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CSanMove.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseRule.h"
#include "chess/CCoordinateMove.h"
#include "chess/CPerft.h"
#include "chess/ChessTypes.h"

#include <algorithm>

namespace kelo {

namespace {

bool OnBoard(CBasePoint square) {
    const int32_t code = square.Code();
    return code >= 0 && code / 100 < 8 && code % 100 < 8;
}

std::string Stripped(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '+' && c != '#' && c != '!' && c != '?')
            out += c;
    if (out == "0-0" || out == "0-0-0")
        std::replace(out.begin(), out.end(), '0', 'O');
    return out;
}

} // namespace

std::string CSanMove::SquareName(CBasePoint square) {
    if (!OnBoard(square))
        return "??";
    std::string name(2, ' ');
    name[0] = static_cast<char>('a' + square.x);
    name[1] = static_cast<char>('8' - square.y);
    return name;
}

std::vector<MoveRecord> CSanMove::LegalMoves(CBaseBoard& board, Colour colour) {
    std::vector<MoveRecord> moves;
    for (const auto& [text, count] : CPerft(board).Divide(colour, 1)) {
        (void)count;
        const auto coordinate = CCoordinateMove::Parse(text);
        CBaseRule* rule = coordinate ? board.RuleAt(coordinate->from) : nullptr;
        MoveRecord record;
        if (rule != nullptr &&
            rule->CheckMoveWithPromotion(colour, coordinate->from, coordinate->to, board,
                                         PromotionKind(coordinate->special), record))
            moves.push_back(record);
    }
    return moves;
}

std::string CSanMove::Format(CBaseBoard& board, Colour colour, const MoveRecord& move) {
    if (move.special == SPECIAL_CASTLE_KING)
        return "O-O";
    if (move.special == SPECIAL_CASTLE_QUEEN)
        return "O-O-O";
    const bool capture = (move.flags & FLAG_CAPTURE) != 0 || move.special == SPECIAL_EN_PASSANT;
    std::string text;
    if (move.kind == PieceKind::Pawn) {
        if (capture)
            text += SquareName(move.from)[0];
    } else {
        text += KindLetter(move.kind);
        // Name the file, else the rank, else both, of the piece that moves when another of the
        // same kind could go to the same square.
        bool other = false, sameFile = false, sameRank = false;
        for (const MoveRecord& m : LegalMoves(board, colour)) {
            if (m.kind != move.kind || m.to != move.to || m.from == move.from)
                continue;
            other = true;
            sameFile = sameFile || m.from.x == move.from.x;
            sameRank = sameRank || m.from.y == move.from.y;
        }
        const std::string from = SquareName(move.from);
        if (other && !sameFile)
            text += from[0];
        else if (other && !sameRank)
            text += from[1];
        else if (other)
            text += from;
    }
    if (capture)
        text += 'x';
    text += SquareName(move.to);
    if (const PieceKind promoted = PromotionKind(move.special); promoted != PieceKind::None) {
        text += '=';
        text += KindLetter(promoted);
    }
    return text;
}

std::optional<MoveRecord> CSanMove::Parse(CBaseBoard& board, Colour colour,
                                          const std::string& text) {
    const auto matches = Matches(board, colour, text);
    if (!matches || matches->size() != 1)
        return std::nullopt;
    return matches->front();
}

std::optional<std::vector<MoveRecord>> CSanMove::Matches(CBaseBoard& board, Colour colour,
                                                         const std::string& text) {
    // Read as piece letter, the parts of the origin given, the destination and the promotion,
    // so that a needlessly named origin (Ngf3) or a promotion without "=" (e8Q) reads too.
    std::string rest = Stripped(text);
    uint8_t castle = rest == "O-O"     ? SPECIAL_CASTLE_KING
                     : rest == "O-O-O" ? SPECIAL_CASTLE_QUEEN
                                       : 0;
    PieceKind kind = PieceKind::Pawn;
    PieceKind promoted = PieceKind::None;
    int fromFile = -1, fromRank = -1;
    CBasePoint to = NO_POINT;
    if (castle == 0) {
        const std::string letters = "KQRBN";
        const PieceKind kinds[] = {PieceKind::King, PieceKind::Queen, PieceKind::Rook,
                                   PieceKind::Bishop, PieceKind::Knight};
        if (!rest.empty() && letters.find(rest[0]) != std::string::npos) {
            kind = kinds[letters.find(rest[0])];
            rest.erase(0, 1);
        }
        if (!rest.empty() && letters.find(rest.back()) != std::string::npos) {
            promoted = kinds[letters.find(rest.back())];
            rest.pop_back();
            if (!rest.empty() && rest.back() == '=')
                rest.pop_back();
        }
        if (rest.size() < 2)
            return std::nullopt;
        const char file = rest[rest.size() - 2], rank = rest[rest.size() - 1];
        if (file < 'a' || file > 'h' || rank < '1' || rank > '8')
            return std::nullopt;
        to = CBasePoint(file - 'a', '8' - rank);
        rest.erase(rest.size() - 2);
        if (!rest.empty() && rest.back() == 'x')
            rest.pop_back();
        for (char c : rest) {
            if (c >= 'a' && c <= 'h' && fromFile < 0)
                fromFile = c - 'a';
            else if (c >= '1' && c <= '8' && fromRank < 0)
                fromRank = '8' - c;
            else
                return std::nullopt;
        }
    }
    std::vector<MoveRecord> found;
    for (const MoveRecord& move : LegalMoves(board, colour)) {
        const bool fits = castle != 0 ? move.special == castle
                                      : move.kind == kind && move.to == to &&
                                            PromotionKind(move.special) == promoted &&
                                            (fromFile < 0 || move.from.x == fromFile) &&
                                            (fromRank < 0 || move.from.y == fromRank) &&
                                            move.special != SPECIAL_CASTLE_KING &&
                                            move.special != SPECIAL_CASTLE_QUEEN;
        if (fits)
            found.push_back(move);
    }
    return found;
}

std::string CSanMove::Play(CBaseBoard& board, Colour colour, const MoveRecord& move) {
    std::string text = Format(board, colour, move);
    const MoveJudgement judgement = board.Play(move);
    if (!judgement.applied)
        return {};
    if (judgement.verdict == Verdict::Checkmate)
        text += '#';
    else if (judgement.check)
        text += '+';
    return text;
}

} // namespace kelo
