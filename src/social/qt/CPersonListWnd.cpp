// SPDX-License-Identifier: GPL-3.0-or-later
#include "social/qt/CPersonListWnd.h"

#include "base/TableTypes.h"
#include "base/qt/SkinQt.h"
#include "social/CZynPersonListImp.h"
#include "table/qt/CGameMenu.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

#include <cstdio>

namespace kelo {

namespace {

// Rows just as tall as a head picture, so that a table's few people fit the small list.
class CompactRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(17, option.fontMetrics.height() + 1));
        // As narrow as the text and the picture, so that more columns are in view at once.
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool picture = !index.data(Qt::DecorationRole).isNull();
        size.setWidth(option.fontMetrics.horizontalAdvance(text) + 8 +
                      (picture ? option.decorationSize.width() + 4 : 0));
        return size;
    }
};

} // namespace

CPersonListWnd::CPersonListWnd(CZynPersonListImp& list, QWidget* parent)
    : QTreeWidget(parent), m_list(list), m_bDump(!qEnvironmentVariableIsEmpty("KELO_SOCIAL_DUMP")) {
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setIconSize(QSize(16, 16));
    setItemDelegate(new CompactRows(this));
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    const QFont font = SkinFont("", 9);
    setFont(font);
    header()->setFont(font);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setMinimumSectionSize(16);

    const CZynPersonListImp::Colours& colours = list.GetColours();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, ToQColor(colours.back));
    palette.setColor(QPalette::Window, ToQColor(colours.back));
    palette.setColor(QPalette::Text, ToQColor(colours.text));
    palette.setColor(QPalette::Highlight, ToQColor(colours.selectBack));
    palette.setColor(QPalette::HighlightedText, ToQColor(colours.selectText));
    setPalette(palette);
    const QColor back = ToQColor(colours.back), text = ToQColor(colours.text);
    header()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; color: %2; border: none; "
                       "border-right: 1px solid %3; border-bottom: 1px solid %3; "
                       "padding: 0px 2px; }")
            .arg(back.lighter(150).name(), text.name(), back.darker(150).name()));

    // Thin bars in the list's own colours.
    const QString bar =
        QStringLiteral("QScrollBar { background: %1; border: none; }"
                       "QScrollBar:horizontal { height: 8px; } QScrollBar:vertical { width: 8px; }"
                       "QScrollBar::handle { background: %2; border-radius: 3px; min-width: 16px; "
                       "min-height: 16px; margin: 1px; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                       "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
    horizontalScrollBar()->setStyleSheet(
        bar.arg(back.darker(130).name(), back.lighter(220).name()));
    verticalScrollBar()->setStyleSheet(bar.arg(back.darker(130).name(), back.lighter(220).name()));

    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        m_list.RaisePersonEvent(static_cast<size_t>(indexOfTopLevelItem(item)));
    });
    list.onChanged = [this] { Rebuild(); };
    Rebuild();
}

CPersonListWnd::~CPersonListWnd() {
    m_list.onChanged = nullptr;
}

CGameMenu* CPersonListWnd::Menu() {
    if (m_pMenu == nullptr) {
        m_pMenu = new CGameMenu(this);
        m_pMenu->SetItemSize(CZynPersonListImp::MENU_ITEM_WIDTH,
                             CZynPersonListImp::MENU_ITEM_HEIGHT);
        for (const char* item : CZynPersonListImp::MENU_ITEMS)
            m_pMenu->addAction(QString::fromUtf8(item));
    }
    return m_pMenu;
}

void CPersonListWnd::SetHeadPictures(const std::vector<QImage>& pictures) {
    m_heads.clear();
    // Scaled for the screen's density, so a dense picture stays sharp where it can.
    const qreal ratio = std::max<qreal>(1.0, SkinPixelRatio());
    const int side = qRound(16 * ratio);
    for (const QImage& picture : pictures) {
        QImage small = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        small.setDevicePixelRatio(ratio);
        m_heads.push_back(QIcon(QPixmap::fromImage(small)));
    }
    Rebuild();
}

void CPersonListWnd::Rebuild() {
    QStringList titles;
    for (int column = 0; column < CZynPersonListImp::COLUMN_COUNT; ++column)
        titles << QString::fromStdString(m_list.Title(column));
    setHeaderLabels(titles);

    const CZynPersonListImp::Colours& colours = m_list.GetColours();
    const int selected = currentItem() != nullptr ? indexOfTopLevelItem(currentItem()) : -1;
    clear();
    QString shown;
    for (const PERSON& person : m_list.Rows()) {
        auto* item = new QTreeWidgetItem(this);
        const bool self = m_list.IsSelf(person);
        const bool watcher = RoleFromStatus(person.status) == TableRole::Watcher;
        const QColor text = ToQColor(person.ismyfriend != 0 ? colours.friendText
                                     : watcher              ? colours.text
                                                            : colours.player);
        for (int column = 0; column < CZynPersonListImp::COLUMN_COUNT; ++column) {
            item->setText(column,
                          QString::fromStdString(CZynPersonListImp::CellText(person, column)));
            item->setForeground(column, text);
            if (self)
                item->setBackground(column, ToQColor(colours.selfBack));
        }
        if (person.headpicid >= 0 && static_cast<size_t>(person.headpicid) < m_heads.size())
            item->setIcon(0, m_heads[static_cast<size_t>(person.headpicid)]);
        shown += (shown.isEmpty() ? "" : ",") + item->text(0) + (self ? "*" : "");
    }
    if (selected >= 0 && selected < topLevelItemCount())
        setCurrentItem(topLevelItem(selected));
    FitColumns();
    if (m_bDump) {
        std::printf("people shown: %s\n", shown.toUtf8().constData());
        std::fflush(stdout);
    }
}

void CPersonListWnd::FitColumns() {
    const int count = columnCount();
    std::vector<int> title(static_cast<size_t>(count)), want(title.size());
    int total = 0;
    for (int column = 0; column < count; ++column) {
        const auto at = static_cast<size_t>(column);
        // The title with the header's padding (2 on each side) and its border.
        title[at] = header()->fontMetrics().horizontalAdvance(headerItem()->text(column)) + 5;
        want[at] = std::max(title[at], sizeHintForColumn(column));
        total += want[at];
    }
    // The names give way first, elided down to their picture and a few characters; the
    // numbers and short words never. What still does not fit is reached by scrolling.
    const int over = total - viewport()->width();
    if (count > 0 && over > 0) {
        const int least = iconSize().width() + 12 + fontMetrics().horizontalAdvance(u'中') * 4;
        want[0] = std::max({title[0], std::min(want[0], least), want[0] - over});
    }
    for (int column = 0; column < count; ++column)
        header()->resizeSection(column, want[static_cast<size_t>(column)]);
}

void CPersonListWnd::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    FitColumns();
}

void CPersonListWnd::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(event->globalPos()));
    if (item == nullptr)
        return;
    setCurrentItem(item);
    Menu()->popup(event->globalPos());
}

} // namespace kelo
