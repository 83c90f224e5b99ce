// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CButtonBoardWnd.h"

#include "base/CSkinManager.h"
#include "base/qt/SkinQt.h"
#include "table/qt/CBitmapViewer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

namespace kelo {

namespace {
enum Face { FACE_NORMAL, FACE_HOVER, FACE_PRESSED };

// The button faces are the program's own: a raised plate, lighter under the mouse, sunk when
// pressed.
QPixmap MakeFace(QSize size, Face face) {
    QPixmap pixmap = DevicePixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(0, 0, 0, size.height());
    switch (face) {
    case FACE_NORMAL:
        fill.setColorAt(0, QColor(250, 232, 196));
        fill.setColorAt(1, QColor(214, 178, 122));
        break;
    case FACE_HOVER:
        fill.setColorAt(0, QColor(255, 244, 214));
        fill.setColorAt(1, QColor(232, 200, 146));
        break;
    case FACE_PRESSED:
        fill.setColorAt(0, QColor(190, 152, 98));
        fill.setColorAt(1, QColor(222, 190, 138));
        break;
    }
    QPainterPath path;
    path.addRoundedRect(box, 5, 5);
    painter.fillPath(path, fill);
    painter.setPen(QPen(QColor(110, 70, 30), 1));
    painter.drawPath(path);
    return pixmap;
}

// A button that cannot be pressed shows its normal face drawn disabled: faded into what lies
// under it, its caption grey.
QPixmap DrawnDisabled(const QPixmap& normal) {
    QPixmap pixmap(normal.size());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, normal);
    return pixmap;
}
} // namespace

CButtonBoardWnd::CButtonBoardWnd(CButtonBoard& model, const CSkinManager& skin, ISoundPlayer* sound,
                                 QWidget* parent)
    : QWidget(parent), m_model(model), m_pSound(sound) {
    model.SetGrid(skin.m_nButtonCol, skin.m_nButtonRow, skin.m_sizeButton,
                  skin.m_sizeButtonInterval);
    const CPoint size = model.BoardSize();
    resize(size.x, size.y);
    model.SetView(this);
    Rebuild();
    // The shortcuts work wherever the keys are in the table window, and only press a button
    // that is shown and enabled.
    for (int32_t id : {CButtonBoard::ID_START, CButtonBoard::ID_EXCHANGE, CButtonBoard::ID_TAKEBACK,
                       CButtonBoard::ID_RESIGN, CButtonBoard::ID_DRAW, CButtonBoard::ID_SAVE,
                       CButtonBoard::ID_STUDY, CButtonBoard::ID_LOAD}) {
        auto* shortcut = new QShortcut(Shortcut(id), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, id] {
            if (CBitmapViewer* viewer = Viewer(id))
                viewer->Press();
        });
    }
}

CButtonBoardWnd::~CButtonBoardWnd() {
    m_model.SetView(nullptr);
}

QKeySequence CButtonBoardWnd::Shortcut(int32_t id) {
    // Alt and the first letter of the caption's pinyin; the draw takes D, as 悔棋 has H.
    switch (id) {
    case CButtonBoard::ID_START:
        return QKeySequence(Qt::ALT | Qt::Key_K);
    case CButtonBoard::ID_EXCHANGE:
        return QKeySequence(Qt::ALT | Qt::Key_J);
    case CButtonBoard::ID_TAKEBACK:
        return QKeySequence(Qt::ALT | Qt::Key_H);
    case CButtonBoard::ID_RESIGN:
        return QKeySequence(Qt::ALT | Qt::Key_R);
    case CButtonBoard::ID_DRAW:
        return QKeySequence(Qt::ALT | Qt::Key_D);
    case CButtonBoard::ID_SAVE:
        return QKeySequence(Qt::ALT | Qt::Key_B);
    case CButtonBoard::ID_STUDY:
        return QKeySequence(Qt::ALT | Qt::Key_Q);
    case CButtonBoard::ID_LOAD:
        return QKeySequence(Qt::ALT | Qt::Key_Z);
    default:
        return {};
    }
}

QString CButtonBoardWnd::WithShortcut(int32_t id, const QString& tip) {
    const QKeySequence key = Shortcut(id);
    if (key.isEmpty())
        return tip;
    const QString line = QStringLiteral("快捷键 ") + key.toString(QKeySequence::NativeText);
    return tip.isEmpty() ? line : tip + '\n' + line;
}

CBitmapViewer* CButtonBoardWnd::Viewer(int32_t id) const {
    auto it = m_viewers.find(id);
    return it != m_viewers.end() ? it->second : nullptr;
}

void CButtonBoardWnd::Rebuild() {
    for (auto& [id, viewer] : m_viewers)
        delete viewer;
    m_viewers.clear();
    for (const auto& [id, button] : m_model.Buttons()) {
        if (!button.visible)
            continue;
        auto* viewer = new CBitmapViewer(id, this);
        const QRect box = ToQRect(button.rect);
        viewer->setGeometry(box);
        const QPixmap normal = MakeFace(box.size(), FACE_NORMAL);
        viewer->AddFrame(0, normal);
        viewer->AddFrame(1, MakeFace(box.size(), FACE_HOVER));
        viewer->AddFrame(2, MakeFace(box.size(), FACE_PRESSED));
        viewer->SetDisabledImage(DrawnDisabled(normal));
        viewer->SetCaption(QString::fromStdString(button.caption));
        viewer->SetTextColours(QColor(0, 0, 100), QColor(250, 20, 70), QColor(150, 150, 150));
        viewer->SetSoundPlayer(m_pSound);
        viewer->SetOnButtonUp([this](int32_t command) { m_model.OnButtonUp(command); });
        viewer->SetTooltipSource([this, id = id] {
            return WithShortcut(id, QString::fromStdString(m_model.Tooltip(id)));
        });
        viewer->SetEnabled(button.enabled);
        viewer->show();
        m_viewers[id] = viewer;
    }
}

void CButtonBoardWnd::OnButtonsChanged() {
    bool same = true;
    for (const auto& [id, button] : m_model.Buttons())
        same = same && (!button.visible || Viewer(id) != nullptr);
    if (!same || m_viewers.size() > m_model.Buttons().size()) {
        Rebuild();
        return;
    }
    for (auto& [id, viewer] : m_viewers) {
        const CButtonBoard::GButton* button = m_model.Button(id);
        viewer->SetEnabled(button != nullptr && button->enabled);
    }
}

} // namespace kelo
