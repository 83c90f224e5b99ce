// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CChessBoardWnd.h"

#include "base/CSkinManager.h"
#include "base/qt/SkinQt.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBasePiece.h"
#include "table/CBoardWindowModel.h"
#include "table/qt/BoardFallback.h"
#include "table/qt/CBoardAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kelo {

namespace {
constexpr int SHEET_IMAGES = 14;

QRect CentredBox(QPoint centre, int width, int height) {
    return QRect(centre.x() - width / 2, centre.y() - height / 2, width, height);
}
} // namespace

CChessBoardWnd::CChessBoardWnd(CBoardWindowModel& model, const CSkinManager& skin, QWidget* parent)
    : QWidget(parent), m_model(model), m_skin(skin), m_cursor(model) {
    CBoardAccessible::Install();
    setMouseTracking(true);
    // A click or Tab gives the board the keys; the cursor then shows.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("棋盘"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!IsEmptyRect(skin.m_rcChessBoard)) {
        m_background = LoadSkinImage(skin.m_strFrmBackPath);
        m_backgroundPart = PictureRect(m_background, ToQRect(skin.m_rcChessBoard));
    }
    m_pieces = LoadSkinImage(skin.m_strChessPiecePath);
    m_frame = LoadSkinImage(skin.m_strChessPieceBorderPath);
    m_icons = LoadSkinImage(skin.m_strPieceIconPath);
    const CBoardGrid& grid = model.Grid();
    if (IsEmptyRect(skin.m_rcChessBoard))
        resize(grid.Width(), grid.Height());
    else
        resize(ToQRect(skin.m_rcChessBoard).size());
    model.TableBoard().SetObserver(this);
    model.SetObserver(this);
}

CChessBoardWnd::~CChessBoardWnd() {
    if (m_model.TableBoard().Observer() == this)
        m_model.TableBoard().SetObserver(nullptr);
    m_model.SetObserver(nullptr);
}

void CChessBoardWnd::OnBoardChanged() {
    update();
    // What stands under the cursor and whether it is picked up may have changed.
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        named.setChild(CellIndex(m_cursor.Square()));
        QAccessible::updateAccessibility(&named);
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent selected(this, changed);
        selected.setChild(CellIndex(m_cursor.Square()));
        QAccessible::updateAccessibility(&selected);
    }
    if (onBoardChanged)
        onBoardChanged();
}

CBasePoint CChessBoardWnd::CellSquare(int index) const {
    return m_model.ToModel(CBasePoint(index % 8, index / 8));
}

int CChessBoardWnd::CellIndex(CBasePoint square) const {
    const CBasePoint screen = m_model.ToScreen(square);
    return screen.y * 8 + screen.x;
}

void CChessBoardWnd::SetCursorSquare(CBasePoint square) {
    m_cursor.SetSquare(square);
    m_bShowCursor = true;
    update();
    AnnounceCursor();
}

void CChessBoardWnd::AnnounceCursor() {
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(CellIndex(m_cursor.Square()));
    QAccessible::updateAccessibility(&event);
}

void CChessBoardWnd::keyPressEvent(QKeyEvent* event) {
    int dx = 0, dy = 0;
    if (!m_bShowCursor) {
        m_bShowCursor = true;
        update();
    }
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_cursor.Activate();
        update();
        AnnounceCursor();
        return;
    case Qt::Key_Escape:
        if (m_cursor.PutBack()) {
            AnnounceCursor();
            return;
        }
        break;
    default:
        break;
    }
    if (dx == 0 && dy == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_cursor.Move(dx, dy)) {
        update();
        AnnounceCursor();
    }
}

void CChessBoardWnd::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        m_bShowCursor = true;
    update();
    AnnounceCursor();
}

void CChessBoardWnd::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

QPoint CChessBoardWnd::SquareCentre(int x, int y) const {
    const CPoint centre = m_model.Grid().SquareToPixel(m_model.ToScreen(CBasePoint(x, y)));
    return QPoint(centre.x, centre.y);
}

void CChessBoardWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawBoard(painter);
    DrawLabels(painter);
    DrawSelection(painter);
    DrawHighlights(painter);
    DrawPieces(painter);
    DrawDestinations(painter);
    DrawCaptured(painter);
    DrawCursor(painter);
}

void CChessBoardWnd::DrawSelection(QPainter& painter) {
    // The picked-up piece's square is filled, so that it never reads as the last move's frame.
    const std::optional<CBasePoint> selected = m_model.Selected();
    if (!selected || !m_model.IsOnBoard(*selected))
        return;
    const CBoardGrid& grid = m_model.Grid();
    const QRect box = CentredBox(SquareCentre(selected->x, selected->y), grid.m_nSquareWidth,
                                 grid.m_nSquareHeight);
    painter.fillRect(box, QColor(70, 170, 90, 150));
}

