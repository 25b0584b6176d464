// Month view geometry: the reference layouts to the pixel, the band and
// column formulas at small and huge sizes, and a sweep over every client size
// up to 400 that keeps each cell inside the view and apart from its neighbours.
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "view/month_layout.h"

// Lets failures print rectangles as (l, t, r, b) instead of raw bytes.
static void PrintTo(const CalRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

CalLayoutInput Input(int32_t width, int32_t height, int32_t weekNumbers, int32_t firstDay, int32_t year,
    int32_t month, int32_t todayDay = 0)
{
    return CalLayoutInput{width, height, weekNumbers, firstDay, year, month, todayDay};
}

CalRect R(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return CalRect{left, top, right, bottom};
}

bool Inside(const CalRect& cell, const CalRect& outer)
{
    return cell.left >= outer.left && cell.top >= outer.top && cell.right <= outer.right &&
        cell.bottom <= outer.bottom;
}

// Weekday with 0 = Sunday, as firstDay counts; CalDayOfWeek counts from Monday.
int32_t SundayBasedWeekday(int32_t year, int32_t month, int32_t day)
{
    return (CalDayOfWeek(year, month, day) + 1) % 7;
}

// Compares everything a painter reads, field by field (the record has padding).
void ExpectSameLayout(const CalMonthLayout& a, const CalMonthLayout& b)
{
    EXPECT_EQ(a.frame, b.frame);
    EXPECT_EQ(a.face, b.face);
    EXPECT_EQ(a.inner, b.inner);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.rowHeight, b.rowHeight);
    EXPECT_EQ(a.firstColumnWidth, b.firstColumnWidth);
    EXPECT_EQ(a.gridLeft, b.gridLeft);
    EXPECT_EQ(a.columnWidth, b.columnWidth);
    EXPECT_EQ(a.gridOffset, b.gridOffset);
    EXPECT_EQ(a.dayCount, b.dayCount);
    EXPECT_EQ(a.rowCount, b.rowCount);
    EXPECT_EQ(a.firstWeekNumber, b.firstWeekNumber);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(a.header[c], b.header[c]) << "column " << c;
    for (int d = 1; d <= a.dayCount && d < 32; ++d)
        EXPECT_EQ(a.day[d], b.day[d]) << "day " << d;
    for (int t = 0; t < a.rowCount && t < 6; ++t) {
        EXPECT_EQ(a.week[t].rect, b.week[t].rect) << "row " << t;
        EXPECT_EQ(a.week[t].number, b.week[t].number) << "row " << t;
        EXPECT_EQ(a.week[t].drawn, b.week[t].drawn) << "row " << t;
    }
    EXPECT_EQ(a.separator, b.separator);
    EXPECT_EQ(a.separatorSides, b.separatorSides);
    EXPECT_EQ(a.hasToday, b.hasToday);
    EXPECT_EQ(a.todayEdge, b.todayEdge);
    EXPECT_EQ(a.todayFill, b.todayFill);
    EXPECT_EQ(a.todayNumber, b.todayNumber);
}

// Every header, day and week cell that covers any pixel lies inside the
// inner rectangle; returns false at the first one that does not.
::testing::AssertionResult CellsInsideInner(const CalMonthLayout& l)
{
    for (int c = 0; c < 7; ++c)
        if (!CalRectEmpty(l.header[c]) && !Inside(l.header[c], l.inner))
            return ::testing::AssertionFailure() << "header " << c << " outside";
    for (int d = 1; d <= l.dayCount && d < 32; ++d)
        if (!CalRectEmpty(l.day[d]) && !Inside(l.day[d], l.inner))
            return ::testing::AssertionFailure() << "day " << d << " outside";
    for (int t = 0; t < l.rowCount && t < 6; ++t)
        if (!CalRectEmpty(l.week[t].rect) && !Inside(l.week[t].rect, l.inner))
            return ::testing::AssertionFailure() << "week row " << t << " outside";
    return ::testing::AssertionSuccess();
}

