// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CButtonBoard.h"

namespace kelo {

class CGameContext;
class CResumeNegotiation;
class CTableBoard;

// What the button board's buttons do beyond the board itself: "保存" saves the game through the
// save-file dialog, "载入" (a local table's) continues a record file.
class CTableCommands : public IButtonBoardHost {
public:
    CTableCommands(CGameContext& context, CTableBoard& board, CResumeNegotiation& resume)
        : m_context(context), m_board(board), m_resume(resume) {}

    void SaveGame() override;
    void LoadRecord() override;

private:
    CGameContext& m_context;
    CTableBoard& m_board;
    CResumeNegotiation& m_resume;
};

} // namespace kelo
