// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CTableState.h"

namespace kelo::test {

// Brings the table's state to a game state the way a table gets there.
inline void EnterState(CTableState& state, GameState game) {
    switch (game) {
    case GameState::None:
        state.NewGame();
        break;
    case GameState::Ready:
        state.NewGame();
        state.MarkReady();
        break;
    case GameState::Playing:
        state.BeginPlaying();
        break;
    case GameState::Ended:
        state.End(GameEnd::Result);
        break;
    case GameState::Closing:
        state.Close();
        break;
    }
}

} // namespace kelo::test
