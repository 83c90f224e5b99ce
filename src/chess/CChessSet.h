// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "chess/CChnChessPieceFactory.h"
#include "chess/CChnChessRuleFactory.h"

namespace kelo {

// One game of chess on its own: the piece and rule factories, the position and its board. What
// counts moves, serves a desk or tests the rules needs nothing more.
class CChessSet {
public:
    CChessSet() : m_position(m_pieceFactory), m_board(m_position, m_ruleFactory) {}
    CChessSet(const CChessSet&) = delete;
    CChessSet& operator=(const CChessSet&) = delete;

    CChessDiagram& Position() { return m_position; }
    CChnChessBoard& Board() { return m_board; }
    CChnChessPieceFactory& PieceFactory() { return m_pieceFactory; }
    CChnChessRuleFactory& RuleFactory() { return m_ruleFactory; }

private:
    // In this order, so that the board goes before its position and the position before the
    // factories.
    CChnChessPieceFactory m_pieceFactory;
    CChnChessRuleFactory m_ruleFactory;
    CChessDiagram m_position;
    CChnChessBoard m_board;
};

} // namespace kelo
