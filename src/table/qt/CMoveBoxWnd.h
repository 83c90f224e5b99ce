// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include <functional>

namespace kelo {

class CMoveBox;

// The one-line box of the table window where moves and questions are typed. Enter hands the line
// to the move box; a sent move empties it, anything else keeps the text for mending.
class CMoveBoxWnd : public QLineEdit {
public:
    CMoveBoxWnd(CMoveBox& box, QWidget* parent = nullptr);

    // The box's answer, to be shown and read out.
    std::function<void(const QString&)> onAnswer;
    // Escape: the keys go back to the board.
    std::function<void()> onEscape;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Enter();

    CMoveBox& m_box;
};

} // namespace kelo
