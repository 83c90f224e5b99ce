// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

namespace kelo {

class ISoundPlayer;

// A button drawn from images: frame 0 normal, 1 hover, 2 pressed, and an image for the disabled
// state, with a caption centred on it. It tells its owner of presses and releases by command id;
// a disabled button does nothing and stays silent.
class CBitmapViewer : public QWidget {
public:
    CBitmapViewer(int32_t commandId, QWidget* parent = nullptr);

    int32_t CommandId() const { return m_nCommandId; }
    void AddFrame(int frame, const QPixmap& image) { m_frames[frame] = image; }
    void SetDisabledImage(const QPixmap& image) { m_disabled = image; }
    void SetCaption(const QString& caption) { m_caption = caption; }
    QString Caption() const { return m_caption; }
    void SetCaptionFont(const QFont& font) { m_font = font; }
    void SetTextColours(QColor normal, QColor hover, QColor disabled);
    void SetEnabled(bool on);
    bool IsEnabled() const { return m_bEnabled; }
    void SetSoundPlayer(ISoundPlayer* sound) { m_pSound = sound; }
    void SetOnButtonUp(std::function<void(int32_t)> handler) { m_onButtonUp = std::move(handler); }
    // Asked for the tooltip each time it is shown, so that it follows the game; a disabled button
    // shows its tooltip too.
    void SetTooltipSource(std::function<QString()> source) { m_tooltip = std::move(source); }
    // What the tooltip says now; a screen reader reads it as the button's description.
    QString TooltipText() const { return m_tooltip ? m_tooltip() : toolTip(); }
    int CurrentFrame() const { return m_nFrame; }
    // A click from the keyboard, a shortcut or a screen reader; a disabled button stays silent.
    void Press();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowFrame(int frame);

    int32_t m_nCommandId;
    std::map<int, QPixmap> m_frames;
    QPixmap m_disabled;
    QString m_caption;
    QFont m_font;
    QColor m_normal{0, 0, 100};
    QColor m_hover{200, 20, 20};
    QColor m_grey{150, 150, 150};
    bool m_bEnabled = false;
    bool m_bHovering = false;
    int m_nFrame = 0;
    ISoundPlayer* m_pSound = nullptr;
    std::function<void(int32_t)> m_onButtonUp;
    std::function<QString()> m_tooltip;
};

} // namespace kelo
