// Reading the game's data through the archive layer: every member of main.pak opened, read whole
// and closed, one small text member, and a data text read line by line, each beside a plain
// read of the same bytes from the loose files the archive was packed from.
#include "bench/BenchData.h"

#include "framework/archive/PakInterface.h"

namespace {

namespace fs = std::filesystem;
using QvBench::PlainRead;

struct Member {
    std::string name; // as the game asks for it, '/' separators
    fs::path loose;
    uint32_t size = 0;
};

// This build's main.pak, registered once, with each member paired with its loose file. Empty
// with `error` set when the archive is missing or does not hold what gamedata holds.
struct Archive {
    std::vector<Member> members;
    uint64_t bytes = 0;
    std::string error;
};

const Archive& TheArchive()
{
    static const Archive archive = [] {
        Archive a;
        Vel::PakInterface& pak = Vel::PakInterface::Instance();
        const fs::path file = QvBench::BuildDir() / "main.pak";
        if (!pak.RegisterArchive(file.string())) {
            a.error = "cannot open " + file.string() + ": build the gamedata target first";
            return a;
        }
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(QvBench::GameData(), ec)) {
            if (!entry.is_regular_file())
                continue;
            Member m{fs::relative(entry.path(), QvBench::GameData()).generic_string(), entry.path(), 0};
            const Vel::ArchiveEntry* member = pak.FindEntry(m.name);
            if (!member || member->m_size != entry.file_size()) {
                a.error = m.name + " is not in main.pak as it is in gamedata: rebuild the gamedata target";
                a.members.clear();
                return a;
            }
            m.size = member->m_size;
            a.bytes += m.size;
            a.members.push_back(std::move(m));
        }
        // The registry also holds the archive itself under its own name.
        if (a.members.empty() || a.members.size() + 1 != pak.EntryCount()) {
            a.error = "main.pak and gamedata hold different files: rebuild the gamedata target";
            a.members.clear();
        }
        return a;
    }();
    return archive;
}

const Member* FindMember(const std::string& name)
{
    for (const Member& m : TheArchive().members)
        if (m.name == name)
            return &m;
    return nullptr;
}

// The smallest text member: the cost of opening a file more than of reading it.
const Member* SmallestText()
{
    const Member* best = nullptr;
    for (const Member& m : TheArchive().members)
        if (m.loose.extension() == ".txt" && m.size > 0 && (!best || m.size < best->size))
            best = &m;
    return best;
}

bool Ready(benchmark::State& state)
{
    if (!TheArchive().error.empty()) {
        state.SkipWithError(TheArchive().error.c_str());
        return false;
    }
    return true;
}

// SmallestText, or the benchmark skipped with `error` when there is none.
const Member* SmallestTextOrSkip(benchmark::State& state, const char* error)
{
    if (!Ready(state))
        return nullptr;
    const Member* m = SmallestText();
    if (!m)
        state.SkipWithError(error);
    return m;
}

void BM_ReadAllMembers(benchmark::State& state)
{
    if (!Ready(state))
        return;
    const Archive& archive = TheArchive();
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        for (const Member& m : archive.members) {
            if (!Vel::PakReadWholeFile(m.name, bytes) || bytes.size() != m.size) {
                state.SkipWithError(("cannot read member " + m.name).c_str());
                return;
            }
            benchmark::DoNotOptimize(bytes.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations() * archive.members.size()));
    state.SetBytesProcessed(int64_t(state.iterations() * archive.bytes));
    state.SetLabel(std::to_string(archive.members.size()) + " members, " + std::to_string(archive.bytes) +
                   " bytes");
}
BENCHMARK(BM_ReadAllMembers)->Unit(benchmark::kMillisecond);

