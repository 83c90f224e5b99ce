// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the kelo-sound module: it keeps the waves it is asked to play, so that a test
// can see which plays reached the module once it was loaded.
#include "ports/qt/IWaveEffects.h"

#include <QStringList>

namespace {
QStringList g_played;

class CRecordingWaveEffects : public kelo::IWaveEffects {
public:
    void Play(const QString& path, float) override { g_played.append(path); }
};
} // namespace

extern "C" Q_DECL_EXPORT kelo::IWaveEffects* kelo_create_wave_effects() {
    return new CRecordingWaveEffects();
}

// The waves played so far, oldest first; the test clears it between cases.
extern "C" Q_DECL_EXPORT QStringList* kelo_played_waves() {
    return &g_played;
}
