// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CAnnouncer.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"

#include <QAccessible>
#include <QMouseEvent>

#include <algorithm>

namespace kelo {

CAnnouncer::CAnnouncer(QWidget* parent) : QLabel(parent) {
    setAccessibleDescription(QStringLiteral("播报"));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    // A box over the window's parts keeps its text readable: the dark of the band.
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(22, 34, 30));
    setPalette(dark);
}

void CAnnouncer::Follow(CBaseBoard& board) {
    m_pBoard = &board;
}

void CAnnouncer::SetPlace(const QRect& band, int boxRight, int lowest) {
    m_band = band;
    m_nBoxRight = boxRight;
    m_nLowest = lowest;
    Show(m_line);
}

void CAnnouncer::Say(const QString& line, bool alert, About about) {
    m_about = about;
    m_bWhile = false;
    m_pSubject = nullptr;
    if (m_pBoard != nullptr) {
        m_nGameSerial = m_pBoard->GameSerial();
        m_nMoveCount = m_pBoard->Position().MoveCount();
    }
    Show(line);
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

void CAnnouncer::SayWhile(const QString& line, QObject& subject, bool alert) {
    Say(line, alert);
    m_bWhile = true;
    m_pSubject = &subject;
    // A widget tells of its end before the guard above forgets it: the subject is compared.
    connect(&subject, &QObject::destroyed, this, [this](QObject* gone) {
        if (m_bWhile && m_pSubject.data() == gone)
            Clear();
    });
}

bool CAnnouncer::Holds() const {
    if (m_bWhile && m_pSubject == nullptr)
        return false;
    if (m_pBoard == nullptr)
        return true;
    // A new game: the last one's endings, requests and moves are over.
    if (m_pBoard->GameSerial() != m_nGameSerial)
        return false;
    // After a further move or a take-back the position is another.
    return m_about != About::Position || m_pBoard->Position().MoveCount() == m_nMoveCount;
}

void CAnnouncer::Recheck() {
    if (!m_line.isEmpty() && !Holds())
        Clear();
}

void CAnnouncer::Clear() {
    m_bWhile = false;
    m_pSubject = nullptr;
    Show({});
    setAccessibleName({});
}

void CAnnouncer::Show(const QString& line) {
    m_line = line;
    setText(line);
    setToolTip(line);
    if (m_band.isEmpty())
        return;
    // The band holds two lines. A longer line becomes a box of its own, as wide as the window
    // lets it be and reaching further down, over what lies there until the next line or a
    // click: over the window's buttons and the panels' top rather than the board's pieces.
    SetBoxed(false);
    setGeometry(m_band);
    if (line.isEmpty() || heightForWidth(m_band.width()) <= m_band.height())
        return;
    SetBoxed(true);
    const int width = std::max(m_band.width(), m_nBoxRight - m_band.left());
    const int height =
        std::max(m_band.height(), std::min(heightForWidth(width), m_nLowest - m_band.top()));
    setGeometry(m_band.left(), m_band.top(), width, height);
    raise();
}

void CAnnouncer::SetBoxed(bool boxed) {
    setAutoFillBackground(boxed);
    setFrameShape(boxed ? QFrame::Box : QFrame::NoFrame);
    setContentsMargins(boxed ? QMargins(4, 1, 4, 1) : QMargins());
}

bool CAnnouncer::Boxed() const {
    return autoFillBackground();
}

void CAnnouncer::mousePressEvent(QMouseEvent* event) {
    // A box goes back into the band with a click; the whole line stays in the tooltip and for
    // the screen reader.
    if (Boxed()) {
        SetBoxed(false);
        setGeometry(m_band);
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

} // namespace kelo
