// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CEnginePosition.h"

#include "chess/CBaseRule.h"
#include "chess/CCoordinateMove.h"
#include "chess/CFenReader.h"
#include "chess/ChessTypes.h"

#include <algorithm>
#include <limits>

namespace kelo {

namespace {

// Material in pawns, as a beginner counts it.
int Worth(PieceKind kind) {
    switch (kind) {
    case PieceKind::Pawn:
        return 1;
    case PieceKind::Knight:
    case PieceKind::Bishop:
        return 3;
    case PieceKind::Rook:
        return 5;
    case PieceKind::Queen:
        return 9;
    default:
        return 0;
    }
}

constexpr PieceKind PROMOTIONS[] = {PieceKind::Queen, PieceKind::Rook, PieceKind::Knight,
                                    PieceKind::Bishop};

} // namespace

bool CEnginePosition::SetUp(const UciPosition& position, std::string& why) {
    CChnChessBoard& board = m_set.Board();
    board.ResetGameState();
    if (position.fen.empty()) {
        board.NewPosition();
        m_sideToMove = Colour::White;
    } else {
        const CFenReader::Result loaded = CFenReader::Load(position.fen, m_set.Position());
        if (!loaded.ok) {
            why = "the position '" + position.fen + "' is not readable: " + loaded.error;
            return false;
        }
        m_sideToMove = loaded.sideToMove;
    }
    for (const std::string& text : position.moves) {
        const std::optional<MoveRecord> move = ReadMove(text, why);
        if (!move) {
            why = "move '" + text + "' of the position: " + why;
            return false;
        }
        if (!board.Play(*move).applied) {
            why = "move '" + text + "' is not legal in the position";
            return false;
        }
        m_sideToMove = OppositeColour(m_sideToMove);
    }
    return true;
}

std::optional<MoveRecord> CEnginePosition::ReadMove(const std::string& text, std::string& why) {
    const std::optional<CCoordinateMove> move = CCoordinateMove::Parse(text);
    if (!move) {
        why = "not a move in coordinate notation (e2e4, e7e8q)";
        return std::nullopt;
    }
    CChnChessBoard& board = m_set.Board();
    const CBasePiece* piece = m_set.Position().PieceAt(move->from);
    CBaseRule* rule = board.RuleAt(move->from);
    if (piece == nullptr || piece->m_colour != m_sideToMove || rule == nullptr ||
        !rule->CheckMove(m_sideToMove, move->from, move->to, board, nullptr)) {
        why = "not a legal move in the position searched";
        return std::nullopt;
    }
    // UCI always names the promotion piece. A pawn that reaches the last rank without one is
    // refused rather than made a queen: guessing could play a piece the engine did not mean,
    // and whoever asked still has the refusal to act on.
    const bool promotion = board.IsPromotion(move->from, move->to);
    if (promotion && move->special == SPECIAL_NONE) {
        why = "a pawn reaching the last rank needs its promotion piece (e7e8q)";
        return std::nullopt;
    }
    if (!promotion && move->special != SPECIAL_NONE) {
        why = "not a legal move in the position searched (no promotion there)";
        return std::nullopt;
    }
    MoveRecord record;
    const PieceKind kind = promotion ? PromotionKind(move->special) : PieceKind::Queen;
    if (!rule->CheckMoveWithPromotion(m_sideToMove, move->from, move->to, board, kind, record)) {
        why = "not a legal move in the position searched";
        return std::nullopt;
    }
    return record;
}

bool CEnginePosition::Load(const UciPosition& position, std::string& why) {
    m_moves.clear();
    if (!SetUp(position, why))
        return false;
    CChnChessBoard& board = m_set.Board();
    for (const MoveRecord& record : Generate(m_sideToMove, true)) {
        Move move;
        move.record = record;
        move.text = CCoordinateMove::Format(record.from, record.to, record.special);
        const MoveJudgement judged = board.Play(record);
        if (!judged.applied)
            continue;
        move.check = judged.check;
        move.mate = judged.verdict == Verdict::Checkmate;
        board.TakeBack(1);
        m_moves.push_back(move);
    }
    return true;
}

const CEnginePosition::Move* CEnginePosition::Find(const std::string& text) const {
    const auto found =
        std::find_if(m_moves.begin(), m_moves.end(), [&](const Move& m) { return m.text == text; });
    return found != m_moves.end() ? &*found : nullptr;
}

std::vector<MoveRecord> CEnginePosition::Generate(Colour colour, bool allPromotions) {
    CChnChessBoard& board = m_set.Board();
    std::vector<CBasePoint> squares;
    board.Position().BoardMap().ForEachOfColour(colour, [&](int32_t code, const CBasePiece*) {
        squares.push_back(CBasePoint::FromCode(code));
        return false;
    });
    std::vector<MoveRecord> moves;
    for (const CBasePoint from : squares) {
        CBaseRule* rule = board.RuleAt(from);
        if (rule == nullptr)
            continue;
        for (const CBasePoint to : board.LegalTargets(from, colour)) {
            const bool promotion = board.IsPromotion(from, to);
            for (const PieceKind kind : PROMOTIONS) {
                MoveRecord record;
                if (rule->CheckMoveWithPromotion(colour, from, to, board, kind, record))
                    moves.push_back(record);
                if (!promotion || !allPromotions)
                    break;
            }
        }
    }
    return moves;
}

int CEnginePosition::Gain(const MoveRecord& move) {
    int gain = 0;
    if (move.special == SPECIAL_EN_PASSANT)
        gain = Worth(PieceKind::Pawn);
    else if (const CBasePiece* taken = m_set.Board().PieceAt(move.to))
        gain = Worth(taken->m_kind);
    if (move.special >= SPECIAL_PROMOTE_QUEEN && move.special <= SPECIAL_PROMOTE_BISHOP)
        gain += Worth(PromotionKind(move.special)) - Worth(PieceKind::Pawn);
    return gain;
}

const CEnginePosition::Move*
CEnginePosition::ChooseOwn(const std::function<bool(const Move&)>& allowed) {
    std::vector<const Move*> candidates;
    for (const Move& move : m_moves) {
        if (!allowed || allowed(move))
            candidates.push_back(&move);
    }
    if (candidates.empty()) {
        for (const Move& move : m_moves)
            candidates.push_back(&move);
    }
    for (const Move* move : candidates) {
        if (move->mate)
            return move;
    }
    CChnChessBoard& board = m_set.Board();
    const Colour other = OppositeColour(m_sideToMove);
    constexpr int LOST = std::numeric_limits<int>::min() / 2;
    const Move* best = nullptr;
    int bestScore = std::numeric_limits<int>::min();
    for (const Move* move : candidates) {
        const int gain = Gain(move->record);
        if (!board.Play(move->record).applied)
            continue;
        int worst = 0;
        for (const MoveRecord& reply : Generate(other, false)) {
            const int loss = Gain(reply);
            const MoveJudgement judged = board.Play(reply);
            if (!judged.applied)
                continue;
            board.TakeBack(1);
            if (judged.verdict == Verdict::Checkmate) {
                worst = -LOST;
                break;
            }
            worst = std::max(worst, loss);
        }
        board.TakeBack(1);
        const int score = worst == -LOST ? LOST : gain - worst;
        if (score > bestScore) {
            bestScore = score;
            best = move;
        }
    }
    return best;
}

} // namespace kelo
