// The one-generation backup of the player file and the way loading falls back to it: no
// combination of damaged, missing and good files loses a file or a player.
#include "game/players/PlayerFile.h"
#include "game/players/Players.h"
#include "game/text/ErrorLog.h"
#include "tests/game/players/FixedClock.h"
#include "tests/game/text/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

namespace {

using namespace Vel;
namespace fs = std::filesystem;

const BrokenDownTime kNow = MakeLocalTime(2026, 11, 10, 9, 30, 0);
const char* const kStamp = "20261210-093000";

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BackupTest : public testing::Test {
protected:
    // A store with one named player, encoded as a saved file.
    std::string FileWith(const char* name)
    {
        auto players = std::make_unique<Players>();
        for (int slot = 0; slot < kPlayerSlots; ++slot)
            ResetProfile(*players, slot, "");
        ResetProfile(*players, 0, name);
        players->players[0].empty = 0;
        return AsString(EncodePlayerFile(*players));
    }
    std::string Read(const std::string& path) const { return ScratchDir::Read(path); }
    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir.Path() / "userdata"))
            names.insert(entry.path().filename().string());
        return names;
    }

    ScratchDir m_dir;
    FixedClock m_clock{kNow};
};

TEST_F(BackupTest, EachSaveKeepsTheFileItReplaces)
{
    auto players = std::make_unique<Players>();
    ASSERT_EQ(LoadPreferences(*players).kind, LoadOutcome::Kind::Created);
    EXPECT_FALSE(fs::exists(PlayerBackupPath())) << "a first start has nothing to keep";
    const std::string first = Read(PlayerFilePath());

    ResetProfile(*players, 0, "Ada");
    players->players[0].empty = 0;
    ASSERT_TRUE(SavePreferences(*players).ok);
    const std::string second = Read(PlayerFilePath());
    EXPECT_NE(second, first);
    EXPECT_EQ(Read(PlayerBackupPath()), first);

    players->players[0].stamps[3] = 1;
    ASSERT_TRUE(SavePreferences(*players).ok);
    EXPECT_EQ(Read(PlayerBackupPath()), second) << "one generation only";
    EXPECT_EQ(Files(), (std::set<std::string>{"pref.dat", "pref.dat.bak", "fscreen.dat"}));
}

// Every combination of the file and its backup: what is used, what the player is told, and
// that each damaged file survives under its own name.
TEST_F(BackupTest, LoadingFallsBackFromTheFileToTheBackupToFreshSlots)
{
    enum State { Missing, Good, Damaged };
    struct Case {
        const char* name;
        State file;
        State backup;
        LoadOutcome::Kind kind;
        const char* inUse; // name of player 0 afterwards
        const char* told;  // part of the message, "" for none
    };
    const Case cases[] = {
        {"good file, backup ignored", Good, Damaged, LoadOutcome::Kind::Loaded, "Ada", ""},
        {"first start", Missing, Missing, LoadOutcome::Kind::Created, "", ""},
        {"damaged file, good backup", Damaged, Good, LoadOutcome::Kind::Restored, "Bob", "restored from"},
        {"missing file, good backup", Missing, Good, LoadOutcome::Kind::Restored, "Bob", "was missing"},
        {"damaged file, no backup", Damaged, Missing, LoadOutcome::Kind::Damaged, "", "New, empty player slots"},
        {"both damaged", Damaged, Damaged, LoadOutcome::Kind::Damaged, "", "damaged too"},
        {"missing file, damaged backup", Missing, Damaged, LoadOutcome::Kind::Damaged, "", "damaged too"},
    };
    const std::string ada = FileWith("Ada");
    const std::string bob = FileWith("Bob");
    const std::string brokenFile = ada.substr(0, ada.size() - 1);
    std::string brokenBackup = bob;
    brokenBackup[PlayerFileLayout::kCurrentPlayer] = 9;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir.Path() / "userdata");
        if (c.file != Missing)
            m_dir.Write("userdata/pref.dat", c.file == Good ? ada : brokenFile);
        if (c.backup != Missing)
            m_dir.Write("userdata/pref.dat.bak", c.backup == Good ? bob : brokenBackup);

        auto players = std::make_unique<Players>();
        const LoadOutcome outcome = LoadPreferences(*players);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(NameOf(players->players[0]), c.inUse);
        if (*c.told) {
            EXPECT_NE(outcome.message.find(c.told), std::string::npos) << outcome.message;
            EXPECT_EQ(Read(ErrorLogPath()), outcome.message);
        } else {
            EXPECT_EQ(outcome.message, "");
        }
        EXPECT_TRUE(outcome.save.ok) << outcome.save.error;

        const std::string keptFile = PlayerFilePath() + ".bad-" + kStamp;
        const std::string keptBackup = PlayerBackupPath() + ".bad-" + kStamp;
        EXPECT_EQ(outcome.keptAs, c.file == Damaged ? keptFile : "");
        EXPECT_EQ(outcome.backupKeptAs, c.file != Good && c.backup == Damaged ? keptBackup : "");
        if (c.file == Damaged) {
            EXPECT_EQ(Read(keptFile), brokenFile);
        }
        if (c.file != Good && c.backup == Damaged) {
            EXPECT_EQ(Read(keptBackup), brokenBackup);
        }
        // A restored backup stays the backup: the file in place is now a save of what it held.
        if (c.kind == LoadOutcome::Kind::Restored) {
            EXPECT_EQ(Read(PlayerBackupPath()), bob);
        }

        // Whatever is in use now loads as a good file at the next start.
        auto next = std::make_unique<Players>();
        EXPECT_EQ(LoadPreferences(*next).kind, LoadOutcome::Kind::Loaded);
        EXPECT_EQ(NameOf(next->players[0]), c.inUse);
    }
}

