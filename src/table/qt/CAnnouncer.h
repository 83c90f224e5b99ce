// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace kelo {

// The table's spoken line: the moves, the endings, the requests and answers, the move box's
// answers. A screen reader follows it through the name-change event of this status object;
// endings and requests also raise an alert. It shows the same line on screen.
class CAnnouncer : public QLabel {
public:
    explicit CAnnouncer(QWidget* parent = nullptr);

    // Shows and publishes the line; an alert for what must not be missed.
    void Say(const QString& line, bool alert = false);
};

} // namespace kelo
