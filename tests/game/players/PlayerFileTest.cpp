// The player file's byte layout: every field at its offset, little-endian, padding zero, and a
// file that decodes to exactly what was encoded.
#include "game/players/PlayerFile.h"

#include "game/players/Players.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using namespace Vel;

// Every field holds a value unlike its neighbours' and unlike the reset values, so a field
// written at the wrong offset or width shows up in the golden table.
std::unique_ptr<Players> DistinctStore()
{
    auto players = std::make_unique<Players>();
    players->currentPlayer = 3;
    PlayerProfile& p = players->players[2];
    SetName(p, "Ada");
    p.birthDay = 17;
    p.birthMonth = 4;
    p.birthYear = 1988;
    p.created = {5, 6, 7, 8, 9, 110, 2, 300, -1};
    p.datesSet = 1;
    p.lastPlayed = {59, 58, 23, 31, 11, 126, 6, 365, 1};
    for (int t = 0; t < kTestIdCount; ++t)
        p.testAccess[size_t(t)] = {t % 4, uint8_t(t % 2)};
    p.testAccess[kDailyExamId].category = 0x01020304;
    p.empty = 0;
    p.sfxVolume = 0.25;
    p.musicVolume = 0.5;
    p.fullscreen = 0;
    p.voice = 1;
    p.state = 46;
    p.stamps = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
    p.history[0] = {5, 9, 11, 126, 12, 3, 77};
    p.history[kHistoryCapacity - 1] = {16, 1, 0, 127, 40, 2, 95};
    p.historyCount = 0x00010203;
    return players;
}

int64_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, int width)
{
    uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= uint64_t(bytes[at + size_t(i)]) << (8 * i);
    return int64_t(value);
}

TEST(PlayerFileTest, FieldsSitAtTheirOffsets)
{
    const std::vector<uint8_t> bytes = EncodePlayerFile(*DistinctStore());
    ASSERT_EQ(bytes.size(), 5'377'832u);

    const size_t slot2 = 8 + 2 * 896'304;
    const struct {
        const char* field;
        size_t at;
        int width;
        int64_t value;
    } golden[] = {
        {"currentPlayer", 0, 4, 3},
        {"name", slot2 + 0, 4, 'A' | 'd' << 8 | 'a' << 16},
        {"birthDay", slot2 + 32, 4, 17},
        {"birthMonth", slot2 + 36, 4, 4},
        {"birthYear", slot2 + 40, 4, 1988},
        {"created.seconds", slot2 + 44, 4, 5},
        {"created.hours", slot2 + 52, 4, 7},
        {"created.years", slot2 + 64, 4, 110},
        {"created.dayOfYear", slot2 + 72, 4, 300},
        {"created.daylightSaving", slot2 + 76, 4, 0xFFFFFFFF},
        {"datesSet", slot2 + 80, 1, 1},
        {"lastPlayed.seconds", slot2 + 84, 4, 59},
        {"lastPlayed.month", slot2 + 100, 4, 11},
        {"lastPlayed.daylightSaving", slot2 + 116, 4, 1},
        {"testAccess[1].category", slot2 + 128, 4, 1},
        {"testAccess[1].locked", slot2 + 132, 1, 1},
        {"testAccess[15].category", slot2 + 240, 4, 3},
        {"testAccess[16].category", slot2 + 248, 4, 0x01020304},
        {"testAccess[16].locked", slot2 + 252, 1, 0},
        {"empty", slot2 + 256, 1, 0},
        {"sfxVolume", slot2 + 264, 8, 0x3FD0000000000000}, // 0.25 in IEEE 754 binary64
        {"musicVolume", slot2 + 272, 8, 0x3FE0000000000000},
        {"fullscreen", slot2 + 280, 1, 0},
        {"voice", slot2 + 281, 1, 1},
        {"state", slot2 + 284, 4, 46},
        {"stamps[0]", slot2 + 288, 1, 1},
        {"stamps[9]", slot2 + 297, 1, 1},
        {"history[0].testId", slot2 + 300, 4, 5},
        {"history[0].grade", slot2 + 324, 4, 77},
        {"history[31999].testId", slot2 + 896'272, 4, 16},
        {"history[31999].year", slot2 + 896'284, 4, 127},
        {"history[31999].grade", slot2 + 896'296, 4, 95},
        {"historyCount", slot2 + 896'300, 4, 0x00010203},
        {"next slot's name", slot2 + 896'304, 1, 0},
    };
    for (const auto& g : golden)
        EXPECT_EQ(LittleEndian(bytes, g.at, g.width), g.value) << g.field;

    // Padding bytes, all zero whatever the fields around them hold.
    const struct {
        size_t at;
        size_t size;
    } padding[] = {{4, 4}, {slot2 + 81, 3}, {slot2 + 133, 3}, {slot2 + 253, 3},
                   {slot2 + 257, 7}, {slot2 + 282, 2}, {slot2 + 298, 2}};
    for (const auto& pad : padding)
        for (size_t i = 0; i < pad.size; ++i)
            EXPECT_EQ(bytes[pad.at + i], 0) << "padding byte at " << pad.at + i;
}

TEST(PlayerFileTest, DecodesWhatWasEncoded)
{
    auto original = DistinctStore();
    original->players[2].historyCount = 1;  // in range, so the file is accepted
    original->players[2].name[20] = 'x'; // bytes after the terminator survive as well
    const std::vector<uint8_t> bytes = EncodePlayerFile(*original);

    auto decoded = std::make_unique<Players>();
    std::string problem;
    ASSERT_TRUE(DecodePlayerFile(bytes.data(), bytes.size(), *decoded, problem)) << problem;
    EXPECT_EQ(decoded->currentPlayer, original->currentPlayer);
    for (int slot = 0; slot < kPlayerSlots; ++slot)
        EXPECT_TRUE(decoded->players[size_t(slot)] == original->players[size_t(slot)]) << "slot " << slot;
    EXPECT_EQ(EncodePlayerFile(*decoded), bytes);

    // Read in pieces, as from the file, the same bytes give the same players; a file that ends
    // early is damage, not a half-read store taken as good.
    for (const size_t available : {bytes.size(), bytes.size() - 1, size_t(8)}) {
        size_t at = 0;
        const auto piece = [&](uint8_t* out, size_t n) {
            if (at + n > available) return false;
            std::copy(bytes.begin() + long(at), bytes.begin() + long(at + n), out);
            at += n;
            return true;
        };
        auto pieced = std::make_unique<Players>();
        problem.clear();
        const bool whole = available == bytes.size();
        EXPECT_EQ(DecodePlayerFile(piece, *pieced, problem), whole) << available;
        if (whole)
            EXPECT_EQ(EncodePlayerFile(*pieced), bytes);
        else
            EXPECT_EQ(problem, "the file could not be read whole");
    }
}

} // namespace
