// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ISoundPlayer.h"

#include <cstdint>
#include <vector>

namespace kelo::test {

// A sound player that keeps the waves it was asked to play, in order.
class RecordingSound : public ISoundPlayer {
public:
    void PlayWave(uint16_t id) override { waves.push_back(id); }
    std::vector<uint16_t> waves;
};

} // namespace kelo::test
