// Effects and music together on one device: both reach the mix, and muting silences both.
#include "framework/sound/AudioMixer.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/StreamMusicInterface.h"

#include "SoundTestUtil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

TEST(AudioMixerTest, MixingOnItsOwnThreadWhileTheGameChangesEverything)
{
    // The device thread mixes while the main and loading threads load, play, release and fade;
    // the sanitizer build turns any unguarded access or use after free here into a failure.
    ScratchDir dir;
    WriteBytes("a.wav", MakeWave(Sine(300, 2, 0.02, 8000), 2, 22050));
    Plat::NullAudioDevice device;
    Vel::AudioMixer mixer(device);
    Vel::DSoundManager sounds(&mixer, "");
    Vel::StreamMusicInterface music(&mixer);
    ASSERT_TRUE(music.LoadMusic(0, FixturePath("tone-stereo-44100.ogg")));

    std::atomic<bool> done{false};
    std::atomic<int> blocks{0};
    std::thread deviceThread([&] {
        std::vector<int16_t> out(512);
        while (!done) {
            device.Render(out.data(), 256);
            ++blocks;
        }
    });
    std::thread loader([&] {
        for (int i = 0; i < 200; ++i)
            sounds.LoadSound(i % 4, "a");
    });
    for (int i = 0; i < 400; ++i) {
        if (Vel::SoundInstance* instance = sounds.CreateInstance(i % 4)) {
            instance->SetPan((i * 997) % 20001 - 10000);
            instance->AdjustPitch(i % 7 - 3);
            instance->Play(i % 3 == 0, true);
        }
        if (i % 50 == 0)
            sounds.ReleaseSound(i % 4);
        if (i % 100 == 0)
            music.FadeIn(0, -1, 0.05, false);
        if (i % 100 == 50)
            music.FadeOutAll(true, 0.05);
        music.Update();
        if (i == 300) {
            ASSERT_TRUE(music.LoadMusic(0, FixturePath("tone-stereo-44100.ogg")));
        }
    }
    loader.join();
    sounds.ReleaseChannels();
    music.UnloadAllMusic();
    done = true;
    deviceThread.join();
    EXPECT_GT(blocks.load(), 0);
}
