// Bad player files: each checked field at its limit loads and one past it is refused naming the
// field, and every kind of damaged file is kept byte for byte while the backup takes over.
#include "game/players/PlayerFile.h"
#include "game/players/Players.h"
#include "tests/game/players/FixedClock.h"
#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <sys/stat.h>

namespace {

using namespace Vel;
namespace L = PlayerFileLayout;

const BrokenDownTime kNow = MakeLocalTime(2026, 11, 10, 9, 30, 0);

std::vector<uint8_t> GoodFile()
{
    FixedClock clock(kNow);
    auto players = std::make_unique<Players>();
    for (int slot = 0; slot < kPlayerSlots; ++slot)
        ResetProfile(*players, slot, "");
    ResetProfile(*players, 1, "Ada");
    players->players[1].empty = 0;
    players->players[1].history[0] = {2, 10, 11, 126, 12, 3, 80};
    players->players[1].historyCount = 1;
    return EncodePlayerFile(*players);
}

void PutI32(std::vector<uint8_t>& b, size_t at, int64_t value)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(uint64_t(value) >> (8 * i));
}

void PutF64(std::vector<uint8_t>& b, size_t at, double value) { std::memcpy(&b[at], &value, 8); }

// Slot 1 holds the player, so a check that only looked at slot 0 would miss these.
size_t Field(size_t offset) { return L::SlotOffset(1) + offset; }

TEST(BadFileTest, EachCheckedFieldLoadsAtItsLimitAndIsRefusedOnePast)
{
    enum Width { I32, U8, F64 };
    struct Case {
        const char* field; // also part of the refusal
        size_t at;
        Width width;
        double limit; // the last value that loads
        double past;  // the first that is refused
    };
    const size_t created = Field(L::kCreated);
    const size_t lastPlayed = Field(L::kLastPlayed);
    const size_t record = Field(L::kHistory);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"currentPlayer", L::kCurrentPlayer, I32, 5, 6},
        {"currentPlayer", L::kCurrentPlayer, I32, 0, -1},
        {"birthDay", Field(L::kBirthDay), I32, 31, 32},
        {"birthDay", Field(L::kBirthDay), I32, 1, 0},
        {"birthMonth", Field(L::kBirthMonth), I32, 11, 12},
        {"birthMonth", Field(L::kBirthMonth), I32, 0, -1},
        {"birthYear", Field(L::kBirthYear), I32, 9999, 10000},
        {"birthYear", Field(L::kBirthYear), I32, 0, -1},
        {"created: seconds", created + 0, I32, 60, 61},
        {"created: minutes", created + 4, I32, 59, 60},
        {"created: hours", created + 8, I32, 23, 24},
        {"created: day of month", created + 12, I32, 31, 32},
        {"created: month", created + 16, I32, 11, 12},
        {"created: day of week", created + 24, I32, 6, 7},
        {"created: day of year", created + 28, I32, 365, 366},
        {"lastPlayed: day of month", lastPlayed + 12, I32, 1, 0},
        {"lastPlayed: hours", lastPlayed + 8, I32, 0, -1},
        {"yes/no", Field(L::kDatesSet), U8, 1, 2},
        {"yes/no", Field(L::kEmpty), U8, 1, 2},
        {"yes/no", Field(L::kFullscreen), U8, 1, 255},
        {"yes/no", Field(L::kVoice), U8, 1, 2},
        {"locked", Field(L::kTestAccess + 16 * L::kTestAccessSize + 4), U8, 1, 2},
        {"stamp", Field(L::kStamps + 9), U8, 1, 2},
        {"volume", Field(L::kSfxVolume), F64, 1.0, std::nextafter(1.0, 2.0)},
        {"volume", Field(L::kMusicVolume), F64, 0.0, -0.001},
        {"volume", Field(L::kMusicVolume), F64, 0.0, nan},
        {"volume", Field(L::kSfxVolume), F64, 0.0, std::numeric_limits<double>::infinity()},
        {"state", Field(L::kState), I32, 46, 47},
        {"state", Field(L::kState), I32, 0, -1},
        {"historyCount", Field(L::kHistoryCount), I32, 1, -1},
        {"history record 0", record + 0, I32, 16, 17},
        {"history record 0", record + 0, I32, 0, -1},
        {"history record 0", record + 4, I32, 31, 32},
        {"history record 0", record + 8, I32, 11, 12},
        {"history record 0", record + 16, I32, 0, -1},
        {"history record 0", record + 20, I32, 0, -1},
        {"history record 0", record + 24, I32, 100, 101},
    };
    const std::vector<uint8_t> good = GoodFile();
    auto players = std::make_unique<Players>();
    std::string problem;
    ASSERT_TRUE(DecodePlayerFile(good.data(), good.size(), *players, problem)) << problem;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.past));
        for (const double value : {c.limit, c.past}) {
            std::vector<uint8_t> bytes = good;
            if (c.width == I32)
                PutI32(bytes, c.at, int64_t(value));
            else if (c.width == U8)
                bytes[c.at] = uint8_t(value);
            else
                PutF64(bytes, c.at, value);
            problem.clear();
            const bool loaded = DecodePlayerFile(bytes.data(), bytes.size(), *players, problem);
            if (value == c.limit) {
                EXPECT_TRUE(loaded) << problem;
            } else {
                EXPECT_FALSE(loaded);
                EXPECT_NE(problem.find(c.field), std::string::npos) << problem;
            }
        }
    }
    // The history count at its limit loads too; records past the count are never checked.
    std::vector<uint8_t> full = good;
    PutI32(full, Field(L::kHistoryCount), kHistoryCountLimit);
    for (int i = 0; i < kHistoryCountLimit; ++i) {
        PutI32(full, record + size_t(i) * L::kResultRecordSize, i % kTestIdCount);
        PutI32(full, record + size_t(i) * L::kResultRecordSize + 4, 1); // day 1
    }
    PutI32(full, record + size_t(kHistoryCountLimit) * L::kResultRecordSize, 99); // uncounted
    EXPECT_TRUE(DecodePlayerFile(full.data(), full.size(), *players, problem)) << problem;
    PutI32(full, Field(L::kHistoryCount), kHistoryCountLimit + 1);
    EXPECT_FALSE(DecodePlayerFile(full.data(), full.size(), *players, problem));
}

