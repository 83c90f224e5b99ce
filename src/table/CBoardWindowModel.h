// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBoardGrid.h"
#include "chess/MoveRecord.h"
#include "table/BoardMarks.h"
#include "table/TableView.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelo {

class CBasePiece;
class CTableBoard;
class IBoardObserver;
class IPrompts;
class ISoundPlayer;

// What the board window decides: which square a point of the window is, whether the mouse may
// act, picking a piece up, dropping it and sending the move, and what the window draws where.
// The window only routes the mouse here and draws what this says.
class CBoardWindowModel {
public:
    enum class Cursor { Arrow, Cross, Hidden };
    // Slots of the piece sheet; a colour's seven images follow each other, White first.
    static constexpr int SLOT_KING_IN_CHECK = 6;
    static constexpr int IMAGES_PER_COLOUR = 7;

    // linkDown tells whether the link to the server is down; asked only outside local mode
    // (none: never down).
    CBoardWindowModel(CTableBoard& board, const TableView& table, IPrompts& prompts,
                      ISoundPlayer* sound, std::function<bool()> linkDown = {});

    CBoardGrid& Grid() { return m_grid; }
    const CBoardGrid& Grid() const { return m_grid; }
    // Told of every change of the marks and the selection.
    void SetObserver(IBoardObserver* observer) { m_pObserver = observer; }
    CTableBoard& TableBoard() { return m_tableBoard; }

    // Orientation: the user's own pieces at the bottom; a local table is never turned.
    bool Mirrored() const;
    CBasePoint ToScreen(CBasePoint model) const;
    CBasePoint ToModel(CBasePoint screen) const;
    // The model square under a window point; may lie off the board.
    CBasePoint SquareAt(int32_t x, int32_t y) const;
    bool IsOnBoard(CBasePoint square) const;

    // Whether the mouse may do anything now: no move awaits its echo, the table is not locked,
    // a game is played, the user is a player, and outside local mode the link is up and it is
    // the user's turn.
    bool CanAct() const;
    // The colour that moves from this client now: the own colour, or in local mode the colour
    // of the side to move.
    Colour MoverColour() const;

    Cursor OnMouseMove(int32_t x, int32_t y);
    void OnLButtonDown(int32_t x, int32_t y);
    Cursor OnLButtonUp(int32_t x, int32_t y);
    bool IsDragging() const { return m_bDragging; }
    // Puts a picked-up piece back (Escape); false when none was picked up.
    bool PutBack();
    // The model square of the picked-up piece, if one is.
    std::optional<CBasePoint> Selected() const;
    // The legal moves of the picked-up piece, for the dots on its destinations.
    std::vector<MoveRecord> Destinations();
    // The selection, hover and marks the window draws; empty once the board starts another
    // game.
    const BoardMarks& Marks() const;

    // Drawing.
    // The label of a screen column (a..h, h..a for Black) and of a screen row (8..1, 1..8).
    std::string FileLabel(int column) const;
    std::string RankLabel(int row) const;
    // The colour whose king stands in check, None when neither.
    Colour KingInCheck();
    // Index of a piece in the piece sheet, -1 when it has no image.
    static int PieceImageIndex(const CBasePiece& piece, bool inCheck);
    // The colour whose captured pieces run along the bottom edge.
    Colour BottomCapturedColour() const;

private:
    // Whether a click on the square would pick a piece up or make a move.
    bool ClickActs(CBasePoint square);
    void PickUp(CBasePoint square);
    void TryMove(CBasePoint square);
    void Refuse();
    void Redraw();
    void FollowGame();

    CTableBoard& m_tableBoard;
    TableView m_table;
    IPrompts& m_prompts;
    ISoundPlayer* m_pSound;
    IBoardObserver* m_pObserver = nullptr;
    std::function<bool()> m_linkDown;
    CBoardGrid m_grid;
    BoardMarks m_marks;
    // The board's game the marks belong to.
    uint32_t m_nGameSerial = 0;
    bool m_bDragging = false;
};

} // namespace kelo
