// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The server's scores after a game (656): five pairs of signed 32-bit values, each pair holding
// seat 0's value and then seat 1's.
struct MSG_SCORES_BODY {
    static constexpr size_t SIZE = 40;
    static constexpr size_t VALUE_COUNT = 10;
    std::array<int32_t, 2> points{}; // of this game
    std::array<int32_t, 2> total{};
    std::array<int32_t, 2> won{};
    std::array<int32_t, 2> lost{};
    std::array<int32_t, 2> drawn{};

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_SCORES_BODY::points}, wire::Field{8, &MSG_SCORES_BODY::total},
        wire::Field{16, &MSG_SCORES_BODY::won},   wire::Field{24, &MSG_SCORES_BODY::lost},
        wire::Field{32, &MSG_SCORES_BODY::drawn},
    };

    // The ten values in wire order, as the score table lists them.
    std::array<int32_t, VALUE_COUNT> Values() const {
        return {points[0], points[1], total[0], total[1], won[0],
                won[1],    lost[0],   lost[1],  drawn[0], drawn[1]};
    }

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_SCORES_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
