// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CBoardWindowModel.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBaseRule.h"
#include "chess/CSanMove.h"
#include "chess/ChessTypes.h"
#include "link/CTableMode.h"
#include "ports/IPrompts.h"
#include "ports/ISoundPlayer.h"
#include "table/CPlayerManager.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"

namespace kelo {

namespace {
const char* const START_FIRST = "提示：请双方都按“开始”按钮后方可进行游戏！";

int SlotOfKind(PieceKind kind) {
    switch (kind) {
    case PieceKind::Pawn:
        return 0;
    case PieceKind::Rook:
        return 1;
    case PieceKind::Knight:
        return 2;
    case PieceKind::Bishop:
        return 3;
    case PieceKind::King:
        return 4;
    case PieceKind::Queen:
        return 5;
    default:
        // Kind 2 of the other board games is drawn as a queen.
        return static_cast<int16_t>(kind) == 2 ? 5 : -1;
    }
}
} // namespace

CBoardWindowModel::CBoardWindowModel(CTableBoard& board, const TableView& table, IPrompts& prompts,
                                     ISoundPlayer* sound, std::function<bool()> linkDown)
    : m_tableBoard(board), m_table(table), m_prompts(prompts), m_pSound(sound),
      m_linkDown(std::move(linkDown)) {}

bool CBoardWindowModel::Mirrored() const {
    if (m_table.mode.LocalMode())
        return false;
    const Colour own = m_table.people.GetOwnColour();
    return IsSide(own) && own != m_tableBoard.Board().BottomColour();
}

CBasePoint CBoardWindowModel::ToScreen(CBasePoint model) const {
    if (!Mirrored())
        return model;
    const CBaseBoard& board = m_tableBoard.Board();
    return OrientPoint(model, Colour::White, Colour::Black, board.Columns(), board.Rows());
}

CBasePoint CBoardWindowModel::ToModel(CBasePoint screen) const {
    // The half-turn is its own inverse.
    return ToScreen(screen);
}

CBasePoint CBoardWindowModel::SquareAt(int32_t x, int32_t y) const {
    const CBasePoint screen = m_grid.PixelToSquare(x, y);
    if (!IsOnBoard(screen))
        return screen;
    return ToModel(screen);
}

bool CBoardWindowModel::IsOnBoard(CBasePoint square) const {
    return m_tableBoard.Board().IsOnBoard(square);
}

bool CBoardWindowModel::CanAct() const {
    if (m_tableBoard.m_bAwaitingEcho || m_table.state.IsLocked() || !m_table.state.IsPlaying() ||
        m_table.mode.IsWatcher())
        return false;
    if (m_table.mode.LocalMode())
        return true;
    if (m_linkDown && m_linkDown())
        return false;
    return m_table.people.IsMyTurn();
}

Colour CBoardWindowModel::MoverColour() const {
    const CPlayerManager& people = m_table.people;
    if (!m_table.mode.LocalMode())
        return people.GetOwnColour();
    const CPlayerRecord* toMove =
        people.GetPersonBySeat(static_cast<int16_t>(people.GetCurrentTurnSeat()));
    return toMove != nullptr ? toMove->colour : Colour::None;
}

const BoardMarks& CBoardWindowModel::Marks() const {
    static const BoardMarks none;
    return m_nGameSerial == m_tableBoard.Board().GameSerial() ? m_marks : none;
}

void CBoardWindowModel::FollowGame() {
    // A new game on the board drops what the hand held in the last one.
    const uint32_t serial = m_tableBoard.Board().GameSerial();
    if (serial == m_nGameSerial)
        return;
    m_nGameSerial = serial;
    m_marks = {};
    m_bDragging = false;
}

bool CBoardWindowModel::ClickActs(CBasePoint square) {
    CBaseBoard& board = m_tableBoard.Board();
    if (!m_marks.pieceSelected)
        return m_tableBoard.CanSelect(square);
    CBaseRule* rule = board.RuleAt(m_marks.selected);
    return rule != nullptr &&
           rule->CheckMove(MoverColour(), m_marks.selected, square, board, nullptr);
}

CBoardWindowModel::Cursor CBoardWindowModel::OnMouseMove(int32_t x, int32_t y) {
    FollowGame();
    const Cursor free = m_bDragging ? Cursor::Hidden : Cursor::Arrow;
    const Cursor acting = m_bDragging ? Cursor::Hidden : Cursor::Cross;
    if (!CanAct())
        return Cursor::Arrow;
    CBaseBoard& board = m_tableBoard.Board();
    BoardMarks& marks = m_marks;
    const CBasePoint square = SquareAt(x, y);
    if (!IsOnBoard(square)) {
        if (marks.hover) {
            marks.hover = false;
            marks.markSquares.clear();
            if (marks.pieceSelected)
                marks.markSquares.push_back(marks.selected);
            Redraw();
        }
        return free;
    }
    if (marks.pieceSelected && square == marks.selected)
        return acting;
    if (ClickActs(square)) {
        const bool changed = !marks.hover || !(marks.target == square);
        marks.hover = true;
        marks.target = square;
        if (marks.pieceSelected)
            marks.markSquares = {marks.selected, square};
        if (changed)
            Redraw();
        return acting;
    }
    const CBasePiece* here = board.PieceAt(square);
    const CBasePiece* selected = marks.pieceSelected ? board.PieceAt(marks.selected) : nullptr;
    if (here != nullptr && selected != nullptr && here->m_colour == selected->m_colour) {
        marks.hover = true;
        return acting;
    }
    marks.hover = false;
    if (marks.pieceSelected && !(square == marks.target) && marks.markSquares.size() != 1) {
        marks.markSquares = {marks.selected};
        Redraw();
    }
    return free;
}

void CBoardWindowModel::Refuse() {
    if (m_pSound != nullptr)
        m_pSound->PlayWave(ISoundPlayer::WAVE_REFUSED);
}

void CBoardWindowModel::Redraw() {
    if (m_pObserver != nullptr)
        m_pObserver->OnBoardChanged();
}

void CBoardWindowModel::PickUp(CBasePoint square) {
    m_marks.pieceSelected = true;
    m_bDragging = true;
    m_marks.selected = square;
    m_marks.target = square;
    m_marks.markSquares = {square};
    m_marks.validSquares = m_tableBoard.Board().LegalTargets(square, MoverColour());
    Redraw();
}

void CBoardWindowModel::OnLButtonDown(int32_t x, int32_t y) {
    FollowGame();
    if (m_tableBoard.m_bAwaitingEcho) {
        Refuse();
        return;
    }
    const CBasePoint square = SquareAt(x, y);
    if (!IsOnBoard(square))
        return;
    CBaseBoard& board = m_tableBoard.Board();
    const GameState state = m_table.state.State();
    if (state == GameState::None || state == GameState::Ready) {
        Refuse();
        const CBasePiece* piece = board.PieceAt(square);
        const Colour own = m_table.people.GetOwnColour();
        if (piece != nullptr && (piece->m_colour == own || m_table.mode.LocalMode()))
            m_prompts.ShowNotice(START_FIRST);
        return;
    }
    if (!m_marks.hover) {
        Refuse();
        return;
    }
    const CBasePiece* here = board.PieceAt(square);
    if (!m_marks.pieceSelected) {
        if (here != nullptr && m_tableBoard.CanSelect(square))
            PickUp(square);
        else
            Refuse();
        return;
    }
    const CBasePiece* selected = board.PieceAt(m_marks.selected);
    if (here != nullptr && selected != nullptr && here->m_colour == selected->m_colour) {
        if (!m_tableBoard.CanSelect(square))
            Refuse();
        else if (!m_bDragging)
            PickUp(square);
        return;
    }
    TryMove(square);
}

void CBoardWindowModel::TryMove(CBasePoint square) {
    CBaseBoard& board = m_tableBoard.Board();
    m_marks.target = square;
    m_bDragging = false;
    const Colour colour = MoverColour();
    const CBasePoint from = m_marks.selected;
    CBaseRule* rule = board.RuleAt(from);
    MoveRecord record;
    bool legal = rule != nullptr && rule->CheckMove(colour, from, square, board, nullptr);
    if (legal) {
        // Only a legal pawn move to the last row asks which piece it becomes.
        const PieceKind kind =
            board.IsPromotion(from, square) ? m_prompts.ChoosePromotion() : PieceKind::None;
        legal = rule->CheckMoveWithPromotion(colour, from, square, board, kind, record);
    }
    if (!legal) {
        Refuse();
        m_marks.markSquares.clear();
        Redraw();
        return;
    }
    m_marks.hover = false;
    m_marks.pieceSelected = false;
    m_marks.selected = NO_POINT;
    m_marks.markSquares.clear();
    m_marks.validSquares.clear();
    m_tableBoard.SendMove(record);
    Redraw();
}

CBoardWindowModel::Cursor CBoardWindowModel::OnLButtonUp(int32_t x, int32_t y) {
    FollowGame();
    if (!m_bDragging)
        return Cursor::Arrow;
    const CBasePoint square = SquareAt(x, y);
    if (!(square == m_marks.selected))
        OnLButtonDown(x, y);
    m_bDragging = false;
    return Cursor::Arrow;
}

bool CBoardWindowModel::PutBack() {
    if (!Marks().pieceSelected)
        return false;
    m_marks = {};
    m_bDragging = false;
    Redraw();
    return true;
}

std::optional<CBasePoint> CBoardWindowModel::Selected() const {
    const BoardMarks& marks = Marks();
    if (!marks.pieceSelected)
        return std::nullopt;
    return marks.selected;
}

std::vector<MoveRecord> CBoardWindowModel::Destinations() {
    const std::optional<CBasePoint> from = Selected();
    std::vector<MoveRecord> moves;
    if (!from)
        return moves;
    // A promotion is one destination, whatever piece it makes.
    for (const MoveRecord& move : CSanMove::LegalMoves(m_tableBoard.Board(), MoverColour()))
        if (move.from == *from && (moves.empty() || !(moves.back().to == move.to)))
            moves.push_back(move);
    return moves;
}

std::string CBoardWindowModel::FileLabel(int column) const {
    const int x = Mirrored() ? 7 - column : column;
    return std::string(1, static_cast<char>('a' + x));
}

std::string CBoardWindowModel::RankLabel(int row) const {
    const int y = Mirrored() ? 7 - row : row;
    return std::string(1, static_cast<char>('8' - y));
}

Colour CBoardWindowModel::KingInCheck() {
    CBaseBoard& board = m_tableBoard.Board();
    if (board.GivesCheck(Colour::White))
        return Colour::Black;
    if (board.GivesCheck(Colour::Black))
        return Colour::White;
    return Colour::None;
}

int CBoardWindowModel::PieceImageIndex(const CBasePiece& piece, bool inCheck) {
    int slot = SlotOfKind(piece.m_kind);
    if (slot < 0 || !IsSide(piece.m_colour))
        return -1;
    if (inCheck && piece.m_kind == PieceKind::King)
        slot = SLOT_KING_IN_CHECK;
    return SideIndex(piece.m_colour) * IMAGES_PER_COLOUR + slot;
}

Colour CBoardWindowModel::BottomCapturedColour() const {
    const Colour own = m_table.people.GetOwnColour();
    return IsSide(own) ? own : Colour::White;
}

} // namespace kelo