TEST(BadFileTest, EveryKindOfDamagedFileIsKeptAndTheBackupTakesOver)
{
    ScratchDir dir;
    FixedClock clock(kNow);
    const std::vector<uint8_t> good = GoodFile();
    const std::string backup(good.begin(), good.end());
    std::mt19937 random(20261210);
    auto randomBytes = [&](size_t size) {
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = char(random());
        return bytes;
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"0 bytes", ""},
        {"1 byte", "\x01"},
        {"size minus one", backup.substr(0, backup.size() - 1)},
        {"size plus one", backup + '\0'},
        {"10 MiB", std::string(10u << 20, '\0')},
        {"random bytes of the right size", randomBytes(kPlayerFileSize)},
        {"random bytes", randomBytes(4099)},
        {"a text file", "currentPlayer=0\nname=Ada\n"},
    };
    const std::string kept = PlayerFilePath() + ".bad-20261210-093000";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.Path() / "userdata");
        dir.Write("userdata/pref.dat", c.bytes);
        dir.Write("userdata/pref.dat.bak", backup);

        auto players = std::make_unique<Players>();
        const LoadOutcome outcome = LoadPreferences(*players);
        EXPECT_EQ(outcome.kind, LoadOutcome::Kind::Restored) << outcome.message;
        EXPECT_EQ(NameOf(players->players[1]), "Ada");
        EXPECT_EQ(outcome.keptAs, kept);
        EXPECT_TRUE(ScratchDir::Read(kept) == c.bytes) << "the damaged file changed";
        EXPECT_TRUE(ScratchDir::Read(PlayerBackupPath()) == backup);
        EXPECT_TRUE(outcome.save.ok) << outcome.save.error;
    }

    // Neither a folder nor a pipe in the file's place stops the start (a pipe would block a
    // plain open); both are moved aside like any damaged file.
    for (const bool pipe : {false, true}) {
        std::filesystem::remove_all(dir.Path() / "userdata");
        dir.Write("userdata/pref.dat.bak", backup);
        if (pipe)
            ASSERT_EQ(::mkfifo(PlayerFilePath().c_str(), 0644), 0);
        else
            std::filesystem::create_directory(PlayerFilePath());
        auto players = std::make_unique<Players>();
        const LoadOutcome outcome = LoadPreferences(*players);
        EXPECT_EQ(outcome.kind, LoadOutcome::Kind::Restored) << outcome.message;
        EXPECT_NE(outcome.message.find("not a plain file"), std::string::npos) << outcome.message;
        EXPECT_EQ(std::filesystem::status(kept).type(),
                  pipe ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory);
    }
}

} // namespace
