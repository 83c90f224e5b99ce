// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CNegotiationDialog.h"

#include <cstdio>

namespace kelo {

namespace {
std::string Format(const char* pattern, const std::string& text) {
    char line[256];
    std::snprintf(line, sizeof(line), pattern, text.c_str());
    return line;
}
} // namespace

CNegotiationDialog::CNegotiationDialog(Kind kind, bool requestMode, IEventLoop& loop,
                                       Command command, const std::string& text)
    : m_loop(loop), m_kind(kind), m_bRequestMode(requestMode), m_command(std::move(command)) {
    const bool ask = requestMode;
    std::vector<Button> yesNo =
        ask ? std::vector<Button>{{ID_AGREE, "确定", ""}, {ID_REFUSE, "取消", ""}}
            : std::vector<Button>{{ID_AGREE, "同意", ""}, {ID_REFUSE, "不同意", ""}};
    switch (kind) {
    case Kind::BackPace:
        // Whatever the opener passes, the take-back dialog says its own two texts.
        m_text = ask ? "确定要悔棋吗？" : "对方要悔棋，同意吗？";
        m_buttons = yesNo;
        break;
    case Kind::Peace:
        m_text = ask ? "您真的要和棋么？" : Format("“%s”要和棋，您同意么？", text);
        m_caption = ask ? "" : "和棋应答";
        m_title = "和棋确认";
        m_buttons = yesNo;
        break;
    case Kind::Exchange:
        m_text = ask ? "您真的要交换棋子么？" : "对方想要交换棋子,您同意么?";
        m_caption = ask ? "交换" : "交换应答";
        m_title = "交换先手";
        m_buttons = yesNo;
        break;
    case Kind::GameClose:
        m_text = ask ? "您真的要结束本局游戏么？" : "对方请求退出，你同意么？";
        // The one asked sees the question the requester answered under the request.
        m_question = ask ? "" : "您真的要结束本局游戏么？";
        m_caption = ask ? "退出" : "退出应答";
        m_title = "关 闭";
        m_buttons = ask ? std::vector<Button>{{ID_LEAVE_NOW, "强行退出", "强退"},
                                              {ID_ASK_LEAVE, "请求退出", ""},
                                              {ID_REFUSE, "取消", ""}}
                        : yesNo;
        break;
    case Kind::Information:
        m_text = text;
        m_caption = "提示";
        m_title = "提 示";
        m_buttons = {{ID_REFUSE, "关闭", "关闭窗口"}};
        m_nLimit = INFORMATION_SECONDS;
        break;
    }
    m_loop.SetTimer(this, COUNTDOWN_TIMER, COUNTDOWN_PERIOD_MS);
}

CNegotiationDialog::~CNegotiationDialog() {
    m_loop.KillTimers(this);
    // A window still showing the dialog goes with it.
    if (m_pView != nullptr)
        m_pView->OnDialogClosed();
}

std::string CNegotiationDialog::CountdownLine() const {
    const std::string left = std::to_string(SecondsLeft());
    switch (m_kind) {
    case Kind::BackPace:
        return m_text + "[" + left + "]";
    case Kind::GameClose:
        return left;
    default:
        return "[" + left + "]" + m_text;
    }
}

void CNegotiationDialog::Press(int32_t id) {
    if (m_bClosed)
        return;
    bool known = false;
    for (const Button& button : m_buttons)
        known = known || button.id == id;
    if (!known)
        return;
    m_bClosed = true;
    m_loop.KillTimer(this, COUNTDOWN_TIMER);
    // The window goes first: the command may open the next dialog.
    if (m_pView != nullptr)
        m_pView->OnDialogClosed();
    m_pView = nullptr;
    if (m_command)
        m_command(id);
}

void CNegotiationDialog::OnTimer(uint32_t id) {
    if (id != COUNTDOWN_TIMER || m_bClosed)
        return;
    ++m_nSeconds;
    if (m_nSeconds >= m_nLimit) {
        // Silence cancels a request and refuses an answer; a notice just closes.
        Press(ID_REFUSE);
        return;
    }
    if (m_pView != nullptr)
        m_pView->OnDialogChanged();
}

} // namespace kelo
