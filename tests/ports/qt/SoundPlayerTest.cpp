// SPDX-License-Identifier: GPL-3.0-or-later
#include "ports/qt/CQtSoundPlayer.h"
#include "ports/qt/IWaveEffects.h"

#include "../../base/ScratchFolder.h"
#include "support/qt/QtTestSupport.h"

#include <QFile>
#include <QLibrary>

#include <gtest/gtest.h>

namespace kelo {
namespace {

using PlayedWaves = QStringList* (*)();

// The multimedia module is loaded by the first sound that is played, and only then: not with
// the player, not for a sound that is switched off or has no file. The sound that loads it is
// played, not lost; a missing module leaves the table silent, never stopped.
TEST(SoundPlayer, TheModuleComesWithTheFirstSoundAndPlaysIt) {
    test::TestApp();
    test::ScratchFolder scratch;
    const QString sounds = QString::fromStdString(scratch.Folder());
    const QString move = sounds + QString::number(ISoundPlayer::WAVE_MOVE) + ".wav";
    QFile wave(move);
    ASSERT_TRUE(wave.open(QIODevice::WriteOnly));
    wave.close();
    const QString recording = QStringLiteral(KELO_RECORDING_SOUND_MODULE);
    QLibrary module(recording);
    const auto played = reinterpret_cast<PlayedWaves>(module.resolve("kelo_played_waves"));
    ASSERT_NE(played, nullptr) << qPrintable(module.errorString());

    struct Case {
        const char* name;
        bool soundOn;
        uint16_t wave;
        QString module;
        QStringList expected;
    } cases[] = {
        {"played", true, ISoundPlayer::WAVE_MOVE, recording, {move, move}},
        {"switched off", false, ISoundPlayer::WAVE_MOVE, recording, {}},
        {"no wave file", true, ISoundPlayer::WAVE_HOVER, recording, {}},
        {"no module", true, ISoundPlayer::WAVE_MOVE, recording + "-missing", {}},
    };
    for (const Case& c : cases) {
        played()->clear();
        CQtSoundPlayer player(sounds, [&] { return c.soundOn; }, {c.module});
        EXPECT_FALSE(player.ModuleLoaded()) << c.name;
        player.PlayWave(c.wave);
        // Asked again: a loaded module plays it again, a missing one is not looked for again.
        player.PlayWave(c.wave);
        EXPECT_EQ(player.ModuleLoaded(), !c.expected.isEmpty()) << c.name;
        EXPECT_EQ(*played(), c.expected) << c.name;
    }
}

// The real module is where the program looks for it and offers its entry point.
TEST(SoundPlayer, TheBuiltModuleOffersItsEntryPoint) {
    QLibrary module(QStringLiteral(KELO_SOUND_MODULE));
    EXPECT_NE(module.resolve(CREATE_WAVE_EFFECTS), nullptr) << qPrintable(module.errorString());
}

} // namespace
} // namespace kelo
