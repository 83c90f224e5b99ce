#pragma once

namespace kelo {

class CGameContext;

// A table without a server on which one user plays both sides: local mode, the two players
// of a direct start (White on seat 0 is the user), two seats and the table's time settings.
void SetUpLocalTable(CGameContext& context);

} // namespace kelo
