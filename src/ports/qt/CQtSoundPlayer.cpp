#include "ports/qt/CQtSoundPlayer.h"

#include <QFileInfo>
#include <QUrl>

#ifdef KELO_HAVE_MULTIMEDIA
#include <QSoundEffect>
#else
// Built without sound support: no effect is ever made.
class QSoundEffect {};
#endif

namespace kelo {

CQtSoundPlayer::CQtSoundPlayer(QString folder, std::function<bool()> soundOn)
    : m_folder(std::move(folder)), m_soundOn(std::move(soundOn)) {}

CQtSoundPlayer::~CQtSoundPlayer() = default;

void CQtSoundPlayer::PlayWave(uint16_t id) {
    if (m_soundOn && !m_soundOn())
        return;
#ifdef KELO_HAVE_MULTIMEDIA
    auto it = m_effects.find(id);
    if (it == m_effects.end()) {
        const QString path = m_folder + QString::number(id) + QStringLiteral(".wav");
        std::unique_ptr<QSoundEffect> effect;
        // A missing file is remembered as no effect, so it is looked for only once.
        if (QFileInfo::exists(path)) {
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(QUrl::fromLocalFile(path));
            effect->setVolume(0.6f);
        }
        it = m_effects.emplace(id, std::move(effect)).first;
    }
    if (it->second != nullptr)
        it->second->play();
#else
    (void)id;
#endif
}

} // namespace kelo
