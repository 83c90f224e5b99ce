// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CChessBoardStudyWnd.h"

#include "base/qt/SkinQt.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBasePiece.h"
#include "table/CBoardWindowModel.h"
#include "table/qt/BoardFallback.h"

#include <QMouseEvent>
#include <QPainter>

namespace kelo {

namespace {
constexpr int SHEET_IMAGES = 14;
const QColor LABEL(200, 200, 200);

QRect CentredBox(QPoint centre, int width, int height) {
    return QRect(centre.x() - width / 2, centre.y() - height / 2, width, height);
}
} // namespace

CChessBoardStudyWnd::CChessBoardStudyWnd(CBaseBoardStudy& board, QImage background, QImage pieces,
                                         QImage frame, QWidget* parent)
    : QWidget(parent), m_board(board), m_background(std::move(background)),
      m_pieces(std::move(pieces)), m_frame(std::move(frame)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(CBaseBoardStudy::WINDOW_SIZE, CBaseBoardStudy::WINDOW_SIZE);
    m_board.SetObserver(this);
}

CChessBoardStudyWnd::~CChessBoardStudyWnd() {
    m_board.SetObserver(nullptr);
}

QPoint CChessBoardStudyWnd::SquareCentre(CBasePoint square) const {
    const CPoint centre = m_board.Grid().SquareToPixel(m_board.ToScreen(square));
    return QPoint(centre.x, centre.y);
}

void CChessBoardStudyWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_background.isNull())
        painter.drawImage(rect(), m_background);
    else
        DrawFallbackBoard(painter, rect(), m_board.Grid());
    DrawLabels(painter);
    DrawMarks(painter);
    DrawPieces(painter);
}

void CChessBoardStudyWnd::DrawLabels(QPainter& painter) {
    // In the margins around the squares: files below, ranks on the left.
    const CBoardGrid& grid = m_board.Grid();
    const int sw = grid.m_nSquareWidth, sh = grid.m_nSquareHeight;
    const int squaresLeft = grid.m_nOffsetX - sw / 2;
    const int squaresBottom = grid.m_nOffsetY + 7 * sh + sh / 2;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(8, squaresLeft - 2));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(LABEL);
    for (int i = 0; i < 8; ++i) {
        painter.drawText(QRect(squaresLeft + i * sw, squaresBottom, sw, height() - squaresBottom),
                         Qt::AlignCenter, QString::fromStdString(m_board.FileLabel(i)));
        painter.drawText(QRect(0, grid.m_nOffsetY - sh / 2 + i * sh, squaresLeft, sh),
                         Qt::AlignCenter, QString::fromStdString(m_board.RankLabel(i)));
    }
}

void CChessBoardStudyWnd::DrawMarks(QPainter& painter) {
    const CBoardGrid& grid = m_board.Grid();
    for (const auto& [square, mark] : FramedSquares(m_board, m_board.Marks())) {
        const QRect box =
            CentredBox(SquareCentre(square), grid.m_nSquareWidth, grid.m_nSquareHeight);
        if (!m_frame.isNull()) {
            // The table's frame picture, fitted to the study board's smaller squares.
            painter.drawImage(box, m_frame);
            continue;
        }
        painter.setPen(QPen(mark ? QColor(40, 110, 220) : QColor(220, 160, 20), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(2, 2, -2, -2));
    }
}

void CChessBoardStudyWnd::DrawPieces(QPainter& painter) {
    const CBoardGrid& grid = m_board.Grid();
    const Colour inCheck = m_board.KingInCheck();
    const bool dragging = m_board.IsDragging() && m_board.Marks().pieceSelected;
    int dragIndex = -1;
    m_board.Position().BoardMap().ForEach([&](int32_t code, CBasePiece* piece) {
        const bool checked = piece->m_kind == PieceKind::King && piece->m_colour == inCheck;
        const int index = CBoardWindowModel::PieceImageIndex(*piece, checked);
        const CBasePoint square = CBasePoint::FromCode(code);
        if (dragging && square == m_board.Marks().selected) {
            dragIndex = index;
            return false;
        }
        DrawPiece(painter, index,
                  CentredBox(SquareCentre(square), grid.m_nPieceWidth, grid.m_nPieceHeight));
        return false;
    });
    // The dragged piece follows the hand, over the others.
    if (dragIndex >= 0)
        DrawPiece(painter, dragIndex,
                  CentredBox(m_dragAt, grid.m_nPieceWidth, grid.m_nPieceHeight));
}

void CChessBoardStudyWnd::DrawPiece(QPainter& painter, int index, const QRect& box) {
    if (index < 0)
        return;
    if (m_pieces.isNull()) {
        DrawFallbackPiece(painter, index, box);
        return;
    }
    const QSize sheet = LogicalSize(m_pieces);
    const int cell = sheet.width() / SHEET_IMAGES;
    const QRect logical(index * cell, 0, cell, sheet.height());
    // Drawn at the sheet's own size when it fits the box, so that the pieces stay sharp.
    painter.drawImage(logical.size() == box.size() ? QRect(box.topLeft(), logical.size()) : box,
                      m_pieces, PictureRect(m_pieces, logical));
}

void CChessBoardStudyWnd::ApplyCursor(CBaseBoardStudy::Cursor cursor) {
    switch (cursor) {
    case CBaseBoardStudy::Cursor::Cross:
        setCursor(Qt::CrossCursor);
        break;
    case CBaseBoardStudy::Cursor::Hidden:
        setCursor(Qt::BlankCursor);
        break;
    default:
        setCursor(Qt::ArrowCursor);
        break;
    }
}

void CChessBoardStudyWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    ApplyCursor(m_board.OnMouseMove(at.x(), at.y()));
    if (m_board.IsDragging()) {
        m_dragAt = at;
        update();
    }
}

void CChessBoardStudyWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    // The hover state belongs to the point pressed, whether or not a move event came first.
    m_board.OnMouseMove(at.x(), at.y());
    m_dragAt = at;
    m_board.OnLButtonDown(at.x(), at.y());
    ApplyCursor(m_board.OnMouseMove(at.x(), at.y()));
}

void CChessBoardStudyWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (m_board.IsDragging())
        m_board.OnMouseMove(at.x(), at.y());
    ApplyCursor(m_board.OnLButtonUp(at.x(), at.y()));
    update();
}

} // namespace kelo
