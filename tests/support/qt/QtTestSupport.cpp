// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/QtTestSupport.h"

namespace kelo::test {

QApplication& TestApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "kelo-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

QStringList ButtonLabels(const QWidget& window) {
    QStringList labels;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        labels << button->text();
    return labels;
}

QPushButton* ButtonNamed(const QWidget& window, const QString& label) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == label)
            return button;
    return nullptr;
}

} // namespace kelo::test
