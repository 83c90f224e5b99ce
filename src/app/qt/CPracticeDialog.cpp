// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CPracticeDialog.h"

#include "app/CPracticeDialogModel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kelo {

namespace {
constexpr int MARGIN = 12;
constexpr int SPACING = 8;
// Room for the row of buttons below the groups.
constexpr int BUTTON_ROW = CTableDialog::BUTTON_HEIGHT + 2 * MARGIN;
constexpr int LEAST_WIDTH = 340;
constexpr int TEXT_PIXELS = 13;
constexpr int LEVELS_A_ROW = 4;

using Field = CPracticeDialogModel::Field;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString ColourText(PracticeColour colour) {
    switch (colour) {
    case PracticeColour::White:
        return QStringLiteral("白方（先走）");
    case PracticeColour::Black:
        return QStringLiteral("黑方");
    case PracticeColour::Random:
        break;
    }
    return QStringLiteral("随机");
}
} // namespace

CPracticeDialog::CPracticeDialog(CPracticeDialogModel& model, bool betweenGames, QWidget* parent)
    : CTableDialog(QString::fromUtf8(CPracticeDialogModel::TITLE),
                   betweenGames ? QStringLiteral("对弈设置（下一局起）")
                                : QString::fromUtf8(CPracticeDialogModel::TITLE),
                   parent),
      m_model(model) {
    setModal(true);
    setFont(DialogFont(TEXT_PIXELS));

    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(MARGIN, TITLE_HEIGHT + MARGIN, MARGIN, BUTTON_ROW);
    lines->setSpacing(MARGIN);
    for (const Field field : {Field::Level, Field::Colour, Field::Time}) {
        if (!model.Asks(field))
            continue;
        QButtonGroup* group = AddGroup(static_cast<int>(field));
        lines->addWidget(group->buttons().front()->parentWidget());
        m_groups[static_cast<size_t>(field)] = group;
    }
    setFixedSize(lines->sizeHint().expandedTo(QSize(LEAST_WIDTH, 0)));

    const std::vector<QPushButton*> buttons =
        AddButtonRow({{betweenGames ? QStringLiteral("确定") : QStringLiteral("开始"), {}},
                      {QStringLiteral("取消"), {}}});
    buttons[0]->setDefault(true);
    connect(buttons[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);

    // Tab goes from group to group in the order they were made, landing on the chosen button of
    // each, then to the buttons; the dialog opens on the first group.
    QAbstractButton* first = nullptr;
    for (QButtonGroup* group : m_groups) {
        if (group == nullptr)
            continue;
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        if (first == nullptr)
            first = group->checkedButton();
    }
    if (first != nullptr)
        first->setFocus();
    else
        buttons[0]->setFocus();
}

QButtonGroup* CPracticeDialog::AddGroup(int field) {
    static const char* const TITLES[] = {"电脑棋手的等级", "我执",
                                         "时间（每方总时间、每步限时、每步加时）"};
    auto* box = new QGroupBox(QString::fromUtf8(TITLES[field]), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(2 * MARGIN);
    grid->setVerticalSpacing(SPACING);
    auto* group = new QButtonGroup(box);
    auto add = [&](int id, const QString& label, int row, int column, bool checked) {
        auto* radio = new QRadioButton(label, box);
        radio->setChecked(checked);
        radio->installEventFilter(this);
        group->addButton(radio, id);
        grid->addWidget(radio, row, column);
    };
    switch (static_cast<Field>(field)) {
    case Field::Level:
        for (int level = CPracticeDialogModel::MIN_LEVEL; level <= CPracticeDialogModel::MAX_LEVEL;
             ++level) {
            const int index = level - CPracticeDialogModel::MIN_LEVEL;
            add(level,
                Text(CPracticeDialogModel::LevelLabel(level) + " " +
                     CPracticeDialogModel::LevelHint(level)),
                index / LEVELS_A_ROW, index % LEVELS_A_ROW, level == m_model.Level());
        }
        connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
            if (on)
                m_model.SetLevel(id);
        });
        break;
    case Field::Colour:
        for (size_t i = 0; i < CPracticeDialogModel::COLOURS.size(); ++i) {
            const PracticeColour colour = CPracticeDialogModel::COLOURS[i];
            add(static_cast<int>(i), ColourText(colour), 0, static_cast<int>(i),
                colour == m_model.Colour());
        }
        connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
            if (on)
                m_model.SetColour(CPracticeDialogModel::COLOURS[static_cast<size_t>(id)]);
        });
        break;
    case Field::Time: {
        const auto& presets = m_model.TimePresets();
        for (size_t i = 0; i < presets.size(); ++i) {
            add(static_cast<int>(i), Text(CPracticeDialogModel::PresetLabel(presets[i])),
                static_cast<int>(i), 0, i == m_model.TimeIndex());
        }
        connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
            if (on)
                m_model.SetTimeIndex(static_cast<size_t>(id));
        });
        break;
    }
    }
    // Only the chosen button of a group takes the Tab key's focus: it follows the choice.
    connect(group, &QButtonGroup::buttonToggled, this, [](QAbstractButton* button, bool on) {
        button->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
    });
    return group;
}

bool CPracticeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return CTableDialog::eventFilter(watched, event);
    // Within a group the keys go by the buttons' order, whatever rows they stand in: the levels
    // run on from 4 to 5 with the right arrow.
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (QButtonGroup* group : m_groups) {
        if (group == nullptr || !group->buttons().contains(watched))
            continue;
        const QList<QAbstractButton*> buttons = group->buttons();
        const qsizetype last = buttons.size() - 1;
        qsizetype to = buttons.indexOf(static_cast<QAbstractButton*>(watched));
        if (key == Qt::Key_Home)
            to = 0;
        else if (key == Qt::Key_End)
            to = last;
        else if (key == Qt::Key_Right || key == Qt::Key_Down)
            to = std::min(to + 1, last);
        else if (key == Qt::Key_Left || key == Qt::Key_Up)
            to = std::max<qsizetype>(to - 1, 0);
        else
            return CTableDialog::eventFilter(watched, event);
        buttons[to]->setChecked(true);
        buttons[to]->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return CTableDialog::eventFilter(watched, event);
}

} // namespace kelo
