// The effects manager: slots and ids, channels and reclaim, volume and pan on the device, pitch,
// loading order with the sound cache, and what reaches the mixed output.
#include "framework/sound/DSoundManager.h"
#include "framework/sound/SoundFile.h"

#include "SoundTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SoundTest;
using Vel::DSoundInstance;
using Vel::DSoundManager;

namespace {

class DSoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager.SetClock([this] { return m_nowMs; });
    }

    // A 16-bit wave of `frames` frames of a 441 Hz sine at 44.1 kHz, amplitude 16384.
    void WriteTone(const std::string& name, int frames, int channels = 1)
    {
        WriteBytes(name + ".wav", MakeWave(Sine(frames, channels, 0.01, 16384), channels, 44100));
    }

    DSoundInstance* Start(int id, bool looping, bool autoRelease = true)
    {
        auto* instance = static_cast<DSoundInstance*>(m_manager.CreateInstance(id));
        if (instance) {
            EXPECT_TRUE(instance->Play(looping, autoRelease));
        }
        return instance;
    }

    ScratchDir m_dir;
    uint64_t m_nowMs = 0;
    Plat::NullAudioDevice m_device;
    Vel::AudioMixer m_mixer{m_device};
    DSoundManager m_manager{&m_mixer, (m_dir.Path() / "cached").string() + "/"};
};

} // namespace

