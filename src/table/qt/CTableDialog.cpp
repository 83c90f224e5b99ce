// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CTableDialog.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include <algorithm>

namespace kelo {

namespace {
const QColor TITLE_BAND(92, 58, 30);
const QColor BODY(246, 240, 226);
const QColor FRAME(110, 70, 30);
const QColor TEXT(40, 30, 20);
constexpr int BUTTON_GAP = 12;
constexpr int BOTTOM_MARGIN = 10;
} // namespace

CTableDialog::CTableDialog(const QString& caption, const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_title(title) {
    setWindowTitle(caption);
}

QFont CTableDialog::DialogFont(int pixels) {
    QFont font(QStringLiteral("SimSun"));
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixels);
    font.setWeight(QFont::Medium);
    return font;
}

void CTableDialog::SetTextLines(const QStringList& lines) {
    m_lines = lines;
    update();
}

std::vector<QPushButton*> CTableDialog::AddButtonRow(const std::vector<ButtonFace>& buttons) {
    const QFontMetrics metrics(DialogFont(12));
    const int least = buttons.size() > 2 ? 72 : 64;
    std::vector<int> widths;
    int total = 0;
    for (const ButtonFace& face : buttons) {
        widths.push_back(std::max(least, metrics.horizontalAdvance(face.label) + 16));
        total += widths.back();
    }
    total += static_cast<int>(buttons.size() > 0 ? buttons.size() - 1 : 0) * BUTTON_GAP;
    int x = (width() - total) / 2;
    std::vector<QPushButton*> made;
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* push = new QPushButton(buttons[i].label, this);
        push->setFont(DialogFont(12));
        push->setGeometry(x, height() - BUTTON_HEIGHT - BOTTOM_MARGIN, widths[i], BUTTON_HEIGHT);
        if (!buttons[i].hint.isEmpty())
            push->setToolTip(buttons[i].hint);
        made.push_back(push);
        x += widths[i] + BUTTON_GAP;
    }
    return made;
}

int CTableDialog::WidthForLines(const QStringList& lines, int least) const {
    const QFontMetrics metrics(DialogFont(14));
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::max(least, widest + 32);
}

QRect CTableDialog::TextBand() const {
    return QRect(8, TITLE_HEIGHT, width() - 16,
                 height() - TITLE_HEIGHT - BUTTON_HEIGHT - BOTTOM_MARGIN);
}

void CTableDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BODY);
    painter.fillRect(QRect(0, 0, width(), TITLE_HEIGHT), TITLE_BAND);
    painter.setPen(FRAME);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(DialogFont(14));
    if (!m_title.isEmpty()) {
        painter.setPen(Qt::white);
        painter.drawText(QRect(8, 0, width() - 16, TITLE_HEIGHT), Qt::AlignVCenter | Qt::AlignLeft,
                         m_title);
    }
    painter.setPen(TEXT);
    const QStringList lines = TextLines();
    const QRect band = TextBand();
    int y = band.top() + (band.height() - LINE_HEIGHT * static_cast<int>(lines.size())) / 2;
    for (const QString& line : lines) {
        painter.drawText(QRect(band.left(), y, band.width(), LINE_HEIGHT), Qt::AlignCenter, line);
        y += LINE_HEIGHT;
    }
}

void CTableDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle() != nullptr)
        windowHandle()->startSystemMove();
}

} // namespace kelo