void CChessBoardWnd::DrawDestinations(QPainter& painter) {
    CBaseBoard& board = m_model.TableBoard().Board();
    const CBoardGrid& grid = m_model.Grid();
    const int side = std::min(grid.m_nSquareWidth, grid.m_nSquareHeight);
    painter.save();
    for (const MoveRecord& move : m_model.Destinations()) {
        const CBasePoint to = move.to;
        const QPoint centre = SquareCentre(to.x, to.y);
        // A ring round a piece that would be taken, a dot on an empty square.
        if (board.PieceAt(to) != nullptr) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(30, 110, 50, 200), std::max(3, side / 14)));
            painter.drawEllipse(centre, side / 2 - side / 12, side / 2 - side / 12);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(30, 110, 50, 170));
            painter.drawEllipse(centre, side / 7, side / 7);
        }
    }
    painter.restore();
}

void CChessBoardWnd::DrawCursor(QPainter& painter) {
    if (!hasFocus() || !m_bShowCursor)
        return;
    const CBoardGrid& grid = m_model.Grid();
    const CBasePoint square = m_cursor.Square();
    const QRect box =
        CentredBox(SquareCentre(square.x, square.y), grid.m_nSquareWidth, grid.m_nSquareHeight)
            .adjusted(2, 2, -2, -2);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 20, 20), 5));
    painter.drawRect(box);
    painter.setPen(QPen(QColor(80, 200, 255), 3));
    painter.drawRect(box);
    painter.restore();
}

void CChessBoardWnd::DrawBoard(QPainter& painter) {
    if (!m_background.isNull()) {
        painter.drawImage(rect(), m_background, m_backgroundPart);
        return;
    }
    // No skin picture: a wooden board on a dark surround, drawn from the grid.
    DrawFallbackBoard(painter, rect(), m_model.Grid());
}

void CChessBoardWnd::DrawLabels(QPainter& painter) {
    const CBoardGrid& grid = m_model.Grid();
    const int sw = grid.m_nSquareWidth, sh = grid.m_nSquareHeight;
    QFont fallback = SkinFont("", 9);
    fallback.setBold(true);
    const QFont font = ViewFont(fallback);
    painter.setFont(font);
    painter.setPen(QColor(200, 200, 200));
    const bool placed = m_skin.m_ptLabelBottom != CPoint{} || m_skin.m_ptLabelLeft != CPoint{};
    for (int i = 0; i < 8; ++i) {
        const QString file = QString::fromStdString(m_model.FileLabel(i));
        const QString rank = QString::fromStdString(m_model.RankLabel(i));
        if (placed) {
            const QFontMetrics metrics(font);
            painter.drawText(m_skin.m_ptLabelBottom.x + i * sw,
                             m_skin.m_ptLabelBottom.y + metrics.ascent(), file);
            painter.drawText(m_skin.m_ptLabelLeft.x,
                             m_skin.m_ptLabelLeft.y + i * sw + metrics.ascent(), rank);
            continue;
        }
        // Without label places: centred in the margins below and left of the squares.
        const int bottom = grid.m_nOffsetY + 7 * sh + sh / 2 + 6;
        const int marginY = height() - bottom;
        painter.drawText(QRect(grid.m_nOffsetX + (i - 0) * sw - sw / 2, bottom, sw,
                               marginY > 4 ? marginY - 4 : 16),
                         Qt::AlignHCenter | Qt::AlignTop, file);
        const int left = grid.m_nOffsetX - sw / 2 - 6;
        painter.drawText(QRect(0, grid.m_nOffsetY + i * sh - sh / 2, left, sh), Qt::AlignCenter,
                         rank);
    }
}

