// The player file codec.
#include "game/players/PlayerFile.h"

#include "game/players/Players.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <type_traits>

namespace Vel {
namespace {

namespace L = PlayerFileLayout;

// Writes at file offsets into a buffer that holds the part of the file from `base` on.
class Writer {
public:
    Writer(std::vector<uint8_t>& bytes, size_t base) : m_bytes(bytes), m_base(base) {}

    void U8(size_t at, uint8_t value) { m_bytes[at - m_base] = value; }
    void Raw(size_t at, const void* from, size_t size) { std::memcpy(&m_bytes[at - m_base], from, size); }
    void I32(size_t at, int32_t value) { U32(at, uint32_t(value)); }
    void U32(size_t at, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            U8(at + size_t(i), uint8_t(value >> (8 * i)));
    }
    void F64(size_t at, double value)
    {
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        for (int i = 0; i < 8; ++i)
            U8(at + size_t(i), uint8_t(bits >> (8 * i)));
    }
    void Time(size_t at, const BrokenDownTime& t)
    {
        const int32_t fields[kBrokenDownTimeFields] = {t.seconds, t.minutes, t.hours, t.dayOfMonth, t.month,
                                                       t.yearsSince1900, t.dayOfWeek, t.dayOfYear, t.daylightSaving};
        for (int i = 0; i < kBrokenDownTimeFields; ++i)
            I32(at + 4 * size_t(i), fields[i]);
    }

private:
    std::vector<uint8_t>& m_bytes;
    size_t m_base;
};

// Reads at file offsets from a buffer that holds the part of the file from `base` on.
class Reader {
public:
    Reader(const uint8_t* bytes, size_t base) : m_bytes(bytes), m_base(base) {}

