// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The head of a resume request (621): the stored game that a player asks to continue. The
// moves follow it as steps (MSG_MOVE_BODY), moveCount of them.
struct MSG_RESUME_REQUEST_BODY {
    static constexpr size_t SIZE = 44;
    uint16_t seatno = 0; // the requester's
    uint32_t key = 0;
    uint16_t seatCount = 0;
    std::array<uint32_t, 2> userIds{};
    std::array<uint16_t, 2> colours{};
    uint16_t bottomColour = 0;
    uint16_t firstMoverColour = 0;
    uint16_t currentTurnColour = 0;
    std::array<uint16_t, 3> clock{};
    std::array<uint16_t, 2> takeBacks{};
    uint16_t moveCount = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_RESUME_REQUEST_BODY::seatno},
        wire::Field{4, &MSG_RESUME_REQUEST_BODY::key},
        wire::Field{8, &MSG_RESUME_REQUEST_BODY::seatCount},
        wire::Field{12, &MSG_RESUME_REQUEST_BODY::userIds},
        wire::Field{20, &MSG_RESUME_REQUEST_BODY::colours},
        wire::Field{24, &MSG_RESUME_REQUEST_BODY::bottomColour},
        wire::Field{26, &MSG_RESUME_REQUEST_BODY::firstMoverColour},
        wire::Field{28, &MSG_RESUME_REQUEST_BODY::currentTurnColour},
        wire::Field{30, &MSG_RESUME_REQUEST_BODY::clock},
        wire::Field{36, &MSG_RESUME_REQUEST_BODY::takeBacks},
        wire::Field{40, &MSG_RESUME_REQUEST_BODY::moveCount},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_RESUME_REQUEST_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
