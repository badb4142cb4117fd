// The player slots: reset, delete, the history and its day rule, saving and loading the file.
#include "game/players/Players.h"

#include "game/players/PlayerFile.h"
#include "game/text/ErrorLog.h"
#include "tests/game/players/FixedClock.h"
#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <sys/stat.h>

namespace {

using namespace Vel;
namespace fs = std::filesystem;

const BrokenDownTime kMorning = MakeLocalTime(2026, 11, 10, 9, 30, 0);

class PlayersTest : public testing::Test {
protected:
    void AddPlayer(int slot, const char* name)
    {
        ResetProfile(*m_players, slot, name);
        m_players->players[size_t(slot)].empty = 0;
    }
    std::string SlotName(int slot) const { return std::string(NameOf(m_players->players[size_t(slot)])); }
    std::string Bytes(const std::string& path) const { return ScratchDir::Read(path); }

    ScratchDir m_dir;
    FixedClock m_clock{kMorning};
    std::unique_ptr<Players> m_players = std::make_unique<Players>();
};

TEST_F(PlayersTest, FirstStartSavesSixFreshSlotsAtOnce)
{
    ASSERT_FALSE(fs::exists(m_dir.Path() / "userdata"));
    const LoadOutcome outcome = LoadPreferences(*m_players);
    EXPECT_EQ(outcome.kind, LoadOutcome::Kind::Created);
    ASSERT_TRUE(outcome.save.ok) << outcome.save.error;
    EXPECT_EQ(fs::file_size(PlayerFilePath()), 5'377'832u);
    EXPECT_EQ(Bytes(WindowModeFilePath()), std::string(1, '\x01'));

    EXPECT_EQ(m_players->currentPlayer, 0);
    EXPECT_EQ(CountProfiles(*m_players), 0);
    EXPECT_EQ(FirstFreeProfile(*m_players), 0);
    for (const PlayerProfile& p : m_players->players) {
        EXPECT_EQ(NameOf(p), "");
        EXPECT_EQ(p.birthDay, 1);
        EXPECT_EQ(p.birthMonth, 0);
        EXPECT_EQ(p.birthYear, 1970);
        EXPECT_EQ(p.sfxVolume, 0.8);
        EXPECT_EQ(p.musicVolume, 0.8);
        EXPECT_EQ(p.empty, 1);
        EXPECT_EQ(p.fullscreen, 1);
        EXPECT_EQ(p.voice, 1);
        EXPECT_EQ(p.state, 0);
        EXPECT_EQ(p.datesSet, 0);
        EXPECT_EQ(p.created, kMorning);
        EXPECT_EQ(p.lastPlayed, kMorning);
        EXPECT_EQ(p.historyCount, 0);
        EXPECT_EQ(p.history[0], ResultRecord{});
        EXPECT_EQ(p.history[kHistoryCapacity - 1].testId, -1);
        for (int t = 0; t < kTestIdCount; ++t) {
            const bool open = t == 2 || t == 3 || t == 5 || t == 12 || t == 16;
            EXPECT_EQ(p.testAccess[size_t(t)].locked, open ? 0 : 1) << t;
            if (t < kDailyExamId) {
                EXPECT_EQ(p.testAccess[size_t(t)].category, t % 4) << t;
            }
        }
        for (uint8_t stamp : p.stamps)
            EXPECT_EQ(stamp, 0);
    }

    // The next start reads exactly that file back.
    auto again = std::make_unique<Players>();
    EXPECT_EQ(LoadPreferences(*again).kind, LoadOutcome::Kind::Loaded);
    EXPECT_EQ(EncodePlayerFile(*again), EncodePlayerFile(*m_players));
}

TEST_F(PlayersTest, AGoodFileLoadsBitForBit)
{
    AddPlayer(0, "Ada");
    AddPlayer(1, "Grace");
    m_players->currentPlayer = 1;
    PlayerProfile& grace = m_players->players[1];
    grace.name[10] = 'z'; // stray bytes after the terminator are kept too
    grace.sfxVolume = 0.1234567890123;
    grace.history[0] = {4, 10, 11, 126, 7, 2, 63};
    grace.historyCount = 1;
    grace.lastPlayed.daylightSaving = -1;
    const std::vector<uint8_t> file = EncodePlayerFile(*m_players);
    m_dir.Write("userdata/pref.dat", std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));

    auto loaded = std::make_unique<Players>();
    EXPECT_EQ(LoadPreferences(*loaded).kind, LoadOutcome::Kind::Loaded);
    EXPECT_EQ(EncodePlayerFile(*loaded), file);
    EXPECT_TRUE(PlayedToday(*loaded, 4)); // the flags come from the loaded history
    EXPECT_FALSE(PlayedToday(*loaded, 5));
}