    uint8_t U8(size_t at) const { return m_bytes[at - m_base]; }
    void Raw(size_t at, void* to, size_t size) const { std::memcpy(to, m_bytes + (at - m_base), size); }
    int32_t I32(size_t at) const
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t(U8(at + size_t(i))) << (8 * i);
        return int32_t(value);
    }
    double F64(size_t at) const
    {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= uint64_t(U8(at + size_t(i))) << (8 * i);
        return std::bit_cast<double>(bits);
    }
    BrokenDownTime Time(size_t at) const
    {
        BrokenDownTime t;
        int32_t* fields[kBrokenDownTimeFields] = {&t.seconds, &t.minutes, &t.hours, &t.dayOfMonth, &t.month,
                                                  &t.yearsSince1900, &t.dayOfWeek, &t.dayOfYear, &t.daylightSaving};
        for (int i = 0; i < kBrokenDownTimeFields; ++i)
            *fields[i] = I32(at + 4 * size_t(i));
        return t;
    }

private:
    const uint8_t* m_bytes;
    size_t m_base;
};

// The history is five sixths of the file. Where the machine's byte order is the file's, the
// records in memory are the file's bytes already, and are copied whole instead of field by
// field (a save spent most of its time there).
constexpr bool kRecordsAsInFile = std::endian::native == std::endian::little
                                  && sizeof(ResultRecord) == L::kResultRecordSize
                                  && std::is_trivially_copyable_v<ResultRecord>
                                  && offsetof(ResultRecord, testId) == 0 && offsetof(ResultRecord, day) == 4
                                  && offsetof(ResultRecord, month) == 8 && offsetof(ResultRecord, year) == 12
                                  && offsetof(ResultRecord, correct) == 16 && offsetof(ResultRecord, mistakes) == 20
                                  && offsetof(ResultRecord, grade) == 24;

void EncodeProfile(Writer& w, size_t base, const PlayerProfile& p)
{
    for (size_t i = 0; i < p.name.size(); ++i)
        w.U8(base + L::kName + i, uint8_t(p.name[i]));
    w.I32(base + L::kBirthDay, p.birthDay);
    w.I32(base + L::kBirthMonth, p.birthMonth);
    w.I32(base + L::kBirthYear, p.birthYear);
    w.Time(base + L::kCreated, p.created);
    w.U8(base + L::kDatesSet, p.datesSet);
    w.Time(base + L::kLastPlayed, p.lastPlayed);
    for (size_t t = 0; t < p.testAccess.size(); ++t) {
        const size_t at = base + L::kTestAccess + t * L::kTestAccessSize;
        w.I32(at, p.testAccess[t].category);
        w.U8(at + 4, p.testAccess[t].locked);
    }
    w.U8(base + L::kEmpty, p.empty);
    w.F64(base + L::kSfxVolume, p.sfxVolume);
    w.F64(base + L::kMusicVolume, p.musicVolume);
    w.U8(base + L::kFullscreen, p.fullscreen);
    w.U8(base + L::kVoice, p.voice);
    w.I32(base + L::kState, p.state);
    for (size_t s = 0; s < p.stamps.size(); ++s)
        w.U8(base + L::kStamps + s, p.stamps[s]);
    if constexpr (kRecordsAsInFile) {
        w.Raw(base + L::kHistory, p.history.data(), sizeof p.history);
    } else {
        for (size_t r = 0; r < p.history.size(); ++r) {
            const ResultRecord& rec = p.history[r];
            const size_t at = base + L::kHistory + r * L::kResultRecordSize;
            w.I32(at + 0, rec.testId);
            w.I32(at + 4, rec.day);
            w.I32(at + 8, rec.month);
            w.I32(at + 12, rec.year);
            w.I32(at + 16, rec.correct);
            w.I32(at + 20, rec.mistakes);
            w.I32(at + 24, rec.grade);
        }
    }
    w.I32(base + L::kHistoryCount, p.historyCount);
}

void DecodeProfile(const Reader& r, size_t base, PlayerProfile& p)
{
    for (size_t i = 0; i < p.name.size(); ++i)
        p.name[i] = char(r.U8(base + L::kName + i));
    p.birthDay = r.I32(base + L::kBirthDay);
    p.birthMonth = r.I32(base + L::kBirthMonth);
    p.birthYear = r.I32(base + L::kBirthYear);
    p.created = r.Time(base + L::kCreated);
    p.datesSet = r.U8(base + L::kDatesSet);
    p.lastPlayed = r.Time(base + L::kLastPlayed);
    for (size_t t = 0; t < p.testAccess.size(); ++t) {
        const size_t at = base + L::kTestAccess + t * L::kTestAccessSize;
        p.testAccess[t].category = r.I32(at);
        p.testAccess[t].locked = r.U8(at + 4);
    }
    p.empty = r.U8(base + L::kEmpty);
    p.sfxVolume = r.F64(base + L::kSfxVolume);
    p.musicVolume = r.F64(base + L::kMusicVolume);
    p.fullscreen = r.U8(base + L::kFullscreen);
    p.voice = r.U8(base + L::kVoice);
    p.state = r.I32(base + L::kState);
    for (size_t s = 0; s < p.stamps.size(); ++s)
        p.stamps[s] = r.U8(base + L::kStamps + s);
    if constexpr (kRecordsAsInFile) {
        r.Raw(base + L::kHistory, p.history.data(), sizeof p.history);
    } else {
        for (size_t i = 0; i < p.history.size(); ++i) {
            ResultRecord& rec = p.history[i];
            const size_t at = base + L::kHistory + i * L::kResultRecordSize;
            rec.testId = r.I32(at + 0);
            rec.day = r.I32(at + 4);
            rec.month = r.I32(at + 8);
            rec.year = r.I32(at + 12);
            rec.correct = r.I32(at + 16);
            rec.mistakes = r.I32(at + 20);
            rec.grade = r.I32(at + 24);
        }
    }
    p.historyCount = r.I32(base + L::kHistoryCount);
}

bool InRange(int64_t value, int64_t low, int64_t high) { return value >= low && value <= high; }

// The first value of a broken-down time outside its range, or nullptr.
const char* CheckTime(const BrokenDownTime& t)
{
    if (!InRange(t.seconds, 0, 60))
        return "seconds";
    if (!InRange(t.minutes, 0, 59))
        return "minutes";
    if (!InRange(t.hours, 0, 23))
        return "hours";
    if (!InRange(t.dayOfMonth, 1, 31))
        return "day of month";
    if (!InRange(t.month, 0, 11))
        return "month";
    if (!InRange(t.dayOfWeek, 0, 6))
        return "day of week";
    if (!InRange(t.dayOfYear, 0, 365))
        return "day of year";
    return nullptr;
}

bool IsFlag(uint8_t value) { return value <= 1; }

// Empty when every field the game reads is within the range the game itself writes.
std::string CheckProfile(const PlayerProfile& p)
{
    if (std::memchr(p.name.data(), '\0', p.name.size()) == nullptr)
        return "name without its terminator";
    if (!InRange(p.birthDay, 1, 31))
        return "birthDay " + std::to_string(p.birthDay) + " outside 1..31";
    if (!InRange(p.birthMonth, 0, 11))
        return "birthMonth " + std::to_string(p.birthMonth) + " outside 0..11";
    if (!InRange(p.birthYear, 0, 9999))
        return "birthYear " + std::to_string(p.birthYear) + " outside 0..9999";
    if (const char* field = CheckTime(p.created))
        return std::string("created: ") + field + " out of range";
    if (const char* field = CheckTime(p.lastPlayed))
        return std::string("lastPlayed: ") + field + " out of range";
    if (!IsFlag(p.datesSet) || !IsFlag(p.empty) || !IsFlag(p.fullscreen) || !IsFlag(p.voice))
        return "a yes/no byte holds another value";
    for (const TestAccess& access : p.testAccess)
        if (!IsFlag(access.locked))
            return "a test's locked byte holds another value";
    for (uint8_t stamp : p.stamps)
        if (!IsFlag(stamp))
            return "a stamp byte holds another value";
    if (!(p.sfxVolume >= 0.0 && p.sfxVolume <= 1.0) || !(p.musicVolume >= 0.0 && p.musicVolume <= 1.0))
        return "a volume outside 0..1";
    if (!InRange(p.state, 0, kBoardStateCount - 1))
        return "state " + std::to_string(p.state) + " outside 0.." + std::to_string(kBoardStateCount - 1);
    if (!InRange(p.historyCount, 0, kHistoryCountLimit))
        return "historyCount " + std::to_string(p.historyCount) + " outside 0.." + std::to_string(kHistoryCountLimit);
    for (int i = 0; i < p.historyCount; ++i) {
        const ResultRecord& r = p.history[size_t(i)];
        if (!InRange(r.testId, 0, kTestIdCount - 1) || !InRange(r.day, 1, 31) || !InRange(r.month, 0, 11)
            || !InRange(r.grade, 0, 100) || r.correct < 0 || r.mistakes < 0)
            return "history record " + std::to_string(i) + " out of range";
    }
    return {};
}

} // namespace

