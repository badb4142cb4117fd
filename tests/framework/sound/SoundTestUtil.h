// Shared pieces of the sound tests: a scratch folder, wave builders and output measurement.
#pragma once

#include "platform/Audio.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace SoundTest {

namespace fs = std::filesystem;

inline std::string FixturePath(const std::string& name)
{
    return std::string(QV_SOURCE_DIR) + "/tests/data/sound/" + name;
}

inline void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body, uint32_t declared)
{
    out.insert(out.end(), id, id + 4);
    PutLe(out, declared, 4);
    out.insert(out.end(), body.begin(), body.end());
}

inline std::vector<uint8_t> FmtBody(int format, int channels, uint32_t rate, int bits)
{
    std::vector<uint8_t> body;
    PutLe(body, uint32_t(format), 2);
    PutLe(body, uint32_t(channels), 2);
    PutLe(body, rate, 4);
    PutLe(body, rate * uint32_t(channels * bits / 8), 4);
    PutLe(body, uint32_t(channels * bits / 8), 2);
    PutLe(body, uint32_t(bits), 2);
    return body;
}

// A sine of `frames` frames at `amplitude` (full scale 32767), 16-bit PCM.
inline std::vector<int16_t> Sine(int frames, int channels, double cyclesPerFrame, double amplitude)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        const auto s = int16_t(std::lrint(amplitude * std::sin(2.0 * M_PI * cyclesPerFrame * i)));
        for (int c = 0; c < channels; ++c)
            samples.push_back(s);
    }
    return samples;
}

inline std::vector<uint8_t> MakeWave(const std::vector<int16_t>& samples, int channels, uint32_t rate)
{
    std::vector<uint8_t> data;
    for (int16_t s : samples)
        PutLe(data, uint16_t(s), 2);
    std::vector<uint8_t> body{'W', 'A', 'V', 'E'};
    PutChunk(body, "fmt ", FmtBody(1, channels, rate, 16), 16);
    PutChunk(body, "data", data, uint32_t(data.size()));
    std::vector<uint8_t> file;
    PutChunk(file, "RIFF", body, uint32_t(body.size()));
    return file;
}

// Root mean square of both channels, full scale 32768 = 1.0.
inline double Rms(const std::vector<int16_t>& samples, size_t first = 0)
{
    double sum = 0.0;
    size_t n = 0;
    for (size_t i = first; i < samples.size(); ++i, ++n)
        sum += double(samples[i]) * samples[i];
    return n ? std::sqrt(sum / double(n)) / 32768.0 : 0.0;
}

inline std::vector<int16_t> Render(Plat::NullAudioDevice& device, int frames)
{
    std::vector<int16_t> out(size_t(frames) * Plat::kAudioChannels);
    device.Render(out.data(), frames);
    return out;
}

// A fresh folder per test, made the working directory so relative sound names resolve in it.
class ScratchDir {
public:
    ScratchDir()
        : m_previous(fs::current_path())
    {
        m_path = fs::temp_directory_path() / ("qv-sound-" + std::to_string(::getpid()) + "-" + std::to_string(s_count++));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
        fs::current_path(m_path);
    }
    ~ScratchDir()
    {
        fs::current_path(m_previous);
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& Path() const { return m_path; }

private:
    static inline int s_count = 0;
    fs::path m_previous;
    fs::path m_path;
};

} // namespace SoundTest
