// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CChnBoardStudyImp.h"

#include "base/CSkinManager.h"
#include "base/qt/SkinQt.h"
#include "table/qt/CChessBoardStudyWnd.h"

namespace kelo {

CChnBoardStudyImp::CChnBoardStudyImp(const CPlayerManager& people, IPrompts& prompts,
                                     ISoundPlayer* sound, const CSkinManager& skin, QWidget* dialog)
    : QWidget(dialog), m_pBoard(std::make_unique<CChnChessBoardStudy>(people, prompts, sound)) {
    setObjectName(QStringLiteral("host%1").arg(HOST_ID));
    hide();
    const std::string base = skin.m_strBaseFolder;
    m_pWindow = new CChessBoardStudyWnd(
        *m_pBoard, LoadSkinImage(base.empty() ? std::string() : base + "studyboard.bmp"),
        LoadSkinImage(base.empty() ? std::string() : base + "studychess.png"),
        LoadSkinImage(skin.m_strChessPieceBorderPath), dialog);
    m_pWindow->setObjectName(QStringLiteral("board%1").arg(BOARD_ID));
    const QSize box = m_pWindow->size() + QSize(2 * BOX_MARGIN, 2 * BOX_MARGIN);
    m_pWindow->move((box.width() - m_pWindow->width()) / 2,
                    (box.height() - m_pWindow->height()) / 2);
    m_pWindow->show();
}

CChnBoardStudyImp::~CChnBoardStudyImp() {
    delete m_pWindow;
}

} // namespace kelo
