// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CAnnouncer.h"

#include <QAccessible>

namespace kelo {

CAnnouncer::CAnnouncer(QWidget* parent) : QLabel(parent) {
    setAccessibleDescription(QStringLiteral("播报"));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CAnnouncer::Say(const QString& line, bool alert) {
    setText(fontMetrics().elidedText(line, Qt::ElideRight, width()));
    setToolTip(line);
    // The same line twice is still said twice: the event goes out even when the name stays.
    setAccessibleName(line);
    if (QAccessible::isActive()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        if (alert) {
            QAccessibleEvent raised(this, QAccessible::Alert);
            QAccessible::updateAccessibility(&raised);
        }
    }
}

} // namespace kelo