TEST(SoundVolumeTest, LevelsBecomeHundredthsOfADecibelAsBefore)
{
    struct Case {
        double level;
        int hundredths;
    };
    // (log10(9L + 1) - 1) x 2333 truncated toward zero; below -2000 is silence.
    const Case cases[] = {
        {1.0, 0},       {0.5, -605},      {0.1, -1682},  {0.05, -1956},
        {0.04, -10000}, {0.0, -10000},    {-1.0, -10000}, {2.0, 0},
        {std::nan(""), -10000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Vel::LevelToHundredthsDb(c.level), c.hundredths) << "level " << c.level;

    EXPECT_DOUBLE_EQ(Vel::HundredthsDbToGain(0), 1.0);
    EXPECT_NEAR(Vel::HundredthsDbToGain(-2000), 0.1, 1e-12); // -20 dB
    EXPECT_EQ(Vel::HundredthsDbToGain(-10000), 0.0);
}

TEST_F(DSoundManagerTest, EffectsLevelZeroSilencesEveryChannelAndOneRestoresFullVolume)
{
    WriteTone("tone", 1000);
    ASSERT_TRUE(m_manager.LoadSound(3, "tone"));
    std::vector<DSoundInstance*> instances;
    for (int i = 0; i < Vel::kMaxChannels; ++i)
        instances.push_back(Start(3, true));
    ASSERT_EQ(instances.back() != nullptr, true);

    m_manager.SetVolume(0.0);
    for (DSoundInstance* instance : instances)
        EXPECT_EQ(instance->GetDeviceVolume(), -10000);
    EXPECT_EQ(Rms(Render(m_device, 512)), 0.0);

    m_manager.SetVolume(1.0);
    for (DSoundInstance* instance : instances)
        EXPECT_EQ(instance->GetDeviceVolume(), 0);

    // The slot's base volume is applied to new instances.
    ASSERT_TRUE(m_manager.SetBaseVolume(3, 0.5));
    m_manager.ReleaseChannels();
    EXPECT_EQ(Start(3, false)->GetDeviceVolume(), -605);
}

TEST_F(DSoundManagerTest, ThirtyThirdSoundPlaysNothingUntilOneHasFinished)
{
    WriteTone("long", 44100);
    WriteTone("short", 441);
    ASSERT_TRUE(m_manager.LoadSound(0, "long"));
    ASSERT_TRUE(m_manager.LoadSound(1, "short"));
    for (int i = 0; i < Vel::kMaxChannels - 1; ++i)
        ASSERT_NE(Start(0, true), nullptr);
    DSoundInstance* shortOne = Start(1, false);
    ASSERT_NE(shortOne, nullptr);

    EXPECT_EQ(m_manager.CreateInstance(0), nullptr);

    Render(m_device, 600); // the short one runs out
    EXPECT_FALSE(shortOne->IsPlaying());
    EXPECT_NE(m_manager.CreateInstance(0), nullptr);
    EXPECT_EQ(m_manager.CountUsedChannels(), Vel::kMaxChannels);
}

TEST_F(DSoundManagerTest, ReleasedInstancesAreSweptAtMostOncePerSecond)
{
    WriteTone("short", 100);
    ASSERT_TRUE(m_manager.LoadSound(0, "short"));
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(Start(0, false), nullptr);
    Render(m_device, 200);
    ASSERT_EQ(m_manager.CountUsedChannels(), 3);

    // Within the second: only the first released channel is taken over.
    m_nowMs = 999;
    ASSERT_NE(m_manager.CreateInstance(0), nullptr);
    EXPECT_EQ(m_manager.CountUsedChannels(), 3);

    // A second after the last sweep every released instance goes.
    m_nowMs = 1000;
    ASSERT_NE(m_manager.CreateInstance(0), nullptr);
    EXPECT_EQ(m_manager.CountUsedChannels(), 2);
}

TEST_F(DSoundManagerTest, StopClearsAutoReleaseButStopAllSoundsKeepsIt)
{
    WriteTone("tone", 1000);
    ASSERT_TRUE(m_manager.LoadSound(0, "tone"));
    DSoundInstance* stopped = Start(0, true);
    DSoundInstance* stoppedByAll = Start(0, true);
    stopped->Stop();
    EXPECT_FALSE(stopped->IsReleased());
    m_manager.StopAllSounds();
    EXPECT_FALSE(stoppedByAll->IsPlaying());
    EXPECT_TRUE(stoppedByAll->IsReleased());
    // A released instance cannot be played again.
    EXPECT_FALSE(stoppedByAll->Play(false, false));
}

TEST_F(DSoundManagerTest, EveryPerIdOperationRefusesIdsOutsideTheSlots)
{
    WriteTone("tone", 100);
    for (int id : {-1, 256, 1000, -100000}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(m_manager.LoadSound(id, "tone"));
        EXPECT_FALSE(m_manager.SetBaseVolume(id, 0.5));
        EXPECT_FALSE(m_manager.SetBasePan(id, 100));
        EXPECT_EQ(m_manager.CreateInstance(id), nullptr);
        EXPECT_EQ(m_manager.GetSampleData(id), nullptr);
        m_manager.ReleaseSound(id);
    }
    EXPECT_TRUE(m_manager.LoadSound(0, "tone"));
    EXPECT_TRUE(m_manager.LoadSound(255, "tone"));
    EXPECT_NE(m_manager.CreateInstance(255), nullptr);
}

TEST_F(DSoundManagerTest, LoadByNameReusesItsSlotElseTakesTheHighestEmptyOne)
{
    WriteTone("a", 100);
    WriteTone("b", 100);
    EXPECT_EQ(m_manager.GetFreeSoundId(), 0);
    EXPECT_EQ(m_manager.LoadSound("a"), 255);
    EXPECT_EQ(m_manager.LoadSound("b"), 254);
    EXPECT_EQ(m_manager.LoadSound("a"), 255);
    EXPECT_EQ(m_manager.LoadSound("missing"), -1);
    m_manager.ReleaseSound(255);
    EXPECT_EQ(m_manager.LoadSound("b"), 254);
    EXPECT_EQ(m_manager.LoadSound("a"), 255);

    for (int id = 0; id < Vel::kMaxSounds; ++id)
        ASSERT_TRUE(m_manager.LoadSound(id, "a"));
    EXPECT_EQ(m_manager.GetFreeSoundId(), -1);
    EXPECT_EQ(m_manager.LoadSound("b"), -1);
}

TEST_F(DSoundManagerTest, MalformedFilesLeaveTheSlotEmpty)
{
    WriteTone("good", 100);
    ASSERT_TRUE(m_manager.LoadSound(7, "good"));
    std::vector<uint8_t> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 37 + 11);
    for (const char* ext : {".wav", ".ogg", ".au"})
        WriteBytes(std::string("bad") + ext, noise);
    EXPECT_FALSE(m_manager.LoadSound(7, "bad"));
    EXPECT_EQ(m_manager.GetSampleData(7), nullptr);
    EXPECT_EQ(m_manager.CreateInstance(7), nullptr);
}

TEST_F(DSoundManagerTest, OggIsCachedAndDecodedAgainWhenItsSourceIsNewer)
{
    const fs::path ogg = m_dir.Path() / "sfx" / "beep.ogg";
    WriteBytes(ogg, ReadBytes(FixturePath("tone-mono-22050.ogg")));
    fs::last_write_time(ogg, fs::file_time_type::clock::now() - std::chrono::hours(2));
    ASSERT_TRUE(m_manager.LoadSound(0, "sfx/beep"));
    const size_t firstFrames = m_manager.GetSampleData(0)->Frames();
    const std::string cache = m_manager.CachePath("sfx/beep");
    ASSERT_TRUE(fs::exists(cache));

    // With its source unchanged the cache is what loads: a damaged source with its old time
    // still gives the sound.
    const auto oldTime = fs::last_write_time(ogg);
    WriteBytes(ogg, std::vector<uint8_t>(100, 0));
    fs::last_write_time(ogg, oldTime);
    ASSERT_TRUE(m_manager.LoadSound(1, "sfx/beep"));
    EXPECT_EQ(m_manager.GetSampleData(1)->samples, m_manager.GetSampleData(0)->samples);

    // A newer source (twice as long) is decoded again and the cache rewritten.
    WriteBytes(ogg, ReadBytes(FixturePath("tone-mono-22050-long.ogg")));
    fs::last_write_time(ogg, oldTime + std::chrono::hours(1));
    ASSERT_TRUE(m_manager.LoadSound(2, "sfx/beep"));
    const size_t newFrames = m_manager.GetSampleData(2)->Frames();
    EXPECT_NEAR(double(newFrames), 2.0 * double(firstFrames), 200.0);
    auto cached = Vel::ReadWaveFile(ReadBytes(cache));
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->data.Frames(), newFrames);
    EXPECT_EQ(cached->sourceName, "sfx/beep.ogg");
}

