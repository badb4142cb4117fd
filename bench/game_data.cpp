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

void BM_DecodeLargest(benchmark::State& state, const char* extension)
{
    const fs::path path = EnterGameData() ? LargestImage(extension) : fs::path();
    if (path.empty()) {
        state.SkipWithError("no such image in the game data");
        return;
    }
    const std::vector<uint8_t> bytes = PlainRead(path);
    for (auto _ : state) {
        auto image = std::string(extension) == ".png" ? Vel::DecodePng(bytes.data(), bytes.size())
                                                      : Vel::DecodeJpeg(bytes.data(), bytes.size());
        if (!image) {
            state.SkipWithError(("cannot decode " + path.string()).c_str());
            return;
        }
        benchmark::DoNotOptimize(image->bits.data());
    }
    state.SetLabel(path.filename().string() + " " + std::to_string(bytes.size()) + " bytes");
}
BENCHMARK_CAPTURE(BM_DecodeLargest, png, ".png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeLargest, jpeg, ".jpg")->Unit(benchmark::kMillisecond);

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
