#include "chess/CBaseBoard.h"

#include "app/CGameContext.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/CBaseRuleFactory.h"
#include "chess/CChessDiagram.h"
#include "chess/CChessReach.h"
#include "chess/ChessTypes.h"
#include "link/GameResult.h"
#include "link/MSG_GAME_RESULT.h"
#include "table/CPlayerManager.h"

#include <algorithm>
#include <cstdlib>

namespace kelo {

CBaseBoard::CBaseBoard(CGameContext& context, int16_t gameId)
    : m_context(context), m_nGameId(gameId) {}

CBaseBoard::~CBaseBoard() = default;

int16_t CBaseBoard::BottomColour() const {
    return m_context.m_nBottomColour;
}

CBaseDiagram& CBaseBoard::Position() {
    if (m_pPosition == nullptr)
        m_pPosition = &m_context.Position(m_nGameId);
    return *m_pPosition;
}

CBaseRuleFactory& CBaseBoard::RuleFactory() {
    if (m_pRuleFactory == nullptr)
        m_pRuleFactory = &m_context.RuleFactory(m_nGameId);
    return *m_pRuleFactory;
}

bool CBaseBoard::IsOnBoard(CBasePoint square) const {
    return std::find(m_validSquares.begin(), m_validSquares.end(), square.Code()) !=
           m_validSquares.end();
}

bool CBaseBoard::CanSelect(CBasePoint square) {
    const CBasePiece* piece = PieceAt(square);
    const CPlayerManager& players = m_context.PlayerManager();
    const CPlayerRecord* toMove =
        players.GetPersonBySeat(static_cast<int16_t>(players.GetCurrentTurnSeat()));
    return piece != nullptr && toMove != nullptr && piece->m_nColour == toMove->colour;
}

void CBaseBoard::ResetGameState() {
    m_nPlyCount = 0;
    m_validSquares.clear();
    m_markSquares.clear();
    m_lastMoveSquares.clear();
    m_bPieceSelected = m_bStudyMode ? 1 : 0;
    m_bHover = 0;
    m_nReplayCount = 0;
    m_nCheckRun[0] = 0;
    m_nCheckRun[1] = 0;
}

bool CBaseBoard::SeatsMatch(const std::vector<uint32_t>& playerIds) {
    const CPlayerManager& people = m_context.PlayerManager();
    if (playerIds.size() != people.SeatCount())
        return false;
    for (uint32_t id : playerIds) {
        const CPlayerRecord* person = people.GetPersonById(id);
        if (person == nullptr || person->person.status != CPlayerManager::STATUS_PLAYER)
            return false;
    }
    return true;
}

bool CBaseBoard::HasPieceAt(CBasePoint square, CBasePiece* copy) {
    const CBasePiece* piece = PieceAt(square);
    if (piece == nullptr)
        return false;
    if (copy != nullptr) {
        copy->m_nKind = piece->m_nKind;
        copy->m_nColour = piece->m_nColour;
        copy->m_nTag = piece->m_nTag;
        copy->m_bUnmoved = piece->m_bUnmoved;
    }
    return true;
}

CBasePiece* CBaseBoard::PieceAt(CBasePoint square) {
    return Position().PieceAt(square);
}

CBaseRule* CBaseBoard::RuleAt(CBasePoint square) {
    return RuleFactory().RuleFor(square, *this);
}

bool CBaseBoard::AttackedBy(int16_t colour, CBasePoint square) {
    const CBasePiece* occupant = PieceAt(square);
    if (occupant != nullptr && occupant->m_nColour == colour)
        return false;
    // A pawn of this colour attacks one row ahead in its own orientation: find which way that
    // is on the model board once, instead of turning every pawn's square.
    const int16_t bottom = BottomColour();
    const int rowStep = OrientationTransform(CBasePoint(0, 1), colour, bottom).y -
                        OrientationTransform(CBasePoint(0, 0), colour, bottom).y;
    CBaseRuleFactory& rules = RuleFactory();
    return Position().BoardMap().ForEachOfColour(
        colour,
        [&](int32_t code, const CBasePiece* piece) {
            const CBasePoint& from = CBoardMap::PointOfSlot(CBoardMap::SlotOf(code));
            switch (piece->m_nKind) {
            case KIND_PAWN:
                // Only the two forward diagonals; the squares straight ahead are never attacked.
                return (square.y - from.y) * rowStep == -1 && std::abs(square.x - from.x) == 1;
            case KIND_KING:
                return std::max(std::abs(square.x - from.x), std::abs(square.y - from.y)) == 1;
            default: {
                if (!CChessReach::Reachable(piece->m_nKind, from, square))
                    return false;
                CBaseRule* rule = rules.RuleForKind(piece->m_nKind);
                MoveRecord record;
                return rule != nullptr && rule->BuildMove(colour, from, square, *this, record);
            }
            }
        },
        // Pieces that could not reach the square whatever stood between are not looked at.
        CChessReach::AnyPieceReaching(square));
}

bool CBaseBoard::GivesCheck(int16_t colour) {
    const int32_t king = Position().Find(OppositeColour(colour), KIND_KING);
    return king != NO_SQUARE && AttackedBy(colour, CBasePoint::FromCode(king));
}

bool CBaseBoard::HasLegalMove(int16_t colour) {
    // Every trial move takes pieces out of the live map and puts them back, so walk a copy.
    const CBoardMap snapshot = Position().BoardMap();
    CBaseRuleFactory& rules = RuleFactory();
    return snapshot.ForEachOfColour(colour, [&](int32_t code, const CBasePiece* piece) {
        CBaseRule* rule = rules.RuleForKind(piece->m_nKind);
        return rule != nullptr && rule->HasLegalMoveFrom(colour, CBasePoint::FromCode(code), *this);
    });
}

bool CBaseBoard::AfterMove(const MoveRecord& move) {
    if ((move.colour != COLOUR_WHITE && move.colour != COLOUR_BLACK) || !Position().Apply(move))
        return false;
    const bool check = GivesCheck(move.colour);
    int32_t& run = m_nCheckRun[move.colour];
    run = check ? run + 1 : 0;
    // Moves replayed at a game start or resume are never judged.
    if (m_nPlyCount <= m_nReplayCount)
        return true;

    const CPlayerManager& players = m_context.PlayerManager();
    const uint16_t ownSeat = players.GetOwnSeat();
    const bool ownMove = static_cast<uint16_t>(move.colour) == players.GetOwnColour();
    if (!HasLegalMove(OppositeColour(move.colour))) {
        if (check) {
            if (const CPlayerRecord* winner = players.GetPersonByColour(move.colour))
                SendGameResult(1, static_cast<uint16_t>(winner->person.seatno),
                               RESULT_REASON_CHECKMATE);
        } else if (ownMove) {
            SendGameResult(0, ownSeat, RESULT_REASON_STALEMATE);
        }
    } else if (run >= 5 && ownMove) {
        SendGameResult(0, ownSeat, RESULT_REASON_PERPETUAL_CHECK);
    }
    return true;
}

void CBaseBoard::SendGameResult(uint16_t decisive, uint16_t winnerSeat, uint16_t reason) {
    kelo::SendGameResult(m_context, decisive, winnerSeat, reason);
}

} // namespace kelo