// The arrangement of the grid, checked in one pass over the days: the cell
// of day d is under the header of column (d + gridOffset) mod 7, days of one
// row run left to right and share their band, each new row starts at or
// below the previous one, the week cells share the bands of their rows, and
// the row count is the row of the last day plus one.
::testing::AssertionResult GridIsOrderly(const CalMonthLayout& l)
{
    if (l.gridOffset < 0 || l.gridOffset > 6)
        return ::testing::AssertionFailure() << "grid offset " << l.gridOffset;
    if (l.rowCount < 5 || l.rowCount > 6)
        return ::testing::AssertionFailure() << "row count " << l.rowCount;
    if (l.dayCount < 28 || l.dayCount > 31)
        return ::testing::AssertionFailure() << "day count " << l.dayCount;
    for (int c = 0; c < 7; ++c) {
        if (l.header[c].right - l.header[c].left != l.columnWidth)
            return ::testing::AssertionFailure() << "header " << c << " is not one column wide";
        if (c > 0 && l.header[c].left < l.header[c - 1].right)
            return ::testing::AssertionFailure() << "header " << c << " overlaps its left neighbour";
    }
    // The 1st heads a row of its own only when it falls in column 0, and the
    // row above it then stays empty.
    int32_t row = (1 + l.gridOffset) % 7 == 0 ? 1 : 0;
    for (int32_t d = 1; d <= l.dayCount; ++d) {
        const CalRect& cell = l.day[d];
        const int32_t column = (d + l.gridOffset) % 7;
        if (cell.left != l.header[column].left || cell.right != l.header[column].right)
            return ::testing::AssertionFailure() << "day " << d << " is not under column " << column;
        if (d > 1) {
            const CalRect& previous = l.day[d - 1];
            if (column == 0) {
                ++row;
                if (cell.top < previous.bottom)
                    return ::testing::AssertionFailure() << "day " << d << " starts no new row";
            } else if (cell.top != previous.top || cell.bottom != previous.bottom) {
                return ::testing::AssertionFailure() << "day " << d << " leaves the band of its row";
            } else if (cell.left < previous.right) {
                return ::testing::AssertionFailure() << "day " << d << " overlaps day " << d - 1;
            }
        }
        if (row >= l.rowCount)
            return ::testing::AssertionFailure() << "day " << d << " in row " << row << " of " << l.rowCount;
        if (l.week[row].rect.top != cell.top || l.week[row].rect.bottom != cell.bottom)
            return ::testing::AssertionFailure() << "week row " << row << " is not in the band of day " << d;
    }
    if (row + 1 != l.rowCount)
        return ::testing::AssertionFailure() << "last day in row " << row << " but " << l.rowCount << " rows";
    // Rows follow the header band without gaps; the band heights stay equal.
    if (l.week[0].rect.top != l.header[0].bottom)
        return ::testing::AssertionFailure() << "week row 0 does not follow the header band";
    for (int t = 0; t < l.rowCount; ++t) {
        if (l.week[t].rect.bottom - l.week[t].rect.top != l.rowHeight)
            return ::testing::AssertionFailure() << "week row " << t << " is not one row high";
        if (t > 0 && l.week[t].rect.top != l.week[t - 1].rect.bottom)
            return ::testing::AssertionFailure() << "week row " << t << " does not follow row " << t - 1;
        if (l.week[t].rect.right > l.header[0].left)
            return ::testing::AssertionFailure() << "week row " << t << " reaches into the day grid";
    }
    return ::testing::AssertionSuccess();
}

// Whether two layouts of one month put every day at the same x, or at the
// same y.
::testing::AssertionResult SameColumns(const CalMonthLayout& a, const CalMonthLayout& b)
{
    for (int32_t d = 1; d <= a.dayCount; ++d)
        if (a.day[d].left != b.day[d].left || a.day[d].right != b.day[d].right)
            return ::testing::AssertionFailure() << "day " << d << " moved sideways";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameRows(const CalMonthLayout& a, const CalMonthLayout& b)
{
    for (int32_t d = 1; d <= a.dayCount; ++d)
        if (a.day[d].top != b.day[d].top || a.day[d].bottom != b.day[d].bottom)
            return ::testing::AssertionFailure() << "day " << d << " moved up or down";
    return ::testing::AssertionSuccess();
}

struct MonthCase {
    int32_t year;
    int32_t month;
    int32_t firstDay;
};

std::string Describe(int32_t width, int32_t height, int32_t weekNumbers, const MonthCase& mc)
{
    return ::testing::PrintToString(width) + " x " + ::testing::PrintToString(height) + ", week numbers " +
        ::testing::PrintToString(weekNumbers) + ", " + ::testing::PrintToString(mc.year) + "-" +
        ::testing::PrintToString(mc.month) + ", first day " + ::testing::PrintToString(mc.firstDay);
}

// Months of 28, 29, 30 and 31 days, each with every first day of the week,
// so that the 28 pairs of offset and length all occur.
constexpr int32_t kSweepMonths[4][2] = {{2023, 2}, {2024, 2}, {2024, 4}, {2024, 3}};

}  // namespace

