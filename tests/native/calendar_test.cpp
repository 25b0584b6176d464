// Calendar arithmetic checked against fixed dates and, day by day, against
// the standard library's own civil calendar.
#include <cstdint>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "tests/native/civil_date.h"

namespace {

// 0 = Monday ... 6 = Sunday, as CalDayOfWeek counts.
int32_t MondayBasedWeekday(chr::sys_days date)
{
    return static_cast<int32_t>(chr::weekday{date}.iso_encoding()) - 1;
}

int32_t ChronoMonthLength(int32_t y, int32_t m)
{
    const chr::year_month_day_last last{chr::year{y} / chr::month{static_cast<unsigned>(m)} / chr::last};
    return static_cast<int32_t>(static_cast<unsigned>(last.day()));
}

// Checks every day of the years from..to against the standard calendar.
void ExpectEveryDayAgrees(int32_t from, int32_t to)
{
    for (int32_t y = from; y <= to; ++y) {
        for (int32_t m = 1; m <= 12; ++m) {
            const int32_t length = CalMonthLength(y, m);
            ASSERT_EQ(length, ChronoMonthLength(y, m)) << y << "-" << m;
            const int32_t first = MondayBasedWeekday(CivilDate(y, m, 1));
            for (int32_t d = 1; d <= length; ++d)
                ASSERT_EQ(CalDayOfWeek(y, m, d), (first + d - 1) % 7) << y << "-" << m << "-" << d;
        }
    }
}

}  // namespace

TEST(CalendarTest, LeapDayOnlyInFebruaryOfLeapYears)
{
    EXPECT_EQ(CalLeapDay(2000, 2), 1);
    EXPECT_EQ(CalLeapDay(1900, 2), 0);
    EXPECT_EQ(CalLeapDay(2024, 2), 1);
    EXPECT_EQ(CalLeapDay(2023, 2), 0);
    EXPECT_EQ(CalLeapDay(2024, 3), 0);
    EXPECT_EQ(CalLeapDay(1600, 2), 1);
    EXPECT_EQ(CalLeapDay(10000, 2), 1);
    for (int32_t m = 1; m <= 12; ++m) {
        if (m != 2) {
            EXPECT_EQ(CalLeapDay(2024, m), 0) << m;
        }
    }
}

TEST(CalendarTest, WeekdaysOfKnownDates)
{
    EXPECT_EQ(CalDayOfWeek(1601, 1, 1), 0);    // Monday
    EXPECT_EQ(CalDayOfWeek(1900, 3, 1), 3);    // Thursday
    EXPECT_EQ(CalDayOfWeek(2000, 2, 29), 1);   // Tuesday
    EXPECT_EQ(CalDayOfWeek(2024, 3, 1), 4);    // Friday
    EXPECT_EQ(CalDayOfWeek(9999, 12, 31), 4);  // Friday
}

TEST(CalendarTest, EveryDayOfTheSpinnerRangeMatchesTheCivilCalendar)
{
    ExpectEveryDayAgrees(1601, 9999);
}

// The month carry can take the shown year past the spinner's range; the
// weekdays there must still be right, so that the grid is.
TEST(CalendarTest, YearsBeyondTheSpinnerRangeKeepTheirWeekdays)
{
    ExpectEveryDayAgrees(1500, 1600);
    ExpectEveryDayAgrees(10000, 10100);
    EXPECT_EQ(CalDayOfWeek(1600, 12, 31), 6);  // Sunday, the day before 1 January 1601
    EXPECT_EQ(CalDayOfWeek(1600, 1, 1), 5);    // Saturday
    EXPECT_EQ(CalDayOfWeek(10000, 1, 1), 5);   // Saturday
    for (int32_t y = -400; y <= 30000; y += 7) {
        for (int32_t m = 1; m <= 12; ++m) {
            ASSERT_EQ(CalDayOfWeek(y, m, 1), MondayBasedWeekday(CivilDate(y, m, 1))) << y << "-" << m;
            ASSERT_EQ(CalMonthLength(y, m), ChronoMonthLength(y, m)) << y << "-" << m;
        }
    }
}

TEST(CalendarTest, GridOffsetPutsTheFirstUnderItsWeekday)
{
    // Column c of the grid is headed by weekday (firstDay + c) mod 7, counted
    // from Sunday; the 1st sits in column (1 + offset) mod 7.
    for (int32_t y = 1601; y <= 9999; ++y) {
        for (int32_t m = 1; m <= 12; ++m) {
            const int32_t sundayBased = SundayBasedWeekday(CivilDate(y, m, 1));
            for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
                const int32_t offset = CalGridOffset(y, m, firstDay);
                ASSERT_GE(offset, 0);
                ASSERT_LE(offset, 6);
                ASSERT_EQ((firstDay + (1 + offset) % 7) % 7, sundayBased)
                    << y << "-" << m << " first " << firstDay;
                ASSERT_EQ(offset == 6, sundayBased == firstDay);
            }
        }
    }
    EXPECT_EQ(CalGridOffset(2024, 3, 1), 3);
    EXPECT_EQ(CalGridOffset(2021, 1, 1), 3);
    EXPECT_EQ(CalGridOffset(2026, 2, 0), 6);
    EXPECT_EQ(CalGridOffset(2024, 3, 5), 6);
}

