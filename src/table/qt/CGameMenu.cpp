// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CGameMenu.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace kelo {

namespace {
constexpr int CHECK_COLUMN = 20;
constexpr int MIN_PIXELS = 9;
} // namespace

// Measures and draws the items as the menu says; everything else as the application's style.
class CGameMenu::Style : public QProxyStyle {
public:
    explicit Style(const CGameMenu& menu) : m_menu(menu) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        if (type == CT_MenuItem)
            return m_menu.m_itemSize;
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_MenuPanelWidth:
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelMenu || element == PE_FrameMenu) {
            painter->fillRect(option->rect, m_menu.m_normal);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || item == nullptr) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const QPalette& palette = QApplication::palette();
        const bool enabled = item->state & State_Enabled;
        const bool selected = enabled && (item->state & State_Selected);
        painter->save();
        painter->fillRect(item->rect,
                          selected ? palette.brush(QPalette::Highlight) : m_menu.m_normal);
        painter->setPen(!enabled   ? palette.color(QPalette::Disabled, QPalette::Text)
                        : selected ? palette.color(QPalette::HighlightedText)
                                   : palette.color(QPalette::WindowText));
        painter->setFont(m_menu.m_font);
        QRect text = item->rect;
        if (item->checked) {
            painter->drawText(QRect(text.left(), text.top(), CHECK_COLUMN, text.height()),
                              Qt::AlignCenter, QStringLiteral("√"));
            text.setLeft(text.left() + CHECK_COLUMN);
        }
        // A face wider than the menu's own six pixels a letter is drawn smaller until the text
        // fits its item.
        QFont font = m_menu.m_font;
        while (font.pixelSize() > MIN_PIXELS &&
               QFontMetrics(font).horizontalAdvance(item->text) > text.width() - 4)
            font.setPixelSize(font.pixelSize() - 1);
        painter->setFont(font);
        painter->drawText(text, Qt::AlignCenter, item->text);
        painter->restore();
    }

private:
    const CGameMenu& m_menu;
};

CGameMenu::CGameMenu(QWidget* parent)
    : QMenu(parent), m_normal(QColor(0, 128, 0)), m_font(QStringLiteral("宋体")) {
    m_font.setPixelSize(12);
    m_font.setWeight(QFont::Medium);
    // The face named may be missing: one with Chinese characters takes its place.
    m_font.setFamilies({QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei"),
                        QStringLiteral("Noto Sans CJK SC")});
    m_pStyle = new Style(*this);
    m_pStyle->setParent(this);
    setStyle(m_pStyle);
    setFont(m_font);
}

CGameMenu::~CGameMenu() {
    // The style goes with the menu, after the menu has let go of it.
    setStyle(nullptr);
}

void CGameMenu::SetItemSize(int width, int height) {
    m_itemSize = QSize(width, height);
}

void CGameMenu::SetBackgroundPattern(const QImage& pattern) {
    if (!pattern.isNull())
        m_normal = QBrush(pattern);
}

} // namespace kelo