TEST(MonthLayoutTest, MarchWithWeekNumbersMatchesTheReferenceLayout)
{
    const CalMonthLayout l = CalComputeMonthLayout(Input(160, 128, 1, 1, 2024, 3, 15));

    EXPECT_EQ(l.frame, R(0, 0, 160, 128));
    EXPECT_EQ(l.face, R(2, 2, 158, 126));
    EXPECT_EQ(l.inner, R(3, 3, 157, 125));
    EXPECT_EQ(l.title, R(3, 3, 157, 125));
    EXPECT_EQ(l.rowHeight, 15);
    EXPECT_EQ(l.firstColumnWidth, 22);
    EXPECT_EQ(l.gridLeft, 25);
    EXPECT_EQ(l.columnWidth, 18);
    EXPECT_EQ(l.gridOffset, 3);
    EXPECT_EQ(l.dayCount, 31);
    EXPECT_EQ(l.rowCount, 5);

    for (int32_t c = 0; c < 7; ++c)
        EXPECT_EQ(l.header[c], R(25 + 18 * c, 18, 43 + 18 * c, 33)) << "column " << c;
    EXPECT_EQ(l.header[0], R(25, 18, 43, 33));   // Monday
    EXPECT_EQ(l.header[4], R(97, 18, 115, 33));  // Friday, the weekday of the 1st
    EXPECT_EQ(CalHeaderColumn(l, 1), 4);

    EXPECT_EQ(l.day[1], R(97, 33, 115, 48));
    EXPECT_EQ(l.day[4], R(25, 48, 43, 63));  // the first Monday opens week row 1
    EXPECT_EQ(l.day[15], R(97, 63, 115, 78));
    EXPECT_EQ(l.day[31], R(133, 93, 151, 108));

    for (int32_t t = 0; t < 5; ++t) {
        EXPECT_EQ(l.week[t].rect, R(3, 33 + 15 * t, 25, 48 + 15 * t)) << "row " << t;
        EXPECT_EQ(l.week[t].number, 9 + t) << "row " << t;
        EXPECT_TRUE(l.week[t].drawn) << "row " << t;
    }

    EXPECT_EQ(l.separator, R(24, 32, 158, 126));
    EXPECT_EQ(l.separatorSides, CAL_SIDE_TOP | CAL_SIDE_LEFT);

    ASSERT_TRUE(l.hasToday);
    EXPECT_EQ(l.todayEdge, R(97, 63, 115, 79));
    EXPECT_EQ(l.todayFill, R(99, 65, 113, 77));
    EXPECT_EQ(l.todayNumber, R(99, 65, 113, 76));
}

TEST(MonthLayoutTest, FebruaryStartingOnTheFirstDayLeavesWeekRowZeroEmpty)
{
    const CalMonthLayout l = CalComputeMonthLayout(Input(217, 150, 0, 0, 2026, 2));

    EXPECT_EQ(l.frame, R(0, 0, 217, 150));
    EXPECT_EQ(l.face, R(2, 2, 215, 148));
    EXPECT_EQ(l.inner, R(3, 3, 214, 147));
    EXPECT_EQ(l.title, R(3, 3, 214, 147));
    EXPECT_EQ(l.rowHeight, 18);
    EXPECT_EQ(l.firstColumnWidth, 30);
    EXPECT_EQ(l.columnWidth, 30);
    EXPECT_EQ(l.gridLeft, 3);
    EXPECT_EQ(l.gridOffset, 6);
    EXPECT_EQ(l.dayCount, 28);
    EXPECT_EQ(l.rowCount, 5);

    for (int32_t c = 0; c < 7; ++c)
        EXPECT_EQ(l.header[c], R(3 + 30 * c, 21, 33 + 30 * c, 39)) << "column " << c;

    // Week row 0 holds no day, and without week numbers nothing is drawn.
    EXPECT_EQ(l.week[0].rect.top, 39);
    EXPECT_EQ(l.week[0].rect.bottom, 57);
    EXPECT_TRUE(CalRectEmpty(l.week[0].rect));
    EXPECT_FALSE(l.week[0].drawn);
    for (int32_t t = 0; t < l.rowCount; ++t)
        EXPECT_FALSE(l.week[t].drawn) << "row " << t;
    for (int32_t d = 1; d <= 28; ++d)
        EXPECT_GE(l.day[d].top, 57) << "day " << d;

    EXPECT_EQ(l.day[1], R(3, 57, 33, 75));
    EXPECT_EQ(l.day[7], R(183, 57, 213, 75));
    EXPECT_EQ(l.day[28], R(183, 111, 213, 129));

    EXPECT_EQ(l.separator, R(2, 38, 215, 148));
    EXPECT_EQ(l.separatorSides, CAL_SIDE_TOP);
    EXPECT_FALSE(l.hasToday);
}

