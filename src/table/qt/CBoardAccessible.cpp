// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CBoardAccessible.h"

#include "chess/CBaseBoard.h"
#include "table/CBoardWindowModel.h"
#include "table/CMoveBox.h"
#include "table/qt/CBitmapViewer.h"
#include "table/qt/CChessBoardWnd.h"

#include <QPointer>

#include <algorithm>

namespace kelo {

namespace {
constexpr int CELLS = 64;

class CBoardCellAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CBoardCellAccessible(CChessBoardWnd* board, int index) : m_board(board), m_nIndex(index) {}

    bool isValid() const override { return !m_board.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_board ? m_board->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_board.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!m_board)
            return {};
        CBaseBoard& board = m_board->Model().TableBoard().Board();
        const CBasePoint square = Square();
        if (t == QAccessible::Name)
            return QString::fromStdString(CMoveBox::SquareText(board, square));
        if (t == QAccessible::Description) {
            const auto& last = board.LastMoveSquares();
            if (std::find(last.begin(), last.end(), square) != last.end())
                return QStringLiteral("上一步");
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_board)
            return {};
        const CBoardGrid& grid = m_board->Model().Grid();
        const CBasePoint square = Square();
        const QPoint centre = m_board->SquareCentre(square.x, square.y);
        const QRect box(centre.x() - grid.m_nSquareWidth / 2, centre.y() - grid.m_nSquareHeight / 2,
                        grid.m_nSquareWidth, grid.m_nSquareHeight);
        return QRect(m_board->mapToGlobal(box.topLeft()), box.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!m_board)
            return state;
        state.focusable = true;
        state.selectable = true;
        const CBasePoint square = Square();
        state.focused = m_board->hasFocus() && m_board->Cursor().Square() == square;
        const std::optional<CBasePoint> selected = m_board->Model().Selected();
        state.selected = selected && *selected == square;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override {
        if (!m_board)
            return;
        m_board->setFocus(Qt::OtherFocusReason);
        m_board->SetCursorSquare(Square());
        if (name == pressAction())
            m_board->Cursor().Activate();
        m_board->update();
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    CBasePoint Square() const { return m_board->CellSquare(m_nIndex); }

    QPointer<CChessBoardWnd> m_board;
    int m_nIndex;
};

// A button painted from the skin's images: its caption, a button's role, its own enabled
// flag (the widget itself stays enabled to show the disabled face) and a press action.
class CBitmapViewerAccessible : public QAccessibleWidget {
public:
    explicit CBitmapViewerAccessible(CBitmapViewer* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return Viewer()->Caption();
        if (t == QAccessible::Description)
            return Viewer()->TooltipText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.disabled = !Viewer()->IsEnabled();
        return state;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            Viewer()->Press();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    CBitmapViewer* Viewer() const { return static_cast<CBitmapViewer*>(widget()); }
};

QAccessibleInterface* TableInterfaces(const QString&, QObject* object) {
    if (auto* board = dynamic_cast<CChessBoardWnd*>(object))
        return new CBoardAccessible(board);
    if (auto* button = dynamic_cast<CBitmapViewer*>(object))
        return new CBitmapViewerAccessible(button);
    return nullptr;
}
} // namespace

CBoardAccessible::CBoardAccessible(CChessBoardWnd* board)
    : QAccessibleWidget(board, QAccessible::Table, QStringLiteral("棋盘")) {}

CBoardAccessible::~CBoardAccessible() {
    for (QAccessible::Id id : m_cells)
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
}

void CBoardAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(TableInterfaces);
        return true;
    }();
    (void)installed;
}

CChessBoardWnd* CBoardAccessible::Board() const {
    return static_cast<CChessBoardWnd*>(widget());
}

int CBoardAccessible::childCount() const {
    return CELLS;
}

QAccessibleInterface* CBoardAccessible::child(int index) const {
    if (index < 0 || index >= CELLS)
        return nullptr;
    if (m_cells.empty())
        m_cells.assign(CELLS, 0);
    if (m_cells[static_cast<size_t>(index)] == 0)
        m_cells[static_cast<size_t>(index)] =
            QAccessible::registerAccessibleInterface(new CBoardCellAccessible(Board(), index));
    return QAccessible::accessibleInterface(m_cells[static_cast<size_t>(index)]);
}

int CBoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (size_t i = 0; i < m_cells.size(); ++i)
        if (m_cells[i] != 0 && QAccessible::accessibleInterface(m_cells[i]) == child)
            return static_cast<int>(i);
    return -1;
}

QAccessibleInterface* CBoardAccessible::childAt(int x, int y) const {
    const QPoint at = Board()->mapFromGlobal(QPoint(x, y));
    const CBasePoint screen = Board()->Model().Grid().PixelToSquare(at.x(), at.y());
    if (screen.x < 0 || screen.x > 7 || screen.y < 0 || screen.y > 7)
        return nullptr;
    return child(screen.y * 8 + screen.x);
}

QAccessibleInterface* CBoardAccessible::focusChild() const {
    if (!Board()->hasFocus())
        return nullptr;
    return child(Board()->CellIndex(Board()->Cursor().Square()));
}

} // namespace kelo
