// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CChessDiagram.h"
#include "chess/CChnChessPieceFactory.h"
#include "chess/CChnChessRuleFactory.h"
#include "table/CBaseBoardStudy.h"

namespace kelo {

// The pieces, rules and position of a study board, made before the board that uses them.
struct CChessStudyGame {
    CChessStudyGame() : m_diagram(m_pieceFactory) {}
    CChnChessPieceFactory m_pieceFactory;
    CChnChessRuleFactory m_ruleFactory;
    CChessDiagram m_diagram;
};

// The chess study board: a study board with a chess position of its own, made in the
// starting position.
class CChnChessBoardStudy : private CChessStudyGame, public CBaseBoardStudy {
public:
    CChnChessBoardStudy(const CPlayerManager& people, IPrompts& prompts, ISoundPlayer* sound)
        : CBaseBoardStudy(m_diagram, m_ruleFactory, people, prompts, sound) {}

    CChessDiagram& Diagram() { return m_diagram; }
};

} // namespace kelo
