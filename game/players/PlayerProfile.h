// One player's saved record and the results history it carries. The fields are those of the
// player file; PlayerFile.h gives their place in it.
#pragma once

#include "game/players/LocalTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Vel {

inline constexpr int kPlayerSlots = 6;
inline constexpr int kTestIdCount = 17; // TestIds 0..15 and the daily exam
inline constexpr int kDailyExamId = 16;
inline constexpr int kCategoryCount = 4;
inline constexpr int kStampCount = 10;
inline constexpr int kPlayerNameSize = 32; // bytes, terminator included
inline constexpr int kHistoryCapacity = 32000;
// historyCount never passes this: at the limit each new result overwrites the last record,
// which lies outside the counted range.
inline constexpr int kHistoryCountLimit = kHistoryCapacity - 1;
inline constexpr int kBoardStateCount = 47; // BoardState 0..46

// Open from the start: MATH1, ANALYSIS1, MEMORY2, LANGUAGE4 and the daily exam.
inline constexpr std::array<int, 5> kInitiallyOpenTests{2, 3, 5, 12, kDailyExamId};

struct ResultRecord {
    int32_t testId = -1; // 0..15, kDailyExamId, -1 unused
    int32_t day = 0;     // 1..31
    int32_t month = 0;   // 0..11
    int32_t year = 0;    // years since 1900
    int32_t correct = 0;
    int32_t mistakes = 0;
    int32_t grade = 0; // 0..100

    bool operator==(const ResultRecord&) const = default;
};

struct TestAccess {
    int32_t category = 0; // TestId mod 4; kept for the file, nothing reads it
    uint8_t locked = 1;

    bool operator==(const TestAccess&) const = default;
};

struct PlayerProfile {
    // NUL-terminated, at most 31 characters. Kept as the raw bytes of the file so a loaded file
    // saves back unchanged.
    std::array<char, kPlayerNameSize> name{};
    int32_t birthDay = 1;    // 1..31
    int32_t birthMonth = 0;  // 0..11
    int32_t birthYear = 1970;
    BrokenDownTime created;
    uint8_t datesSet = 0; // 1 once the new-profile screen was first accepted for this slot
    BrokenDownTime lastPlayed;
    std::array<TestAccess, kTestIdCount> testAccess{};
    uint8_t empty = 1;
    double sfxVolume = 0.8; // 0..1
    double musicVolume = 0.8;
    uint8_t fullscreen = 1;
    uint8_t voice = 1;
    int32_t state = 0; // the BoardState this player is on
    std::array<uint8_t, kStampCount> stamps{};
    std::array<ResultRecord, kHistoryCapacity> history{}; // oldest first
    int32_t historyCount = 0;

    bool operator==(const PlayerProfile&) const = default;
};

inline std::string_view NameOf(const PlayerProfile& profile)
{
    size_t length = 0;
    while (length < profile.name.size() && profile.name[length] != '\0')
        ++length;
    return {profile.name.data(), length};
}

// Keeps at most 31 bytes of `name` and clears the bytes after it.
inline void SetName(PlayerProfile& profile, std::string_view name)
{
    profile.name.fill('\0');
    const size_t length = name.size() < profile.name.size() - 1 ? name.size() : profile.name.size() - 1;
    name.copy(profile.name.data(), length);
}

} // namespace Vel
