// Sound file readers and the cache writer.
#include "framework/sound/SoundFile.h"

#include "framework/archive/PakInterface.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstring>

namespace Vel {

namespace {

// Decoded effects are held whole in memory; anything larger than this is refused rather than
// allowed to exhaust memory (about 25 minutes of 44.1 kHz stereo).
constexpr size_t kMaxDecodedBytes = size_t(256) << 20;
// Rates beyond this are not sound but a damaged header.
constexpr uint32_t kMaxRate = 1'000'000;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
uint64_t Le64(const uint8_t* p) { return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32); }
uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]); }

void PutLe16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

bool SupportedLayout(long channels, long rate) { return channels >= 1 && channels <= 2 && rate > 0 && rate <= long(kMaxRate); }

int16_t MuLawToLinear(uint8_t code)
{
    code = uint8_t(~code);
    int exponent = (code >> 4) & 7;
    int mantissa = code & 0x0F;
    int magnitude = ((mantissa << 3) + 0x84) << exponent;
    magnitude -= 0x84;
    return int16_t((code & 0x80) ? -magnitude : magnitude);
}

} // namespace

std::optional<WaveFile> ReadWaveFile(const std::vector<uint8_t>& bytes)
{
    const size_t size = bytes.size();
    if (size < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;

    WaveFile wave;
    int channels = 1;
    int rate = 22050;
    int bits = 16;
    bool haveData = false;
    size_t dataStart = 0;
    size_t dataLength = 0;
    int xorKey = -1;

    // The RIFF size field is not trusted: cache files carry chunks beyond it. The file's own
    // length bounds every chunk instead.
    size_t pos = 12;
    while (size - pos >= 8) {
        const uint8_t* header = bytes.data() + pos;
        const size_t length = std::min<size_t>(Le32(header + 4), size - pos - 8);
        const uint8_t* body = header + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (length < 16)
                return std::nullopt;
            if (Le16(body) != 1)
                return std::nullopt; // compressed formats are not supported
            channels = Le16(body + 2);
            const uint32_t declaredRate = Le32(body + 4);
            rate = declaredRate <= kMaxRate ? int(declaredRate) : 0; // 0 is refused below
            bits = Le16(body + 14);
        } else if (std::memcmp(header, "dep ", 4) == 0) {
            if (length >= 2) {
                size_t nameLength = std::min<size_t>(Le16(body), length - 2);
                const size_t kept = std::min<size_t>(nameLength, 255);
                wave.sourceName.assign(reinterpret_cast<const char*>(body + 2), kept);
                if (length - 2 - nameLength >= 8) {
                    wave.sourceTime = Le64(body + 2 + nameLength);
                    wave.hasSource = true;
                }
            }
        } else if (std::memcmp(header, "xor ", 4) == 0) {
            if (length >= 1)
                xorKey = body[0];
        } else if (std::memcmp(header, "data", 4) == 0) {
            haveData = true;
            dataStart = pos + 8;
            dataLength = length;
        }
        pos += 8 + length;
        // Wave writers pad odd chunks to an even length, the cache writer does not: a chunk id
        // never starts with a zero byte, so a zero here can only be padding.
        if ((length & 1) && pos < size && bytes[pos] == 0)
            ++pos;
    }

    if (!haveData || !SupportedLayout(channels, rate) || (bits != 8 && bits != 16))
        return std::nullopt;

    const size_t frameBytes = size_t(channels) * size_t(bits / 8);
    const size_t frames = dataLength / frameBytes;
    SampleData& data = wave.data;
    data.channels = channels;
    data.rate = rate;
    data.samples.resize(frames * size_t(channels));
    const uint8_t key = xorKey >= 0 ? uint8_t(xorKey) : 0;
    const uint8_t* src = bytes.data() + dataStart;
    if (bits == 16) {
        for (size_t i = 0; i < data.samples.size(); ++i)
            data.samples[i] = int16_t(uint16_t((src[2 * i] ^ key) | ((src[2 * i + 1] ^ key) << 8)));
    } else {
        for (size_t i = 0; i < data.samples.size(); ++i)
            data.samples[i] = int16_t((int((src[i] ^ key)) - 128) << 8);
    }
    return wave;
}

