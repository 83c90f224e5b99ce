// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CDialogSetModel.h"

namespace kelo {

namespace {
bool IsSaveType(int16_t value) {
    return value == CDialogSetModel::SAVE_AUTO || value == CDialogSetModel::SAVE_ASK ||
           value == CDialogSetModel::SAVE_NEVER;
}
} // namespace

CDialogSetModel::CDialogSetModel(GameSettings& settings, const SettingsFolders& folders,
                                 IPrompts& prompts)
    : m_settings(settings), m_folders(folders), m_prompts(prompts), m_bSound(settings.m_bSound),
      m_bShowOnTop(settings.m_bShowOnTop),
      m_nSaveType(IsSaveType(settings.m_nSaveType) ? settings.m_nSaveType : NO_SAVE_TYPE) {}

void CDialogSetModel::SetSaveType(int16_t saveType) {
    if (IsSaveType(saveType))
        m_nSaveType = saveType;
}

std::string CDialogSetModel::FolderToBrowse() const {
    return m_settings.m_strManualPath.empty() ? WithTrailingSlash(m_folders.m_strRecordFolder)
                                              : m_settings.m_strManualPath;
}

bool CDialogSetModel::ChooseFolder(const std::string& folder) {
    if (folder.empty())
        return true;
    m_settings.m_strManualPath = WithTrailingSlash(folder);
    return SaveGameSettings(m_settings, m_folders, m_prompts);
}

bool CDialogSetModel::Confirm() {
    // A save type the file held that is none of the three stays when the user chose none.
    if (m_nSaveType != NO_SAVE_TYPE)
        m_settings.m_nSaveType = m_nSaveType;
    m_settings.m_bSound = m_bSound;
    if (m_bShowOnTop != m_settings.m_bShowOnTop) {
        m_settings.m_bShowOnTop = m_bShowOnTop;
        if (onShowOnTop)
            onShowOnTop(m_bShowOnTop);
    }
    return SaveGameSettings(m_settings, m_folders, m_prompts);
}

} // namespace kelo
