// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CResultDialogModel.h"

#include <QDialog>

namespace kelo {

// The score table at the end of a game, drawn by the program: the result line, the column
// titles and one row per seat, with grid lines, and a close button. Modeless, centred on the
// screen, moved with the mouse from any spot that is not the button.
class CDialogResult : public QDialog {
public:
    explicit CDialogResult(const CResultDialogModel& model, QWidget* parent = nullptr);

    const CResultDialogModel& Model() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CResultDialogModel m_model;
};

} // namespace kelo
