// SPDX-License-Identifier: GPL-3.0-or-later
// The kelo-sound module: the table's waves played with Qt Multimedia.
#include "ports/qt/IWaveEffects.h"

#include <QSoundEffect>
#include <QUrl>

#include <map>
#include <memory>

namespace kelo {

namespace {
class CQtWaveEffects : public IWaveEffects {
public:
    void Play(const QString& path, float volume) override {
        std::unique_ptr<QSoundEffect>& effect = m_effects[path];
        if (effect == nullptr) {
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(QUrl::fromLocalFile(path));
        }
        effect->setVolume(volume);
        // Before the file is read the effect remembers the play and starts it once read.
        effect->play();
    }

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> m_effects;
};
} // namespace

} // namespace kelo

extern "C" Q_DECL_EXPORT kelo::IWaveEffects* kelo_create_wave_effects() {
    return new kelo::CQtWaveEffects();
}
