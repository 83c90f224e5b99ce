// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CBaseDiagram.h"

#include "chess/CBasePieceFactory.h"
#include "chess/ChessTypes.h"

namespace kelo {

namespace {

int32_t CodeAt(int x, int y) {
    return x * 100 + y;
}

// The rook's squares of a castling record, or false when the special is not castling.
bool CastlingRookSquares(const MoveRecord& m, int32_t& rookFrom, int32_t& rookTo) {
    const int y = m.from.y;
    if (m.special == SPECIAL_CASTLE_KING) {
        rookFrom = CodeAt(7, y);
        rookTo = CodeAt(5, y);
        return true;
    }
    if (m.special == SPECIAL_CASTLE_QUEEN) {
        rookFrom = CodeAt(0, y);
        rookTo = CodeAt(3, y);
        return true;
    }
    return false;
}

int32_t EnPassantVictim(const MoveRecord& m) {
    return CodeAt(m.to.x, m.from.y);
}

} // namespace

CBaseDiagram::~CBaseDiagram() = default;

std::unique_ptr<CBasePiece> CBaseDiagram::CreatePiece(Colour colour, PieceKind kind) {
    return m_factory.Create(colour, kind, 1);
}

bool CBaseDiagram::AddPiece(int32_t code, std::unique_ptr<CBasePiece> piece) {
    if (!piece)
        return false;
    CBasePiece* raw = piece.get();
    m_pieces.push_back(std::move(piece));
    if (!CBoardMap::IsValidCode(code) || m_board.Get(code) != nullptr)
        return false;
    m_board.Put(code, raw);
    return true;
}

void CBaseDiagram::Reset() {
    m_board.Clear();
    m_captured.clear();
    m_promoted.clear();
    m_moves.clear();
    m_nHistoryBase = 0;
    m_pieces.clear();
    m_nMoveNumber = 1;
}

bool CBaseDiagram::Apply(const MoveRecord& m) {
    // The map is addressed by code: the record's squares are turned once.
    const int32_t from = m.from.Code();
    const int32_t to = m.to.Code();
    if (!CBoardMap::IsValidCode(from) || !CBoardMap::IsValidCode(to) || from == to ||
        m.special > SPECIAL_CASTLE_KING)
        return false;
    CBasePiece* mover = m_board.Get(from);
    CBasePiece* victim = m_board.Get(to);
    if (mover == nullptr || ((m.flags & FLAG_CAPTURE) != 0) != (victim != nullptr))
        return false;

    int32_t rookFrom = 0, rookTo = 0;
    const bool castling = CastlingRookSquares(m, rookFrom, rookTo);
    if (castling && (m_board.Get(rookFrom) == nullptr || m_board.Get(rookTo) != nullptr ||
                     rookFrom == to || rookTo == to))
        return false;
    const int32_t passedPawn = EnPassantVictim(m);
    if (m.special == SPECIAL_EN_PASSANT &&
        (m_board.Get(passedPawn) == nullptr || passedPawn == from || passedPawn == to))
        return false;

    m_board.Take(from);
    if (victim != nullptr)
        m_captured.push_back(m_board.Take(to));
    m_board.Put(to, mover);
    if (m.flags & FLAG_FIRST_MOVE)
        mover->m_bUnmoved = false;

    if (castling) {
        CBasePiece* rook = m_board.Take(rookFrom);
        m_board.Put(rookTo, rook);
        rook->m_bUnmoved = false;
    } else if (m.special == SPECIAL_EN_PASSANT) {
        m_captured.push_back(m_board.Take(passedPawn));
    } else if (PieceKind kind = PromotionKind(m.special); kind != PieceKind::None) {
        m_promoted.push_back(m_board.Take(to));
        std::unique_ptr<CBasePiece> piece = CreatePiece(m.colour, kind);
        m_board.Put(to, piece.get());
        m_pieces.push_back(std::move(piece));
    }
    m_moves.push_back(m);
    return true;
}

bool CBaseDiagram::UndoLast() {
    if (m_moves.size() <= m_nHistoryBase)
        return false;
    const MoveRecord m = m_moves.back();
    m_moves.pop_back();
    const int32_t from = m.from.Code();
    const int32_t to = m.to.Code();

    if (PromotionKind(m.special) != PieceKind::None && !m_promoted.empty()) {
        CBasePiece* promotedTo = m_board.Take(to);
        m_board.Put(to, m_promoted.back());
        m_promoted.pop_back();
        // A piece made by the promotion that nothing else refers to is released at once, so
        // that trial moves (legality tests try every promotion) do not pile up pieces.
        if (promotedTo != nullptr && !m_pieces.empty() && m_pieces.back().get() == promotedTo)
            m_pieces.pop_back();
    }
    CBasePiece* mover = m_board.Take(to);
    m_board.Put(from, mover);
    if ((m.flags & FLAG_CAPTURE) && !m_captured.empty()) {
        m_board.Put(to, m_captured.back());
        m_captured.pop_back();
    }
    if ((m.flags & FLAG_FIRST_MOVE) && mover != nullptr)
        mover->m_bUnmoved = true;

    int32_t rookFrom = 0, rookTo = 0;
    if (CastlingRookSquares(m, rookFrom, rookTo)) {
        if (CBasePiece* rook = m_board.Take(rookTo)) {
            m_board.Put(rookFrom, rook);
            rook->m_bUnmoved = true;
        }
    } else if (m.special == SPECIAL_EN_PASSANT && !m_captured.empty()) {
        m_board.Put(EnPassantVictim(m), m_captured.back());
        m_captured.pop_back();
    }
    return true;
}

bool CBaseDiagram::UndoPair() {
    const bool first = UndoLast();
    const bool second = UndoLast();
    --m_nMoveNumber;
    return first && second;
}

int32_t CBaseDiagram::Find(Colour colour, PieceKind kind) const {
    if (kind == PieceKind::King) {
        if (const int32_t square = m_board.SoleKingSquare(colour); square != NO_SQUARE)
            return square;
    }
    int32_t found = NO_SQUARE;
    m_board.ForEach([&](int32_t code, const CBasePiece* piece) {
        if (piece->m_colour == colour && piece->m_kind == kind) {
            found = code;
            return true;
        }
        return false;
    });
    return found;
}

bool CBaseDiagram::LastMove(MoveRecord& out) const {
    if (m_moves.empty())
        return false;
    out = m_moves.back();
    return true;
}

void CBaseDiagram::AddHistory(const MoveRecord& move) {
    m_moves.push_back(move);
    m_nHistoryBase = m_moves.size();
}

std::string CBaseDiagram::MoveText(const MoveRecord& m) {
    std::string text = m.colour == Colour::White ? "白方 : " : "黑方 : ";
    auto square = [](CBasePoint point) {
        std::string s;
        s += static_cast<char>('a' + point.x);
        s += static_cast<char>('0' + 8 - point.y);
        return s;
    };
    if (m.special == SPECIAL_CASTLE_QUEEN) {
        text += "0--0--0";
    } else if (m.special == SPECIAL_CASTLE_KING) {
        text += "0--0";
    } else {
        text += KindLetter(m.kind);
        text += square(m.from);
        text += ((m.flags & FLAG_CAPTURE) || m.special == SPECIAL_EN_PASSANT) ? "×" : "--";
        text += square(m.to);
    }
    static const char* const suffix[] = {"", "Q", "R", "N", "B", " e.p"};
    if (m.special >= SPECIAL_PROMOTE_QUEEN && m.special <= SPECIAL_EN_PASSANT)
        text += suffix[m.special];
    if (m.flags & FLAG_CHECK)
        text += "＋";
    return text;
}

} // namespace kelo
