// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/qt/CTableDialog.h"

class QTreeWidget;

namespace kelo {

class CResumeManager;
class CResumeNegotiation;

// "续盘窗口" in the table's look: the adjourned games of the index by name. "请求续盘" asks to
// continue the chosen one (the dialog closes once the request went out), "删除" takes it out of the
// index (its record file stays), "取消" closes.
class CDialogResume : public CTableDialog {
public:
    CDialogResume(CResumeManager& manager, CResumeNegotiation& negotiation,
                  QWidget* parent = nullptr);

private:
    void Fill();
    void Request();
    void Remove();

    CResumeManager& m_manager;
    CResumeNegotiation& m_negotiation;
    QTreeWidget* m_pTree = nullptr;
};

} // namespace kelo
