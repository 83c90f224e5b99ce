// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/qt/CDialogResumeAnswer.h"

namespace kelo {

// Sealing in the table's look, "续盘退出" painted as the title with the seconds left. In answer
// mode ("封盘应答") it asks the opponent's question with "同意" and "不同意"; in request mode
// ("封盘") it asks whether to seal with the action button and "取消". The negotiation counts the
// seconds and closes it.
class CDialogResumeExit : public CDialogResumeAnswer {
public:
    // Answer mode.
    CDialogResumeExit(const QString& question, std::function<void(bool)> answer,
                      QWidget* parent = nullptr);
    // Request mode: the action button (with its hint) chooses true, "取消" false.
    CDialogResumeExit(const QString& question, const QString& action, const QString& actionHint,
                      std::function<void(bool)> choose, QWidget* parent = nullptr);
};

} // namespace kelo
