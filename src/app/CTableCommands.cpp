// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CTableCommands.h"

#include "app/CGameContext.h"
#include "chess/CChnChessBoard.h"
#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"
#include "table/CTableBoard.h"

namespace kelo {

void CTableCommands::SaveGame() {
    CResumeManager(m_context.Table(), m_context.Board(), m_context.Settings(), m_context.Prompts())
        .SaveGame(CResumeManager::SAVE_ASKED, m_board.FinishedGameOnView());
}

void CTableCommands::LoadRecord() {
    m_resume.ResumeFromFile();
}

} // namespace kelo
