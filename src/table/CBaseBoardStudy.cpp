// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CBaseBoardStudy.h"

#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/ChessTypes.h"
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "ports/IPrompts.h"
#include "ports/ISoundPlayer.h"
#include "table/CPlayerManager.h"
#include "table/CTableBoard.h"

namespace kelo {

CBaseBoardStudy::CBaseBoardStudy(CBaseDiagram& diagram, CBaseRuleFactory& rules,
                                 const CPlayerManager& people, IPrompts& prompts,
                                 ISoundPlayer* sound)
    : CBaseBoard(diagram, rules), m_prompts(prompts), m_pSound(sound) {
    m_grid.SetGrid({SQUARE_SIZE, SQUARE_SIZE}, {GRID_OFFSET, GRID_OFFSET},
                   {PIECE_SIZE, PIECE_SIZE});
    BuildSeatTable(people);
    ResetToStart();
}

void CBaseBoardStudy::BuildSeatTable(const CPlayerManager& people) {
    m_nSeatCount = people.SeatCount() > 0 ? static_cast<int16_t>(people.SeatCount()) : 2;
    const uint16_t first = people.GetFirstMoverSeat();
    m_nFirstSeat = first < m_nSeatCount ? static_cast<int16_t>(first) : 0;
    // A looker-on has no seat of its own and sees the game from the first mover's side.
    const uint16_t own = people.GetOwnSeat();
    const CPlayerRecord* seated =
        own < m_nSeatCount ? people.GetPersonBySeat(static_cast<int16_t>(own)) : nullptr;
    const bool player = seated != nullptr && seated->person.id == people.OwnId();
    const int16_t start = player ? static_cast<int16_t>(own) : m_nFirstSeat;
    m_seats.clear();
    for (int16_t i = 0; i < m_nSeatCount; ++i) {
        StudySeat entry;
        entry.seat = static_cast<int16_t>((start + i) % m_nSeatCount);
        const CPlayerRecord* record = people.GetPersonBySeat(entry.seat);
        if (record != nullptr && IsSide(record->colour)) {
            entry.colour = record->colour;
        } else {
            // An empty seat plays the colour the seat order gives it: the first mover White.
            const int order = (entry.seat - m_nFirstSeat + m_nSeatCount) % m_nSeatCount;
            entry.colour = order % 2 == 0 ? Colour::White : Colour::Black;
        }
        m_seats.push_back(entry);
    }
    m_nViewSeat = m_seats.front().seat;
    m_viewColour = m_seats.front().colour;
    m_nTurn = m_nFirstSeat;
}

Colour CBaseBoardStudy::ColourOfSeat(int16_t seat) const {
    for (const StudySeat& entry : m_seats) {
        if (entry.seat == seat)
            return entry.colour;
    }
    return Colour::None;
}

void CBaseBoardStudy::ClearSelection() {
    m_marks = {};
    m_bDragging = false;
}

void CBaseBoardStudy::ResetToStart() {
    NewPosition();
    ResetGameState();
    // A study board never keeps a piece picked up across a new position.
    ClearSelection();
    m_nTurn = m_nFirstSeat;
}

bool CBaseBoardStudy::ApplyRecord(const MoveRecord& record) {
    if (!IsSide(record.colour))
        return false;
    return Position().Apply(record);
}

void CBaseBoardStudy::AdvanceTurn() {
    m_nTurn = static_cast<int16_t>((m_nTurn + 1) % m_nSeatCount);
}

void CBaseBoardStudy::TurnView() {
    ClearSelection();
    size_t index = 0;
    while (index < m_seats.size() && m_seats[index].seat != m_nViewSeat)
        ++index;
    const StudySeat& next = m_seats[(index + 1) % m_seats.size()];
    m_nViewSeat = next.seat;
    m_viewColour = next.colour;
    Repaint();
}

void CBaseBoardStudy::HandleGameMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    if (type != MSG_MOVE || length < MSG_MOVE_BODY::SIZE)
        return;
    const MoveRecord record = MSG_MOVE_BODY::FromWire(body).ToRecord();
    if (!Play(record).applied)
        return;
    AdvanceTurn();
    Repaint();
}

void CBaseBoardStudy::Repaint() {
    if (m_pObserver != nullptr)
        m_pObserver->OnBoardChanged();
}

bool CBaseBoardStudy::Mirrored() const {
    return IsSide(m_viewColour) && m_viewColour != BottomColour();
}

CBasePoint CBaseBoardStudy::ToScreen(CBasePoint model) const {
    if (!Mirrored())
        return model;
    return OrientPoint(model, Colour::White, Colour::Black, Columns(), Rows());
}

CBasePoint CBaseBoardStudy::SquareAt(int32_t x, int32_t y) const {
    const CBasePoint screen = m_grid.PixelToSquare(x, y);
    if (!IsOnBoard(screen))
        return screen;
    // The half-turn is its own inverse.
    return ToScreen(screen);
}

std::string CBaseBoardStudy::FileLabel(int column) const {
    const int x = Mirrored() ? 7 - column : column;
    return std::string(1, static_cast<char>('a' + x));
}

std::string CBaseBoardStudy::RankLabel(int row) const {
    const int y = Mirrored() ? 7 - row : row;
    return std::string(1, static_cast<char>('8' - y));
}

