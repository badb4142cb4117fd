// Loading the game's data: the largest image, the text table, the dictionary and its look-ups,
// and saving and loading the player file, each beside a plain read or write of the same bytes.
#include "bench/BenchData.h"

#include "framework/graphics/ImageLoader.h"
#include "game/players/PlayerFile.h"
#include "game/players/Players.h"
#include "game/text/Dictionary.h"
#include "game/text/TextTable.h"
#include "platform/Files.h"

#include <fcntl.h>
#include <memory>
// After <cstdio>: the JPEG library needs FILE.
#include <jpeglib.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using QvBench::EnterGameData;
using QvBench::PlainRead;
using QvBench::PlainReadBenchmark;

// The largest file of one kind in the built images: the worst case the loader meets.
fs::path LargestImage(const std::string& extension)
{
    fs::path best;
    uintmax_t bestSize = 0;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(QvBench::GameData() / "images", ec)) {
        if (entry.is_regular_file() && entry.path().extension() == extension && entry.file_size() > bestSize) {
            best = entry.path();
            bestSize = entry.file_size();
        }
    }
    return best;
}

// The game ships no JPEG, so the JPEG reader is measured on the largest PNG's picture encoded
// at quality 90: the PNG reader on the same picture is its yardstick.
std::vector<uint8_t> EncodeJpeg(const Vel::ImageData& image, int quality)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = JDIMENSION(image.width);
    cinfo.image_height = JDIMENSION(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(image.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t* src = image.bits.data() + size_t(cinfo.next_scanline) * image.width;
        for (int x = 0; x < image.width; ++x) {
            row[size_t(x) * 3] = uint8_t(src[x] >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(src[x] >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(src[x]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + outSize);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

void BM_DecodeLargest(benchmark::State& state, bool asJpeg)
{
    const fs::path path = EnterGameData() ? LargestImage(".png") : fs::path();
    if (path.empty()) {
        state.SkipWithError("no PNG in the game data");
        return;
    }
    std::vector<uint8_t> bytes = PlainRead(path);
    std::string label = path.filename().string();
    int width = 0, height = 0; // of the picture the JPEG must give back
    if (asJpeg) {
        const auto picture = Vel::DecodePng(bytes.data(), bytes.size());
        if (!picture) {
            state.SkipWithError(("cannot decode " + path.string()).c_str());
            return;
        }
        width = picture->width;
        height = picture->height;
        bytes = EncodeJpeg(*picture, 90);
        label = path.stem().string() + " as JPEG q90,";
    }
    for (auto _ : state) {
        auto image = asJpeg ? Vel::DecodeJpeg(bytes.data(), bytes.size())
                            : Vel::DecodePng(bytes.data(), bytes.size());
        if (!image || (asJpeg && (image->width != width || image->height != height))) {
            state.SkipWithError(("cannot decode " + label).c_str());
            return;
        }
        benchmark::DoNotOptimize(image->bits.data());
    }
    state.SetLabel(label + " " + std::to_string(bytes.size()) + " bytes");
}
BENCHMARK_CAPTURE(BM_DecodeLargest, png, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeLargest, jpeg, true)->Unit(benchmark::kMillisecond);

// The whole path the game takes: open through the archive layer, read, decode.
void BM_LoadLargestPngFile(benchmark::State& state)
{
    const fs::path path = EnterGameData() ? LargestImage(".png") : fs::path();
    if (path.empty()) {
        state.SkipWithError("no PNG in the game data");
        return;
    }
    const std::string relative = fs::relative(path, QvBench::GameData()).string();
    for (auto _ : state) {
        auto image = Vel::LoadImageFile(relative);
        if (!image) {
            state.SkipWithError("cannot load the image");
            return;
        }
        benchmark::DoNotOptimize(image->bits.data());
    }
}
BENCHMARK(BM_LoadLargestPngFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainReadBenchmark, largest_png, LargestImage(".png"))->Unit(benchmark::kMillisecond);

void BM_LoadTextTable(benchmark::State& state)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    auto table = std::make_unique<Vel::TextTable>();
    for (auto _ : state) {
        const Vel::DataLoadResult result = Vel::LoadTextTable(*table, "data/resource.txt");
        if (!result.ok || table->count == 0) {
            state.SkipWithError(("text table: " + result.error).c_str());
            return;
        }
    }
    state.SetLabel(std::to_string(table->count) + " entries");
}
BENCHMARK(BM_LoadTextTable)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlainReadBenchmark, resource_txt, QvBench::GameData() / "data/resource.txt")
    ->Unit(benchmark::kMicrosecond);

void BM_LoadDictionary(benchmark::State& state)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    int count = 0;
    for (auto _ : state) {
        Vel::Dictionary dictionary;
        const Vel::DataLoadResult result = Vel::LoadDictionary(dictionary, "data/dictionary.txt");
        if (!result.ok || dictionary.count == 0) {
            state.SkipWithError(("dictionary: " + result.error).c_str());
            return;
        }
        count = dictionary.count;
    }
    state.SetLabel(std::to_string(count) + " words");
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainReadBenchmark, dictionary_txt, QvBench::GameData() / "data/dictionary.txt")
    ->Unit(benchmark::kMillisecond);

// Half of the probes are words of the list, half the same words with one letter changed, the
// mix a player's typing gives.
void BM_DictionaryLookup(benchmark::State& state)
{
    Vel::Dictionary dictionary;
    if (!EnterGameData() || !Vel::LoadDictionary(dictionary, "data/dictionary.txt").ok || dictionary.count == 0) {
        state.SkipWithError("dictionary not loaded");
        return;
    }
    std::vector<std::string> probes;
    for (int i = 0; i < 1024; ++i) {
        std::string word(Vel::WordAt(dictionary, int((uint64_t(i) * 2654435761u) % uint64_t(dictionary.count))));
        if (i % 2 && !word.empty())
            word.back() = word.back() == 'q' ? 'x' : 'q';
        probes.push_back(word);
    }
    size_t i = 0;
    int found = 0;
    for (auto _ : state) {
        found += Vel::IsWord(dictionary, probes[i++ & 1023]);
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_DictionaryLookup);

std::unique_ptr<Vel::Players> SomePlayers()
{
    auto players = std::make_unique<Vel::Players>();
    Vel::ResetProfile(*players, 0, "Bench");
    return players;
}

void BM_SavePlayerFile(benchmark::State& state)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    auto players = SomePlayers();
    for (auto _ : state) {
        const Vel::SaveResult result = Vel::SavePreferences(*players);
        if (!result.ok) {
            state.SkipWithError(("save: " + result.error).c_str());
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations() * Vel::kPlayerFileSize));
}
BENCHMARK(BM_SavePlayerFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The least any crash-safe save can do: write a temporary file, fsync it, rename it over.
void BM_BareWriteFsyncRename(benchmark::State& state)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    auto players = SomePlayers();
    const std::vector<uint8_t> bytes = Vel::EncodePlayerFile(*players);
    const std::string path = Vel::PlayerFilePath() + ".baseline";
    Plat::MakeDirs(fs::path(path).parent_path().string());
    for (auto _ : state) {
        const std::string temp = path + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) && ::fsync(fd) == 0;
        if (fd >= 0)
            ok = ::close(fd) == 0 && ok;
        if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
            state.SkipWithError("bare write failed");
            return;
        }
    }
    ::unlink(path.c_str());
    state.SetBytesProcessed(int64_t(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BareWriteFsyncRename)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadPlayerFile(benchmark::State& state)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    auto players = SomePlayers();
    if (!Vel::SavePreferences(*players).ok) {
        state.SkipWithError("cannot write a player file to load");
        return;
    }
    for (auto _ : state) {
        const Vel::LoadOutcome outcome = Vel::LoadPreferences(*players);
        if (outcome.kind != Vel::LoadOutcome::Kind::Loaded) {
            state.SkipWithError(("load: " + outcome.message).c_str());
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations() * Vel::kPlayerFileSize));
}
BENCHMARK(BM_LoadPlayerFile)->Unit(benchmark::kMillisecond);

void BM_PlainReadPlayerFile(benchmark::State& state)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    auto players = SomePlayers();
    Vel::SavePreferences(*players);
    PlainReadBenchmark(state, Vel::PlayerFilePath());
}
BENCHMARK(BM_PlainReadPlayerFile)->Unit(benchmark::kMillisecond);

} // namespace
