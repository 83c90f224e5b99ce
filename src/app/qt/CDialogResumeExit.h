#pragma once

#include "app/qt/CDialogResumeAnswer.h"

namespace kelo {

// The answer to the opponent's seal request in the table's look: "续盘退出" painted as the
// title, the question, the seconds left, "同意" and "不同意". It answers as the resume answer
// does, under its own caption.
class CDialogResumeExit : public CDialogResumeAnswer {
public:
    CDialogResumeExit(const QString& question, std::function<void(bool)> answer,
                      QWidget* parent = nullptr);
};

} // namespace kelo