TEST_F(DSoundManagerTest, AuSourcesAreCachedAndNamesThatLeaveTheCacheAreNot)
{
    std::vector<uint8_t> au{'.', 's', 'n', 'd', 0, 0, 0, 24, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0x1F, 0x40, 0, 0, 0, 1,
                            0x10, 0x00, 0xF0, 0x00};
    WriteBytes("sfx/click.au", au);
    ASSERT_TRUE(m_manager.LoadSound(0, "sfx/click"));
    EXPECT_TRUE(fs::exists(m_manager.CachePath("sfx/click")));
    EXPECT_EQ(m_manager.GetSampleData(0)->samples, (std::vector<int16_t>{0x1000, -0x1000}));

    // ".." would write outside the cache folder, and absolute names are never cached.
    EXPECT_EQ(m_manager.CachePath("sfx/../../click"), "");
    EXPECT_EQ(m_manager.CachePath("/abs/click"), "");
    EXPECT_EQ(m_manager.CachePath("c:\\click"), "");
    EXPECT_NE(m_manager.CachePath("sfx/..x/click"), "");
}

TEST_F(DSoundManagerTest, PlayingSoundReachesTheOutputAndPanMovesIt)
{
    WriteTone("tone", 4410);
    ASSERT_TRUE(m_manager.LoadSound(0, "tone"));
    Start(0, true);
    // A sine of amplitude 16384 (half scale) has an RMS of about 0.354.
    EXPECT_NEAR(Rms(Render(m_device, 4410)), 0.354, 0.01);

    m_manager.SetVolume(0.0);
    EXPECT_EQ(Rms(Render(m_device, 1000)), 0.0);
    m_manager.SetVolume(1.0);

    // Base pan and instance pan add up and are clamped: fully right silences the left side.
    m_manager.ReleaseChannels();
    ASSERT_TRUE(m_manager.SetBasePan(0, 6000));
    DSoundInstance* right = Start(0, true);
    right->SetPan(6000);
    EXPECT_EQ(right->GetDevicePan(), 10000);
    std::vector<int16_t> out = Render(m_device, 2000);
    double left = 0, rightSum = 0;
    for (size_t i = 0; i < out.size(); i += 2) {
        left += std::abs(out[i]);
        rightSum += std::abs(out[i + 1]);
    }
    EXPECT_EQ(left, 0.0);
    EXPECT_GT(rightSum, 0.0);
}

TEST_F(DSoundManagerTest, PitchStepsChangeThePlaybackRateWithinItsLimits)
{
    WriteTone("tone", 4410);
    ASSERT_TRUE(m_manager.LoadSound(0, "tone"));
    DSoundInstance* octaveUp = Start(0, false);
    octaveUp->AdjustPitch(12);
    EXPECT_NEAR(octaveUp->GetFrequency(), 88200.0, 1e-6);
    Render(m_device, 2300); // half the frames at twice the rate, plus a little
    EXPECT_FALSE(octaveUp->IsPlaying());

    DSoundInstance* normal = Start(0, false);
    Render(m_device, 2300);
    EXPECT_TRUE(normal->IsPlaying());

    normal->AdjustPitch(-200);
    EXPECT_EQ(normal->GetFrequency(), Vel::kMinFrequency);
    normal->AdjustPitch(200);
    EXPECT_EQ(normal->GetFrequency(), Vel::kMaxFrequency);
}

TEST(DSoundManagerNoDeviceTest, LoadsAndCreatesInstancesWithoutAnyOutput)
{
    ScratchDir dir;
    WriteBytes("tone.wav", MakeWave(Sine(100, 1, 0.01, 1000), 1, 22050));
    DSoundManager manager(nullptr, "");
    EXPECT_FALSE(manager.IsInitialized());
    ASSERT_TRUE(manager.LoadSound(0, "tone"));
    Vel::SoundInstance* instance = manager.CreateInstance(0);
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(instance->Play(false, true));
    EXPECT_EQ(manager.CachePath("tone"), "");
}
