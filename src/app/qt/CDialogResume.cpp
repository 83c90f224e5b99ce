#include "app/qt/CDialogResume.h"

#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kelo {

CDialogResume::CDialogResume(CResumeManager& manager, CResumeNegotiation& negotiation,
                             QWidget* parent)
    : QDialog(parent), m_manager(manager), m_negotiation(negotiation) {
    setWindowTitle(QStringLiteral("续盘窗口"));
    m_pTree = new QTreeWidget(this);
    m_pTree->setHeaderHidden(true);
    m_pTree->setRootIsDecorated(false);
    auto* request = new QPushButton(QStringLiteral("请求续盘"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    // Shown as the table has them, without a use here.
    auto* add = new QPushButton(QStringLiteral("添加残局"), this);
    auto* preview = new QPushButton(QStringLiteral("棋局预览"), this);
    add->setEnabled(false);
    preview->setEnabled(false);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {request, remove, add, preview, cancel})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pTree, 1);
    layout->addLayout(buttons);
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