void CChessBoardWnd::DrawHighlights(QPainter& painter) {
    CBaseBoard& board = m_model.TableBoard().Board();
    const CBoardGrid& grid = m_model.Grid();
    // The picked-up piece has a fill of its own, not a frame.
    const std::optional<CBasePoint> selected = m_model.Selected();
    for (const auto& [square, mark] : FramedSquares(board, m_model.Marks())) {
        if (mark && selected && square == *selected)
            continue;
        const QPoint centre = SquareCentre(square.x, square.y);
        if (!m_frame.isNull()) {
            const QSize size = LogicalSize(m_frame);
            painter.drawImage(CentredBox(centre, size.width(), size.height()), m_frame);
            continue;
        }
        const QRect box = CentredBox(centre, grid.m_nSquareWidth, grid.m_nSquareHeight);
        painter.fillRect(box, mark ? QColor(80, 160, 255, 70) : QColor(255, 210, 60, 90));
        painter.setPen(QPen(mark ? QColor(40, 110, 220) : QColor(220, 160, 20), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(2, 2, -2, -2));
    }
}

void CChessBoardWnd::DrawPieces(QPainter& painter) {
    CBaseBoard& board = m_model.TableBoard().Board();
    const CBoardGrid& grid = m_model.Grid();
    const Colour inCheck = m_model.KingInCheck();
    const BoardMarks& marks = m_model.Marks();
    const bool dragging = m_model.IsDragging() && marks.pieceSelected;
    int dragIndex = -1;
    board.Position().BoardMap().ForEach([&](int32_t code, CBasePiece* piece) {
        const bool checked = piece->m_kind == PieceKind::King && piece->m_colour == inCheck;
        const int index = CBoardWindowModel::PieceImageIndex(*piece, checked);
        const CBasePoint square = CBasePoint::FromCode(code);
        if (dragging && square == marks.selected) {
            dragIndex = index;
            return false;
        }
        const QPoint centre = SquareCentre(square.x, square.y);
        DrawPiece(painter, index, CentredBox(centre, grid.m_nPieceWidth, grid.m_nPieceHeight));
        return false;
    });
    // The dragged piece follows the hand, drawn last so that it passes over the others.
    if (dragIndex >= 0)
        DrawPiece(painter, dragIndex,
                  CentredBox(m_dragAt, grid.m_nPieceWidth, grid.m_nPieceHeight));
}

void CChessBoardWnd::DrawPiece(QPainter& painter, int index, const QRect& box) {
    if (index < 0)
        return;
    if (!m_pieces.isNull()) {
        const QSize sheet = LogicalSize(m_pieces);
        const int cell =
            m_skin.m_sizePiece.x > 0 ? m_skin.m_sizePiece.x : sheet.width() / SHEET_IMAGES;
        const int cellHeight = m_skin.m_sizePiece.y > 0 ? m_skin.m_sizePiece.y : sheet.height();
        painter.drawImage(box, m_pieces,
                          PictureRect(m_pieces, QRect(index * cell, 0, cell, cellHeight)));
        return;
    }
    DrawFallbackPiece(painter, index, box);
}

void CChessBoardWnd::DrawIcon(QPainter& painter, int index, const QRect& box) {
    if (!m_icons.isNull()) {
        const QSize sheet = LogicalSize(m_icons);
        const int cell = sheet.width() / SHEET_IMAGES;
        painter.drawImage(QRect(box.topLeft(), QSize(cell, sheet.height())), m_icons,
                          PictureRect(m_icons, QRect(index * cell, 0, cell, sheet.height())));
        return;
    }
    DrawPiece(painter, index, box);
}

void CChessBoardWnd::DrawCaptured(QPainter& painter) {
    CBaseBoard& board = m_model.TableBoard().Board();
    const int iconWidth = !m_icons.isNull() ? LogicalSize(m_icons).width() / SHEET_IMAGES : 18;
    const int iconHeight = !m_icons.isNull() ? LogicalSize(m_icons).height() : 18;
    const Colour bottom = m_model.BottomCapturedColour();
    int bottomX = 20, topX = 20;
    const int boardHeight = IsEmptyRect(m_skin.m_rcChessBoard)
                                ? height()
                                : m_skin.m_rcChessBoard.bottom - m_skin.m_rcChessBoard.top;
    // Both rows lie in the tray below the frame, the top side's above the bottom side's: the
    // frame's edge above the squares is too narrow for a piece one can read.
    for (const CBasePiece* piece : board.Position().Captured()) {
        const int index = CBoardWindowModel::PieceImageIndex(*piece, false);
        if (piece->m_colour == bottom) {
            DrawIcon(painter, index,
                     QRect(bottomX, boardHeight - iconHeight, iconWidth, iconHeight));
            bottomX += iconWidth;
        } else {
            DrawIcon(painter, index,
                     QRect(topX, boardHeight - 2 * iconHeight, iconWidth, iconHeight));
            topX += iconWidth;
        }
    }
}

void CChessBoardWnd::ApplyCursor(int cursor) {
    switch (static_cast<CBoardWindowModel::Cursor>(cursor)) {
    case CBoardWindowModel::Cursor::Cross:
        setCursor(Qt::CrossCursor);
        break;
    case CBoardWindowModel::Cursor::Hidden:
        setCursor(Qt::BlankCursor);
        break;
    default:
        setCursor(Qt::ArrowCursor);
        break;
    }
}

void CChessBoardWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    ApplyCursor(static_cast<int>(m_model.OnMouseMove(at.x(), at.y())));
    if (m_model.IsDragging()) {
        m_dragAt = at;
        update();
    }
}

void CChessBoardWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    // The hover state belongs to the point pressed, whether or not a move event came first.
    m_model.OnMouseMove(at.x(), at.y());
    m_model.OnLButtonDown(at.x(), at.y());
    m_dragAt = at;
    // The keys go on from the square clicked.
    m_bShowCursor = false;
    const CBasePoint square = m_model.SquareAt(at.x(), at.y());
    if (m_model.IsOnBoard(square))
        m_cursor.SetSquare(square);
    ApplyCursor(static_cast<int>(m_model.OnMouseMove(at.x(), at.y())));
}

void CChessBoardWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (m_model.IsDragging())
        m_model.OnMouseMove(at.x(), at.y());
    ApplyCursor(static_cast<int>(m_model.OnLButtonUp(at.x(), at.y())));
    update();
}

} // namespace kelo
