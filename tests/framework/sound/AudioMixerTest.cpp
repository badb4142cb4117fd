// Effects and music together on one device: both reach the mix, and muting silences both.
#include "framework/sound/AudioMixer.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/StreamMusicInterface.h"

#include "SoundTestUtil.h"

#include <gtest/gtest.h>

using namespace SoundTest;

TEST(AudioMixerTest, SoundAndLoopingSongReachTheOutputAndMutingSilencesThem)
{
    ScratchDir dir;
    WriteBytes("blip.wav", MakeWave(Sine(44100, 1, 0.01, 8192), 1, 44100));
    Plat::NullAudioDevice device;
    Vel::AudioMixer mixer(device);
    Vel::DSoundManager sounds(&mixer, "");
    Vel::StreamMusicInterface music(&mixer);
    ASSERT_TRUE(sounds.LoadSound(0, "blip"));
    ASSERT_TRUE(music.LoadMusic(0, FixturePath("tone-stereo-44100.ogg")));

    // Each alone, then together: a 441 Hz sine at quarter scale (RMS 0.177) and a 330 Hz
    // song at half scale (RMS 0.354) are unrelated, so their powers add.
    sounds.CreateInstance(0)->Play(true, false);
    const double sound = Rms(Render(device, 8820));
    music.PlayMusic(0, -1, false);
    const double both = Rms(Render(device, 8820));
    EXPECT_NEAR(sound, 0.177, 0.01);
    EXPECT_NEAR(both, std::sqrt(0.177 * 0.177 + 0.354 * 0.354), 0.04);

    // What the application does while muted: both levels go to 0.
    sounds.SetVolume(0.0);
    music.SetVolume(0.0);
    EXPECT_EQ(Rms(Render(device, 4410)), 0.0);
    sounds.SetVolume(0.85);
    music.SetVolume(0.85);
    EXPECT_GT(Rms(Render(device, 4410)), 0.3);
}

TEST(AudioMixerTest, LoudSourcesAreClippedNotWrapped)
{
    // Two full-scale squares in phase would overflow 16 bits; the sum must stay at the rails.
    ScratchDir dir;
    std::vector<int16_t> square;
    for (int i = 0; i < 4410; ++i)
        square.push_back(int16_t((i / 50) % 2 ? -32768 : 32767));
    WriteBytes("square.wav", MakeWave(square, 1, 44100));
    Plat::NullAudioDevice device;
    Vel::AudioMixer mixer(device);
    Vel::DSoundManager sounds(&mixer, "");
    ASSERT_TRUE(sounds.LoadSound(0, "square"));
    sounds.CreateInstance(0)->Play(false, false);
    sounds.CreateInstance(0)->Play(false, false);
    const std::vector<int16_t> out = Render(device, 200);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[2 * 60], -32768);
}
