// qvcontentcheck DIR: decodes the generated sounds and music the way the game does (Tremor for
// Ogg Vorbis) and fails the build when a sound reaches full scale or runs long, or when a music
// track is out of its length range or would jump audibly where it loops.
#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Decoded {
    int channels = 0;
    long rate = 0;
    std::vector<int16_t> samples;
};

bool DecodeOgg(const std::string& path, Decoded& out, std::string& error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot open";
        return false;
    }
    OggVorbis_File vf;
    if (ov_open(f, &vf, nullptr, 0) != 0) {
        std::fclose(f);
        error = "not an Ogg Vorbis stream";
        return false;
    }
    const vorbis_info* info = ov_info(&vf, -1);
    out.channels = info->channels;
    out.rate = info->rate;
    char buffer[8192];
    int section = 0;
    for (;;) {
        const long n = ov_read(&vf, buffer, sizeof buffer, &section);
        if (n < 0) {
            ov_clear(&vf);
            error = "decoding error " + std::to_string(n);
            return false;
        }
        if (n == 0)
            break;
        const size_t old = out.samples.size();
        out.samples.resize(old + n / 2);
        std::memcpy(out.samples.data() + old, buffer, size_t(n / 2) * 2);
    }
    ov_clear(&vf); // also closes the file
    return true;
}

bool ReadWav(const std::string& path, Decoded& out, std::string& error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot open";
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    auto u32 = [&](size_t at) { return uint32_t(bytes[at]) | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24; };
    if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "not a RIFF WAVE file";
        return false;
    }
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t len = u32(at + 4);
        if (at + 8 + len > bytes.size()) {
            error = "chunk runs past the end";
            return false;
        }
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && len >= 16) {
            out.channels = bytes[at + 10] | bytes[at + 11] << 8;
            out.rate = long(u32(at + 12));
            if ((bytes[at + 22] | bytes[at + 23] << 8) != 16) {
                error = "not 16-bit PCM";
                return false;
            }
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            out.samples.resize(len / 2);
            std::memcpy(out.samples.data(), bytes.data() + at + 8, out.samples.size() * 2);
        }
        at += 8 + len + (len & 1);
    }
    if (out.channels <= 0 || out.rate <= 0) {
        error = "no format chunk";
        return false;
    }
    return true;
}

int Peak(const Decoded& d)
{
    int peak = 0;
    for (int16_t s : d.samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

// The step between neighbouring frames of one channel that `fraction` of the steps within
// [from, to) stay below.
int StepPercentile(const Decoded& d, size_t from, size_t to, int channel, double fraction)
{
    std::vector<int> steps;
    for (size_t i = from + 1; i < to; ++i)
        steps.push_back(std::abs(d.samples[i * d.channels + channel] - d.samples[(i - 1) * d.channels + channel]));
    if (steps.empty())
        return 0;
    const size_t k = std::min(steps.size() - 1, size_t(fraction * double(steps.size())));
    std::nth_element(steps.begin(), steps.begin() + long(k), steps.end());
    return steps[k];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qvcontentcheck <gamedata folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    int failures = 0;
    auto fail = [&](const std::string& file, const std::string& why) {
        std::fprintf(stderr, "qvcontentcheck: %s: %s\n", file.c_str(), why.c_str());
        ++failures;
    };
    // Full scale is where Tremor would have clipped; the sounds are made to stay well below.
    constexpr int kClip = 32767;
    int sounds = 0;
    for (const auto& entry : fs::directory_iterator(root + "/sounds")) {
        const std::string path = entry.path().string(), ext = entry.path().extension().string();
        Decoded d;
        std::string error;
        if (!(ext == ".ogg" ? DecodeOgg(path, d, error) : ReadWav(path, d, error))) {
            fail(path, error);
            continue;
        }
        ++sounds;
        const double seconds = double(d.samples.size() / d.channels) / d.rate;
        if (seconds <= 0 || seconds > 1.0)
            fail(path, "lasts " + std::to_string(seconds) + " s; effects must be short");
        if (Peak(d) >= kClip)
            fail(path, "reaches full scale");
    }
    if (sounds != 14)
        fail(root + "/sounds", "holds " + std::to_string(sounds) + " sounds instead of 14");
    for (int track = 1; track <= 3; ++track) {
        const std::string path = root + "/music/music" + std::to_string(track) + ".ogg";
        Decoded d;
        std::string error;
        if (!DecodeOgg(path, d, error)) {
            fail(path, error);
            continue;
        }
        const size_t frames = d.samples.size() / d.channels;
        const double seconds = double(frames) / d.rate;
        if (seconds < 40 || seconds > 90)
            fail(path, "lasts " + std::to_string(seconds) + " s, outside 40..90");
        if (Peak(d) >= kClip)
            fail(path, "reaches full scale");
        if (frames < 8192)
            continue;
        const int before = failures;
        for (int ch = 0; ch < d.channels; ++ch) {
            // Looping joins the last frame to the first; that step must look like the steps of
            // the music around it, not like a click. Steps on both sides of the joint are
            // ranked, and the joint may not stand out above nearly all of them.
            const int joint = std::abs(d.samples[ch] - d.samples[(frames - 1) * d.channels + ch]);
            const int usual = std::max(StepPercentile(d, frames - 4096, frames, ch, 0.995),
                                       StepPercentile(d, 0, 4096, ch, 0.995));
            if (std::getenv("QV_CHECK_VERBOSE"))
                std::printf("  %s channel %d: joint %d, usual %d\n", path.c_str(), ch, joint, usual);
            if (joint > usual * 3 / 2 + 32)
                fail(path, "jumps by " + std::to_string(joint) + " at the loop point where steps are usually below " +
                               std::to_string(usual));
        }
        if (failures == before)
            std::printf("qvcontentcheck: %s: %.1f s, %d channels, peak %d, loops cleanly\n", path.c_str(), seconds,
                        d.channels, Peak(d));
    }
    return failures ? 1 : 0;
}
