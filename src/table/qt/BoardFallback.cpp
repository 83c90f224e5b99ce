// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/BoardFallback.h"

#include "chess/CBoardGrid.h"
#include "table/CBoardWindowModel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace kelo {

namespace {
// Solid chess figures by sheet slot (pawn, rook, knight, bishop, king, queen, king in check).
const char16_t FIGURES[] = u"\u265F\u265C\u265E\u265D\u265A\u265B\u265A";
} // namespace

void DrawFallbackBoard(QPainter& painter, const QRect& window, const CBoardGrid& grid) {
    painter.fillRect(window, QColor(38, 58, 48));
    const int sw = grid.m_nSquareWidth, sh = grid.m_nSquareHeight;
    const QRect squares(grid.m_nOffsetX - sw / 2, grid.m_nOffsetY - sh / 2, 8 * sw, 8 * sh);
    painter.fillRect(squares.adjusted(-6, -6, 6, 6), QColor(92, 58, 30));
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const bool light = (row + column) % 2 == 0;
            painter.fillRect(QRect(squares.left() + column * sw, squares.top() + row * sh, sw, sh),
                             light ? QColor(240, 217, 181) : QColor(181, 136, 99));
        }
}

void DrawFallbackPiece(QPainter& painter, int index, const QRect& box) {
    if (index < 0)
        return;
    const int slot = index % CBoardWindowModel::IMAGES_PER_COLOUR;
    const bool white = index < CBoardWindowModel::IMAGES_PER_COLOUR;
    if (slot == CBoardWindowModel::SLOT_KING_IN_CHECK) {
        QRadialGradient glow(box.center(), box.width() * 0.6);
        glow.setColorAt(0, QColor(230, 30, 30, 200));
        glow.setColorAt(1, QColor(230, 30, 30, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(box.adjusted(-4, -4, 4, 4));
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(box.height());
    QPainterPath path;
    const QString figure = QString(QChar(FIGURES[slot]));
    const QFontMetrics metrics(font);
    const QRect bounds = metrics.tightBoundingRect(figure);
    path.addText(box.center().x() - bounds.center().x(), box.center().y() - bounds.center().y(),
                 font, figure);
    painter.setPen(QPen(white ? QColor(30, 30, 30) : QColor(230, 230, 230, 160), 1.4));
    painter.setBrush(white ? QColor(250, 248, 240) : QColor(25, 25, 25));
    painter.drawPath(path);
}

} // namespace kelo
