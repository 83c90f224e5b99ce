// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CBaseBoard.h"

#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/CBaseRuleFactory.h"
#include "chess/CChessDiagram.h"
#include "chess/CChessReach.h"
#include "chess/ChessTypes.h"

#include <algorithm>
#include <cstdlib>

namespace kelo {

CBaseBoard::~CBaseBoard() = default;

bool CBaseBoard::CanSelect(CBasePoint square, Colour colourToMove) {
    const CBasePiece* piece = PieceAt(square);
    return piece != nullptr && piece->m_colour == colourToMove;
}

void CBaseBoard::NewPosition() {
    m_position.Reset();
    m_position.SetUp(Colour::None, m_bottomColour);
}

void CBaseBoard::ResetGameState() {
    ++m_nGameSerial;
    m_nPlyCount = 0;
    m_nReplayCount = 0;
    m_nCheckRun[0] = 0;
    m_nCheckRun[1] = 0;
    m_played.clear();
    m_lastMoveSquares.clear();
}

bool CBaseBoard::HasPieceAt(CBasePoint square, CBasePiece* copy) {
    const CBasePiece* piece = PieceAt(square);
    if (piece == nullptr)
        return false;
    if (copy != nullptr) {
        copy->m_kind = piece->m_kind;
        copy->m_colour = piece->m_colour;
        copy->m_nTag = piece->m_nTag;
        copy->m_bUnmoved = piece->m_bUnmoved;
    }
    return true;
}

CBasePiece* CBaseBoard::PieceAt(CBasePoint square) {
    return Position().PieceAt(square);
}

CBaseRule* CBaseBoard::RuleAt(CBasePoint square) {
    return m_rules.RuleFor(square, *this);
}

std::vector<CBasePoint> CBaseBoard::LegalTargets(CBasePoint from, Colour colour) {
    std::vector<CBasePoint> targets;
    CBaseRule* rule = RuleAt(from);
    if (rule == nullptr)
        return targets;
    for (int x = 0; x < m_nColumns; ++x) {
        for (int y = 0; y < m_nRows; ++y) {
            const CBasePoint to(x, y);
            if (rule->CheckMove(colour, from, to, *this, nullptr))
                targets.push_back(to);
        }
    }
    return targets;
}

bool CBaseBoard::IsPromotion(CBasePoint from, CBasePoint to) {
    const CBasePiece* piece = PieceAt(from);
    return piece != nullptr && piece->m_kind == PieceKind::Pawn &&
           (to.y == 0 || to.y == m_nRows - 1);
}

bool CBaseBoard::AttackedBy(Colour colour, CBasePoint square) {
    const CBasePiece* occupant = PieceAt(square);
    if (occupant != nullptr && occupant->m_colour == colour)
        return false;
    // A pawn of this colour attacks one row ahead in its own orientation: find which way that
    // is on the model board once, instead of turning every pawn's square.
    const Colour bottom = BottomColour();
    const int rowStep = OrientationTransform(CBasePoint(0, 1), colour, bottom).y -
                        OrientationTransform(CBasePoint(0, 0), colour, bottom).y;
    CBaseRuleFactory& rules = RuleFactory();
    return Position().BoardMap().ForEachOfColour(
        colour,
        [&](int32_t code, const CBasePiece* piece) {
            const CBasePoint& from = CBoardMap::PointOfSlot(CBoardMap::SlotOf(code));
            switch (piece->m_kind) {
            case PieceKind::Pawn:
                // Only the two forward diagonals; the squares straight ahead are never attacked.
                return (square.y - from.y) * rowStep == -1 && std::abs(square.x - from.x) == 1;
            case PieceKind::King:
                return std::max(std::abs(square.x - from.x), std::abs(square.y - from.y)) == 1;
            default: {
                if (!CChessReach::Reachable(piece->m_kind, from, square))
                    return false;
                CBaseRule* rule = rules.RuleForKind(piece->m_kind);
                MoveRecord record;
                return rule != nullptr && rule->BuildMove(colour, from, square, *this, record);
            }
            }
        },
        // Pieces that could not reach the square whatever stood between are not looked at.
        CChessReach::AnyPieceReaching(square));
}

bool CBaseBoard::GivesCheck(Colour colour) {
    const int32_t king = Position().Find(OppositeColour(colour), PieceKind::King);
    return king != NO_SQUARE && AttackedBy(colour, CBasePoint::FromCode(king));
}

bool CBaseBoard::HasLegalMove(Colour colour) {
    // Every trial move takes pieces out of the live map and puts them back, so walk a copy.
    const CBoardMap snapshot = Position().BoardMap();
    CBaseRuleFactory& rules = RuleFactory();
    return snapshot.ForEachOfColour(colour, [&](int32_t code, const CBasePiece* piece) {
        CBaseRule* rule = rules.RuleForKind(piece->m_kind);
        return rule != nullptr && rule->HasLegalMoveFrom(colour, CBasePoint::FromCode(code), *this);
    });
}

MoveJudgement CBaseBoard::Play(const MoveRecord& move) {
    MoveJudgement judgement;
    if (!IsSide(move.colour) || !Position().Apply(move))
        return judgement;
    ++m_nPlyCount;
    judgement.applied = true;
    judgement.check = GivesCheck(move.colour);
    int32_t& run = m_nCheckRun[SideIndex(move.colour)];
    run = judgement.check ? run + 1 : 0;
    m_played.push_back({move.colour, judgement.check});
    m_lastMoveSquares = {move.from, move.to};
    // Moves replayed at a game start or resume are never judged.
    if (m_nPlyCount <= m_nReplayCount)
        return judgement;
    if (!HasLegalMove(OppositeColour(move.colour)))
        judgement.verdict = judgement.check ? Verdict::Checkmate : Verdict::Stalemate;
    else if (run >= 5)
        judgement.verdict = Verdict::FiveChecks;
    return judgement;
}

bool CBaseBoard::TakeBack(int plies) {
    CBaseDiagram& position = Position();
    if (plies <= 0 || position.MoveCount() < static_cast<size_t>(plies))
        return false;
    for (int left = plies; left > 0; left -= 2) {
        if (left >= 2)
            position.UndoPair();
        else
            position.UndoLast();
    }
    m_nPlyCount = static_cast<int16_t>(std::max(m_nPlyCount - plies, 0));
    m_played.resize(m_played.size() - std::min(m_played.size(), static_cast<size_t>(plies)));
    // Each side's run is the checks in a row at the end of its own plies that remain.
    for (const Colour side : {Colour::White, Colour::Black}) {
        int32_t run = 0;
        for (auto ply = m_played.rbegin(); ply != m_played.rend(); ++ply) {
            if (ply->colour != side)
                continue;
            if (!ply->check)
                break;
            ++run;
        }
        m_nCheckRun[SideIndex(side)] = run;
    }
    m_lastMoveSquares.clear();
    MoveRecord last;
    if (position.LastMove(last))
        m_lastMoveSquares = {last.from, last.to};
    return true;
}

int32_t CBaseBoard::CheckRun(Colour colour) const {
    return IsSide(colour) ? m_nCheckRun[SideIndex(colour)] : 0;
}

} // namespace kelo
