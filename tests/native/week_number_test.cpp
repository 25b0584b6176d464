// Week numbers of month-grid rows, checked by dates for every month of the
// spinner's range and every first day of the week.
#include <cstdint>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "tests/native/civil_date.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The start of week 1 of a year for a given first day of the week: the one
// day from 29 December to 4 January that falls on that weekday.
chr::sys_days WeekOneStart(int32_t year, int32_t firstDay)
{
    chr::sys_days day = CivilDate(year - 1, 12, 29);
    while (SundayBasedWeekday(day) != firstDay)
        day += chr::days{1};
    return day;
}

struct Grid {
    int32_t offset;
    int32_t firstNumber;
    int32_t rows;
};

Grid GridOf(int32_t y, int32_t m, int32_t firstDay)
{
    Grid g;
    g.offset = CalGridOffset(y, m, firstDay);
    g.firstNumber = CalFirstWeekNumber(y, m, g.offset);
    g.rows = (CalMonthLength(y, m) + g.offset) / 7 + 1;
    return g;
}

// Date in column 0 of row t: grid cell 7t holds day 7t - offset.
chr::sys_days RowStart(int32_t y, int32_t m, const Grid& g, int32_t t)
{
    return CivilDate(y, m, 1) + chr::days{7 * t - g.offset - 1};
}

}  // namespace

TEST(WeekNumberTest, EveryRowBearsTheWeekCountedFromWeekOne)
{
    for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
        for (int32_t y = 1601; y <= 9999; ++y) {
            const chr::sys_days weekOne = WeekOneStart(y, firstDay);
            for (int32_t m = 1; m <= 12; ++m) {
                const Grid g = GridOf(y, m, firstDay);
                for (int32_t t = 0; t < g.rows; ++t) {
                    const int64_t since = (RowStart(y, m, g, t) - weekOne).count();
                    const int64_t expected = FloorDiv(since, 7) + 1;
                    ASSERT_EQ(g.firstNumber + t, expected)
                        << y << "-" << m << " row " << t << " first day " << firstDay;
                    ASSERT_GE(g.firstNumber + t, 0);
                    ASSERT_LE(g.firstNumber + t, 53);
                }
            }
        }
    }
}

TEST(WeekNumberTest, MondayFirstGivesIsoWeeksSaveAtTheTurnOfTheYear)
{
    for (int32_t y = 1601; y <= 9999; ++y) {
        for (int32_t m = 1; m <= 12; ++m) {
            const Grid g = GridOf(y, m, 1);
            for (int32_t t = 0; t < g.rows; ++t) {
                // The ISO week of a Monday is that of its Thursday.
                const chr::sys_days thursday = RowStart(y, m, g, t) + chr::days{3};
                const chr::year_month_day ymd{thursday};
                const int32_t isoYear = static_cast<int32_t>(ymd.year());
                const int64_t dayOfYear = (thursday - chr::sys_days{ymd.year() / 1 / 1}).count();
                const int64_t isoWeek = dayOfYear / 7 + 1;
                const int32_t number = g.firstNumber + t;
                if (isoYear == y) {
                    ASSERT_EQ(number, isoWeek) << y << "-" << m << " row " << t;
                } else if (isoYear < y) {
                    ASSERT_EQ(number, 0) << y << "-" << m << " row " << t;  // before week 1: not shown
                } else {
                    ASSERT_EQ(number, 53) << y << "-" << m << " row " << t;  // not wrapped to 1
                }
            }
        }
    }
}

TEST(WeekNumberTest, NoNumberRepeatsOrIsSkippedAcrossMonths)
{
    for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
        for (int32_t y = 1601; y <= 9999; ++y) {
            for (int32_t m = 1; m < 12; ++m) {
                const Grid cur = GridOf(y, m, firstDay);
                const Grid next = GridOf(y, m + 1, firstDay);
                const int32_t last = cur.firstNumber + cur.rows - 1;
                // Row of the next month's 1st: row 1 after an empty row 0.
                const int32_t firstDayRow = (1 + next.offset) / 7;
                const int32_t firstDayNumber = next.firstNumber + firstDayRow;
                if (next.offset == 6) {  // the 1st begins a new week: the following number
                    ASSERT_EQ(firstDayNumber, last + 1) << y << "-" << m << " first day " << firstDay;
                } else {  // the boundary week is shared: the same number
                    ASSERT_EQ(firstDayNumber, last) << y << "-" << m << " first day " << firstDay;
                }
            }
        }
    }
}

TEST(WeekNumberTest, KnownMonths)
{
    // March 2024, Monday first: rows 9 to 13.
    Grid g = GridOf(2024, 3, 1);
    EXPECT_EQ(g.offset, 3);
    EXPECT_EQ(g.rows, 5);
    EXPECT_EQ(g.firstNumber, 9);

    // January 2021, Monday first: 1-3 January before week 1, then 1 to 4.
    g = GridOf(2021, 1, 1);
    EXPECT_EQ(g.offset, 3);
    EXPECT_EQ(g.firstNumber, 0);
    EXPECT_EQ(g.rows, 5);

    // February 2026, Sunday first: empty row 0, days in rows bearing 5 to 8.
    g = GridOf(2026, 2, 0);
    EXPECT_EQ(g.offset, 6);
    EXPECT_EQ(g.rows, 5);
    EXPECT_EQ(g.firstNumber + 1, 5);
    EXPECT_EQ(g.firstNumber + g.rows - 1, 8);

    // Friday first across a leap February: 5 to 9, then March's rows of days 10 to 14.
    g = GridOf(2024, 2, 5);
    EXPECT_EQ(g.firstNumber, 5);
    EXPECT_EQ(g.firstNumber + g.rows - 1, 9);
    g = GridOf(2024, 3, 5);
    EXPECT_EQ(g.offset, 6);
    EXPECT_EQ(g.firstNumber + 1, 10);
    EXPECT_EQ(g.firstNumber + g.rows - 1, 14);

    // December 2024, Monday first: 48 to 53, the last row beginning on the 30th.
    g = GridOf(2024, 12, 1);
    EXPECT_EQ(g.firstNumber, 48);
    EXPECT_EQ(g.firstNumber + g.rows - 1, 53);
}