TEST(MonthLayoutTest, WeekNumbersAreDrawnOnlyOnNumberedRowsThatHoldDays)
{
    // The 1st on the first day of the week: row 0 stays blank.
    const CalMonthLayout feb = CalComputeMonthLayout(Input(217, 150, 1, 0, 2026, 2));
    ASSERT_EQ(feb.gridOffset, 6);
    EXPECT_FALSE(feb.week[0].drawn);
    for (int32_t t = 1; t < feb.rowCount; ++t) {
        EXPECT_TRUE(feb.week[t].drawn) << t;
        EXPECT_EQ(feb.week[t].number, feb.week[t - 1].number + 1) << t;
    }

    // A January row with only one to three days of the new year comes
    // before week 1: it bears 0 and shows no number, though it holds days.
    const CalMonthLayout jan = CalComputeMonthLayout(Input(160, 128, 1, 6, 2025, 1));
    ASSERT_LT(jan.gridOffset, 6);
    EXPECT_EQ(jan.week[0].number, 0);
    EXPECT_FALSE(jan.week[0].drawn);
    EXPECT_EQ(jan.week[1].number, 1);
    EXPECT_TRUE(jan.week[1].drawn);

    for (int32_t year : {2024, 2025, 2026, 2027}) {
        for (int32_t month = 1; month <= 12; ++month) {
            for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
                const CalMonthLayout off = CalComputeMonthLayout(Input(160, 128, 0, firstDay, year, month));
                const CalMonthLayout on = CalComputeMonthLayout(Input(160, 128, 1, firstDay, year, month));
                for (int32_t t = 0; t < on.rowCount; ++t) {
                    bool holdsDay = false;
                    for (int32_t d = 1; d <= on.dayCount; ++d)
                        holdsDay = holdsDay || on.day[d].top == on.week[t].rect.top;
                    EXPECT_EQ(on.week[t].drawn, holdsDay && on.week[t].number > 0)
                        << year << "-" << month << " first day " << firstDay << " row " << t;
                    EXPECT_FALSE(off.week[t].drawn) << year << "-" << month << " row " << t;
                }
            }
        }
    }
}