bool EncodePlayerFile(const Players& players, const std::function<bool(const uint8_t*, size_t)>& piece)
{
    std::vector<uint8_t> bytes(L::kFirstSlot, 0);
    Writer(bytes, 0).I32(L::kCurrentPlayer, players.currentPlayer);
    if (!piece(bytes.data(), bytes.size()))
        return false;
    for (int slot = 0; slot < kPlayerSlots; ++slot) {
        bytes.assign(L::kProfileSize, 0);
        Writer w(bytes, L::SlotOffset(slot));
        EncodeProfile(w, L::SlotOffset(slot), players.players[size_t(slot)]);
        if (!piece(bytes.data(), bytes.size()))
            return false;
    }
    return true;
}

std::vector<uint8_t> EncodePlayerFile(const Players& players)
{
    std::vector<uint8_t> file;
    file.reserve(kPlayerFileSize);
    EncodePlayerFile(players, [&](const uint8_t* bytes, size_t size) {
        file.insert(file.end(), bytes, bytes + size);
        return true;
    });
    return file;
}

bool DecodePlayerFile(const std::function<bool(uint8_t*, size_t)>& piece, Players& players, std::string& problem)
{
    std::vector<uint8_t> bytes(L::kFirstSlot);
    if (!piece(bytes.data(), bytes.size())) {
        problem = "the file could not be read whole";
        return false;
    }
    players.currentPlayer = Reader(bytes.data(), 0).I32(L::kCurrentPlayer);
    if (!InRange(players.currentPlayer, 0, kPlayerSlots - 1)) {
        problem = "currentPlayer " + std::to_string(players.currentPlayer) + " outside 0.." + std::to_string(kPlayerSlots - 1);
        return false;
    }
    bytes.resize(L::kProfileSize);
    for (int slot = 0; slot < kPlayerSlots; ++slot) {
        if (!piece(bytes.data(), bytes.size())) {
            problem = "the file could not be read whole";
            return false;
        }
        PlayerProfile& profile = players.players[size_t(slot)];
        DecodeProfile(Reader(bytes.data(), L::SlotOffset(slot)), L::SlotOffset(slot), profile);
        const std::string slotProblem = CheckProfile(profile);
        if (!slotProblem.empty()) {
            problem = "slot " + std::to_string(slot) + ": " + slotProblem;
            return false;
        }
    }
    return true;
}

bool DecodePlayerFile(const uint8_t* bytes, size_t size, Players& players, std::string& problem)
{
    if (size != kPlayerFileSize) {
        problem = "the file has " + std::to_string(size) + " bytes instead of " + std::to_string(kPlayerFileSize);
        return false;
    }
    size_t at = 0;
    return DecodePlayerFile(
        [&](uint8_t* out, size_t n) {
            std::copy(bytes + at, bytes + at + n, out);
            at += n;
            return true;
        },
        players, problem);
}

} // namespace Vel
