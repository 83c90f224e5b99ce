#pragma once

namespace kelo {

class CPlayerManager;
class CPlayerTimeControl;
class CTableMode;
class CTableState;
class IMessageSender;

// The parts of one table that its game objects share: the people, the clock settings, the
// game's state, how this client takes part, and where its messages go. Whoever builds the
// table client owns them and hands each object this view; nothing reaches them otherwise.
struct CTableParts {
    CPlayerManager& people;
    CPlayerTimeControl& time;
    CTableState& state;
    const CTableMode& mode;
    IMessageSender& sender;
};

} // namespace kelo
