// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CBitmapViewer.h"

#include "ports/ISoundPlayer.h"
#include "table/qt/CBoardAccessible.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace kelo {

CBitmapViewer::CBitmapViewer(int32_t commandId, QWidget* parent)
    : QWidget(parent), m_nCommandId(commandId) {
    m_font = QFont(QStringLiteral("WenQuanYi Micro Hei"));
    m_font.setPixelSize(12);
    setCursor(Qt::ArrowCursor);
    // Tab reaches it; a click leaves the keys where they were (on the board).
    setFocusPolicy(Qt::TabFocus);
    CBoardAccessible::Install();
}

void CBitmapViewer::SetTextColours(QColor normal, QColor hover, QColor disabled) {
    m_normal = normal;
    m_hover = hover;
    m_grey = disabled;
}

void CBitmapViewer::Press() {
    if (!m_bEnabled)
        return;
    if (m_pSound != nullptr)
        m_pSound->PlayWave(ISoundPlayer::WAVE_PRESS);
    if (m_onButtonUp)
        m_onButtonUp(m_nCommandId);
}

void CBitmapViewer::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Press();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CBitmapViewer::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CBitmapViewer::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CBitmapViewer::SetEnabled(bool on) {
    if (m_bEnabled == on)
        return;
    m_bEnabled = on;
    if (!on) {
        m_bHovering = false;
        m_nFrame = 0;
    }
    update();
}

bool CBitmapViewer::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_tooltip) {
        const QString text = m_tooltip();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void CBitmapViewer::ShowFrame(int frame) {
    const int count = static_cast<int>(m_frames.size());
    m_nFrame = count > 0 ? frame % count : 0;
    update();
}

void CBitmapViewer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& image = !m_bEnabled && !m_disabled.isNull() ? m_disabled : m_frames[m_nFrame];
    if (!image.isNull())
        painter.drawPixmap(0, 0, image);
    painter.setFont(m_font);
    painter.setPen(!m_bEnabled ? m_grey : (m_bHovering ? m_hover : m_normal));
    // Pressed buttons look pushed in: the caption moves with the face.
    const int shift = m_bEnabled && m_nFrame == 2 ? 1 : 0;
    painter.drawText(rect().translated(shift, shift), Qt::AlignCenter, m_caption);
    // Reached with Tab: a dotted frame shows where Enter goes.
    if (hasFocus()) {
        painter.setPen(QPen(QColor(20, 60, 160), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void CBitmapViewer::enterEvent(QEnterEvent*) {
    if (!m_bEnabled || m_bHovering) {
        ShowFrame(0);
        return;
    }
    m_bHovering = true;
    if (m_pSound != nullptr)
        m_pSound->PlayWave(ISoundPlayer::WAVE_HOVER);
    ShowFrame(1);
}

void CBitmapViewer::leaveEvent(QEvent*) {
    m_bHovering = false;
    ShowFrame(0);
}

void CBitmapViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bEnabled)
        return;
    if (m_pSound != nullptr)
        m_pSound->PlayWave(ISoundPlayer::WAVE_PRESS);
    if (m_frames.size() > 2)
        ShowFrame(2);
}

void CBitmapViewer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bEnabled)
        return;
    if (m_frames.size() >= 2)
        ShowFrame(rect().contains(event->position().toPoint()) ? 1 : 0);
    // Only a release over the button is a click.
    if (rect().contains(event->position().toPoint()) && m_onButtonUp)
        m_onButtonUp(m_nCommandId);
}

} // namespace kelo