TEST(MonthLayoutTest, FrameFaceTitleAndSeparatorFollowTheClientSize)
{
    const int32_t sizes[][2] = {
        {0, 0}, {1, 1}, {6, 7}, {13, 14}, {100, 75}, {160, 128}, {999, 401}, {4000, 3000}};
    for (const auto& s : sizes) {
        const int32_t w = s[0];
        const int32_t h = s[1];
        for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
            const CalMonthLayout l = CalComputeMonthLayout(Input(w, h, weekNumbers, 0, 2024, 3));
            SCOPED_TRACE(::testing::Message() << w << " x " << h << " week numbers " << weekNumbers);
            EXPECT_EQ(l.frame, R(0, 0, w, h));
            EXPECT_EQ(l.face, R(2, 2, w - 2, h - 2));
            EXPECT_EQ(l.inner, R(3, 3, w - 3, h - 3));
            EXPECT_EQ(l.title, l.inner);
            // Left on the last column of the week numbers or the first of the
            // face; right and bottom on the face's edge.
            EXPECT_EQ(l.separator.left, weekNumbers ? 2 + (w - 6) / 7 : 2);
            EXPECT_EQ(l.separator.right, w - 2);
            EXPECT_EQ(l.separator.bottom, h - 2);
        }
    }

    // Inner height 124: 124 mod 8 is 4, so the separator lies on week row 0.
    const CalMonthLayout l130 = CalComputeMonthLayout(Input(160, 130, 1, 1, 2024, 3));
    EXPECT_EQ(l130.rowHeight, 15);
    EXPECT_EQ(l130.week[0].rect.top, 33);
    EXPECT_EQ(l130.separator.top, 33);

    for (int32_t h = 14; h <= 400; ++h) {
        const CalMonthLayout l = CalComputeMonthLayout(Input(160, h, 0, 0, 2024, 3));
        const int32_t innerHeight = h - 6;
        ASSERT_EQ(l.rowHeight, innerHeight / 8) << h;
        const int32_t rowZeroTop = 3 + 2 * (innerHeight / 8);
        ASSERT_EQ(l.week[0].rect.top, rowZeroTop) << h;
        ASSERT_EQ(l.separator.top, innerHeight % 8 < 4 ? rowZeroTop - 1 : rowZeroTop) << h;
    }
}

TEST(MonthLayoutTest, TinyClientsGiveEmptyCells)
{
    // Widths up to 12 leave no pixel for a column, heights up to 13 none for
    // a row; negative sizes count as 0.
    for (int32_t w : {kMin, -7, -1, 0, 1, 6, 7, 12}) {
        for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
            const CalMonthLayout l = CalComputeMonthLayout(Input(w, 200, weekNumbers, 0, 2024, 3, 15));
            EXPECT_EQ(l.columnWidth, 0) << w;
            EXPECT_EQ(l.firstColumnWidth, 0) << w;
            EXPECT_GT(l.rowHeight, 0) << w;
        }
    }
    for (int32_t h : {kMin, -8, -1, 0, 1, 6, 7, 13}) {
        const CalMonthLayout l = CalComputeMonthLayout(Input(200, h, 1, 0, 2024, 3, 15));
        EXPECT_EQ(l.rowHeight, 0) << h;
        EXPECT_GT(l.columnWidth, 0) << h;
    }
    // The first sizes that do give a column and a row.
    EXPECT_EQ(CalComputeMonthLayout(Input(13, 14, 0, 0, 2024, 3)).columnWidth, 1);
    EXPECT_EQ(CalComputeMonthLayout(Input(13, 14, 0, 0, 2024, 3)).rowHeight, 1);

    for (int32_t w : {0, 5, 12, 160}) {
        for (int32_t h : {0, 9, 13, 128}) {
            if (w == 160 && h == 128)
                continue;
            for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
                const CalMonthLayout l = CalComputeMonthLayout(Input(w, h, weekNumbers, 1, 2024, 3, 15));
                SCOPED_TRACE(::testing::Message() << w << " x " << h << " week numbers " << weekNumbers);
                EXPECT_EQ(l.frame, R(0, 0, w, h));
                EXPECT_EQ(l.face, R(2, 2, w - 2, h - 2));
                EXPECT_EQ(l.title, R(3, 3, w - 3, h - 3));
                for (int c = 0; c < 7; ++c)
                    EXPECT_TRUE(CalRectEmpty(l.header[c])) << "column " << c;
                for (int d = 1; d <= l.dayCount; ++d)
                    EXPECT_TRUE(CalRectEmpty(l.day[d])) << "day " << d;
                for (int t = 0; t < l.rowCount; ++t)
                    EXPECT_TRUE(CalRectEmpty(l.week[t].rect)) << "row " << t;
                EXPECT_TRUE(CalRectEmpty(l.todayFill));
            }
        }
    }

    // A negative client is laid out exactly as an empty one, so no
    // coordinate runs off towards the negative extreme.
    for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
        const CalMonthLayout zero = CalComputeMonthLayout(Input(0, 0, weekNumbers, 1, 2024, 3, 15));
        EXPECT_EQ(zero.face, R(2, 2, -2, -2));
        EXPECT_EQ(zero.separator, R(2, 1, -2, -2));
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(zero.header[c], R(3, 3, 3, 3)) << "column " << c;
        const int32_t negative[][2] = {{-1, -1}, {-100, 0}, {0, -100}, {kMin, kMin}, {kMin, 0}, {0, kMin}};
        for (const auto& s : negative) {
            SCOPED_TRACE(::testing::Message() << s[0] << " x " << s[1]);
            ExpectSameLayout(CalComputeMonthLayout(Input(s[0], s[1], weekNumbers, 1, 2024, 3, 15)), zero);
        }
    }
}

