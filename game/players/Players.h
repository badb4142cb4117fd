// The six player slots, the current player and the operations the screens call on them: reset,
// delete, count, find a free slot, save, load, today's date, the played-today flags and the
// results history. About 5.4 MB: allocate it on the heap (the Board holds it by value).
#pragma once

#include "game/players/PlayerProfile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace Vel {

struct CalendarDay {
    int32_t day = 1;        // 1..31
    int32_t month = 0;      // 0..11
    int32_t year = 70;      // years since 1900

    bool operator==(const CalendarDay&) const = default;
};

struct Players {
    // Saved in the player file.
    int32_t currentPlayer = 0; // 0..5
    std::array<PlayerProfile, kPlayerSlots> players;

    // Not saved.
    CalendarDay today;
    // 1 when the current player's history holds a record of that TestId dated today. Read it
    // through PlayedToday(), which re-derives it when the day or the player has changed.
    std::array<uint8_t, kTestIdCount> playedToday{};
    // What playedToday was derived for; flagsPlayer -1 forces a refresh.
    CalendarDay flagsDay;
    int32_t flagsPlayer = -1;
    int32_t flagsHistoryCount = -1;
    // A failed save is told to the player once, not at every save point.
    bool saveFailureTold = false;
    // A damaged player file or backup that could not be moved aside at load: saves move it
    // aside first and never write over it while it is still there.
    bool damagedFileInPlace = false;
    bool damagedBackupInPlace = false;
};

std::string PlayerFilePath();     // user data folder + "/pref.dat"
std::string PlayerBackupPath();   // PlayerFilePath() + ".bak": the file as it was before the last save
std::string WindowModeFilePath(); // user data folder + "/fscreen.dat"

// The slot currentPlayer selects (slot 0 should currentPlayer ever be out of range).
PlayerProfile& CurrentProfile(Players& players);
const PlayerProfile& CurrentProfile(const Players& players);

// The values of a fresh slot, with `name` as given (at most 31 bytes). created and lastPlayed
// become now; datesSet is cleared. Indices outside 0..5 are ignored.
void ResetProfile(Players& players, int index, std::string_view name);
// Moves the later slots down over `index` and resets slot 5; currentPlayer keeps its number.
void DeleteProfile(Players& players, int index);
int CountProfiles(const Players& players);
// Lowest empty slot, -1 when all six hold players.
int FirstFreeProfile(const Players& players);

void RefreshToday(Players& players);
void RefreshPlayedToday(Players& players);
// The played-today flag of `testId` for today and the current player, re-derived from the
// history first when the date, the current player or the history changed since the last look.
bool PlayedToday(Players& players, int testId);
// Last grade of `testId` in the current player's counted history, newest first; -1 when none.
int LastGrade(const Players& players, int testId);

struct SaveResult {
    bool ok = true;
    std::string error;
    // The player file itself was replaced; false when the old one is still in place (a failed
    // window-mode byte alone does not lose any player's progress).
    bool playerFileWritten = false;
    // True for the first failure of the run only: the moment to tell the player.
    bool tellPlayer = false;
};

// Stamps the current profile's lastPlayed with now, then replaces the player file crash-safely,
// keeping the file it replaces as PlayerBackupPath(), and writes the window-mode byte. A file in
// place that is not a player file (wrong size, or found damaged at load) is moved aside first
// and never becomes the backup. A failure is written to the error log; the old files stay as
// they were and the next save tries again.
SaveResult SavePreferences(Players& players);

struct LoadOutcome {
    enum class Kind {
        Loaded,   // the player file was good
        Created,  // first start: neither the file nor its backup exists
        Restored, // the file was damaged or missing; the backup was good and is in use
        Damaged,  // the file (and the backup, when there was one) was damaged: fresh slots
    };
    Kind kind = Kind::Loaded;
    // For Restored and Damaged: what was wrong, where the damaged files were kept and what is
    // in use now, to show the player. Also written to the error log.
    std::string message;
    std::string keptAs;       // where the damaged file was kept; empty when none or not movable
    std::string backupKeptAs; // the same for a damaged backup
    SaveResult save;          // the save made at once (Created, Restored, Damaged)
};

// Loads the player file. A good file is used as it is. A damaged one (wrong size, a value out
// of range, unreadable) is renamed aside to "pref.dat.bad-YYYYMMDD-HHMMSS" (never over an
// existing file, never deleted); then the backup is tried, and only when it is missing or
// damaged too (a damaged backup is kept aside the same way, as "pref.dat.bak.bad-...") do
// fresh slots start. A missing file with a good backup is restored from the backup; a missing
// file without one is a first start. Whatever is used is saved at once unless a damaged file
// could not be moved aside. Refreshes the played-today flags either way.
LoadOutcome LoadPreferences(Players& players);

struct TestResult {
    int testId = 0;
    int correct = 0;
    int mistakes = 0;
    int grade = 0;
};

struct RecordOutcome {
    int recordIndex = -1; // history record written; -1 when nothing was recorded
    SaveResult save;
};

// Appends the result of a test that has just ended, unless that test already has a record
// dated today (the first result of a day is the one kept): fills record historyCount, counts
// it while historyCount is below kHistoryCountLimit, runs `checkStamps` on the new record, then
// saves. An id outside 0..16 records nothing.
RecordOutcome RecordResult(Players& players, const TestResult& result,
                           const std::function<void(const ResultRecord&)>& checkStamps = {});

} // namespace Vel
