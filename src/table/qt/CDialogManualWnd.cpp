// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CDialogManualWnd.h"

#include "base/CSkinManager.h"
#include "base/qt/CQtStockWords.h"
#include "base/qt/SkinQt.h"
#include "table/WindowPlacement.h"
#include "table/qt/CChessBoardStudyWnd.h"
#include "table/qt/CChnBoardStudyImp.h"
#include "table/qt/CPromoteDlg.h"
#include "table/qt/CTableDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace kelo {

namespace {
// The labels are drawn in dark blue over the dialog's light, grained paper.
const QColor LABEL_TEXT(10, 10, 140);
const QColor PAPER(240, 233, 216);
constexpr int TILE = 48;
constexpr int LIST_WIDTH = 136;
constexpr int BUTTON_WIDTH = 76;
constexpr int BUTTON_HEIGHT = 26;
constexpr int BUTTON_STEP = 40;
constexpr int GAP = 14;
constexpr int LABEL_HEIGHT = 20;

const char* const CAPTIONS[] = {"刷新", "保存", "旋转", "上一步", "下一步", "自动", "关闭"};

// The background tile: paper with a faint woven grain, the same at every start.
QImage PaperTile() {
    QImage tile(TILE, TILE, QImage::Format_RGB32);
    uint32_t seed = 0x2545F491u;
    for (int y = 0; y < TILE; ++y)
        for (int x = 0; x < TILE; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 29) - 4 + ((x + 2 * y) % 12 == 0 ? -5 : 0);
            tile.setPixelColor(
                x, y, QColor(PAPER.red() + grain, PAPER.green() + grain, PAPER.blue() + grain));
        }
    return tile;
}
} // namespace

CDialogManualWnd::CDialogManualWnd(const CBaseDiagram& table, const CPlayerManager& people,
                                   IEventLoop& loop, const CSkinManager& skin, ISoundPlayer* sound)
    : QDialog(nullptr), m_loop(loop), m_tile(PaperTile()) {
    setWindowTitle(QString::fromUtf8(CDialogManual::TITLE));
    setModal(false);
    setFont(CTableDialog::DialogFont(12));
    m_caption = skin.m_strTitle.size() >= 2 ? QString::fromStdString(skin.m_strTitle)
                                            : QStringLiteral("国际象棋");
    m_promotionPieces = LoadSkinImage(skin.m_strChessPiecePath);

    m_pHost = new CChnBoardStudyImp(people, *this, sound, skin, this);
    m_pModel = std::make_unique<CDialogManual>(m_pHost->Board(), table, loop);
    m_pModel->SetView(this);

    // 260 pixels beside the board for the list and the buttons; below it the same margin as
    // above. The caption bar and the borders are the window system's, outside this size.
    const QRect board = m_pHost->BoardWindow().geometry();
    setFixedSize(board.width() + 260, board.height() + 2 * CChnBoardStudyImp::BOX_MARGIN);

    // The list right of the board, its label above it; the buttons in a column on the right.
    const int listLeft = board.right() + 1 + GAP;
    auto* label = new QLabel(QStringLiteral("棋谱列表："), this);
    QPalette labelColours = label->palette();
    labelColours.setColor(QPalette::WindowText, LABEL_TEXT);
    label->setPalette(labelColours);
    label->setGeometry(listLeft, board.top(), LIST_WIDTH, LABEL_HEIGHT);
    m_pList = new QListWidget(this);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setGeometry(listLeft, board.top() + LABEL_HEIGHT + 4, LIST_WIDTH,
                         board.height() - LABEL_HEIGHT - 4);
    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            &CDialogManualWnd::OnSelectionChanged);

    const int buttonLeft = listLeft + LIST_WIDTH + GAP;
    int y = m_pList->y();
    std::vector<QPushButton*> buttons;
    for (const char* caption : CAPTIONS) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setGeometry(buttonLeft, y, BUTTON_WIDTH, BUTTON_HEIGHT);
        button->setAutoDefault(false);
        buttons.push_back(button);
        y += BUTTON_STEP;
    }
    CDialogManual& model = *m_pModel;
    connect(buttons[0], &QPushButton::clicked, this, [&model] { model.RefreshMoves(); });
    // Saving from the study window is not offered.
    buttons[1]->setEnabled(false);
    connect(buttons[2], &QPushButton::clicked, this, [&model] { model.OnRotate(); });
    connect(buttons[3], &QPushButton::clicked, this, [&model] { model.OnPrevious(); });
    connect(buttons[4], &QPushButton::clicked, this, [&model] { model.OnNext(); });
    m_pAuto = buttons[5];
    m_pAuto->setCheckable(true);
    connect(m_pAuto, &QPushButton::clicked, this, [this, &model] {
        model.OnAuto();
        // The button shows whether the replay runs, whatever the click made of it.
        m_pAuto->setChecked(model.AutoReplay());
    });
    connect(buttons[6], &QPushButton::clicked, this, &QWidget::hide);

    m_pModel->OnInitDialog();
    PlaceWindow();
}