TEST(MonthLayoutTest, WeekNumbersNarrowTheColumnsWithoutMovingRows)
{
    const CalMonthLayout off = CalComputeMonthLayout(Input(160, 128, 0, 1, 2024, 3));
    const CalMonthLayout on = CalComputeMonthLayout(Input(160, 128, 1, 1, 2024, 3));
    for (int32_t c = 0; c < 7; ++c) {
        EXPECT_EQ(off.header[c].left, 3 + 22 * c) << c;
        EXPECT_EQ(off.header[c].right, 3 + 22 * (c + 1)) << c;
        EXPECT_EQ(on.header[c].left, 25 + 18 * c) << c;
        EXPECT_EQ(on.header[c].right, 25 + 18 * (c + 1)) << c;
    }
    // The week-number column takes x 3 to 25 only when shown.
    EXPECT_EQ(on.week[0].rect.left, 3);
    EXPECT_EQ(on.week[0].rect.right, 25);
    EXPECT_TRUE(CalRectEmpty(off.week[0].rect));

    // Across sizes and months the bands stay put and the days keep their
    // columns; only x changes.
    for (int32_t w : {13, 50, 160, 217, 333}) {
        for (int32_t h : {14, 128, 150, 399}) {
            for (int32_t month = 1; month <= 12; ++month) {
                const CalMonthLayout a = CalComputeMonthLayout(Input(w, h, 0, 1, 2025, month));
                const CalMonthLayout b = CalComputeMonthLayout(Input(w, h, 1, 1, 2025, month));
                SCOPED_TRACE(::testing::Message() << w << " x " << h << " month " << month);
                ASSERT_EQ(a.rowCount, b.rowCount);
                ASSERT_LE(b.columnWidth, a.columnWidth);
                for (int c = 0; c < 7; ++c) {
                    EXPECT_EQ(a.header[c].top, b.header[c].top);
                    EXPECT_EQ(a.header[c].bottom, b.header[c].bottom);
                }
                for (int d = 1; d <= a.dayCount; ++d) {
                    EXPECT_EQ(a.day[d].top, b.day[d].top) << d;
                    EXPECT_EQ(a.day[d].bottom, b.day[d].bottom) << d;
                }
                for (int t = 0; t < a.rowCount; ++t) {
                    EXPECT_EQ(a.week[t].rect.top, b.week[t].rect.top) << t;
                    EXPECT_EQ(a.week[t].rect.bottom, b.week[t].rect.bottom) << t;
                }
            }
        }
    }
}

TEST(MonthLayoutTest, TodayIsMarkedOnlyOnDaysOfTheMonth)
{
    // April has 30 days.
    for (int32_t today : {0, -1, 31, 32, kMin, kMax}) {
        const CalMonthLayout l = CalComputeMonthLayout(Input(160, 128, 1, 1, 2024, 4, today));
        EXPECT_FALSE(l.hasToday) << today;
        EXPECT_TRUE(CalRectEmpty(l.todayEdge)) << today;
        EXPECT_TRUE(CalRectEmpty(l.todayFill)) << today;
        EXPECT_TRUE(CalRectEmpty(l.todayNumber)) << today;
    }
    EXPECT_FALSE(CalComputeMonthLayout(Input(160, 128, 1, 1, 2024, 3, 32)).hasToday);
    EXPECT_FALSE(CalComputeMonthLayout(Input(160, 128, 1, 1, 2023, 2, 29)).hasToday);
    EXPECT_TRUE(CalComputeMonthLayout(Input(160, 128, 1, 1, 2024, 2, 29)).hasToday);

    for (int32_t today : {1, 15, 30}) {
        const CalMonthLayout l = CalComputeMonthLayout(Input(217, 150, 0, 0, 2024, 4, today));
        ASSERT_TRUE(l.hasToday) << today;
        const CalRect& c = l.day[today];
        // The sunken edge reaches one pixel into the cell below; the number
        // keeps the cell's centre.
        EXPECT_EQ(l.todayEdge, R(c.left, c.top, c.right, c.bottom + 1)) << today;
        EXPECT_EQ(l.todayFill, R(c.left + 2, c.top + 2, c.right - 2, c.bottom - 1)) << today;
        EXPECT_EQ(l.todayNumber, R(c.left + 2, c.top + 2, c.right - 2, c.bottom - 2)) << today;
        EXPECT_EQ(l.todayNumber.left + l.todayNumber.right, c.left + c.right) << today;
        EXPECT_EQ(l.todayNumber.top + l.todayNumber.bottom, c.top + c.bottom) << today;
    }
}

