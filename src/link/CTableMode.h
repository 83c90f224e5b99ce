// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

namespace kelo {

// How this client takes part in the table: at a game server as a player or a watcher, or alone
// without a server (local mode, one user plays both sides). A client starts alone, as a player;
// the hall sets both before the table opens, and the server's list of people may turn a player
// into a watcher.
class CTableMode {
public:
    bool LocalMode() const { return m_bLocalMode; }
    void SetLocalMode(bool local) { m_bLocalMode = local; }
    TableRole Role() const { return m_role; }
    void SetRole(TableRole role) { m_role = role; }
    bool IsWatcher() const { return m_role == TableRole::Watcher; }

private:
    bool m_bLocalMode = true;
    TableRole m_role = TableRole::Player;
};

} // namespace kelo
