// The music interface: fades stepped per tick, looping, pausing, volumes, rate conversion, and
// songs read from the archive alone.
#include "framework/sound/StreamMusicInterface.h"

#include "framework/archive/PakFormat.h"
#include "framework/archive/PakInterface.h"

#include "SoundTestUtil.h"

#include <gtest/gtest.h>

using namespace SoundTest;
using Vel::StreamMusicInterface;

namespace {

constexpr int kSong = 0;
constexpr int kFramesPerTick = Plat::kAudioRate / 100;

class StreamMusicTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_music.LoadMusic(kSong, FixturePath("tone-stereo-44100.ogg"))); }

    // One update tick of the game: the fade steps, then a tick's worth of sound is mixed.
    std::vector<int16_t> Tick(int ticks = 1)
    {
        std::vector<int16_t> all;
        for (int i = 0; i < ticks; ++i) {
            m_music.Update();
            std::vector<int16_t> out = Render(m_device, kFramesPerTick);
            all.insert(all.end(), out.begin(), out.end());
        }
        return all;
    }

    Plat::NullAudioDevice m_device;
    Vel::AudioMixer m_mixer{m_device};
    StreamMusicInterface m_music{&m_mixer};
};

} // namespace

TEST_F(StreamMusicTest, FadeOutAllStopsAFullSongAfter125TicksAndFadeInStartsFromSilence)
{
    m_music.PlayMusic(kSong, -1, false);
    EXPECT_EQ(m_music.GetSongVolume(kSong), 1.0);
    m_music.FadeOutAll(true, 0.008);
    Tick(124);
    EXPECT_TRUE(m_music.IsPlaying(kSong));
    EXPECT_GT(m_music.GetSongVolume(kSong), 0.0);
    Tick();
    EXPECT_FALSE(m_music.IsPlaying(kSong));
    EXPECT_EQ(m_music.GetSongVolume(kSong), 0.0);

    m_music.FadeIn(kSong, -1, 0.002, false);
    EXPECT_TRUE(m_music.IsPlaying(kSong));
    EXPECT_EQ(Rms(Render(m_device, 256)), 0.0);
    const double early = Rms(Tick(50));
    Tick(200);
    EXPECT_NEAR(m_music.GetSongVolume(kSong), 0.5, 1e-9);
    Tick(250);
    EXPECT_EQ(m_music.GetSongVolume(kSong), 1.0); // stops rising at the cap
    const double full = Rms(Tick(50));
    EXPECT_GT(full, 10 * early);
    EXPECT_NEAR(full, 0.354, 0.04);
}

TEST_F(StreamMusicTest, LoopsWithoutAGapAndANoLoopSongEnds)
{
    m_music.PlayMusic(kSong, 0, false);
    // Two and a half passes of a one-second song: always playing, and no sample jumps further
    // than the tone itself moves (a gap or a restart would jump by thousands).
    const std::vector<int16_t> out = Tick(250);
    EXPECT_TRUE(m_music.IsPlaying(kSong));
    int worst = 0;
    for (size_t i = 2; i < out.size(); i += 2)
        worst = std::max(worst, std::abs(out[i] - out[i - 2]));
    const double toneStep = 2 * M_PI * 330.0 / 44100.0 * 0.5 * 32768;
    EXPECT_LT(worst, 2 * toneStep);
    EXPECT_GT(worst, toneStep / 2);
    // The tone passes zero within a sample; a gap of silence would stay there.
    int quiet = 0;
    int longestQuiet = 0;
    for (size_t i = 0; i < out.size(); i += 2) {
        quiet = std::abs(out[i]) < 300 ? quiet + 1 : 0;
        longestQuiet = std::max(longestQuiet, quiet);
    }
    EXPECT_LE(longestQuiet, 2);

    m_music.PlayMusic(kSong, 0, true);
    Tick(90);
    EXPECT_TRUE(m_music.IsPlaying(kSong));
    Tick(20);
    EXPECT_FALSE(m_music.IsPlaying(kSong));
    EXPECT_EQ(Rms(Tick(5)), 0.0);
    // Played again without an offset, an ended song starts over.
    m_music.PlayMusic(kSong, -1, true);
    EXPECT_GT(Rms(Tick(5)), 0.1);
}

TEST_F(StreamMusicTest, PausedSongsAreSilentUntilResumed)
{
    ASSERT_TRUE(m_music.LoadMusic(1, FixturePath("tone-stereo-44100.ogg")));
    m_music.PlayMusic(kSong, -1, false);
    m_music.PauseAllMusic();
    EXPECT_FALSE(m_music.IsPlaying(kSong));
    EXPECT_TRUE(m_music.IsPaused(kSong));
    EXPECT_EQ(Rms(Tick(5)), 0.0);
    m_music.ResumeAllMusic();
    EXPECT_TRUE(m_music.IsPlaying(kSong));
    EXPECT_FALSE(m_music.IsPlaying(1)); // never played, so not resumed either
    EXPECT_GT(Rms(Tick(5)), 0.1);

    m_music.PauseMusic(kSong);
    EXPECT_FALSE(m_music.IsPlaying(kSong));
    m_music.ResumeMusic(kSong);
    EXPECT_TRUE(m_music.IsPlaying(kSong));
    m_music.StopMusic(kSong);
    m_music.ResumeMusic(kSong);
    EXPECT_FALSE(m_music.IsPlaying(kSong));
}