// The only copy of a damaged file must survive a run in which it cannot be moved aside: here
// every name it could be kept under is taken.
TEST_F(BackupTest, ADamagedFileThatCannotBeMovedIsNeverSavedOver)
{
    const std::string base = PlayerFilePath() + ".bad-" + kStamp;
    m_dir.Write("userdata/pref.dat.bad-" + std::string(kStamp), "taken");
    for (int n = 1; n < 1000; ++n)
        m_dir.Write("userdata/pref.dat.bad-" + std::string(kStamp) + "-" + std::to_string(n), "taken");
    const std::string damaged = "not a player file";
    m_dir.Write("userdata/pref.dat", damaged);

    auto players = std::make_unique<Players>();
    const LoadOutcome outcome = LoadPreferences(*players);
    EXPECT_EQ(outcome.kind, LoadOutcome::Kind::Damaged);
    EXPECT_EQ(outcome.keptAs, "");
    EXPECT_NE(outcome.message.find("could not be moved aside"), std::string::npos) << outcome.message;

    // A result recorded during the run tries to save: refused, told once, file untouched.
    ResetProfile(*players, 0, "Ada");
    players->players[0].empty = 0;
    const RecordOutcome recorded = RecordResult(*players, {2, 10, 1, 90});
    EXPECT_EQ(recorded.recordIndex, 0);
    EXPECT_FALSE(recorded.save.ok);
    EXPECT_TRUE(recorded.save.tellPlayer);
    EXPECT_EQ(Read(PlayerFilePath()), damaged);
    EXPECT_FALSE(fs::exists(PlayerBackupPath())) << "a damaged file never becomes the backup";

    // Once a name is free the next save moves it aside and saves.
    fs::remove(base + "-500");
    ASSERT_TRUE(SavePreferences(*players).ok);
    EXPECT_EQ(Read(base + "-500"), damaged);
    EXPECT_FALSE(fs::exists(PlayerBackupPath()));
    auto next = std::make_unique<Players>();
    EXPECT_EQ(LoadPreferences(*next).kind, LoadOutcome::Kind::Loaded);
    EXPECT_EQ(NameOf(next->players[0]), "Ada");
}

TEST_F(BackupTest, AFileReplacedDuringTheRunIsKeptAsideNotBackedUp)
{
    auto players = std::make_unique<Players>();
    ASSERT_EQ(LoadPreferences(*players).kind, LoadOutcome::Kind::Created);
    ASSERT_TRUE(SavePreferences(*players).ok);
    const std::string goodBackup = Read(PlayerBackupPath());
    m_dir.Write("userdata/pref.dat", "something else wrote here");

    ASSERT_TRUE(SavePreferences(*players).ok);
    EXPECT_EQ(Read(PlayerFilePath() + ".bad-" + kStamp), "something else wrote here");
    EXPECT_EQ(Read(PlayerBackupPath()), goodBackup);
}

TEST_F(BackupTest, AFailedWindowModeByteDoesNotReadAsLostPlayers)
{
    auto players = std::make_unique<Players>();
    ASSERT_EQ(LoadPreferences(*players).kind, LoadOutcome::Kind::Created);
    std::filesystem::remove(WindowModeFilePath());
    std::filesystem::create_directories(fs::path(WindowModeFilePath()) / "in the way");
    ResetProfile(*players, 0, "Ada");
    const SaveResult saved = SavePreferences(*players);
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.playerFileWritten);
    EXPECT_NE(saved.error.find("screen mode"), std::string::npos) << saved.error;
    EXPECT_EQ(Read(PlayerFilePath()), AsString(EncodePlayerFile(*players)));

    // A backup that cannot be kept fails the whole save: the file in place stays as it was.
    std::filesystem::remove(PlayerBackupPath());
    std::filesystem::create_directories(fs::path(PlayerBackupPath()) / "occupied");
    const std::string before = Read(PlayerFilePath());
    ResetProfile(*players, 0, "Bob");
    const SaveResult failed = SavePreferences(*players);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.playerFileWritten);
    EXPECT_EQ(Read(PlayerFilePath()), before);
}

} // namespace
