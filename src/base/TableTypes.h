#pragma once

#include <cstdint>

// The typed values of a table client. Each travels as a number on the wire and in the hall's
// records; the conversions below are the only places where the numbers are written.
namespace kelo {

// Where the table's game stands.
enum class GameState : int16_t {
    None = 0,
    // The own seat has pressed start and waits for the game to begin.
    Ready = 1,
    Playing = 2,
    // A result or the scores have come, or the game was given up.
    Ended = 3,
    // The table is being closed.
    Closing = 4,
};

// Whether the board and the button board take input.
enum class TableLock : uint16_t {
    Free = 1,
    Locked = 2,
};

// How this client sits at the table.
enum class TableRole : int16_t {
    Player = 4,
    Watcher = 5,
};

constexpr int16_t WireValue(GameState state) {
    return static_cast<int16_t>(state);
}
constexpr uint16_t WireValue(TableLock lock) {
    return static_cast<uint16_t>(lock);
}
constexpr int16_t WireValue(TableRole role) {
    return static_cast<int16_t>(role);
}
// A person's status in the hall's records: 5 is a watcher, anything else a seated player.
constexpr TableRole RoleFromStatus(int16_t status) {
    return status == WireValue(TableRole::Watcher) ? TableRole::Watcher : TableRole::Player;
}

} // namespace kelo