TEST_F(PlayersTest, SaveStampsTheCurrentPlayerAndWritesTheWindowMode)
{
    AddPlayer(0, "Ada");
    AddPlayer(1, "Grace");
    m_players->currentPlayer = 1;
    m_players->players[1].fullscreen = 0;
    const BrokenDownTime later = MakeLocalTime(2026, 11, 12, 18, 5, 9);
    m_clock.Set(later);
    ASSERT_TRUE(SavePreferences(*m_players).ok);
    EXPECT_EQ(m_players->players[1].lastPlayed, later);
    EXPECT_EQ(m_players->players[0].lastPlayed, kMorning);
    EXPECT_EQ(Bytes(WindowModeFilePath()), std::string(1, '\0'));
    const std::vector<uint8_t> expected = EncodePlayerFile(*m_players);
    EXPECT_EQ(Bytes(PlayerFilePath()), std::string(expected.begin(), expected.end()));

    // The mode file is replaced only when its byte changes (each write makes a new file).
    const auto inode = [] {
        struct stat st {};
        return ::stat(WindowModeFilePath().c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    ASSERT_TRUE(SavePreferences(*m_players).ok);
    EXPECT_EQ(inode(), before);
    m_players->players[1].fullscreen = 1;
    ASSERT_TRUE(SavePreferences(*m_players).ok);
    EXPECT_EQ(Bytes(WindowModeFilePath()), std::string(1, '\1'));
}

TEST_F(PlayersTest, AFailedSaveIsReportedAndToldOnce)
{
    m_dir.Write("userdata", "a file where the folder should be");
    const SaveResult first = SavePreferences(*m_players);
    EXPECT_FALSE(first.ok);
    EXPECT_FALSE(first.error.empty());
    EXPECT_TRUE(first.tellPlayer);
    const SaveResult second = SavePreferences(*m_players);
    EXPECT_FALSE(second.ok);
    EXPECT_FALSE(second.tellPlayer);
}

TEST_F(PlayersTest, DeleteMovesLaterPlayersDown)
{
    for (int slot = 0; slot < 4; ++slot)
        AddPlayer(slot, std::string(1, char('A' + slot)).c_str());
    m_players->players[3].historyCount = 1;
    m_players->players[3].history[0] = {1, 2, 3, 4, 5, 6, 7};
    m_players->currentPlayer = 3;

    DeleteProfile(*m_players, 2);
    EXPECT_EQ(SlotName(0), "A");
    EXPECT_EQ(SlotName(1), "B");
    EXPECT_EQ(SlotName(2), "D");
    EXPECT_EQ(m_players->players[2].history[0], (ResultRecord{1, 2, 3, 4, 5, 6, 7}));
    for (int slot = 3; slot < kPlayerSlots; ++slot) {
        EXPECT_EQ(m_players->players[size_t(slot)].empty, 1) << slot;
        EXPECT_EQ(SlotName(slot), "") << slot;
    }
    EXPECT_EQ(m_players->currentPlayer, 3); // keeps its number
    EXPECT_EQ(CountProfiles(*m_players), 3);
    EXPECT_EQ(FirstFreeProfile(*m_players), 3);

    DeleteProfile(*m_players, -1); // not a slot: nothing happens
    DeleteProfile(*m_players, 6);
    EXPECT_EQ(CountProfiles(*m_players), 3);

    for (int slot = 3; slot < kPlayerSlots; ++slot)
        AddPlayer(slot, "X");
    EXPECT_EQ(FirstFreeProfile(*m_players), -1);
    DeleteProfile(*m_players, 5); // the last slot is only reset
    EXPECT_EQ(FirstFreeProfile(*m_players), 5);
    EXPECT_EQ(SlotName(4), "X");
}

TEST_F(PlayersTest, ResetKeepsAtMost31BytesOfTheName)
{
    ResetProfile(*m_players, 0, std::string(40, 'n'));
    EXPECT_EQ(NameOf(m_players->players[0]), std::string(31, 'n'));
    EXPECT_EQ(m_players->players[0].name[31], '\0');
}

TEST_F(PlayersTest, LastGradeIsTheNewestCountedRecordOfTheTest)
{
    PlayerProfile& p = m_players->players[0];
    EXPECT_EQ(LastGrade(*m_players, 4), -1);
    p.history[0] = {4, 1, 0, 126, 0, 0, 40};
    p.history[1] = {7, 2, 0, 126, 0, 0, 99};
    p.history[2] = {4, 3, 0, 126, 0, 0, 55};
    p.history[3] = {4, 4, 0, 126, 0, 0, 10}; // outside the counted range
    p.historyCount = 3;
    EXPECT_EQ(LastGrade(*m_players, 4), 55);
    EXPECT_EQ(LastGrade(*m_players, 7), 99);
    EXPECT_EQ(LastGrade(*m_players, 5), -1);
}

TEST_F(PlayersTest, KeepsTheFirstResultOfATestPerDayAndPlayer)
{
    const BrokenDownTime beforeMidnight = MakeLocalTime(2026, 11, 10, 23, 59, 30);
    const BrokenDownTime afterMidnight = MakeLocalTime(2026, 11, 11, 0, 0, 30);
    const struct {
        const char* name;
        BrokenDownTime secondTime;
        int secondPlayer;
        int recordsOfPlayer0;
    } cases[] = {
        {"same day, same player", beforeMidnight, 0, 1},
        {"past midnight", afterMidnight, 0, 2},
        {"another player", beforeMidnight, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_players = std::make_unique<Players>();
        AddPlayer(0, "Ada");
        AddPlayer(1, "Grace");
        m_clock.Set(beforeMidnight);
        RefreshPlayedToday(*m_players); // the flags as the game starts: before either result
        ASSERT_EQ(RecordResult(*m_players, {8, 10, 2, 70}).recordIndex, 0);

        fs::remove(PlayerFilePath());
        m_clock.Set(c.secondTime);
        m_players->currentPlayer = c.secondPlayer;
        const RecordOutcome second = RecordResult(*m_players, {8, 12, 1, 80});
        const bool recorded = c.secondPlayer != 0 || c.recordsOfPlayer0 == 2;
        EXPECT_EQ(second.recordIndex >= 0, recorded);
        EXPECT_EQ(fs::exists(PlayerFilePath()), recorded); // saved only when recorded

        const PlayerProfile& p0 = m_players->players[0];
        EXPECT_EQ(p0.historyCount, c.recordsOfPlayer0);
        EXPECT_EQ(p0.history[0].grade, 70); // the first result of the day stays
        EXPECT_EQ(p0.history[0].day, 10);
        if (c.recordsOfPlayer0 == 2) {
            EXPECT_EQ(p0.history[1].day, 11);
            EXPECT_EQ(p0.history[1].grade, 80);
        }
        EXPECT_EQ(m_players->players[1].historyCount, c.secondPlayer == 1 ? 1 : 0);
        EXPECT_TRUE(PlayedToday(*m_players, 8));
    }
}

TEST_F(PlayersTest, RecordFillsTheRecordAndChecksStampsBeforeSaving)
{
    AddPlayer(0, "Ada");
    bool savedBeforeStamps = true;
    ResultRecord seen;
    const RecordOutcome outcome = RecordResult(*m_players, {kDailyExamId, 3, 4, 61}, [&](const ResultRecord& r) {
        seen = r;
        savedBeforeStamps = fs::exists(PlayerFilePath());
    });
    EXPECT_EQ(outcome.recordIndex, 0);
    EXPECT_TRUE(outcome.save.ok);
    EXPECT_EQ(seen, (ResultRecord{kDailyExamId, 10, 11, 126, 3, 4, 61}));
    EXPECT_FALSE(savedBeforeStamps);
    EXPECT_EQ(RecordResult(*m_players, {17, 1, 1, 1}).recordIndex, -1); // not a test
    EXPECT_EQ(RecordResult(*m_players, {-1, 1, 1, 1}).recordIndex, -1);
    EXPECT_EQ(m_players->players[0].historyCount, 1);
}

TEST_F(PlayersTest, HistoryStopsCountingAt31999)
{
    PlayerProfile& p = m_players->players[0];
    p.historyCount = kHistoryCountLimit - 1;
    int stampChecks = 0;
    auto countStamps = [&](const ResultRecord&) { ++stampChecks; };

    EXPECT_EQ(RecordResult(*m_players, {0, 1, 0, 20}, countStamps).recordIndex, 31998);
    EXPECT_EQ(p.historyCount, 31999);
    EXPECT_EQ(RecordResult(*m_players, {1, 1, 0, 30}, countStamps).recordIndex, 31999);
    EXPECT_EQ(p.historyCount, 31999);
    m_clock.Set(MakeLocalTime(2026, 11, 11));
    EXPECT_EQ(RecordResult(*m_players, {2, 1, 0, 40}, countStamps).recordIndex, 31999); // overwrites
    EXPECT_EQ(p.historyCount, 31999);
    EXPECT_EQ(p.history[31999].testId, 2);
    EXPECT_EQ(p.history[31999].grade, 40);
    EXPECT_EQ(stampChecks, 3);          // the uncounted results still earn stamps
    EXPECT_EQ(LastGrade(*m_players, 2), -1); // but appear nowhere else
    EXPECT_EQ(LastGrade(*m_players, 0), 20);
}

struct DamageCase {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* problem; // part of the message
};

void PutInt(std::vector<uint8_t>& bytes, size_t at, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
}

size_t SlotField(int slot, size_t field) { return PlayerFileLayout::SlotOffset(slot) + field; }

TEST_F(PlayersTest, ADamagedFileIsKeptAsideAndFreshSlotsAreUsed)
{
    namespace L = PlayerFileLayout;
    const DamageCase cases[] = {
        {"short file", [](auto& b) { b.resize(1000); }, "1000 bytes instead of 5377832"},
        {"one byte more", [](auto& b) { b.push_back(0); }, "5377833 bytes"},
        {"currentPlayer 6", [](auto& b) { PutInt(b, L::kCurrentPlayer, 6); }, "currentPlayer 6 outside 0..5"},
        {"currentPlayer -1", [](auto& b) { PutInt(b, L::kCurrentPlayer, -1); }, "currentPlayer -1"},
        {"historyCount 32000", [](auto& b) { PutInt(b, SlotField(4, L::kHistoryCount), 32000); },
         "slot 4: historyCount 32000 outside 0..31999"},
        {"historyCount -1", [](auto& b) { PutInt(b, SlotField(0, L::kHistoryCount), -1); }, "historyCount -1"},
        {"state 47", [](auto& b) { PutInt(b, SlotField(1, L::kState), 47); }, "slot 1: state 47"},
        {"name without terminator", [](auto& b) { std::memset(&b[SlotField(5, L::kName)], 'A', 32); },
         "slot 5: name without its terminator"},
        {"volume not a number",
         [](auto& b) {
             const double nan = std::numeric_limits<double>::quiet_NaN();
             std::memcpy(&b[SlotField(2, L::kSfxVolume)], &nan, 8);
         },
         "slot 2: a volume outside 0..1"},
        {"empty byte 2", [](auto& b) { b[SlotField(3, L::kEmpty)] = 2; }, "slot 3: a yes/no byte"},
        {"created month 12", [](auto& b) { PutInt(b, SlotField(0, L::kCreated + 16), 12); }, "created: month"},
        {"counted record graded 101",
         [](auto& b) {
             PutInt(b, SlotField(0, L::kHistoryCount), 1);
             PutInt(b, SlotField(0, L::kHistory), 3);
             PutInt(b, SlotField(0, L::kHistory + 4), 1);
             PutInt(b, SlotField(0, L::kHistory + 24), 101);
         },
         "slot 0: history record 0"},
    };
    AddPlayer(0, "Ada");
    const std::vector<uint8_t> good = EncodePlayerFile(*m_players);
    const std::string kept = PlayerFilePath() + ".bad-20261210-093000";
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(kept);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        const std::string damaged(bytes.begin(), bytes.end());
        m_dir.Write("userdata/pref.dat", damaged);

        auto loaded = std::make_unique<Players>();
        const LoadOutcome outcome = LoadPreferences(*loaded);
        EXPECT_EQ(outcome.kind, LoadOutcome::Kind::Damaged);
        EXPECT_NE(outcome.message.find(c.problem), std::string::npos) << outcome.message;
        EXPECT_EQ(outcome.keptAs, kept);
        EXPECT_EQ(Bytes(kept), damaged);
        EXPECT_EQ(Bytes(ErrorLogPath()), outcome.message);
        EXPECT_NE(outcome.message.find(kept), std::string::npos);
        EXPECT_EQ(loaded->currentPlayer, 0);
        EXPECT_EQ(CountProfiles(*loaded), 0);
        // The fresh slots were saved and load cleanly.
        EXPECT_TRUE(outcome.save.ok);
        auto next = std::make_unique<Players>();
        EXPECT_EQ(LoadPreferences(*next).kind, LoadOutcome::Kind::Loaded);
    }
}

TEST_F(PlayersTest, AKeptFileIsNeverOverwritten)
{
    const std::string base = PlayerFilePath() + ".bad-20261210-093000";
    m_dir.Write("userdata/pref.dat.bad-20261210-093000", "kept earlier");
    m_dir.Write("userdata/pref.dat", "damaged again");
    const LoadOutcome outcome = LoadPreferences(*m_players);
    EXPECT_EQ(outcome.kind, LoadOutcome::Kind::Damaged);
    EXPECT_EQ(outcome.keptAs, base + "-1");
    EXPECT_EQ(Bytes(base), "kept earlier");
    EXPECT_EQ(Bytes(base + "-1"), "damaged again");
}

} // namespace
