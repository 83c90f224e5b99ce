#pragma once

#include "ports/ISoundPlayer.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>

class QSoundEffect;

namespace kelo {

// Plays the table's waves from the files installed with the program ("<id>.wav" in the sound
// folder). Without the files, without sound support or with sounds switched off it plays
// nothing and goes on.
class CQtSoundPlayer : public ISoundPlayer {
public:
    // The folder of the wave files; whether sounds are on is asked at every play.
    CQtSoundPlayer(QString folder, std::function<bool()> soundOn);
    ~CQtSoundPlayer() override;

    void PlayWave(uint16_t id) override;

private:
    QString m_folder;
    std::function<bool()> m_soundOn;
    std::map<uint16_t, std::unique_ptr<QSoundEffect>> m_effects;
};

} // namespace kelo
