// The one source of the local date and time the game reads (greetings, birthdays, played-today
// flags, charts, the player file's dates), replaceable so tests can set any day and hour.
#pragma once

#include <cstdint>

namespace Vel {

// A broken-down local time, stored in the player file as these nine 32-bit values in this order.
struct BrokenDownTime {
    int32_t seconds = 0;        // 0..60 (60 only for a leap second)
    int32_t minutes = 0;        // 0..59
    int32_t hours = 0;          // 0..23
    int32_t dayOfMonth = 1;     // 1..31
    int32_t month = 0;          // 0..11, January = 0
    int32_t yearsSince1900 = 70;
    int32_t dayOfWeek = 4;      // 0..6, Sunday = 0
    int32_t dayOfYear = 0;      // 0..365
    int32_t daylightSaving = 0; // > 0 in effect, 0 not, < 0 unknown

    bool operator==(const BrokenDownTime&) const = default;
};

inline constexpr int kBrokenDownTimeFields = 9;

using LocalTimeSource = BrokenDownTime (*)();

// The current local time from the installed source (the system clock unless a test set one).
BrokenDownTime LocalNow();
// Returns the previous source; nullptr restores the system clock.
LocalTimeSource SetLocalTimeSource(LocalTimeSource source);

// Fills the day of week and day of year from the date (proleptic Gregorian), so a test can
// build a consistent time from a date and an hour.
BrokenDownTime MakeLocalTime(int year, int month, int dayOfMonth, int hours = 12, int minutes = 0, int seconds = 0);

} // namespace Vel
