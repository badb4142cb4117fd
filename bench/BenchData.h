// Shared by the benchmark programs: where the built game data is, a plain read of a file as the
// yardstick for every load, and a private home folder so that nothing touches a real player's.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace QvBench {

inline std::filesystem::path BuildDir() { return QV_BUILD_DIR; }
inline std::filesystem::path GameData() { return BuildDir() / "gamedata"; }

// Runs the program inside the built data (as the game runs) with a throw-away home folder.
// False (with a message) when the data has not been built.
inline bool EnterGameData()
{
    static const bool entered = [] {
        std::error_code ec;
        if (!std::filesystem::is_directory(GameData() / "properties", ec)) {
            std::fprintf(stderr, "no game data in %s: build the gamedata target first\n", GameData().c_str());
            return false;
        }
        const std::filesystem::path home =
            std::filesystem::temp_directory_path() / ("qv-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(home / "home", ec);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            ::setenv(var, home.c_str(), 1);
        ::setenv("QUORVANE_HOME", (home / "home").c_str(), 1);
        std::filesystem::current_path(GameData(), ec);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(
                std::filesystem::temp_directory_path() / ("qv-bench-" + std::to_string(::getpid())), ignored);
        });
        return !ec;
    }();
    return entered;
}

// The yardstick for a load: the same bytes with one fopen and fread, no parsing.
inline std::vector<uint8_t> PlainRead(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        bytes.resize(size_t(size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

inline void PlainReadBenchmark(benchmark::State& state, const std::filesystem::path& path)
{
    if (!EnterGameData()) {
        state.SkipWithError("game data not built");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        std::vector<uint8_t> data = PlainRead(path);
        bytes = data.size();
        benchmark::DoNotOptimize(data.data());
    }
    if (bytes == 0)
        state.SkipWithError(("cannot read " + path.string()).c_str());
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
}

} // namespace QvBench
