// Saves the player file the way the game does, for run.sh to kill or fail at chosen system
// calls, and checks afterwards that what is on disk is a complete file of a known generation.
//
//   crash_save prepare GEN    two saves, GEN - 1 then GEN, so both the file and its backup exist
//   crash_save save GEN       load, save generation GEN; after a failed save check the old file
//                             is untouched and save again
//   crash_save loop           load, then save the following generations until killed (20 s at most)
//   crash_save check [A B]    the file (and backup) must each be a whole generation, the file
//                             one of A and B when given; prints the file's generation
//
// The data folder comes from QUORVANE_HOME. Exit codes: 0 good, 1 torn or unexpected file,
// 2 usage, 3 the load did not find a good file, 4 a failed save touched the old file, 5 the
// retry after a failed save failed too.
#include "game/players/PlayerFile.h"
#include "game/players/Players.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using namespace Vel;

BrokenDownTime FixedNow() { return MakeLocalTime(2026, 11, 10, 9, 30, 0); }

// Every generation changes bytes all over the file, so a file mixing two generations, or cut
// short, never passes for either.
void MakeGeneration(Players& players, int generation)
{
    players.currentPlayer = 0;
    for (int slot = 0; slot < kPlayerSlots; ++slot)
        ResetProfile(players, slot, "");
    for (int slot = 0; slot < 2; ++slot) {
        PlayerProfile& p = players.players[size_t(slot)];
        SetName(p, slot == 0 ? "Crash" : "Test");
        p.empty = 0;
        p.historyCount = kHistoryCountLimit;
        for (int i = 0; i < kHistoryCapacity; ++i) {
            ResultRecord& r = p.history[size_t(i)];
            r.testId = (generation + i) % kTestIdCount;
            r.day = 1 + (generation + i) % 28;
            r.month = (generation / 7 + i) % 12;
            r.year = 126;
            r.correct = generation; // the marker check() reads
            r.mistakes = i;
            r.grade = (generation * 7 + i) % 101;
        }
    }
}

std::vector<uint8_t> EncodedGeneration(int generation)
{
    auto players = std::make_unique<Players>();
    MakeGeneration(*players, generation);
    CurrentProfile(*players).lastPlayed = FixedNow(); // what a save stamps
    return EncodePlayerFile(*players);
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

// The generation a file holds when it is exactly that generation's file, otherwise -1.
int GenerationOf(const std::vector<uint8_t>& bytes)
{
    auto players = std::make_unique<Players>();
    std::string problem;
    if (!DecodePlayerFile(bytes.data(), bytes.size(), *players, problem))
        return -1;
    const int generation = players->players[0].history[0].correct;
    return EncodedGeneration(generation) == bytes ? generation : -1;
}

int Check(int argc, char** argv)
{
    std::vector<uint8_t> bytes;
    if (!ReadFile(PlayerFilePath(), bytes)) {
        std::printf("missing %s\n", PlayerFilePath().c_str());
        return 1;
    }
    const int generation = GenerationOf(bytes);
    if (generation < 0) {
        std::printf("torn file of %zu bytes\n", bytes.size());
        return 1;
    }
    if (argc == 4 && generation != std::atoi(argv[2]) && generation != std::atoi(argv[3])) {
        std::printf("generation %d, expected %s or %s\n", generation, argv[2], argv[3]);
        return 1;
    }
    std::vector<uint8_t> backup;
    if (ReadFile(PlayerBackupPath(), backup)) {
        const int backupGeneration = GenerationOf(backup);
        if (backupGeneration < 0 || backupGeneration > generation) {
            std::printf("backup torn or newer than the file (%d, file %d)\n", backupGeneration, generation);
            return 1;
        }
    }
    std::printf("%d\n", generation);
    return 0;
}

int Save(Players& players, int generation, const std::vector<uint8_t>& before)
{
    MakeGeneration(players, generation);
    const SaveResult first = SavePreferences(players);
    if (first.playerFileWritten)
        return 0;
    std::vector<uint8_t> now;
    if (!ReadFile(PlayerFilePath(), now) || now != before)
        return 4;
    return SavePreferences(players).playerFileWritten ? 0 : 5;
}

} // namespace

int main(int argc, char** argv)
{
    SetLocalTimeSource(&FixedNow);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "check")
        return Check(argc, argv);

    auto players = std::make_unique<Players>();
    if (mode == "prepare" && argc == 3) {
        const int generation = std::atoi(argv[2]);
        MakeGeneration(*players, generation - 1);
        if (!SavePreferences(*players).ok)
            return 5;
        MakeGeneration(*players, generation);
        return SavePreferences(*players).ok ? 0 : 5;
    }

    std::vector<uint8_t> before;
    ReadFile(PlayerFilePath(), before);
    if (LoadPreferences(*players).kind != LoadOutcome::Kind::Loaded)
        return 3;
    const int loaded = players->players[0].history[0].correct;
    if (mode == "save" && argc == 3)
        return Save(*players, std::atoi(argv[2]), before);
    if (mode == "loop") {
        // Bounded, so a run.sh that is itself killed leaves nothing saving forever.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (int generation = loaded + 1; std::chrono::steady_clock::now() < end; ++generation) {
            MakeGeneration(*players, generation);
            SavePreferences(*players);
        }
        return 0;
    }
    std::fprintf(stderr, "usage: crash_save prepare GEN | save GEN | loop | check [A B]\n");
    return 2;
}
