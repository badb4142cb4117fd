// Readers of wave, cache, Sun audio and Ogg Vorbis files, on good and on malformed input.
#include "framework/sound/SoundFile.h"

#include "SoundTestUtil.h"

#include <gtest/gtest.h>

using namespace SoundTest;
using Vel::ReadAuFile;
using Vel::ReadWaveFile;

namespace {

std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks)
{
    std::vector<uint8_t> body{'W', 'A', 'V', 'E'};
    body.insert(body.end(), chunks.begin(), chunks.end());
    std::vector<uint8_t> file;
    PutChunk(file, "RIFF", body, uint32_t(body.size()));
    return file;
}

std::vector<uint8_t> DataBody(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> data;
    for (int16_t s : samples)
        PutLe(data, uint16_t(s), 2);
    return data;
}

} // namespace

TEST(WaveReaderTest, ReadsPcmSamplesAndLayout)
{
    const std::vector<int16_t> samples{100, -100, 32767, -32768, 5, 6};
    auto wave = ReadWaveFile(MakeWave(samples, 2, 48000));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->data.channels, 2);
    EXPECT_EQ(wave->data.rate, 48000);
    EXPECT_EQ(wave->data.samples, samples);
    EXPECT_FALSE(wave->hasSource);
}

TEST(WaveReaderTest, ConvertsEightBitAndDefaultsWithoutFmt)
{
    std::vector<uint8_t> fmt8;
    PutChunk(fmt8, "fmt ", FmtBody(1, 1, 8000, 8), 16);
    PutChunk(fmt8, "data", {0, 128, 255}, 3);
    auto eight = ReadWaveFile(Riff(fmt8));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->data.samples, (std::vector<int16_t>{-32768, 0, 32512}));

    // No "fmt " chunk: 22050 Hz, 16-bit mono.
    std::vector<uint8_t> bare;
    PutChunk(bare, "data", DataBody({1, 2, 3}), 6);
    auto plain = ReadWaveFile(Riff(bare));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->data.rate, 22050);
    EXPECT_EQ(plain->data.channels, 1);
    EXPECT_EQ(plain->data.samples, (std::vector<int16_t>{1, 2, 3}));
}

TEST(WaveReaderTest, SkipsUnknownChunksPaddedOrNot)
{
    // A wave writer pads an odd chunk; the cache writer does not. Both must be read.
    for (bool padded : {true, false}) {
        std::vector<uint8_t> chunks;
        PutChunk(chunks, "fmt ", FmtBody(1, 1, 11025, 16), 16);
        std::vector<uint8_t> odd{'a', 'b', 'c'};
        if (padded)
            odd.push_back(0);
        PutChunk(chunks, "LIST", odd, 3);
        PutChunk(chunks, "data", DataBody({7, -7}), 4);
        auto wave = ReadWaveFile(Riff(chunks));
        ASSERT_TRUE(wave) << "padded " << padded;
        EXPECT_EQ(wave->data.samples, (std::vector<int16_t>{7, -7}));
    }
}

TEST(WaveReaderTest, ChunkLengthsAreLimitedToTheBytesLeft)
{
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "fmt ", FmtBody(1, 2, 22050, 16), 16);
    // Declares a megabyte, holds two and a half frames: only whole frames are kept.
    PutChunk(chunks, "data", DataBody({1, 2, 3, 4, 5}), 1'000'000);
    auto wave = ReadWaveFile(Riff(chunks));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->data.samples, (std::vector<int16_t>{1, 2, 3, 4}));

    // An unknown chunk claiming more than the file holds swallows the rest: no data, no sound.
    std::vector<uint8_t> runaway;
    PutChunk(runaway, "junk", {1, 2, 3, 4}, 0xFFFFFFF0u);
    PutChunk(runaway, "data", DataBody({1, 2}), 4);
    EXPECT_FALSE(ReadWaveFile(Riff(runaway)));
}

