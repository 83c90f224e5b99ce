// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "social/CZynChatImp.h"

#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QTextEdit;

namespace kelo {

// The table chat on screen: the lines, each in its colour, above the input line; Enter sends
// what was typed. With KELO_SOCIAL_DUMP set every line shown is also printed on standard
// output ("chat shown: #RRGGBB TEXT").
class CChatWnd : public QWidget {
public:
    // The chat must outlive the window.
    CChatWnd(CZynChatImp& chat, QWidget* parent = nullptr);
    ~CChatWnd() override;

    QLineEdit* InputLine() const { return m_pInput; }
    QTextEdit* Transcript() const;

private:
    void Show(const CZynChatImp::Line& line);
    void Send();

    CZynChatImp& m_chat;
    QTextBrowser* m_pLines;
    QLineEdit* m_pInput;
    bool m_bDump;
};

} // namespace kelo
