// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/qt/CTableDialog.h"

#include <array>

class QButtonGroup;

namespace kelo {

class CPracticeDialogModel;

// "与电脑对弈" in the table's look: a group of buttons for each thing the model asks (the
// computer's level, the colour, the clocks), and "开始" (between games "确定") and "取消". It
// shows the model and passes the choices on. The keys work as in any dialog: Tab and Shift+Tab
// go from group to group, the arrows to the next or the previous button of a group (in order,
// whatever row it stands in), Home and End to its first and last, Enter confirms and Escape
// cancels.
class CPracticeDialog : public CTableDialog {
public:
    // The model must outlive the dialog. betweenGames: the choice in force is changed, not a
    // game started.
    CPracticeDialog(CPracticeDialogModel& model, bool betweenGames, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A group of the model's field: the buttons, each with the id it gives the model.
    QButtonGroup* AddGroup(int field);

    CPracticeDialogModel& m_model;
    // Per field (level, colour, time): the buttons, or none when the field is not asked.
    std::array<QButtonGroup*, 3> m_groups{};
};

} // namespace kelo