TEST_F(StreamMusicTest, SongCapAndGlobalVolumeScaleTheOutput)
{
    m_music.PlayMusic(kSong, -1, false);
    const double full = Rms(Tick(20));
    m_music.SetSongMaxVolume(kSong, 0.5);
    EXPECT_EQ(m_music.GetSongVolume(kSong), 0.5);
    EXPECT_NEAR(Rms(Tick(20)), full / 2, full * 0.05);
    m_music.SetVolume(0.5);
    EXPECT_NEAR(Rms(Tick(20)), full / 4, full * 0.05);
    m_music.SetVolume(0.0);
    EXPECT_EQ(Rms(Tick(20)), 0.0);
    EXPECT_TRUE(m_music.IsPlaying(kSong)); // muted, not stopped

    // FadeOut leaves a silent song alone; a fade-out without stop keeps it playing at 0.
    m_music.SetVolume(1.0);
    m_music.FadeOut(kSong, false, 0.25);
    Tick(2);
    EXPECT_EQ(m_music.GetSongVolume(kSong), 0.0);
    EXPECT_TRUE(m_music.IsPlaying(kSong));
}

TEST_F(StreamMusicTest, OtherRatesAreConvertedToTheDeviceRate)
{
    ASSERT_TRUE(m_music.LoadMusic(2, FixturePath("tone-mono-22050.ogg")));
    m_music.PlayMusic(2, -1, true);
    Tick(20); // a quarter-second song lasts a quarter of a second at the device rate
    EXPECT_TRUE(m_music.IsPlaying(2));
    Tick(10);
    EXPECT_FALSE(m_music.IsPlaying(2));
}

TEST_F(StreamMusicTest, MissingOrMalformedSongsDoNotLoad)
{
    ScratchDir dir;
    std::vector<uint8_t> noise(4000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 73 + 5);
    const std::vector<uint8_t> good = ReadBytes(FixturePath("tone-stereo-44100.ogg"));
    WriteBytes("noise.ogg", noise);
    WriteBytes("header.ogg", std::vector<uint8_t>(good.begin(), good.begin() + 100));
    EXPECT_FALSE(m_music.LoadMusic(5, "missing.ogg"));
    EXPECT_FALSE(m_music.LoadMusic(5, "noise.ogg"));
    EXPECT_FALSE(m_music.LoadMusic(5, "header.ogg"));
    // Calls on songs that do not exist do nothing.
    m_music.PlayMusic(5, -1, false);
    m_music.FadeIn(5, -1, 0.002, false);
    EXPECT_FALSE(m_music.IsPlaying(5));
    EXPECT_EQ(m_music.GetSongVolume(5), -1.0);

    // A song cut short plays what it has and then ends (or loops) without trouble.
    WriteBytes("cut.ogg", std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() / 2)));
    if (m_music.LoadMusic(6, "cut.ogg")) {
        m_music.PlayMusic(6, -1, false);
        Tick(150);
        m_music.PlayMusic(6, -1, true);
        Tick(150);
        EXPECT_FALSE(m_music.IsPlaying(6));
    }
}

TEST(StreamMusicArchiveTest, SongsAreReadFromTheArchiveAlone)
{
    ScratchDir dir;
    const std::vector<uint8_t> song = ReadBytes(FixturePath("tone-stereo-44100.ogg"));
    const std::string member = "music\\archiveonly.ogg";
    std::vector<uint8_t> pak;
    PutLe(pak, Vel::kPakMagic, 4);
    PutLe(pak, Vel::kPakVersion, 4);
    pak.push_back(0);
    pak.push_back(uint8_t(member.size()));
    pak.insert(pak.end(), member.begin(), member.end());
    PutLe(pak, uint32_t(song.size()), 4);
    PutLe(pak, 0, 4);
    PutLe(pak, 0, 4);
    pak.push_back(Vel::kPakEndOfDirectory);
    pak.insert(pak.end(), song.begin(), song.end());
    for (uint8_t& b : pak)
        b ^= Vel::kPakKey;
    WriteBytes("test-music.pak", pak);
    ASSERT_TRUE(Vel::PakInterface::Instance().RegisterArchive((dir.Path() / "test-music.pak").string()));
    ASSERT_FALSE(fs::exists("music/archiveonly.ogg"));

    Plat::NullAudioDevice device;
    Vel::AudioMixer mixer(device);
    StreamMusicInterface music(&mixer);
    ASSERT_TRUE(music.LoadMusic(0, "music/archiveonly.ogg"));
    music.PlayMusic(0, -1, false);
    EXPECT_NEAR(Rms(Render(device, 4410)), 0.354, 0.04);
}

namespace {
// A device nobody hears: the mixer only keeps time.
class UnheardDevice : public Plat::NullAudioDevice {
public:
    bool DiscardsOutput() const override { return true; }
};
} // namespace

TEST(UnheardMusicTest, SongsKeepTheirTimingWithoutBeingMixed)
{
    UnheardDevice device;
    Vel::AudioMixer mixer{device};
    StreamMusicInterface music{&mixer};
    ASSERT_TRUE(music.LoadMusic(kSong, FixturePath("tone-stereo-44100.ogg")));
    auto seconds = [&](double s) {
        for (int tick = 0; tick < int(s * 100); ++tick) {
            music.Update();
            EXPECT_EQ(Rms(Render(device, kFramesPerTick)), 0.0);
        }
    };
    music.PlayMusic(kSong, 0, false); // looping
    seconds(2.5);
    EXPECT_TRUE(music.IsPlaying(kSong));

    // The one-second song without looping ends when its last frame would have played.
    music.PlayMusic(kSong, 0, true);
    seconds(0.9);
    EXPECT_TRUE(music.IsPlaying(kSong));
    seconds(0.2);
    EXPECT_FALSE(music.IsPlaying(kSong));
    music.PlayMusic(kSong, -1, true);
    seconds(0.5);
    EXPECT_TRUE(music.IsPlaying(kSong));
}
