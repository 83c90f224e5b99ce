// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CChnChessBoardStudy.h"

#include <QWidget>

#include <memory>

namespace kelo {

class CChessBoardStudyWnd;
class CSkinManager;

// The study board's host in the study window: an invisible child that owns the study board,
// gives it its fixed geometry and pictures, and places the board's window in the dialog.
class CChnBoardStudyImp : public QWidget {
public:
    static constexpr int HOST_ID = 103;
    static constexpr int BOARD_ID = 104;
    // The board sits centred in a box 20 pixels larger than itself at the dialog's corner.
    static constexpr int BOX_MARGIN = 10;

    // The board's pictures come from the skin's base folder ("studyboard.bmp",
    // "studychess.png") and the table's mark frame.
    CChnBoardStudyImp(const CPlayerManager& people, IPrompts& prompts, ISoundPlayer* sound,
                      const CSkinManager& skin, QWidget* dialog);
    ~CChnBoardStudyImp() override;

    CChnChessBoardStudy& Board() { return *m_pBoard; }
    CChessBoardStudyWnd& BoardWindow() { return *m_pWindow; }

private:
    std::unique_ptr<CChnChessBoardStudy> m_pBoard;
    // A child of the dialog, not of the host; it goes before the board it draws.
    CChessBoardStudyWnd* m_pWindow = nullptr;
};

} // namespace kelo
