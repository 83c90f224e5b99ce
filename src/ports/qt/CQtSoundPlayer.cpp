#include "ports/qt/CQtSoundPlayer.h"

#include "ports/qt/IWaveEffects.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace kelo {

namespace {
constexpr float VOLUME = 0.6f;
} // namespace

CQtSoundPlayer::CQtSoundPlayer(QString folder, std::function<bool()> soundOn,
                               QStringList modulePaths)
    : m_folder(std::move(folder)), m_soundOn(std::move(soundOn)),
      m_modulePaths(std::move(modulePaths)) {}

// The effects go before the module that holds their code; the module itself stays loaded.
CQtSoundPlayer::~CQtSoundPlayer() = default;

QStringList CQtSoundPlayer::DefaultModulePaths() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program + QStringLiteral("/kelo-sound"),
            program + QStringLiteral("/../lib/kelo-chess/kelo-sound")};
}

void CQtSoundPlayer::PlayWave(uint16_t id) {
    if (m_soundOn && !m_soundOn())
        return;
    const QString path = m_folder + QString::number(id) + QStringLiteral(".wav");
    auto it = m_present.find(id);
    if (it == m_present.end())
        it = m_present.emplace(id, QFileInfo::exists(path)).first;
    if (!it->second)
        return;
    if (IWaveEffects* effects = Effects())
        effects->Play(path, VOLUME);
}

IWaveEffects* CQtSoundPlayer::Effects() {
    if (m_bModuleTried)
        return m_pEffects.get();
    m_bModuleTried = true;
    QString errors;
    for (const QString& path : m_modulePaths) {
        m_module.setFileName(path);
        const auto create =
            reinterpret_cast<CreateWaveEffects>(m_module.resolve(CREATE_WAVE_EFFECTS));
        if (create != nullptr) {
            m_pEffects.reset(create());
            return m_pEffects.get();
        }
        errors += QStringLiteral("\n  ") + m_module.errorString();
    }
    // Said once: the table goes on without sounds.
    std::fprintf(stderr, "kelo-chess: no sounds, the sound module is missing:%s\n",
                 qPrintable(errors));
    return nullptr;
}

} // namespace kelo
