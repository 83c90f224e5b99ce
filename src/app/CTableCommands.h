// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CButtonBoard.h"

#include <string>

namespace kelo {

class CGameContext;
class CResumeNegotiation;
class CTableBoard;
class IBrowser;

// What the table's buttons do beyond the board itself: "保存" saves the game through the
// save-file dialog, "载入" (a local table's) continues a record file, "帮助" shows the help.
class CTableCommands : public IButtonBoardHost {
public:
    // The page installed with the program, in its data folder.
    static constexpr const char* HELP_PAGE = "help/index.html";

    CTableCommands(CGameContext& context, CTableBoard& board, CResumeNegotiation& resume)
        : m_context(context), m_board(board), m_resume(resume) {}

    void SaveGame() override;
    void LoadRecord() override;

    // Where the help is shown and the program's data folder, which holds the help page.
    void SetHelp(IBrowser* browser, const std::string& dataFolder);
    // Shows the hall's help address when the hall gave a web address, else the page installed
    // with the program. A page that is missing, or a browser that cannot be started, is told.
    bool OpenHelp();
    // The installed page as an address: "file://" and the path, encoded.
    std::string HelpPageAddress() const;

private:
    CGameContext& m_context;
    CTableBoard& m_board;
    CResumeNegotiation& m_resume;
    IBrowser* m_pBrowser = nullptr;
    std::string m_strDataFolder;
};

} // namespace kelo
