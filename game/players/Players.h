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
};

std::string PlayerFilePath();     // user data folder + "/pref.dat"
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
    // True for the first failure of the run only: the moment to tell the player.
    bool tellPlayer = false;
};

// Stamps the current profile's lastPlayed with now, then replaces the player file crash-safely
// and writes the window-mode byte. A failure is written to the error log.
SaveResult SavePreferences(Players& players);

struct LoadOutcome {
    enum class Kind { Loaded, Created, Damaged };
    Kind kind = Kind::Loaded;
    // For Damaged: what was wrong, where the damaged file was kept, and that fresh slots are in
    // use. Also written to the error log.
    std::string message;
    std::string keptAs; // path of the kept damaged file, empty when it could not be kept
    SaveResult save;    // the save of the fresh slots (Created, Damaged)
};

// Loads the player file. A missing file gives six fresh slots, saved at once. A damaged one
// (wrong size, a value out of range, unreadable) is renamed aside to
// "pref.dat.bad-YYYYMMDD-HHMMSS" (never over an existing file) and fresh slots are used and
// saved; when it cannot be renamed the fresh slots are not saved, so the file stays intact.
// Refreshes the played-today flags either way.
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