TEST(WaveReaderTest, RefusesMalformedFormats)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> fmt;
    };
    auto fmt = [](std::vector<uint8_t> body, uint32_t declared) {
        std::vector<uint8_t> chunk;
        PutChunk(chunk, "fmt ", body, declared);
        return chunk;
    };
    std::vector<uint8_t> shortFmt = FmtBody(1, 1, 22050, 16);
    shortFmt.resize(14);
    const Case cases[] = {
        {"fmt shorter than 16 bytes", fmt(shortFmt, 14)},
        {"no channels", fmt(FmtBody(1, 0, 22050, 16), 16)},
        {"rate 0", fmt(FmtBody(1, 1, 0, 16), 16)},
        {"rate of four billion", fmt(FmtBody(1, 1, 0xF0000000u, 16), 16)},
        {"three channels", fmt(FmtBody(1, 3, 22050, 16), 16)},
        {"not PCM", fmt(FmtBody(3, 1, 22050, 32), 16)},
        {"24-bit", fmt(FmtBody(1, 1, 22050, 24), 16)},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> chunks = c.fmt;
        PutChunk(chunks, "data", DataBody({1, 2, 3, 4}), 8);
        EXPECT_FALSE(ReadWaveFile(Riff(chunks))) << c.what;
    }
    EXPECT_FALSE(ReadWaveFile({'R', 'I', 'F', 'F'}));
    EXPECT_FALSE(ReadWaveFile(std::vector<uint8_t>(64, 0)));
}

TEST(CacheFileTest, RoundTripsSamplesSourceAndTime)
{
    Vel::SampleData data;
    data.channels = 2;
    data.rate = 32000;
    data.samples = Sine(300, 2, 0.01, 20000);
    // An odd name length leaves the "dep " chunk odd, which the writer does not pad.
    const std::string source = "sounds\\tick.ogg";
    const uint64_t time = 0x01D9'1234'5678'9ABCull;
    const std::vector<uint8_t> file = Vel::MakeCacheFile(data, source, time);

    auto wave = ReadWaveFile(file);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->data.samples, data.samples);
    EXPECT_EQ(wave->data.rate, 32000);
    EXPECT_EQ(wave->data.channels, 2);
    ASSERT_TRUE(wave->hasSource);
    EXPECT_EQ(wave->sourceName, source);
    EXPECT_EQ(wave->sourceTime, time);

    // The samples are stored XOR-ed, so the plain PCM bytes appear nowhere in the file.
    const std::vector<uint8_t> plain = DataBody(data.samples);
    EXPECT_EQ(std::search(file.begin(), file.end(), plain.begin(), plain.begin() + 32), file.end());
}

TEST(CacheFileTest, ReaderTakesTheXorByteFromTheFileAndTruncatesLongNames)
{
    const std::string longName(300, 'n');
    std::vector<uint8_t> dep;
    PutLe(dep, uint32_t(longName.size()), 2);
    dep.insert(dep.end(), longName.begin(), longName.end());
    PutLe(dep, 0x89ABCDEF, 4);
    PutLe(dep, 0x01234567, 4);
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "fmt ", FmtBody(1, 1, 22050, 16), 16);
    PutChunk(chunks, "dep ", dep, uint32_t(dep.size()));
    PutChunk(chunks, "xor ", {0x77}, 1);
    std::vector<uint8_t> data = DataBody({0x1234, -2});
    for (uint8_t& b : data)
        b ^= 0x77;
    PutChunk(chunks, "data", data, uint32_t(data.size()));

    auto wave = ReadWaveFile(Riff(chunks));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->data.samples, (std::vector<int16_t>{0x1234, -2}));
    EXPECT_EQ(wave->sourceName, longName.substr(0, 255));
    EXPECT_EQ(wave->sourceTime, 0x0123456789ABCDEFull);
}

TEST(CacheFileTest, EveryTruncationAndByteFlipIsReadSafely)
{
    Vel::SampleData data;
    data.samples = Sine(40, 1, 0.05, 9000);
    const std::vector<uint8_t> file = Vel::MakeCacheFile(data, "a.ogg", 42);
    // Whatever the bytes, the reader stays inside the file (the sanitizer build checks it) and
    // never yields more samples than the file can hold.
    for (size_t n = 0; n <= file.size(); ++n) {
        auto wave = ReadWaveFile(std::vector<uint8_t>(file.begin(), file.begin() + long(n)));
        if (wave) {
            EXPECT_LE(wave->data.samples.size() * 2, n);
        }
    }
    for (size_t i = 0; i < file.size(); ++i) {
        std::vector<uint8_t> bad = file;
        bad[i] ^= 0xFF;
        auto wave = ReadWaveFile(bad);
        if (wave) {
            EXPECT_LE(wave->data.samples.size() * 2, bad.size());
        }
    }
}

namespace {

std::vector<uint8_t> MakeAu(uint32_t offset, uint32_t size, uint32_t encoding, uint32_t rate, uint32_t channels,
                            const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> file{'.', 's', 'n', 'd'};
    for (uint32_t v : {offset, size, encoding, rate, channels})
        for (int i = 3; i >= 0; --i)
            file.push_back(uint8_t(v >> (8 * i)));
    file.resize(std::max<size_t>(file.size(), offset), 0);
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}

} // namespace