Colour CBaseBoardStudy::KingInCheck() {
    if (GivesCheck(Colour::White))
        return Colour::Black;
    if (GivesCheck(Colour::Black))
        return Colour::White;
    return Colour::None;
}

bool CBaseBoardStudy::CanPickUp(CBasePoint square) {
    return CanSelect(square, TurnColour());
}

bool CBaseBoardStudy::ClickActs(CBasePoint square) {
    if (!m_marks.pieceSelected)
        return CanPickUp(square);
    CBaseRule* rule = RuleAt(m_marks.selected);
    return rule != nullptr &&
           rule->CheckMove(TurnColour(), m_marks.selected, square, *this, nullptr);
}

CBaseBoardStudy::Cursor CBaseBoardStudy::OnMouseMove(int32_t x, int32_t y) {
    const Cursor free = m_bDragging ? Cursor::Hidden : Cursor::Arrow;
    const Cursor acting = m_bDragging ? Cursor::Hidden : Cursor::Cross;
    const CBasePoint square = SquareAt(x, y);
    if (!IsOnBoard(square)) {
        if (m_marks.hover) {
            m_marks.hover = false;
            m_marks.markSquares.clear();
            if (m_marks.pieceSelected)
                m_marks.markSquares.push_back(m_marks.selected);
            Repaint();
        }
        return free;
    }
    if (m_marks.pieceSelected && square == m_marks.selected)
        return acting;
    if (ClickActs(square)) {
        const bool changed = !m_marks.hover || !(m_marks.target == square);
        m_marks.hover = true;
        m_marks.target = square;
        if (m_marks.pieceSelected)
            m_marks.markSquares = {m_marks.selected, square};
        if (changed)
            Repaint();
        return acting;
    }
    const CBasePiece* here = PieceAt(square);
    const CBasePiece* selected = m_marks.pieceSelected ? PieceAt(m_marks.selected) : nullptr;
    if (here != nullptr && selected != nullptr && here->m_colour == selected->m_colour) {
        m_marks.hover = true;
        return acting;
    }
    m_marks.hover = false;
    if (m_marks.pieceSelected && !(square == m_marks.target) && m_marks.markSquares.size() != 1) {
        m_marks.markSquares = {m_marks.selected};
        Repaint();
    }
    return free;
}

void CBaseBoardStudy::Refuse() {
    if (m_pSound != nullptr)
        m_pSound->PlayWave(ISoundPlayer::WAVE_REFUSED);
}

void CBaseBoardStudy::RefuseTarget(const char* message) {
    // A piece dropped from a drag only sounds the refusal; a second click is answered in words.
    if (m_bDragging)
        Refuse();
    else
        m_prompts.ShowNotice(message);
}

void CBaseBoardStudy::PickUp(CBasePoint square) {
    m_marks.pieceSelected = true;
    m_bDragging = true;
    m_marks.selected = square;
    m_marks.target = square;
    m_marks.markSquares = {square};
    m_marks.validSquares = LegalTargets(square, TurnColour());
    Repaint();
}

void CBaseBoardStudy::OnLButtonDown(int32_t x, int32_t y) {
    const CBasePoint square = SquareAt(x, y);
    if (!IsOnBoard(square))
        return;
    const CBasePiece* here = PieceAt(square);
    if (!m_marks.pieceSelected) {
        if (m_marks.hover && here != nullptr && CanPickUp(square))
            PickUp(square);
        else
            Refuse();
        return;
    }
    const CBasePiece* selected = PieceAt(m_marks.selected);
    if (here != nullptr && selected != nullptr && here->m_colour == selected->m_colour) {
        if (!CanPickUp(square))
            RefuseTarget(NOT_A_TARGET);
        else if (!m_bDragging)
            PickUp(square);
        return;
    }
    if (!m_marks.hover) {
        RefuseTarget(CANNOT_MOVE_THERE);
        return;
    }
    TryMove(square);
}

void CBaseBoardStudy::TryMove(CBasePoint square) {
    m_marks.target = square;
    m_bDragging = false;
    const Colour colour = TurnColour();
    const CBasePoint from = m_marks.selected;
    CBaseRule* rule = RuleAt(from);
    MoveRecord record;
    bool legal = rule != nullptr && rule->CheckMove(colour, from, square, *this, nullptr);
    if (legal) {
        const PieceKind kind =
            IsPromotion(from, square) ? m_prompts.ChoosePromotion() : PieceKind::None;
        legal = rule->CheckMoveWithPromotion(colour, from, square, *this, kind, record);
    }
    if (!legal || !ApplyRecord(record)) {
        Refuse();
        m_marks.markSquares.clear();
        Repaint();
        return;
    }
    ClearSelection();
    Repaint();
    if (m_pNotifyTarget != nullptr)
        m_pNotifyTarget->AddStudyMove(record);
    AdvanceTurn();
}

CBaseBoardStudy::Cursor CBaseBoardStudy::OnLButtonUp(int32_t x, int32_t y) {
    if (!m_bDragging)
        return Cursor::Arrow;
    const CBasePoint square = SquareAt(x, y);
    if (!(square == m_marks.selected))
        OnLButtonDown(x, y);
    m_bDragging = false;
    return Cursor::Arrow;
}

} // namespace kelo
