// Produces the data tree: pictures, image fonts, sounds, music and the manifest, using both cores.
#include "Generator.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "Art.h"
#include "Audio.h"
#include "Fonts.h"

namespace fs = std::filesystem;

namespace Content {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (ec) {
        error = "cannot create the folder of " + path + ": " + ec.message();
        return false;
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool RunJobs(size_t count, bool (*job)(size_t, void*, std::string&), void* context, std::string& error)
{
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex lock;
    auto worker = [&]() {
        for (size_t i = next++; i < count && !failed; i = next++) {
            std::string message;
            if (!job(i, context, message)) {
                std::lock_guard<std::mutex> guard(lock);
                if (!failed.exchange(true))
                    error = message;
            }
        }
    };
    std::thread second(worker);
    worker();
    second.join();
    return !failed;
}

namespace {

struct Context {
    std::string root;
};

enum class Kind { Image, Font, Sound, Music };

struct Job {
    Kind kind;
    size_t index;
};

std::vector<Job> AllJobs()
{
    std::vector<Job> jobs;
    // The slowest first, so the two threads finish together.
    for (size_t i = 0; i < MusicTable().size(); ++i)
        jobs.push_back({Kind::Music, i});
    for (size_t i = 0; i < FontTable().size(); ++i)
        jobs.push_back({Kind::Font, i});
    for (size_t i = 0; i < ImageTable().size(); ++i)
        jobs.push_back({Kind::Image, i});
    for (size_t i = 0; i < SoundTable().size(); ++i)
        jobs.push_back({Kind::Sound, i});
    return jobs;
}

bool RunOne(size_t index, void* context, std::string& error)
{
    const std::string& root = static_cast<Context*>(context)->root;
    static const std::vector<Job> jobs = AllJobs();
    const Job& job = jobs[index];
    switch (job.kind) {
    case Kind::Image: {
        const ImageDef& def = ImageTable()[job.index];
        Canvas canvas(def.Width(), def.Height());
        def.paint(canvas, def);
        return WritePng(root + "/" + def.file + ".png", canvas.Width(), canvas.Height(), canvas.Rgba(), error);
    }
    case Kind::Font: {
        const FontDef& def = FontTable()[job.index];
        BuiltFont font;
        if (!BuildFont(def, font, error))
            return false;
        const std::string description = FontDescription(font);
        const std::string folder = root + "/" + fs::path(def.file).parent_path().string();
        return WriteFile(root + "/" + def.file, std::vector<uint8_t>(description.begin(), description.end()), error) &&
               WritePng(folder + "/" + def.image, font.atlasWidth, font.atlasHeight, FontAtlasRgba(font), error);
    }
    case Kind::Sound: {
        const SoundDef& def = SoundTable()[job.index];
        const Audio audio = def.make();
        if (!def.vorbis)
            return WriteFile(root + "/" + def.file + ".wav", EncodeWav(audio), error);
        std::vector<uint8_t> ogg;
        return EncodeVorbis(audio, 0.5f, 0x51560000u + uint32_t(job.index), ogg, error) &&
               WriteFile(root + "/" + def.file + ".ogg", ogg, error);
    }
    case Kind::Music: {
        const MusicDef& def = MusicTable()[job.index];
        std::vector<uint8_t> ogg;
        return EncodeVorbis(def.make(), 0.3f, 0x51564D00u + uint32_t(job.index), ogg, error) &&
               WriteFile(root + "/" + def.file, ogg, error);
    }
    }
    return false;
}

} // namespace

bool GenerateAll(const std::string& root, std::string& error)
{
    Context context{root};
    if (!RunJobs(AllJobs().size(), RunOne, &context, error))
        return false;
    const std::string manifest = ManifestXml();
    return WriteFile(root + "/properties/resources.xml", std::vector<uint8_t>(manifest.begin(), manifest.end()),
                     error);
}

bool StampTimes(const std::string& root, std::string& error)
{
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        uint64_t hash = 1469598103934665603ull;
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            for (std::streamsize i = 0; i < in.gcount(); ++i)
                hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
        }
        // Within the year from 1 January 2026, to the second.
        const time_t when = time_t(1767225600) + time_t(hash % (365ull * 86400ull));
        struct timespec times[2] = {{when, 0}, {when, 0}};
        if (utimensat(AT_FDCWD, it->path().c_str(), times, 0) != 0) {
            error = "cannot set the time of " + it->path().string();
            return false;
        }
    }
    if (ec) {
        error = "cannot walk " + root + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace Content
