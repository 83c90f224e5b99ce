// SPDX-License-Identifier: GPL-3.0-or-later
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

// The two sides; None where no side is meant (a watcher of no seat, an empty square).
enum class Colour : int16_t {
    None = -1,
    White = 0,
    Black = 1,
};

// What a piece is. The numbers are those of the wire and the record files; the gaps are kinds
// of other board games.
enum class PieceKind : int16_t {
    None = 0,
    King = 1,
    Bishop = 3,
    Knight = 5,
    Pawn = 6,
    Rook = 7,
    Queen = 8,
};

constexpr int16_t WireValue(Colour colour) {
    return static_cast<int16_t>(colour);
}
constexpr int16_t WireValue(PieceKind kind) {
    return static_cast<int16_t>(kind);
}
// Whatever number came in; a value that names no side stays what it is, and is refused where
// it matters (the referee plays only White's and Black's moves).
constexpr Colour ColourFromWire(int16_t value) {
    return static_cast<Colour>(value);
}
constexpr PieceKind KindFromWire(int16_t value) {
    return static_cast<PieceKind>(value);
}
// White 0, Black 1: the index of a side in a pair of per-side values.
constexpr int SideIndex(Colour colour) {
    return static_cast<int>(colour);
}
constexpr bool IsSide(Colour colour) {
    return colour == Colour::White || colour == Colour::Black;
}

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
