// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CFenReader.h"

#include "chess/CBaseDiagram.h"
#include "chess/ChessTypes.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace kelo {

namespace {

PieceKind KindOfLetter(char c) {
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'k':
        return PieceKind::King;
    case 'q':
        return PieceKind::Queen;
    case 'r':
        return PieceKind::Rook;
    case 'b':
        return PieceKind::Bishop;
    case 'n':
        return PieceKind::Knight;
    case 'p':
        return PieceKind::Pawn;
    default:
        return PieceKind::None;
    }
}

bool IsNumber(const std::string& s) {
    if (s.empty() || s.size() > 6)
        return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

struct Placed {
    int x, y;
    PieceKind kind;
    Colour colour;
};

CFenReader::Result Fail(CBaseDiagram& position, std::string error) {
    position.Reset();
    CFenReader::Result result;
    result.error = std::move(error);
    return result;
}

} // namespace

CFenReader::Result CFenReader::Load(const std::string& fen, CBaseDiagram& position) {
    position.Reset();
    std::istringstream in(fen);
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    if (fields.size() < 4 || fields.size() > 6)
        return Fail(position, "FEN needs 4 to 6 fields, found " + std::to_string(fields.size()));

    // Placement: rank 8 first, which is model row 0.
    std::vector<Placed> placed;
    int y = 0, x = 0;
    int kings[2] = {0, 0};
    for (char c : fields[0]) {
        if (c == '/') {
            if (x != 8)
                return Fail(position,
                            "FEN rank " + std::to_string(8 - y) + " does not have 8 files");
            ++y;
            x = 0;
            if (y > 7)
                return Fail(position, "FEN placement has more than 8 ranks");
        } else if (c >= '1' && c <= '8') {
            x += c - '0';
            if (x > 8)
                return Fail(position,
                            "FEN rank " + std::to_string(8 - y) + " has more than 8 files");
        } else if (PieceKind kind = KindOfLetter(c); kind != PieceKind::None) {
            if (x > 7)
                return Fail(position,
                            "FEN rank " + std::to_string(8 - y) + " has more than 8 files");
            const Colour colour =
                std::isupper(static_cast<unsigned char>(c)) ? Colour::White : Colour::Black;
            if (kind == PieceKind::Pawn && (y == 0 || y == 7))
                return Fail(position, "FEN has a pawn on the first or last rank");
            if (kind == PieceKind::King)
                ++kings[SideIndex(colour)];
            placed.push_back({x, y, kind, colour});
            ++x;
        } else {
            return Fail(position, std::string("FEN placement has a bad character '") + c + "'");
        }
    }
    if (y != 7 || x != 8)
        return Fail(position, "FEN placement does not have 8 ranks of 8 files");
    if (kings[0] != 1 || kings[1] != 1)
        return Fail(position, "FEN needs exactly one king of each colour");

    Result result;
    if (fields[1] == "w")
        result.sideToMove = Colour::White;
    else if (fields[1] == "b")
        result.sideToMove = Colour::Black;
    else
        return Fail(position, "FEN side to move must be w or b, not '" + fields[1] + "'");

    auto at = [&](int px, int py) -> const Placed* {
        for (const Placed& p : placed) {
            if (p.x == px && p.y == py)
                return &p;
        }
        return nullptr;
    };
    auto is = [&](int px, int py, PieceKind kind, Colour colour) {
        const Placed* p = at(px, py);
        return p != nullptr && p->kind == kind && p->colour == colour;
    };

    // Castling rights: which corner rooks (and so which kings) are still unmoved.
    bool rookUnmoved[2][2] = {{false, false}, {false, false}}; // [colour][king side]
    if (fields[2] != "-") {
        for (char c : fields[2]) {
            const size_t pos = std::string("KQkq").find(c);
            if (pos == std::string::npos)
                return Fail(position, std::string("FEN castling has a bad character '") + c + "'");
            const Colour colour = pos < 2 ? Colour::White : Colour::Black;
            const bool kingSide = pos % 2 == 0;
            const int row = colour == Colour::White ? 7 : 0;
            if (rookUnmoved[SideIndex(colour)][kingSide])
                return Fail(position, std::string("FEN castling repeats '") + c + "'");
            if (!is(4, row, PieceKind::King, colour) ||
                !is(kingSide ? 7 : 0, row, PieceKind::Rook, colour))
                return Fail(position, std::string("FEN castling right '") + c +
                                          "' without king and rook on their squares");
            rookUnmoved[SideIndex(colour)][kingSide] = true;
        }
    }

    MoveRecord doubleStep;
    bool hasDoubleStep = false;
    if (fields[3] != "-") {
        const std::string& ep = fields[3];
        const Colour mover = OppositeColour(result.sideToMove);
        const char rank = mover == Colour::White ? '3' : '6';
        if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || ep[1] != rank)
            return Fail(position, "FEN en-passant square '" + ep + "' is not on rank " + rank);
        const int ex = ep[0] - 'a';
        const int fromRow = mover == Colour::White ? 6 : 1;
        const int toRow = mover == Colour::White ? 4 : 3;
        if (!is(ex, toRow, PieceKind::Pawn, mover) || at(ex, fromRow) != nullptr ||
            at(ex, (fromRow + toRow) / 2) != nullptr)
            return Fail(position, "FEN en-passant square '" + ep + "' without a double step");
        doubleStep.from = CBasePoint(ex, fromRow);
        doubleStep.to = CBasePoint(ex, toRow);
        doubleStep.colour = mover;
        doubleStep.kind = PieceKind::Pawn;
        doubleStep.flags = FLAG_FIRST_MOVE;
        hasDoubleStep = true;
    }
    for (size_t i = 4; i < fields.size(); ++i) {
        if (!IsNumber(fields[i]))
            return Fail(position, "FEN move counter '" + fields[i] + "' is not a number");
    }

    for (const Placed& p : placed) {
        std::unique_ptr<CBasePiece> piece = position.CreatePiece(p.colour, p.kind);
        const int homeRow = p.colour == Colour::White ? 7 : 0;
        const bool onHome = p.y == homeRow;
        switch (p.kind) {
        case PieceKind::Pawn:
            piece->m_bUnmoved = p.y == (p.colour == Colour::White ? 6 : 1);
            break;
        case PieceKind::King:
            piece->m_bUnmoved =
                onHome && p.x == 4 &&
                (rookUnmoved[SideIndex(p.colour)][0] || rookUnmoved[SideIndex(p.colour)][1]);
            break;
        case PieceKind::Rook:
            piece->m_bUnmoved = onHome && ((p.x == 0 && rookUnmoved[SideIndex(p.colour)][0]) ||
                                           (p.x == 7 && rookUnmoved[SideIndex(p.colour)][1]));
            break;
        default:
            piece->m_bUnmoved = false;
        }
        position.AddPiece(p.x * 100 + p.y, std::move(piece));
    }
    if (hasDoubleStep)
        position.AddHistory(doubleStep);
    result.ok = true;
    return result;
}

} // namespace kelo
