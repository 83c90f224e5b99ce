// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CDialogResumeExit.h"

namespace kelo {

CDialogResumeExit::CDialogResumeExit(const QString& question, std::function<void(bool)> answer,
                                     QWidget* parent)
    : CDialogResumeAnswer(QStringLiteral("封盘应答"), QStringLiteral("续盘退出"), question,
                          std::move(answer), {QStringLiteral("同意"), {}},
                          {QStringLiteral("不同意"), {}}, parent) {}

CDialogResumeExit::CDialogResumeExit(const QString& question, const QString& action,
                                     const QString& actionHint, std::function<void(bool)> choose,
                                     QWidget* parent)
    : CDialogResumeAnswer(QStringLiteral("封盘"), QStringLiteral("续盘退出"), question,
                          std::move(choose), {action, actionHint}, {QStringLiteral("取消"), {}},
                          parent) {}

} // namespace kelo