TEST(MonthLayoutTest, EveryClientSizeKeepsCellsInsideAndApart)
{
    // The columns follow from the width and the rows from the height, so
    // every pairing of offset and length is swept along each axis at a few
    // sizes of the other, and the whole square only with the month shapes
    // that reach the bottom row and the sparsest last row.
    constexpr int32_t kLimit = 400;
    std::vector<MonthCase> cases;
    std::vector<MonthCase> squareCases;
    bool covered[7][4] = {};
    for (int i = 0; i < 4; ++i) {
        for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
            const MonthCase mc{kSweepMonths[i][0], kSweepMonths[i][1], firstDay};
            const CalMonthLayout l = CalComputeMonthLayout(Input(160, 128, 0, firstDay, mc.year, mc.month));
            ASSERT_GE(l.gridOffset, 0);
            ASSERT_LE(l.gridOffset, 6);
            ASSERT_GE(l.dayCount, 28);
            ASSERT_LE(l.dayCount, 31);
            covered[l.gridOffset][l.dayCount - 28] = true;
            cases.push_back(mc);
            if ((l.gridOffset == 6 && l.dayCount == 31) || (l.gridOffset == 0 && l.dayCount == 28))
                squareCases.push_back(mc);
        }
    }
    for (int offset = 0; offset < 7; ++offset)
        for (int length = 0; length < 4; ++length)
            EXPECT_TRUE(covered[offset][length]) << "offset " << offset << ", " << 28 + length << " days";
    ASSERT_EQ(squareCases.size(), 2u);

    const int32_t fewSizes[] = {0, 13, 14, 129, 130, kLimit};
    for (const MonthCase& mc : cases) {
        for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
            for (int32_t a = 0; a <= kLimit; ++a) {
                const CalMonthLayout firstByWidth =
                    CalComputeMonthLayout(Input(a, fewSizes[0], weekNumbers, mc.firstDay, mc.year, mc.month));
                const CalMonthLayout firstByHeight =
                    CalComputeMonthLayout(Input(fewSizes[0], a, weekNumbers, mc.firstDay, mc.year, mc.month));
                for (int32_t b : fewSizes) {
                    const CalMonthLayout byWidth =
                        CalComputeMonthLayout(Input(a, b, weekNumbers, mc.firstDay, mc.year, mc.month));
                    const CalMonthLayout byHeight =
                        CalComputeMonthLayout(Input(b, a, weekNumbers, mc.firstDay, mc.year, mc.month));
                    ASSERT_TRUE(GridIsOrderly(byWidth)) << Describe(a, b, weekNumbers, mc);
                    ASSERT_TRUE(GridIsOrderly(byHeight)) << Describe(b, a, weekNumbers, mc);
                    ASSERT_TRUE(CellsInsideInner(byWidth)) << Describe(a, b, weekNumbers, mc);
                    ASSERT_TRUE(CellsInsideInner(byHeight)) << Describe(b, a, weekNumbers, mc);
                    // The other axis leaves these coordinates alone.
                    ASSERT_TRUE(SameColumns(byWidth, firstByWidth)) << Describe(a, b, weekNumbers, mc);
                    ASSERT_TRUE(SameRows(byHeight, firstByHeight)) << Describe(b, a, weekNumbers, mc);
                }
            }
        }
    }

    for (const MonthCase& mc : squareCases) {
        for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
            for (int32_t w = 0; w <= kLimit; ++w) {
                for (int32_t h = 0; h <= kLimit; ++h) {
                    const CalMonthLayout l =
                        CalComputeMonthLayout(Input(w, h, weekNumbers, mc.firstDay, mc.year, mc.month));
                    ASSERT_TRUE(CellsInsideInner(l)) << Describe(w, h, weekNumbers, mc);
                }
            }
        }
    }
}