CDialogManualWnd::~CDialogManualWnd() {
    // The list goes before the study board, which the host child still holds.
    m_pModel.reset();
}

CDialogManualWnd* CDialogManualWnd::Open(QObject& owner, const CBaseDiagram& table,
                                         const CPlayerManager& people, IEventLoop& loop,
                                         const CSkinManager& skin, ISoundPlayer* sound) {
    auto* window = new CDialogManualWnd(table, people, loop, skin, sound);
    // No parent, so that it is a window of its own; it still goes when the table goes.
    QObject::connect(&owner, &QObject::destroyed, window, [window] { delete window; });
    if (const auto* table = qobject_cast<const QWidget*>(&owner)) {
        window->PlaceBeside(*table);
        // A table kept above other windows would otherwise hide its study window.
        window->setWindowFlag(Qt::WindowStaysOnTopHint,
                              table->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
    window->show();
    window->raise();
    return window;
}

void CDialogManualWnd::PlaceWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    const int boardSide = CBaseBoardStudy::WINDOW_SIZE;
    move(area.left() + (area.width() - 2 * boardSide) / 2,
         area.top() + (area.height() - boardSide - 10) / 2);
}

void CDialogManualWnd::PlaceBeside(const QWidget& table) {
    const QScreen* screen = table.screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QRect owner = table.frameGeometry();
    // The frame the window manager adds is not known before the window is shown: a title bar's
    // worth is kept free.
    const QSize size = frameGeometry().size().expandedTo(this->size() + QSize(0, 30));
    const CPoint at = kelo::PlaceBeside(
        CRect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
        CRect{owner.left(), owner.top(), owner.left() + owner.width(),
              owner.top() + owner.height()},
        CPoint{size.width(), size.height()});
    move(at.x, at.y);
}

QPushButton* CDialogManualWnd::Button(const QString& caption) const {
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

void CDialogManualWnd::OnListChanged() {
    // The list widget follows the model; its own selection signals are not passed back.
    m_bSyncing = true;
    const auto& items = m_pModel->Items();
    bool same = m_pList->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < m_pList->count(); ++i)
        same = m_pList->item(i)->text().toStdString() == items[static_cast<size_t>(i)].text;
    if (!same) {
        m_pList->clear();
        for (const CDialogManual::Item& item : items)
            m_pList->addItem(QString::fromStdString(item.text));
    }
    const int selected = m_pModel->Selected();
    if (selected >= 0) {
        m_pList->setCurrentRow(selected);
        m_pList->scrollToItem(m_pList->item(selected));
    } else {
        m_pList->clearSelection();
    }
    if (m_pAuto != nullptr)
        m_pAuto->setChecked(m_pModel->AutoReplay());
    m_bSyncing = false;
}

void CDialogManualWnd::OnSelectionChanged() {
    if (m_bSyncing)
        return;
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    m_pModel->SelectItem(selected.isEmpty() ? -1 : m_pList->row(selected.first()));
}

PieceKind CDialogManualWnd::ChoosePromotion() {
    CPromoteDlg dialog(m_loop, m_promotionPieces, m_pModel->Board().TurnColour(), this);
    dialog.exec();
    return dialog.Chosen();
}

void CDialogManualWnd::ShowNotice(const std::string& text) {
    CQtStockWords::Load();
    QMessageBox::information(this, m_caption, QString::fromStdString(text));
}

void CDialogManualWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), QPixmap::fromImage(m_tile));
}

} // namespace kelo
