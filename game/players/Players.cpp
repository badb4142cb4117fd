// The player slots and the player file on disk.
#include "game/players/Players.h"

#include "game/players/PlayerFile.h"
#include "game/text/ErrorLog.h"
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdio.h> // renameat2
#include <sys/stat.h>

namespace Vel {
namespace {

bool IsSlot(int index) { return index >= 0 && index < kPlayerSlots; }
bool IsTestId(int testId) { return testId >= 0 && testId < kTestIdCount; }

CalendarDay DayOf(const BrokenDownTime& t) { return {t.dayOfMonth, t.month, t.yearsSince1900}; }

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string TimeStamp(const BrokenDownTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.yearsSince1900 + 1900, t.month + 1,
                  t.dayOfMonth, t.hours, t.minutes, t.seconds);
    return text;
}

// Renames the damaged file to a name no other file has; empty when it could not be renamed.
std::string KeepAside(const std::string& path)
{
    const std::string base = path + ".bad-" + TimeStamp(LocalNow());
    for (int n = 0; n < 1000; ++n) {
        const std::string candidate = n == 0 ? base : base + "-" + std::to_string(n);
        if (Exists(candidate))
            continue;
        // No-replace where the file system offers it, so a name taken since the look above is
        // never written over.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, candidate.c_str(), RENAME_NOREPLACE) == 0)
            return candidate;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return {};
        return ::rename(path.c_str(), candidate.c_str()) == 0 ? candidate : std::string{};
    }
    return {};
}

// The open file when it has the expected size; otherwise what is wrong with it.
enum class ReadStatus { Missing, Read, Damaged };
ReadStatus OpenPlayerFile(const std::string& path, std::FILE*& file, std::string& problem)
{
    // Looked at before opening: opening a pipe put in the file's place would wait forever.
    struct stat before {};
    if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
        problem = "it is not a plain file";
        return ReadStatus::Damaged;
    }
    file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT)
            return ReadStatus::Missing;
        problem = std::string("the file cannot be opened: ") + std::strerror(errno);
        return ReadStatus::Damaged;
    }
    struct stat st {};
    if (::fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file);
        problem = "the file cannot be read";
        return ReadStatus::Damaged;
    }
    if (size_t(st.st_size) != kPlayerFileSize) {
        std::fclose(file);
        problem = "the file has " + std::to_string(st.st_size) + " bytes instead of " + std::to_string(kPlayerFileSize);
        return ReadStatus::Damaged;
    }
    return ReadStatus::Read;
}

// True when `path` is a plain file of exactly the one byte `value`.
bool HoldsExactly(const std::string& path, uint8_t value)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    struct stat st {};
    uint8_t byte = 0;
    const bool same = ::fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 1
                      && std::fread(&byte, 1, 1, file) == 1 && byte == value;
    std::fclose(file);
    return same;
}

void MakeFreshSlots(Players& players)
{
    players.currentPlayer = 0;
    for (int slot = 0; slot < kPlayerSlots; ++slot)
        ResetProfile(players, slot, "");
}

// Reads and checks one file into `players`: Read means it is a good player file.
ReadStatus LoadFile(const std::string& path, Players& players, std::string& problem)
{
    std::FILE* file = nullptr;
    ReadStatus status = OpenPlayerFile(path, file, problem);
    if (status != ReadStatus::Read)
        return status;
    const auto piece = [file](uint8_t* bytes, size_t size) { return std::fread(bytes, 1, size, file) == size; };
    if (!DecodePlayerFile(piece, players, problem))
        status = ReadStatus::Damaged;
    std::fclose(file);
    return status;
}

bool HasPlayerFileSize(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && size_t(st.st_size) == kPlayerFileSize;
}

// Before a save: a file in place that is not one of ours must neither be replaced nor become
// the backup. False (with `error`) when it is there and cannot be moved aside.
bool ClearDamagedFiles(Players& players, std::string& error)
{
    const std::string path = PlayerFilePath();
    if (Exists(path) && (players.damagedFileInPlace || !HasPlayerFileSize(path))) {
        const std::string kept = KeepAside(path);
        if (kept.empty()) {
            players.damagedFileInPlace = true;
            error = "the damaged file " + path + " cannot be moved aside, so it is not replaced";
            return false;
        }
        WriteErrorLog("The damaged player file " + path + " was kept as " + kept + ".");
    }
    players.damagedFileInPlace = false;
    const std::string backup = PlayerBackupPath();
    if (players.damagedBackupInPlace && Exists(backup) && !KeepAside(backup).empty())
        players.damagedBackupInPlace = false;
    else if (!Exists(backup))
        players.damagedBackupInPlace = false;
    return true;
}

} // namespace

