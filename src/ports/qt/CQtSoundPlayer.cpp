// SPDX-License-Identifier: GPL-3.0-or-later
#include "ports/qt/CQtSoundPlayer.h"

#include "ports/qt/IWaveEffects.h"

#include <QFileInfo>

namespace kelo {

namespace {
constexpr float VOLUME = 0.6f;
} // namespace

CQtSoundPlayer::CQtSoundPlayer(QString folder, std::function<bool()> soundOn,
                               QStringList modulePaths)
    : m_folder(std::move(folder)), m_soundOn(std::move(soundOn)), m_module(std::move(modulePaths)) {
}

// The effects go before the module that holds their code; the module itself stays loaded.
CQtSoundPlayer::~CQtSoundPlayer() = default;

QStringList CQtSoundPlayer::DefaultModulePaths() {
    return CProgramModule::PathsOf(QStringLiteral("kelo-sound"));
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
    if (m_pEffects == nullptr) {
        // Without the module the table goes on without sounds.
        if (auto create = reinterpret_cast<CreateWaveEffects>(m_module.Entry(CREATE_WAVE_EFFECTS)))
            m_pEffects.reset(create());
    }
    return m_pEffects.get();
}

} // namespace kelo