void BM_PlainReadAllLooseFiles(benchmark::State& state)
{
    if (!Ready(state))
        return;
    const Archive& archive = TheArchive();
    for (auto _ : state) {
        for (const Member& m : archive.members) {
            const std::vector<uint8_t> bytes = PlainRead(m.loose);
            if (bytes.size() != m.size) {
                state.SkipWithError(("cannot read " + m.loose.string()).c_str());
                return;
            }
            benchmark::DoNotOptimize(bytes.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations() * archive.members.size()));
    state.SetBytesProcessed(int64_t(state.iterations() * archive.bytes));
}
BENCHMARK(BM_PlainReadAllLooseFiles)->Unit(benchmark::kMillisecond);

void BM_ReadSmallMember(benchmark::State& state)
{
    const Member* m = SmallestTextOrSkip(state, "no text member in main.pak");
    if (!m)
        return;
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        if (!Vel::PakReadWholeFile(m->name, bytes) || bytes.size() != m->size) {
            state.SkipWithError(("cannot read member " + m->name).c_str());
            return;
        }
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(m->name + " " + std::to_string(m->size) + " bytes");
}
BENCHMARK(BM_ReadSmallMember)->Unit(benchmark::kMicrosecond);

void BM_PlainReadSmallLooseFile(benchmark::State& state)
{
    const Member* m = SmallestTextOrSkip(state, "no text file in gamedata");
    if (!m)
        return;
    QvBench::PlainReadBenchmark(state, m->loose);
    state.SetLabel(m->name);
}
BENCHMARK(BM_PlainReadSmallLooseFile)->Unit(benchmark::kMicrosecond);

// Line by line as the data readers go, with their 512-byte buffer.
constexpr int kLineBuffer = 512;

void BM_GetLineMember(benchmark::State& state, const char* name)
{
    if (!Ready(state))
        return;
    const Member* m = FindMember(name);
    if (!m) {
        state.SkipWithError((std::string(name) + " is not in main.pak").c_str());
        return;
    }
    char buffer[kLineBuffer];
    int lines = 0;
    for (auto _ : state) {
        PakStream* stream = PakOpen(m->name.c_str(), "r");
        if (!stream) {
            state.SkipWithError(("cannot open member " + m->name).c_str());
            return;
        }
        lines = 0;
        while (PakGets(buffer, kLineBuffer, stream)) {
            benchmark::DoNotOptimize(buffer[0]);
            ++lines;
        }
        PakClose(stream);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * m->size));
    state.SetLabel(std::to_string(lines) + " lines, " + std::to_string(m->size) + " bytes");
}
BENCHMARK_CAPTURE(BM_GetLineMember, resource_txt, "data/resource.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_GetLineMember, dictionary_txt, "data/dictionary.txt")->Unit(benchmark::kMicrosecond);

// The C library's line reader over the loose file: what the layer's own reader stands beside.
void BM_FgetsLooseFile(benchmark::State& state, const char* name)
{
    if (!Ready(state))
        return;
    const Member* m = FindMember(name);
    if (!m) {
        state.SkipWithError((std::string(name) + " is not in gamedata").c_str());
        return;
    }
    char buffer[kLineBuffer];
    for (auto _ : state) {
        FILE* f = std::fopen(m->loose.c_str(), "r");
        if (!f) {
            state.SkipWithError(("cannot open " + m->loose.string()).c_str());
            return;
        }
        while (std::fgets(buffer, kLineBuffer, f))
            benchmark::DoNotOptimize(buffer[0]);
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * m->size));
}
BENCHMARK_CAPTURE(BM_FgetsLooseFile, resource_txt, "data/resource.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FgetsLooseFile, dictionary_txt, "data/dictionary.txt")->Unit(benchmark::kMicrosecond);

void BM_PlainReadLooseText(benchmark::State& state, const char* name)
{
    if (!Ready(state))
        return;
    QvBench::PlainReadBenchmark(state, QvBench::GameData() / name);
}
BENCHMARK_CAPTURE(BM_PlainReadLooseText, resource_txt, "data/resource.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlainReadLooseText, dictionary_txt, "data/dictionary.txt")->Unit(benchmark::kMicrosecond);

} // namespace
