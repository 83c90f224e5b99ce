// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CBaseBoardStudy.h"
#include "table/CTableBoard.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace kelo {

// The study board's window: 360 by 360 pixels, the study board picture stretched over it, the
// labels of the view, the marks and the pieces of the study sheet. The mouse goes to the board.
class CChessBoardStudyWnd : public QWidget, public IBoardObserver {
public:
    // The pictures: the board, the piece sheet (14 cells) and the mark frame; a null image is
    // drawn in plain shapes.
    CChessBoardStudyWnd(CBaseBoardStudy& board, QImage background, QImage pieces, QImage frame,
                        QWidget* parent = nullptr);
    ~CChessBoardStudyWnd() override;

    // IBoardObserver
    void OnBoardChanged() override { update(); }

    // The window point at the centre of a model square, as the view turns it.
    QPoint SquareCentre(CBasePoint square) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void DrawLabels(class QPainter& painter);
    void DrawMarks(QPainter& painter);
    void DrawPieces(QPainter& painter);
    void DrawPiece(QPainter& painter, int index, const QRect& box);
    void ApplyCursor(CBaseBoardStudy::Cursor cursor);

    CBaseBoardStudy& m_board;
    QImage m_background;
    QImage m_pieces;
    QImage m_frame;
    // Where the mouse holds a dragged piece.
    QPoint m_dragAt;
};

} // namespace kelo
