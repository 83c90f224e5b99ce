// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CPaintedPart.h"

#include <QAccessibleWidget>
#include <QKeyEvent>

namespace kelo {

namespace {
class CPaintedPartAccessible : public QAccessibleWidget {
public:
    explicit CPaintedPartAccessible(CPaintedPart* part) : QAccessibleWidget(part, part->role) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return Part()->name();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.disabled = Part()->enabled && !Part()->enabled();
        return state;
    }
    QStringList actionNames() const override {
        return Part()->press ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && Part()->press && !state().disabled)
            Part()->press();
    }

private:
    CPaintedPart* Part() const { return static_cast<CPaintedPart*>(widget()); }
};

QAccessibleInterface* PaintedPartInterface(const QString&, QObject* object) {
    if (auto* part = dynamic_cast<CPaintedPart*>(object))
        return new CPaintedPartAccessible(part);
    return nullptr;
}
} // namespace

CPaintedPart::CPaintedPart(QAccessible::Role role, std::function<QString()> name, QWidget* parent)
    : QWidget(parent), role(role), name(std::move(name)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CPaintedPart::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(PaintedPartInterface);
        return true;
    }();
    (void)installed;
}

void CPaintedPart::paintEvent(QPaintEvent*) {}

void CPaintedPart::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (press && (!enabled || enabled()) &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        press();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kelo
