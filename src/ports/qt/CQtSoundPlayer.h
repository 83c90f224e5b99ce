// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/qt/CProgramModule.h"
#include "ports/ISoundPlayer.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace kelo {

class IWaveEffects;

// Plays the table's waves from the files installed with the program ("<id>.wav" in the sound
// folder). The multimedia stack comes in a module (kelo-sound) that is loaded on the first
// sound, so the window starts without it; that first sound waits for the load and still plays.
// Without the files, without the module or with sounds switched off it plays nothing and goes
// on.
class CQtSoundPlayer : public ISoundPlayer {
public:
    // The folder of the wave files; whether sounds are on is asked at every play. The module is
    // looked for at each of modulePaths in turn (a path without its ".so").
    CQtSoundPlayer(QString folder, std::function<bool()> soundOn,
                   QStringList modulePaths = DefaultModulePaths());
    ~CQtSoundPlayer() override;

    void PlayWave(uint16_t id) override;

    // Beside the program in a build tree, in lib/games/kelo-chess/ beside its games/ when installed.
    static QStringList DefaultModulePaths();
    // Whether the module has been loaded (it is tried on the first sound only).
    bool ModuleLoaded() const { return m_pEffects != nullptr; }

private:
    IWaveEffects* Effects();

    QString m_folder;
    std::function<bool()> m_soundOn;
    CProgramModule m_module;
    std::unique_ptr<IWaveEffects> m_pEffects;
    // Whether each wave's file is there; a missing file is looked for only once.
    std::map<uint16_t, bool> m_present;
};

} // namespace kelo
