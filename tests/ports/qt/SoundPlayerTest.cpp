#include "ports/qt/CQtSoundPlayer.h"

#include "support/qt/QtTestSupport.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

// The multimedia module is loaded by the first sound that is played, and only then: not with
// the player, not for a sound that is switched off or has no file. A missing module leaves the
// table silent, never stopped.
TEST(SoundPlayer, TheModuleComesWithTheFirstSoundPlayed) {
    test::TestApp();
    const QString sounds = QStringLiteral(KELO_SOUND_FOLDER);
    const QString module = QStringLiteral(KELO_SOUND_MODULE);
    struct Case {
        const char* name;
        bool soundOn;
        uint16_t wave;
        QString module;
        bool loaded;
    } cases[] = {
        {"played", true, ISoundPlayer::WAVE_MOVE, module, true},
        {"switched off", false, ISoundPlayer::WAVE_MOVE, module, false},
        {"no wave file", true, 999, module, false},
        {"no module", true, ISoundPlayer::WAVE_MOVE, module + "-missing", false},
    };
    for (const Case& c : cases) {
        CQtSoundPlayer player(sounds, [&] { return c.soundOn; }, {c.module});
        EXPECT_FALSE(player.ModuleLoaded()) << c.name;
        player.PlayWave(c.wave);
        // Asked again, the same answer: a second play neither retries nor fails.
        player.PlayWave(c.wave);
        EXPECT_EQ(player.ModuleLoaded(), c.loaded) << c.name;
    }
}

} // namespace
} // namespace kelo
