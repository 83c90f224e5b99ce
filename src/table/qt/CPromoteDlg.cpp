// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CPromoteDlg.h"

#include "base/qt/SkinQt.h"
#include "chess/CBasePiece.h"
#include "table/CBoardWindowModel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QWindow>

namespace kelo {

namespace {
constexpr int BUTTON = 56;
const QColor TEXT_COLOUR(6, 121, 212);
const char16_t FIGURES[] = u"\u265F\u265C\u265E\u265D\u265A\u265B";

QIcon PieceIcon(const QImage& sheet, PieceKind kind, Colour colour) {
    const int index = CBoardWindowModel::PieceImageIndex(CBasePiece(kind, colour, 0), false);
    QPixmap pixmap = DevicePixmap(QSize(BUTTON - 8, BUTTON - 8));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!sheet.isNull()) {
        const QSize logical = LogicalSize(sheet);
        const int cell = logical.width() / 14;
        painter.drawImage(QRect(0, 0, BUTTON - 8, BUTTON - 8), sheet,
                          PictureRect(sheet, QRect(index * cell, 0, cell, logical.height())));
    } else {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(BUTTON - 8 - 6);
        QPainterPath path;
        const QString figure =
            QString(QChar(FIGURES[index % CBoardWindowModel::IMAGES_PER_COLOUR]));
        const QRect bounds = QFontMetrics(font).tightBoundingRect(figure);
        path.addText((BUTTON - 8) / 2 - bounds.center().x(), (BUTTON - 8) / 2 - bounds.center().y(),
                     font, figure);
        const bool white = colour == Colour::White;
        painter.setPen(QPen(white ? QColor(30, 30, 30) : QColor(200, 200, 200), 1.2));
        painter.setBrush(white ? QColor(250, 248, 240) : QColor(25, 25, 25));
        painter.drawPath(path);
    }
    return QIcon(pixmap);
}
} // namespace

CPromoteDlg::CPromoteDlg(IEventLoop& loop, const QImage& pieces, Colour colour, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_choice(loop, [this](PieceKind) { accept(); }), m_pieces(pieces), m_colour(colour) {
    setFixedSize(4 * (BUTTON + 8) + 12, BUTTON + 52);
    setAccessibleName(QStringLiteral("升变为"));
    int x = 10;
    // The letters of standard notation choose from the keys; Tab and Enter work too, and
    // Escape closes with the queen as the countdown does.
    const char* const letters = "QRBN";
    int index = 0;
    for (PieceKind kind : CPromoteChoice::CHOICES) {
        auto* button = new QPushButton(this);
        const QString caption = QString::fromUtf8(CPromoteChoice::Caption(kind));
        button->setAccessibleName(caption);
        button->setShortcut(QKeySequence(QChar(letters[index])));
        if (index == 0) {
            button->setDefault(true);
            button->setFocus(Qt::OtherFocusReason);
        }
        ++index;
        button->setGeometry(x, 38, BUTTON, BUTTON);
        button->setIcon(PieceIcon(m_pieces, kind, m_colour));
        button->setIconSize(QSize(BUTTON - 8, BUTTON - 8));
        button->setToolTip(caption + QStringLiteral(" (") + QChar(letters[index - 1]) + ')');
        connect(button, &QPushButton::clicked, this, [this, kind] { m_choice.Choose(kind); });
        x += BUTTON + 8;
    }
    m_choice.SetTick([this](int) { update(); });
    m_choice.Start();
}

void CPromoteDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(246, 240, 226));
    painter.setPen(QColor(110, 70, 30));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(TEXT_COLOUR);
    painter.drawText(10, 10 + QFontMetrics(font).ascent(), QStringLiteral("升变为"));
    painter.drawText(150, 10 + QFontMetrics(font).ascent(),
                     QStringLiteral("[%1]").arg(m_choice.Remaining()));
}

void CPromoteDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle() != nullptr)
        windowHandle()->startSystemMove();
}

} // namespace kelo
