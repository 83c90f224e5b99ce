// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IEventLoop.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelo {

// What a negotiation dialog shows and does, without a window: which dialog it is, whether the
// local user asks (request mode) or answers (answer mode), its texts and buttons, and the
// countdown of timer 9001. Pressing a button, or the countdown running out, hands the button's
// command to whoever opened the dialog, once; the dialog is then closed.
class CNegotiationDialog : public ITimerSink {
public:
    enum class Kind { BackPace, Peace, Exchange, GameClose, Information };

    static constexpr uint32_t COUNTDOWN_TIMER = 9001;
    static constexpr uint32_t COUNTDOWN_PERIOD_MS = 1000;
    static constexpr int COUNTDOWN_SECONDS = 30;
    static constexpr int INFORMATION_SECONDS = 20;

    static constexpr int32_t ID_AGREE = 8001;  // agree or confirm
    static constexpr int32_t ID_REFUSE = 8002; // refuse, cancel or close
    static constexpr int32_t ID_LEAVE_NOW = 8004;
    static constexpr int32_t ID_ASK_LEAVE = 8005;

    struct Button {
        int32_t id;
        std::string label;
        std::string hint;
    };

    // Told when the countdown moves (to repaint) and when the dialog closes.
    class IView {
    public:
        virtual ~IView() = default;
        virtual void OnDialogChanged() = 0;
        virtual void OnDialogClosed() = 0;
    };

    using Command = std::function<void(int32_t id)>;

    // text: what an information dialog tells, or the requester's nickname of a draw answer.
    CNegotiationDialog(Kind kind, bool requestMode, IEventLoop& loop, Command command,
                       const std::string& text = {});
    ~CNegotiationDialog() override;
    CNegotiationDialog(const CNegotiationDialog&) = delete;
    CNegotiationDialog& operator=(const CNegotiationDialog&) = delete;

    Kind GetKind() const { return m_kind; }
    bool RequestMode() const { return m_bRequestMode; }
    // The question or notice.
    const std::string& Text() const { return m_text; }
    // A line shown under the text, empty for most dialogs: the exit dialog's answer mode repeats
    // the request's question.
    const std::string& Question() const { return m_question; }
    // The window's caption and the title painted on the dialog; either may be empty.
    const std::string& Caption() const { return m_caption; }
    const std::string& Title() const { return m_title; }
    const std::vector<Button>& Buttons() const { return m_buttons; }
    // The line with the seconds left, as the dialog shows it.
    std::string CountdownLine() const;
    int SecondsLeft() const { return m_nLimit - m_nSeconds; }
    // The dialog's size in pixels.
    int Width() const { return m_kind == Kind::GameClose ? 280 : 260; }
    int Height() const { return m_kind == Kind::GameClose ? 115 : 110; }
    bool IsClosed() const { return m_bClosed; }

    void SetView(IView* view) { m_pView = view; }
    // A countdown of another length (an unattended run that lets answers run out sooner).
    void SetCountdownSeconds(int seconds) { m_nLimit = seconds > 0 ? seconds : m_nLimit; }
    // A button was pressed: its command, once; the dialog closes.
    void Press(int32_t id);
    void OnTimer(uint32_t id) override;

private:
    IEventLoop& m_loop;
    Kind m_kind;
    bool m_bRequestMode;
    Command m_command;
    std::string m_text;
    std::string m_question;
    std::string m_caption;
    std::string m_title;
    std::vector<Button> m_buttons;
    int m_nSeconds = 0;
    int m_nLimit = COUNTDOWN_SECONDS;
    bool m_bClosed = false;
    IView* m_pView = nullptr;
};

} // namespace kelo