std::optional<SampleData> ReadAuFile(const std::vector<uint8_t>& bytes)
{
    const size_t size = bytes.size();
    if (size < 24 || std::memcmp(bytes.data(), ".snd", 4) != 0)
        return std::nullopt;
    const uint32_t offset = Be32(&bytes[4]);
    const uint32_t declared = Be32(&bytes[8]);
    const uint32_t encoding = Be32(&bytes[12]);
    const uint32_t rate = Be32(&bytes[16]);
    const uint32_t channels = Be32(&bytes[20]);
    if (offset < 24 || offset > size || rate == 0 || rate > kMaxRate || channels < 1 || channels > 2)
        return std::nullopt;
    int sampleBytes = 0;
    if (encoding == 1 || encoding == 2)
        sampleBytes = 1;
    else if (encoding == 3)
        sampleBytes = 2;
    else
        return std::nullopt;

    // 0xFFFFFFFF means "unknown"; any declared size is limited to what the file holds.
    size_t length = size - offset;
    if (declared != 0xFFFFFFFFu)
        length = std::min<size_t>(length, declared);
    SampleData data;
    data.channels = int(channels);
    data.rate = int(rate);
    const size_t frames = length / (size_t(sampleBytes) * channels);
    data.samples.resize(frames * channels);
    const uint8_t* src = bytes.data() + offset;
    for (size_t i = 0; i < data.samples.size(); ++i) {
        if (encoding == 1)
            data.samples[i] = MuLawToLinear(src[i]);
        else if (encoding == 2)
            data.samples[i] = int16_t(int8_t(src[i]) * 256);
        else
            data.samples[i] = int16_t(uint16_t((src[2 * i] << 8) | src[2 * i + 1]));
    }
    return data;
}

namespace {

size_t PakReadCallback(void* ptr, size_t size, size_t count, void* source)
{
    return PakRead(ptr, size, count, static_cast<PakStream*>(source));
}
int PakSeekCallback(void* source, ogg_int64_t offset, int whence)
{
    if (offset > INT32_MAX || offset < INT32_MIN)
        return -1;
    return PakSeek(static_cast<PakStream*>(source), long(offset), whence);
}
int PakCloseCallback(void* source) { return PakClose(static_cast<PakStream*>(source)); }
long PakTellCallback(void* source) { return PakTell(static_cast<PakStream*>(source)); }

} // namespace

std::optional<SampleData> DecodeOggFile(const std::string& name)
{
    PakStream* stream = PakOpen(name.c_str(), "rb");
    if (!stream)
        return std::nullopt;
    OggVorbis_File file;
    ov_callbacks callbacks{PakReadCallback, PakSeekCallback, PakCloseCallback, PakTellCallback};
    if (ov_open_callbacks(stream, &file, nullptr, 0, callbacks) != 0) {
        PakClose(stream); // not taken over by the decoder when opening fails
        return std::nullopt;
    }
    std::optional<SampleData> result;
    vorbis_info* info = ov_info(&file, -1);
    if (info && SupportedLayout(info->channels, info->rate)) {
        SampleData data;
        data.channels = info->channels;
        data.rate = int(info->rate);
        char buffer[4096];
        bool failed = false;
        for (;;) {
            int section = 0;
            long got = ov_read(&file, buffer, sizeof buffer, &section);
            if (got == 0)
                break;
            if (got == OV_HOLE)
                continue; // a gap in the stream; decoding carries on after it
            if (got < 0) {
                failed = true;
                break;
            }
            // A chained file may change its layout midway; mixing layouts would garble it.
            vorbis_info* now = ov_info(&file, -1);
            if (!now || now->channels != data.channels || int(now->rate) != data.rate) {
                failed = true;
                break;
            }
            if (data.Bytes() + size_t(got) > kMaxDecodedBytes) {
                failed = true;
                break;
            }
            const size_t old = data.samples.size();
            data.samples.resize(old + size_t(got) / 2);
            std::memcpy(data.samples.data() + old, buffer, size_t(got) & ~size_t(1));
        }
        // Keep whole frames only.
        data.samples.resize(data.Frames() * size_t(data.channels));
        if (!failed && !data.samples.empty())
            result = std::move(data);
    }
    ov_clear(&file); // closes the stream through the close callback
    return result;
}

std::vector<uint8_t> MakeCacheFile(const SampleData& data, const std::string& sourceName, uint64_t sourceTime)
{
    const std::string name = sourceName.substr(0, 255);
    const uint32_t dataLength = uint32_t(data.Bytes());
    std::vector<uint8_t> out;
    out.reserve(dataLength + 64 + name.size());
    PutTag(out, "RIFF");
    PutLe32(out, dataLength + 36);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe32(out, 16);
    PutLe16(out, 1);
    PutLe16(out, uint32_t(data.channels));
    PutLe32(out, uint32_t(data.rate));
    PutLe32(out, uint32_t(data.rate) * uint32_t(data.channels) * 2);
    PutLe16(out, uint32_t(data.channels) * 2);
    PutLe16(out, 16);
    PutTag(out, "dep ");
    PutLe32(out, uint32_t(name.size() + 10));
    PutLe16(out, uint32_t(name.size()));
    for (char c : name)
        out.push_back(uint8_t(c));
    PutLe32(out, uint32_t(sourceTime));
    PutLe32(out, uint32_t(sourceTime >> 32));
    PutTag(out, "xor ");
    PutLe32(out, 1);
    out.push_back(kCacheXorKey);
    PutTag(out, "data");
    PutLe32(out, dataLength);
    for (int16_t s : data.samples) {
        out.push_back(uint8_t(uint16_t(s)) ^ kCacheXorKey);
        out.push_back(uint8_t(uint16_t(s) >> 8) ^ kCacheXorKey);
    }
    return out;
}

} // namespace Vel