std::string PlayerFilePath() { return Plat::UserDataDir() + "/pref.dat"; }
std::string PlayerBackupPath() { return PlayerFilePath() + ".bak"; }
std::string WindowModeFilePath() { return Plat::UserDataDir() + "/fscreen.dat"; }

PlayerProfile& CurrentProfile(Players& players)
{
    return players.players[size_t(IsSlot(players.currentPlayer) ? players.currentPlayer : 0)];
}

const PlayerProfile& CurrentProfile(const Players& players)
{
    return players.players[size_t(IsSlot(players.currentPlayer) ? players.currentPlayer : 0)];
}

void ResetProfile(Players& players, int index, std::string_view name)
{
    if (!IsSlot(index))
        return;
    PlayerProfile& p = players.players[size_t(index)];
    SetName(p, name);
    p.birthDay = 1;
    p.birthMonth = 0;
    p.birthYear = 1970;
    p.sfxVolume = 0.8;
    p.musicVolume = 0.8;
    p.empty = 1;
    p.fullscreen = 1;
    p.voice = 1;
    p.state = 0;
    p.stamps.fill(0);
    p.history.fill(ResultRecord{});
    p.historyCount = 0;
    for (TestAccess& access : p.testAccess)
        access.locked = 1;
    for (int open : kInitiallyOpenTests)
        p.testAccess[size_t(open)].locked = 0;
    // The daily exam's category is left as it was: it is not a test of a category.
    for (int t = 0; t < kDailyExamId; ++t)
        p.testAccess[size_t(t)].category = t % kCategoryCount;
    RefreshToday(players);
    p.created = LocalNow();
    p.lastPlayed = p.created;
    p.datesSet = 0;
    players.flagsPlayer = -1;
}

void DeleteProfile(Players& players, int index)
{
    if (!IsSlot(index))
        return;
    for (int k = index; k < kPlayerSlots - 1; ++k)
        players.players[size_t(k)] = players.players[size_t(k + 1)];
    ResetProfile(players, kPlayerSlots - 1, "");
}

int CountProfiles(const Players& players)
{
    int count = 0;
    for (const PlayerProfile& p : players.players)
        count += p.empty == 0 ? 1 : 0;
    return count;
}

int FirstFreeProfile(const Players& players)
{
    for (int slot = 0; slot < kPlayerSlots; ++slot)
        if (players.players[size_t(slot)].empty != 0)
            return slot;
    return -1;
}

void RefreshToday(Players& players) { players.today = DayOf(LocalNow()); }

void RefreshPlayedToday(Players& players)
{
    RefreshToday(players);
    players.playedToday.fill(0);
    const PlayerProfile& p = CurrentProfile(players);
    const int count = p.historyCount < 0 ? 0 : (p.historyCount > kHistoryCapacity ? kHistoryCapacity : p.historyCount);
    for (int i = 0; i < count; ++i) {
        const ResultRecord& r = p.history[size_t(i)];
        if (IsTestId(r.testId) && CalendarDay{r.day, r.month, r.year} == players.today)
            players.playedToday[size_t(r.testId)] = 1;
    }
    players.flagsDay = players.today;
    players.flagsPlayer = players.currentPlayer;
    players.flagsHistoryCount = p.historyCount;
}

bool PlayedToday(Players& players, int testId)
{
    if (!IsTestId(testId))
        return false;
    RefreshToday(players);
    if (players.flagsDay != players.today || players.flagsPlayer != players.currentPlayer
        || players.flagsHistoryCount != CurrentProfile(players).historyCount)
        RefreshPlayedToday(players);
    return players.playedToday[size_t(testId)] != 0;
}

int LastGrade(const Players& players, int testId)
{
    const PlayerProfile& p = CurrentProfile(players);
    const int count = p.historyCount > kHistoryCapacity ? kHistoryCapacity : p.historyCount;
    for (int i = count - 1; i >= 0; --i)
        if (p.history[size_t(i)].testId == testId)
            return p.history[size_t(i)].grade;
    return -1;
}

