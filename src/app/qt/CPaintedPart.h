// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QWidget>

#include <functional>

namespace kelo {

// A transparent stand-in over something the view paints (a player panel, one of its own
// buttons), so that a screen reader finds it: the mouse passes through to the view, and the
// name is asked for when read, so a running clock raises no event every second.
class CPaintedPart : public QWidget {
public:
    CPaintedPart(QAccessible::Role role, std::function<QString()> name, QWidget* parent);

    // Makes Qt ask this class for the stand-ins' interfaces; once per process.
    static void Install();

    QAccessible::Role role;
    std::function<QString()> name;
    // Set for a button: what its press action (and Space or Enter) does, and whether it may.
    std::function<void()> press;
    std::function<bool()> enabled;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kelo
