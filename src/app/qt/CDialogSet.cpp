// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CDialogSet.h"

#include "base/CDialogSetModel.h"
#include "base/qt/CQtStockWords.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kelo {

namespace {
constexpr int MARGIN = 12;
constexpr int SPACING = 8;
// Room for the row of "确定" and "取消" below the groups.
constexpr int BUTTON_ROW = CTableDialog::BUTTON_HEIGHT + 2 * MARGIN;
constexpr int LEAST_WIDTH = 320;
// The controls' text: SimSun at 10 points on a 96 dpi screen.
constexpr int TEXT_PIXELS = 13;

QString FromPath(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The folder itself when it is there, else the nearest folder above it that is: the browser
// cannot open on a folder that is not made yet, such as the default record folder before the
// first record.
QString NearestFolder(const QString& path) {
    QString folder = QDir::cleanPath(path);
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}
} // namespace

CDialogSet::CDialogSet(CDialogSetModel& model, QWidget* parent)
    : CTableDialog(QStringLiteral("设置"), QStringLiteral("设置"), parent), m_model(model) {
    setModal(true);
    setFont(DialogFont(TEXT_PIXELS));
    chooseFolder = [this](const QString& title, const QString& folder) {
        CQtStockWords::Load();
        return QFileDialog::getExistingDirectory(this, title, folder, QFileDialog::ShowDirsOnly);
    };

    auto* switches = new QGroupBox(QStringLiteral("设置"), this);
    m_pSound = new QCheckBox(QStringLiteral("声音效果"), switches);
    m_pShowOnTop = new QCheckBox(QStringLiteral("棋盘总在最上面"), switches);
    m_pSound->setChecked(model.Sound());
    m_pShowOnTop->setChecked(model.ShowOnTop());
    auto* switchLines = new QHBoxLayout(switches);
    switchLines->setSpacing(2 * MARGIN);
    switchLines->addWidget(m_pSound);
    switchLines->addWidget(m_pShowOnTop);
    switchLines->addStretch();

    auto* records = new QGroupBox(QStringLiteral("棋谱保存:"), this);
    // Exclusive, yet with no button checked while the setting is none of the three.
    m_pSaveTypes = new QButtonGroup(this);
    auto* radioLine = new QHBoxLayout;
    radioLine->setSpacing(2 * MARGIN);
    const std::pair<int16_t, const char*> types[] = {{CDialogSetModel::SAVE_AUTO, "自动保存"},
                                                     {CDialogSetModel::SAVE_ASK, "提示保存"},
                                                     {CDialogSetModel::SAVE_NEVER, "不保存"}};
    for (const auto& [type, label] : types) {
        auto* radio = new QRadioButton(QString::fromUtf8(label), records);
        radio->setChecked(model.SaveType() == type);
        m_pSaveTypes->addButton(radio, type);
        radioLine->addWidget(radio);
    }
    radioLine->addStretch();
    auto* hint =
        new QLabel(QStringLiteral("单击\"保存到文件夹\"更改或查看棋谱保存的位置"), records);
    auto* folder = new QPushButton(QStringLiteral("保存到文件夹"), records);
    folder->setFixedSize(folder->fontMetrics().horizontalAdvance(folder->text()) + 2 * MARGIN,
                         BUTTON_HEIGHT);
    folder->setAutoDefault(false);
    auto* folderLine = new QHBoxLayout;
    folderLine->addStretch();
    folderLine->addWidget(folder);
    auto* recordLines = new QVBoxLayout(records);
    recordLines->setSpacing(SPACING);
    recordLines->addLayout(radioLine);
    recordLines->addWidget(hint);
    recordLines->addLayout(folderLine);

    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(MARGIN, TITLE_HEIGHT + MARGIN, MARGIN, BUTTON_ROW);
    lines->setSpacing(MARGIN);
    lines->addWidget(switches);
    lines->addWidget(records);
    setFixedSize(lines->sizeHint().expandedTo(QSize(LEAST_WIDTH, 0)));

    const std::vector<QPushButton*> buttons =
        AddButtonRow({{QStringLiteral("确定"), {}}, {QStringLiteral("取消"), {}}});
    buttons[0]->setDefault(true);

    connect(m_pSound, &QCheckBox::toggled, this, [this](bool on) { m_model.SetSound(on); });
    connect(m_pShowOnTop, &QCheckBox::toggled, this, [this](bool on) { m_model.SetShowOnTop(on); });
    connect(m_pSaveTypes, &QButtonGroup::idClicked, this,
            [this](int id) { m_model.SetSaveType(static_cast<int16_t>(id)); });
    connect(folder, &QPushButton::clicked, this, &CDialogSet::PickFolder);
    connect(buttons[0], &QPushButton::clicked, this, &CDialogSet::Confirm);
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);
}

void CDialogSet::PickFolder() {
    if (!chooseFolder)
        return;
    const QString folder = chooseFolder(QString::fromUtf8(CDialogSetModel::FOLDER_TITLE),
                                        NearestFolder(FromPath(m_model.FolderToBrowse())));
    m_model.ChooseFolder(ToPath(folder));
}

void CDialogSet::Confirm() {
    // A failed save has told the user; the dialog closes all the same.
    m_model.Confirm();
    accept();
}

} // namespace kelo