TEST(AuReaderTest, ReadsLinearAndMuLaw)
{
    auto linear = ReadAuFile(MakeAu(28, 8, 3, 8000, 2, {0x12, 0x34, 0xFF, 0xFE, 0x7F, 0xFF, 0x80, 0x00}));
    ASSERT_TRUE(linear);
    EXPECT_EQ(linear->channels, 2);
    EXPECT_EQ(linear->rate, 8000);
    EXPECT_EQ(linear->samples, (std::vector<int16_t>{0x1234, -2, 32767, -32768}));

    // mu-law 0xFF and 0x7F are the two zeros; 0x80 and 0x00 the loudest of each sign.
    auto mu = ReadAuFile(MakeAu(24, 4, 1, 8000, 1, {0xFF, 0x7F, 0x80, 0x00}));
    ASSERT_TRUE(mu);
    EXPECT_EQ(mu->samples[0], 0);
    EXPECT_EQ(mu->samples[1], 0);
    EXPECT_GT(mu->samples[2], 30000);
    EXPECT_LT(mu->samples[3], -30000);
}

TEST(AuReaderTest, LimitsTheDeclaredSizeAndRefusesBadHeaders)
{
    auto over = ReadAuFile(MakeAu(24, 1000, 3, 8000, 1, {0, 1, 0, 2, 0}));
    ASSERT_TRUE(over);
    EXPECT_EQ(over->samples, (std::vector<int16_t>{1, 2}));
    auto unknown = ReadAuFile(MakeAu(24, 0xFFFFFFFFu, 2, 8000, 1, {1, 0xFF}));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->samples, (std::vector<int16_t>{256, -256}));

    std::vector<uint8_t> pastEnd = MakeAu(24, 4, 3, 8000, 1, {1, 2, 3, 4});
    pastEnd[7] = 200; // data offset beyond the file
    EXPECT_FALSE(ReadAuFile(pastEnd));
    EXPECT_FALSE(ReadAuFile(MakeAu(8, 4, 3, 8000, 1, {1, 2, 3, 4})));       // offset inside header
    EXPECT_FALSE(ReadAuFile(MakeAu(24, 4, 3, 0, 1, {1, 2, 3, 4})));         // rate 0
    EXPECT_FALSE(ReadAuFile(MakeAu(24, 4, 3, 8000, 0, {1, 2, 3, 4})));      // no channels
    EXPECT_FALSE(ReadAuFile(MakeAu(24, 4, 27, 8000, 1, {1, 2, 3, 4})));     // unknown encoding
    EXPECT_FALSE(ReadAuFile({'.', 's', 'n', 'd', 0, 0}));
}

TEST(OggDecoderTest, DecodesAFixtureThroughTheArchiveLayer)
{
    auto data = Vel::DecodeOggFile(FixturePath("tone-mono-22050.ogg"));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->channels, 1);
    EXPECT_EQ(data->rate, 22050);
    EXPECT_NEAR(double(data->Frames()), 22050 * 0.25, 64);
    // A sine of amplitude one half has an RMS of about 0.354.
    EXPECT_NEAR(Rms(data->samples), 0.354, 0.03);
}

TEST(OggDecoderTest, MalformedFilesAreNoSound)
{
    ScratchDir dir;
    const std::vector<uint8_t> good = ReadBytes(FixturePath("tone-stereo-44100.ogg"));
    std::vector<uint8_t> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 131 + 7);
    std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 200);
    WriteBytes("noise.ogg", noise);
    WriteBytes("header.ogg", headerOnly);
    WriteBytes("empty.ogg", {});
    EXPECT_FALSE(Vel::DecodeOggFile("noise.ogg"));
    EXPECT_FALSE(Vel::DecodeOggFile("header.ogg"));
    EXPECT_FALSE(Vel::DecodeOggFile("empty.ogg"));
    EXPECT_FALSE(Vel::DecodeOggFile("missing.ogg"));

    // Cut short or damaged in the middle: whatever decodes is kept, nothing crashes.
    for (size_t cut : {good.size() / 2, good.size() - 1}) {
        WriteBytes("cut.ogg", std::vector<uint8_t>(good.begin(), good.begin() + long(cut)));
        auto data = Vel::DecodeOggFile("cut.ogg");
        if (data) {
            EXPECT_EQ(data->samples.size() % 2, 0u);
        }
    }
    std::vector<uint8_t> damaged = good;
    for (size_t i = 3000; i < 3400; ++i)
        damaged[i] ^= 0x5A;
    WriteBytes("damaged.ogg", damaged);
    (void)Vel::DecodeOggFile("damaged.ogg");
}
