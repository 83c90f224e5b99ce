#include "app/qt/CDialogResumeExit.h"

namespace kelo {

CDialogResumeExit::CDialogResumeExit(const QString& question, std::function<void(bool)> answer,
                                     QWidget* parent)
    : CDialogResumeAnswer(QStringLiteral("封盘应答"), QStringLiteral("续盘退出"), question,
                          std::move(answer), parent) {}

} // namespace kelo
