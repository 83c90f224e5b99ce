// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CBoardCursor.h"
#include "table/CTableBoard.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>

namespace kelo {

class CBoardWindowModel;
class CSkinManager;

// The board window: draws the board, the labels, the last move and the marks, the pieces and
// the captured pieces, and hands the mouse to the board window's model.
class CChessBoardWnd : public QWidget, public IBoardObserver {
public:
    CChessBoardWnd(CBoardWindowModel& model, const CSkinManager& skin, QWidget* parent = nullptr);
    ~CChessBoardWnd() override;

    // Told after the board has changed, for the windows that show the game around it.
    std::function<void()> onBoardChanged;

    // IBoardObserver
    void OnBoardChanged() override;

    // The window point at the centre of a model square.
    QPoint SquareCentre(int x, int y) const;

    CBoardWindowModel& Model() { return m_model; }
    CBoardCursor& Cursor() { return m_cursor; }
    // The model square of an accessible cell: cells run row by row as the player sees them.
    CBasePoint CellSquare(int index) const;
    int CellIndex(CBasePoint square) const;
    // Moves the cursor (a cell's focus action) and tells the screen reader.
    void SetCursorSquare(CBasePoint square);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawBoard(class QPainter& painter);
    void DrawLabels(QPainter& painter);
    void DrawHighlights(QPainter& painter);
    void DrawPieces(QPainter& painter);
    void DrawCaptured(QPainter& painter);
    void DrawSelection(QPainter& painter);
    void DrawDestinations(QPainter& painter);
    void DrawCursor(QPainter& painter);
    void AnnounceCursor();
    void DrawPiece(QPainter& painter, int index, const QRect& box);
    void DrawIcon(QPainter& painter, int index, const QRect& box);
    void ApplyCursor(int cursor);

    CBoardWindowModel& m_model;
    const CSkinManager& m_skin;
    // The window's background picture, shared with the main view; the board is its part at
    // m_backgroundPart.
    QImage m_background;
    QRect m_backgroundPart;
    QImage m_pieces;
    QImage m_frame;
    QImage m_icons;
    // Where the mouse holds a dragged piece.
    QPoint m_dragAt;
    CBoardCursor m_cursor;
    // The cursor is drawn once the keys are used (a key, Tab, a cell's focus action) and hidden
    // again by a click, so that a mouse player never sees it.
    bool m_bShowCursor = false;
};

} // namespace kelo