TEST(CalendarTest, GridOffsetStaysInTheGridForAnyFirstDay)
{
    // A stored block may carry any first day; the offset must still place
    // every cell inside the grid, as the first day modulo 7 would.
    const int32_t firstDays[] = {-1, -7, 7, 8, 13, 100, -100, INT32_MIN, INT32_MAX};
    for (int32_t firstDay : firstDays) {
        for (int32_t m = 1; m <= 12; ++m) {
            const int32_t offset = CalGridOffset(2024, m, firstDay);
            EXPECT_GE(offset, 0) << firstDay;
            EXPECT_LE(offset, 6) << firstDay;
            const int32_t reduced = static_cast<int32_t>(((int64_t{firstDay} % 7) + 7) % 7);
            EXPECT_EQ(offset, CalGridOffset(2024, m, reduced)) << firstDay;
        }
    }
    // Years before 1601 used to give negative weekdays with truncating
    // quotients; the offset there is in range and right.
    for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
        const int32_t offset = CalGridOffset(1600, 12, firstDay);
        EXPECT_GE(offset, 0);
        EXPECT_LE(offset, 6);
    }
    EXPECT_EQ(CalGridOffset(1600, 12, 0), 4);  // 1 December 1600 was a Friday
}

TEST(CalendarTest, MonthsOutsideTheYearHaveNoDaysAndReadNoTable)
{
    // The table has 13 entries; a month from a bad report must not read past it.
    EXPECT_EQ(CalMonthLength(2024, 0), 0);
    EXPECT_EQ(CalMonthLength(2024, 13), 0);
    EXPECT_EQ(CalMonthLength(2024, -1), 0);
    EXPECT_EQ(CalMonthLength(2024, 65535), 0);
    const int32_t weekday = CalDayOfWeek(2024, 65535, 1);
    EXPECT_GE(weekday, 0);
    EXPECT_LE(weekday, 6);
    const int32_t number = CalFirstWeekNumber(2024, 65535, 3);
    EXPECT_GE(number, 0);
    EXPECT_LE(number, 53);
}

TEST(CalendarTest, FirstWeekNumbersOfKnownMonths)
{
    EXPECT_EQ(CalFirstWeekNumber(2024, 3, 3), 9);  // March 2024, Monday first
    EXPECT_EQ(CalFirstWeekNumber(2021, 1, 3), 0);  // January 2021, Monday first: 1-3 January before week 1
    EXPECT_EQ(CalFirstWeekNumber(2026, 2, 6), 4);  // February 2026, Sunday first: empty first row
    EXPECT_EQ(CalFirstWeekNumber(2024, 2, CalGridOffset(2024, 2, 5)), 5);  // Friday first
    EXPECT_EQ(CalFirstWeekNumber(2024, 3, CalGridOffset(2024, 3, 5)), 9);  // empty row 0, then 10
    EXPECT_EQ(CalFirstWeekNumber(2024, 12, CalGridOffset(2024, 12, 1)), 48);
}

TEST(CalendarTest, FirstSundayOfEveryMonthFromAnyOfItsDays)
{
    // Every day of every month of 2023..2028 names the same first Sunday,
    // the one the civil calendar finds, and it and the six days after it
    // run Sunday..Saturday inside the month.
    for (int32_t y = 2023; y <= 2028; ++y) {
        for (int32_t m = 1; m <= 12; ++m) {
            int32_t first = 1;
            while (SundayBasedWeekday(CivilDate(y, m, first)) != 0)
                ++first;
            for (int32_t d = 1; d <= CalMonthLength(y, m); ++d) {
                ASSERT_EQ(CalFirstSunday(d, SundayBasedWeekday(CivilDate(y, m, d))), first)
                    << y << '-' << m << '-' << d;
            }
            EXPECT_LE(first + 6, 13);
        }
    }
    EXPECT_EQ(CalFirstSunday(10, 3), 7);  // a Wednesday the 10th
    EXPECT_EQ(CalFirstSunday(3, 5), 5);   // a Friday the 3rd
    EXPECT_EQ(CalFirstSunday(1, 0), 1);   // a Sunday the 1st
}

TEST(CalendarTest, FirstDayOutsideTheWeekNamesTheWeekdayTheGridStartsWith)
{
    for (int32_t f = -30; f <= 30; ++f) {
        const int32_t normal = CalNormalFirstDay(f);
        ASSERT_GE(normal, 0);
        ASSERT_LE(normal, 6);
        // The grid laid out for the stored value is the one for its weekday.
        EXPECT_EQ(CalGridOffset(2024, 5, f), CalGridOffset(2024, 5, normal)) << f;
    }
    EXPECT_EQ(CalNormalFirstDay(9), 2);
    EXPECT_EQ(CalNormalFirstDay(-3), 4);
    EXPECT_EQ(CalNormalFirstDay(INT32_MIN), 5);  // -2^31 = -306783379 * 7 + 5
    EXPECT_EQ(CalNormalFirstDay(INT32_MAX), 1);  // 2^31 - 1 = 306783378 * 7 + 1
}
