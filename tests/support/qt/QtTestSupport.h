// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace kelo::test {

// The test program's one application, made by whichever test asks first.
QApplication& TestApp();

// The texts of a window's push buttons, in child order.
QStringList ButtonLabels(const QWidget& window);
// The push button of a window with that text, or null.
QPushButton* ButtonNamed(const QWidget& window, const QString& label);

// A shown top-level window of that class, or null.
template <class Window> Window* ShownTopLevel() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = dynamic_cast<Window*>(widget); found && found->isVisible())
            return found;
    return nullptr;
}

} // namespace kelo::test
