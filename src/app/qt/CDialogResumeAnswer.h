#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace kelo {

// The answer to the opponent's seal or resume request: the question, "同意" and "不同意", and the
// seconds left, which the negotiation counts (silence refuses there, not here). Modeless: the
// game goes on while it is open.
class CDialogResumeAnswer : public QDialog {
public:
    CDialogResumeAnswer(const QString& caption, const QString& question,
                        std::function<void(bool)> answer, QWidget* parent = nullptr);
    void SetSeconds(int seconds);

private:
    void Answer(bool agree);

    std::function<void(bool)> m_answer;
    QLabel* m_pSeconds = nullptr;
    bool m_bAnswered = false;
};

} // namespace kelo
