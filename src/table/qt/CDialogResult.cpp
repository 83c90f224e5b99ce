// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CDialogResult.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace kelo {

namespace {
const QColor BAND(92, 58, 30);
const QColor BODY(246, 240, 226);
const QColor GRID(170, 140, 100);
const QColor TEXT(40, 30, 20);

QFont TableFont() {
    QFont font(QStringLiteral("SimSun"));
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    return font;
}
} // namespace

CDialogResult::CDialogResult(const CResultDialogModel& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_model(model) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(m_model.Width(), m_model.Height());
    const CRect button = m_model.CloseButton();
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setFont(TableFont());
    close->setToolTip(QStringLiteral("关闭窗口"));
    close->setGeometry(button.left, button.top, button.right - button.left,
                       button.bottom - button.top);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void CDialogResult::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BODY);
    painter.fillRect(QRect(0, 0, width(), CResultDialogModel::TOP_MARGIN), BAND);
    painter.setFont(TableFont());
    const int row = CResultDialogModel::ROW_HEIGHT;
    int y = CResultDialogModel::TOP_MARGIN;
    painter.setPen(TEXT);
    // The result line on one line, across the whole width.
    painter.drawText(QRect(0, y, width(), row), Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(m_model.Line()));
    y += row;
    const int tableTop = y;
    const auto& columns = m_model.Columns();
    auto drawRow = [&](auto cellText) {
        int x = 0;
        for (size_t c = 0; c < columns.size(); ++c) {
            // A name wider than its cell (the computer's "Stockfish 15.1 · 4级") shows its
            // beginning and an ellipsis rather than a middle cut off at both edges.
            const QRect cell(x, y, columns[c].width, row);
            painter.drawText(cell, Qt::AlignCenter,
                             painter.fontMetrics().elidedText(
                                 QString::fromStdString(cellText(c)), Qt::ElideRight,
                                 cell.width() - 4));
            x += columns[c].width;
        }
        y += row;
    };
    drawRow([&](size_t c) { return columns[c].title; });
    for (size_t r = 0; r < m_model.Rows().size(); ++r)
        drawRow([&](size_t c) { return m_model.Cell(r, c); });
    painter.setPen(GRID);
    for (int line = tableTop; line <= y; line += row)
        painter.drawLine(0, line, width() - 1, line);
    int x = 0;
    for (const auto& column : columns) {
        painter.drawLine(x, tableTop, x, y);
        x += column.width;
    }
    painter.drawLine(width() - 1, tableTop, width() - 1, y);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CDialogResult::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle() != nullptr)
        windowHandle()->startSystemMove();
}

} // namespace kelo
