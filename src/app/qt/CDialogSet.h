// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/qt/CTableDialog.h"

#include <QString>

#include <functional>

class QButtonGroup;
class QCheckBox;

namespace kelo {

class CDialogSetModel;

// "设置" in the table's look: the sound and stay-on-top switches, what happens to a finished
// game's record, and the button that picks the record folder. It shows the model and passes the
// user's clicks on; "确定" confirms the model, "取消" and Escape close without confirming.
class CDialogSet : public CTableDialog {
public:
    // The model must outlive the dialog.
    explicit CDialogSet(CDialogSetModel& model, QWidget* parent = nullptr);

    // Asks for a folder with the system's folder browser (title, the folder it opens on); an
    // empty result is a cancelled browser. Tests put their own answer here.
    std::function<QString(const QString&, const QString&)> chooseFolder;

private:
    void PickFolder();
    void Confirm();

    CDialogSetModel& m_model;
    QCheckBox* m_pSound = nullptr;
    QCheckBox* m_pShowOnTop = nullptr;
    QButtonGroup* m_pSaveTypes = nullptr;
};

} // namespace kelo
