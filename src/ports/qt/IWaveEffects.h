// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelo {

// The multimedia side of the table's sounds. It lives in a module of its own (kelo-sound), so
// that the multimedia stack and the sound server's libraries are loaded when the first sound is
// asked for, not with the window.
class IWaveEffects {
public:
    virtual ~IWaveEffects() = default;
    // Plays the wave file at path; the file is read on its first play and kept for the next.
    // A play asked for while the file is still being read starts once it is read.
    virtual void Play(const QString& path, float volume) = 0;
};

// The module's one entry point, found by this name: a new effects object, owned by the caller.
using CreateWaveEffects = IWaveEffects* (*)();
inline constexpr const char* CREATE_WAVE_EFFECTS = "kelo_create_wave_effects";

} // namespace kelo
