#include "calendar/calendar.h"

const int32_t CalMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

namespace {

// Floor division and modulo: the calendar counts back past 1601 too (the
// month carry can reach 1600), where truncating quotients would miscount.
int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t FloorMod(int64_t a, int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

// Days of the year before the 1st of the month. Months past 12 count the
// whole year, so no index leaves the table.
int64_t DaysBeforeMonth(int32_t year, int32_t month)
{
    int64_t days = 0;
    for (int32_t i = 0; i < month && i <= 12; ++i)
        days += CalMonthDays[i];
    if (month > 2)
        days += CalLeapDay(year, 2);
    return days;
}

}  // namespace

int32_t CalLeapDay(int32_t year, int32_t month)
{
    if (month != 2)
        return 0;
    if (FloorMod(year, 4) != 0)
        return 0;
    if (FloorMod(year, 400) == 0)
        return 1;
    return FloorMod(year, 100) == 0 ? 0 : 1;
}

int32_t CalMonthLength(int32_t year, int32_t month)
{
    if (month < 1 || month > 12)
        return 0;
    return CalMonthDays[month] + CalLeapDay(year, month);
}

int32_t CalDayOfWeek(int32_t year, int32_t month, int32_t day)
{
    const int64_t c = int64_t{year} - 1601;
    int64_t n = 365 * c + FloorDiv(c, 4) - FloorDiv(c, 100) + FloorDiv(c, 400);
    n += DaysBeforeMonth(year, month);
    n += int64_t{day} - 1;
    return static_cast<int32_t>(FloorMod(n, 7));
}

int32_t CalGridOffset(int32_t year, int32_t month, int32_t firstDay)
{
    // Reduced with a floor modulo so that a first day outside 0..6 from a
    // stored block still gives an offset inside the grid.
    return static_cast<int32_t>(FloorMod(int64_t{CalDayOfWeek(year, month, 1)} + 7 - firstDay, 7));
}

int32_t CalNormalFirstDay(int32_t firstDay)
{
    return static_cast<int32_t>(FloorMod(firstDay, 7));
}

int32_t CalFirstSunday(int32_t day, int32_t weekday)
{
    const int32_t s = static_cast<int32_t>(FloorMod(int64_t{day} - weekday, 7));
    return s == 0 ? 7 : s;
}

int32_t CalFirstWeekNumber(int32_t year, int32_t month, int32_t gridOffset)
{
    return static_cast<int32_t>(FloorDiv(DaysBeforeMonth(year, month) + 9 - gridOffset, 7));
}