SaveResult SavePreferences(Players& players)
{
    PlayerProfile& current = CurrentProfile(players);
    current.lastPlayed = LocalNow();

    SaveResult result;
    Plat::MakeDirs(Plat::UserDataDir());
    Plat::WriteResult written;
    if (!ClearDamagedFiles(players, written.error)) {
        written.ok = false;
    } else {
        Plat::WriteOptions options;
        // A damaged backup that is still there is better than none: it is not replaced.
        if (!players.damagedBackupInPlace)
            options.keepPreviousAs = PlayerBackupPath();
        written = Plat::WriteFileAtomically(
            PlayerFilePath(),
            [&](const Plat::PieceWriter& write) { return EncodePlayerFile(players, write); },
            options);
    }
    std::string failure = "The players could not be saved: ";
    if (written.ok) {
        result.playerFileWritten = true;
        const uint8_t mode = current.fullscreen;
        // The byte rarely changes, and writing it safely costs two more flushes than the
        // players themselves: a file that already holds it is left alone.
        if (!HoldsExactly(WindowModeFilePath(), mode))
            written = Plat::WriteFileAtomically(WindowModeFilePath(), &mode, 1);
        failure = "The players were saved, but the screen mode could not be: ";
    }
    if (!written.ok) {
        result.ok = false;
        result.error = failure + written.error;
        WriteErrorLog(result.error);
        result.tellPlayer = !players.saveFailureTold;
        players.saveFailureTold = true;
    }
    return result;
}

LoadOutcome LoadPreferences(Players& players)
{
    LoadOutcome outcome;
    const std::string path = PlayerFilePath();
    const std::string backup = PlayerBackupPath();
    players.damagedFileInPlace = false;
    players.damagedBackupInPlace = false;

    std::string problem;
    const ReadStatus status = LoadFile(path, players, problem);
    if (status == ReadStatus::Read) {
        outcome.kind = LoadOutcome::Kind::Loaded;
        RefreshPlayedToday(players);
        return outcome;
    }

    std::string what;
    if (status == ReadStatus::Damaged) {
        outcome.keptAs = KeepAside(path);
        players.damagedFileInPlace = outcome.keptAs.empty();
        what = "The player file " + path + " was damaged (" + problem + ").";
        what += outcome.keptAs.empty() ? " It could not be moved aside and was left as it is."
                                       : " It was kept as " + outcome.keptAs + ".";
    }

    std::string backupProblem;
    const ReadStatus backupStatus = LoadFile(backup, players, backupProblem);
    if (backupStatus == ReadStatus::Read) {
        outcome.kind = LoadOutcome::Kind::Restored;
        if (status == ReadStatus::Missing)
            what = "The player file " + path + " was missing.";
        outcome.message = what + " The players were restored from " + backup
            + ", which holds them as they were one save earlier.";
    } else {
        MakeFreshSlots(players);
        if (status == ReadStatus::Missing && backupStatus == ReadStatus::Missing) {
            outcome.kind = LoadOutcome::Kind::Created;
        } else {
            outcome.kind = LoadOutcome::Kind::Damaged;
            if (status == ReadStatus::Missing)
                what = "The player file " + path + " was missing.";
            if (backupStatus == ReadStatus::Damaged) {
                outcome.backupKeptAs = KeepAside(backup);
                players.damagedBackupInPlace = outcome.backupKeptAs.empty();
                what += " Its backup " + backup + " was damaged too (" + backupProblem + ")";
                what += outcome.backupKeptAs.empty() ? " and was left as it is."
                                                     : " and was kept as " + outcome.backupKeptAs + ".";
            }
            outcome.message = what + " New, empty player slots were started.";
        }
    }
    if (!outcome.message.empty())
        WriteErrorLog(outcome.message);
    // Saving now would replace the only copy of a damaged file that could not be moved aside;
    // later saves try to move it again first.
    if (!players.damagedFileInPlace)
        outcome.save = SavePreferences(players);
    RefreshPlayedToday(players);
    return outcome;
}

RecordOutcome RecordResult(Players& players, const TestResult& result,
                           const std::function<void(const ResultRecord&)>& checkStamps)
{
    RecordOutcome outcome;
    RefreshToday(players);
    if (!IsTestId(result.testId) || PlayedToday(players, result.testId))
        return outcome;
    players.playedToday[size_t(result.testId)] = 1;

    PlayerProfile& p = CurrentProfile(players);
    const int n = p.historyCount;
    if (n < 0 || n > kHistoryCountLimit)
        return outcome;
    ResultRecord& record = p.history[size_t(n)];
    record.testId = result.testId;
    record.correct = result.correct;
    record.mistakes = result.mistakes;
    record.grade = result.grade;
    record.day = players.today.day;
    record.month = players.today.month;
    record.year = players.today.year;
    if (n < kHistoryCountLimit)
        ++p.historyCount;
    // The flag was set by hand above; the new count must not make PlayedToday re-derive it, as
    // a record at the limit lies outside the counted range.
    players.flagsHistoryCount = p.historyCount;
    outcome.recordIndex = n;

    if (checkStamps)
        checkStamps(record);
    outcome.save = SavePreferences(players);
    return outcome;
}

} // namespace Vel
