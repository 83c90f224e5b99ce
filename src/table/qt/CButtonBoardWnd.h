// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CButtonBoard.h"

#include <QKeySequence>
#include <QWidget>

#include <map>

namespace kelo {

class CBitmapViewer;
class CSkinManager;
class ISoundPlayer;

// The button board's window: one bitmap button per button of the model, placed and enabled as
// the model says; a click goes to the model.
class CButtonBoardWnd : public QWidget, public IButtonBoardView {
public:
    CButtonBoardWnd(CButtonBoard& model, const CSkinManager& skin, ISoundPlayer* sound,
                    QWidget* parent = nullptr);
    ~CButtonBoardWnd() override;

    // IButtonBoardView
    void OnButtonsChanged() override;

    CBitmapViewer* Viewer(int32_t id) const;
    // The key that presses a button from anywhere in the table window, empty when none.
    static QKeySequence Shortcut(int32_t id);

private:
    void Rebuild();
    // The tooltip with a last line that names the button's shortcut.
    static QString WithShortcut(int32_t id, const QString& tip);

    CButtonBoard& m_model;
    ISoundPlayer* m_pSound;
    std::map<int32_t, CBitmapViewer*> m_viewers;
};

} // namespace kelo
