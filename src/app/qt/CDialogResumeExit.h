#pragma once

#include "table/qt/CTableDialog.h"

#include <functional>

namespace kelo {

// The answer to the opponent's seal request in the table's look: "续盘退出" painted as the
// title, the question, the seconds left, "同意" and "不同意". The negotiation counts the seconds
// (silence refuses there). Modeless: the game goes on while it is open.
class CDialogResumeExit : public CTableDialog {
public:
    CDialogResumeExit(const QString& question, std::function<void(bool)> answer,
                      QWidget* parent = nullptr);
    void SetSeconds(int seconds);

private:
    void Answer(bool agree);

    QString m_question;
    std::function<void(bool)> m_answer;
    bool m_bAnswered = false;
};

} // namespace kelo
