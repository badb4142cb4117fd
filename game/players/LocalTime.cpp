// The replaceable local clock.
#include "game/players/LocalTime.h"

#include <ctime>

namespace Vel {
namespace {

LocalTimeSource g_source = nullptr;

BrokenDownTime SystemLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // Copied field by field: the system's own structure has more (and wider) members.
    BrokenDownTime t;
    t.seconds = local.tm_sec;
    t.minutes = local.tm_min;
    t.hours = local.tm_hour;
    t.dayOfMonth = local.tm_mday;
    t.month = local.tm_mon;
    t.yearsSince1900 = local.tm_year;
    t.dayOfWeek = local.tm_wday;
    t.dayOfYear = local.tm_yday;
    t.daylightSaving = local.tm_isdst;
    return t;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

} // namespace

BrokenDownTime LocalNow() { return g_source ? g_source() : SystemLocalTime(); }

LocalTimeSource SetLocalTimeSource(LocalTimeSource source)
{
    LocalTimeSource previous = g_source;
    g_source = source;
    return previous;
}

BrokenDownTime MakeLocalTime(int year, int month, int dayOfMonth, int hours, int minutes, int seconds)
{
    static constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    month = month < 0 ? 0 : (month > 11 ? 11 : month);
    BrokenDownTime t;
    t.seconds = seconds;
    t.minutes = minutes;
    t.hours = hours;
    t.dayOfMonth = dayOfMonth;
    t.month = month;
    t.yearsSince1900 = year - 1900;
    t.dayOfYear = kDaysBefore[month] + dayOfMonth - 1 + (month > 1 && IsLeapYear(year) ? 1 : 0);
    // Day of week by the month-offset formula, Sunday = 0.
    static constexpr int kMonthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = month < 2 ? year - 1 : year;
    t.dayOfWeek = (y + y / 4 - y / 100 + y / 400 + kMonthOffset[month] + dayOfMonth) % 7;
    t.daylightSaving = 0;
    return t;
}

} // namespace Vel
