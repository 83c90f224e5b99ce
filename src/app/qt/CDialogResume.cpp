// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CDialogResume.h"

#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"

#include <QPushButton>
#include <QTreeWidget>

namespace kelo {

namespace {
constexpr int WIDTH = 380;
constexpr int HEIGHT = 250;
constexpr int MARGIN = 10;
constexpr int BUTTON_WIDTH = 100;
constexpr int BUTTON_STEP = 32;
} // namespace

CDialogResume::CDialogResume(CResumeManager& manager, CResumeNegotiation& negotiation,
                             QWidget* parent)
    : CTableDialog(QStringLiteral("续盘窗口"), QStringLiteral("续盘窗口"), parent),
      m_manager(manager), m_negotiation(negotiation) {
    setModal(true);
    setFixedSize(WIDTH, HEIGHT);
    const int top = TITLE_HEIGHT + MARGIN;
    const int buttonLeft = WIDTH - MARGIN - BUTTON_WIDTH;
    m_pTree = new QTreeWidget(this);
    m_pTree->setFont(DialogFont(12));
    m_pTree->setHeaderHidden(true);
    m_pTree->setRootIsDecorated(false);
    m_pTree->setGeometry(MARGIN, top, buttonLeft - 2 * MARGIN, HEIGHT - top - MARGIN);
    auto* request = new QPushButton(QStringLiteral("请求续盘"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    // Shown as the table has them, without a use here.
    auto* add = new QPushButton(QStringLiteral("添加残局"), this);
    auto* preview = new QPushButton(QStringLiteral("棋局预览"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    add->setEnabled(false);
    preview->setEnabled(false);
    int y = top;
    for (QPushButton* button : {request, remove, add, preview, cancel}) {
        button->setFont(DialogFont(12));
        button->setGeometry(buttonLeft, y, BUTTON_WIDTH, BUTTON_HEIGHT);
        y += BUTTON_STEP;
    }
    connect(request, &QPushButton::clicked, this, &CDialogResume::Request);
    connect(remove, &QPushButton::clicked, this, &CDialogResume::Remove);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Fill();
}

void CDialogResume::Fill() {
    m_manager.LoadIndex();
    m_pTree->clear();
    for (const ResumeEntry& entry : m_manager.Entries())
        new QTreeWidgetItem(m_pTree, {QString::fromStdString(entry.key)});
}

void CDialogResume::Request() {
    const int row = m_pTree->indexOfTopLevelItem(m_pTree->currentItem());
    if (row < 0 || row >= static_cast<int>(m_manager.Entries().size()))
        return;
    if (m_negotiation.RequestResume(m_manager.Entries()[static_cast<size_t>(row)]))
        accept();
}

void CDialogResume::Remove() {
    const int row = m_pTree->indexOfTopLevelItem(m_pTree->currentItem());
    if (row < 0 || row >= static_cast<int>(m_manager.Entries().size()))
        return;
    const ResumeEntry entry = m_manager.Entries()[static_cast<size_t>(row)];
    delete m_pTree->takeTopLevelItem(row);
    m_manager.RemoveEntry(entry);
    // The index as it is now, another client's changes included.
    Fill();
}

} // namespace kelo