TEST(MonthLayoutTest, ColumnsAreHeadedByConsecutiveWeekdays)
{
    for (int32_t year : {1601, 2024, 2025, 9999}) {
        for (int32_t month = 1; month <= 12; ++month) {
            for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
                const CalMonthLayout l = CalComputeMonthLayout(Input(160, 128, 1, firstDay, year, month));
                bool headed[7] = {};
                for (int32_t d = 1; d <= 7; ++d) {
                    const int32_t c = CalHeaderColumn(l, d);
                    ASSERT_GE(c, 0);
                    ASSERT_LE(c, 6);
                    EXPECT_FALSE(headed[c]) << "column " << c << " headed twice";
                    headed[c] = true;
                    EXPECT_EQ((firstDay + c) % 7, SundayBasedWeekday(year, month, d))
                        << year << "-" << month << "-" << d << " first day " << firstDay;
                    // The header's column is the one the day itself sits in.
                    EXPECT_EQ(l.day[d].left, l.header[c].left) << year << "-" << month << "-" << d;
                }
            }
        }
    }
}

TEST(MonthLayoutTest, OutOfRangeSettingsAndHugeSizesStayInTheGrid)
{
    const int32_t firstDays[] = {-1, 7, 100, kMin, kMax, -700000001};
    const int32_t months[] = {0, 13, -5, 65535, kMin, kMax, 2, 3};
    const int32_t years[] = {2024, 0, 65535, kMin, kMax};
    const int32_t sizes[][2] = {
        {kMax, kMax}, {kMin, kMin}, {kMax, kMin}, {kMin, kMax}, {kMax, 128}, {160, kMax}};

    for (int32_t year : years) {
        for (int32_t month : months) {
            const bool realMonth = month >= 1 && month <= 12;
            for (int32_t firstDay : firstDays) {
                // A first day outside the week counts as its remainder mod 7.
                const int32_t reduced = static_cast<int32_t>(((int64_t{firstDay} % 7) + 7) % 7);
                for (const auto& s : sizes) {
                    for (int32_t weekNumbers = 0; weekNumbers <= 1; ++weekNumbers) {
                        const CalMonthLayout l =
                            CalComputeMonthLayout(Input(s[0], s[1], weekNumbers, firstDay, year, month, 31));
                        SCOPED_TRACE(::testing::Message()
                            << s[0] << " x " << s[1] << " week numbers " << weekNumbers << " " << year << "-"
                            << month << " first day " << firstDay);
                        EXPECT_GE(l.gridOffset, 0);
                        EXPECT_LE(l.gridOffset, 6);
                        EXPECT_GE(l.rowCount, 1);
                        EXPECT_LE(l.rowCount, 6);
                        if (realMonth) {
                            EXPECT_GE(l.dayCount, 28);
                            EXPECT_TRUE(GridIsOrderly(l));
                        } else {
                            EXPECT_EQ(l.dayCount, 0);
                            EXPECT_FALSE(l.hasToday);
                        }
                        if (s[0] > 0 && s[1] > 0) {
                            EXPECT_TRUE(CellsInsideInner(l));
                            // The sunken edge may reach one pixel below the
                            // cells, never past the face.
                            if (l.hasToday) {
                                EXPECT_LE(l.todayEdge.bottom, l.face.bottom);
                            }
                        }
                        ExpectSameLayout(l,
                            CalComputeMonthLayout(Input(s[0], s[1], weekNumbers, reduced, year, month, 31)));
                    }
                }
            }
        }
    }

    // The largest client puts the last column and the last band within a
    // few pixels of the 32-bit limit without passing it.
    const CalMonthLayout huge = CalComputeMonthLayout(Input(kMax, kMax, 0, 0, 2024, 3, 31));
    EXPECT_EQ(huge.inner, R(3, 3, kMax - 3, kMax - 3));
    EXPECT_EQ(huge.columnWidth, (kMax - 6) / 7);
    EXPECT_EQ(huge.rowHeight, (kMax - 6) / 8);
    EXPECT_EQ(huge.header[6].right, 3 + 7 * ((kMax - 6) / 7));
}
