// Month view geometry: the reference layouts to the pixel, the tiny, today and
// out-of-range cases, and a sweep over every client size up to 400 that keeps
// each cell in its place, inside the view and apart from its neighbours.
#include <cstdint>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "view/month_layout.h"

// Lets failures print rectangles as (l, t, r, b) instead of raw bytes.
static std::ostream& operator<<(std::ostream& os, const CalRect& r)
{
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

CalMonthLayout Layout(
    int32_t w, int32_t h, int32_t wk, int32_t firstDay, int32_t year, int32_t month, int32_t today = 0)
{
    return CalComputeMonthLayout(CalLayoutInput{w, h, wk, firstDay, year, month, today});
}

CalRect R(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return CalRect{left, top, right, bottom};
}

// Everything a painter reads, a line a field, so that two layouts compare in
// one expectation and a mismatch prints as a diff (the record has padding).
std::string Dump(const CalMonthLayout& l)
{
    std::ostringstream s;
    s << l.rowHeight << " " << l.firstColumnWidth << " " << l.gridLeft << " " << l.columnWidth << " "
      << l.gridOffset << " " << l.dayCount << " " << l.rowCount << " " << l.firstWeekNumber << " "
      << l.separatorSides << " " << l.hasToday << "\n";
    // Frame, face, inner, title, separator, today's edge, fill and number.
    for (const CalRect& r :
        {l.frame, l.face, l.inner, l.title, l.separator, l.todayEdge, l.todayFill, l.todayNumber})
        s << r << "\n";
    for (int32_t c = 0; c < 7; ++c)
        s << "header " << c << " " << l.header[c] << "\n";
    for (int32_t d = 1; d <= l.dayCount && d < 32; ++d)
        s << "day " << d << " " << l.day[d] << "\n";
    for (int32_t t = 0; t < l.rowCount && t < 6; ++t)
        s << "week " << t << " " << l.week[t].rect << " " << l.week[t].number << " " << l.week[t].drawn
          << "\n";
    return s.str();
}

// Every header, day and week cell that covers a pixel lies in the inner rectangle.
AssertionResult Inside(const CalMonthLayout& l)
{
    const CalRect& in = l.inner;
    const auto ok = [&in](const CalRect& r) {
        return CalRectEmpty(r) ||
            (r.left >= in.left && r.top >= in.top && r.right <= in.right && r.bottom <= in.bottom);
    };
    for (int32_t c = 0; c < 7; ++c)
        if (!ok(l.header[c]))
            return AssertionFailure() << "header " << c << " outside";
    for (int32_t d = 1; d <= l.dayCount && d < 32; ++d)
        if (!ok(l.day[d]))
            return AssertionFailure() << "day " << d << " outside";
    for (int32_t t = 0; t < l.rowCount && t < 6; ++t)
        if (!ok(l.week[t].rect))
            return AssertionFailure() << "week row " << t << " outside";
    return AssertionSuccess();
}

// The grid's arrangement: day d fills cell k = d + gridOffset, under the
// header of column k % 7 and in the band of week row k / 7, the last day in
// the last row. Headers sit side by side one column wide; week cells run from
// the inner left edge to the grid, following the header band a row high each.
// The separator runs from just left of the grid to the face's right and
// bottom; its top, a quarter of the inner height down, is the pixel above
// week row 0 when that height is under 4 past a multiple of 8, else row 0's top.
AssertionResult Orderly(const CalMonthLayout& l)
{
    if (l.gridOffset < 0 || l.gridOffset > 6 || l.dayCount < 28 || l.dayCount > 31 ||
        (l.dayCount + l.gridOffset) / 7 + 1 != l.rowCount)
        return AssertionFailure() << "offset " << l.gridOffset << ", " << l.dayCount << " days, "
                                  << l.rowCount << " rows";
    for (int32_t c = 0; c < 7; ++c)
        if (l.header[c].right - l.header[c].left != l.columnWidth ||
            (c > 0 && l.header[c].left < l.header[c - 1].right))
            return AssertionFailure() << "header " << c;
    for (int32_t t = 0; t < l.rowCount; ++t) {
        const CalRect& r = l.week[t].rect;
        if (r.top != (t > 0 ? l.week[t - 1].rect.bottom : l.header[0].bottom) ||
            r.bottom - r.top != l.rowHeight || r.left != l.inner.left || r.right != l.header[0].left)
            return AssertionFailure() << "week row " << t;
    }
    for (int32_t d = 1; d <= l.dayCount; ++d) {
        const int32_t k = d + l.gridOffset;
        const CalRect &cell = l.day[d], &column = l.header[k % 7], &row = l.week[k / 7].rect;
        if (cell.left != column.left || cell.right != column.right || cell.top != row.top ||
            cell.bottom != row.bottom)
            return AssertionFailure() << "day " << d;
    }
    const CalRect& s = l.separator;
    const int32_t innerHeight = l.inner.bottom - l.inner.top;
    if (s.left != l.header[0].left - 1 || s.right != l.face.right || s.bottom != l.face.bottom ||
        (innerHeight >= 0 && s.top != l.week[0].rect.top - (innerHeight % 8 < 4 ? 1 : 0)))
        return AssertionFailure() << "separator " << s;
    return AssertionSuccess();
}

// Whether every day of a keeps its band (rows) or its column from b.
AssertionResult SameDays(const CalMonthLayout& a, const CalMonthLayout& b, bool rows)
{
    for (int32_t d = 1; d <= a.dayCount; ++d) {
        const CalRect &p = a.day[d], &q = b.day[d];
        if (rows ? (p.top != q.top || p.bottom != q.bottom) : (p.left != q.left || p.right != q.right))
            return AssertionFailure() << "day " << d << (rows ? " left its band" : " left its column");
    }
    return AssertionSuccess();
}

}  // namespace

TEST(MonthLayoutTest, MarchWithWeekNumbersMatchesTheReferenceLayout)
{
    const CalMonthLayout l = Layout(160, 128, 1, 1, 2024, 3, 15);
    EXPECT_EQ(std::tuple(l.frame, l.face, l.inner, l.title),
        std::tuple(R(0, 0, 160, 128), R(2, 2, 158, 126), R(3, 3, 157, 125), R(3, 3, 157, 125)));
    EXPECT_EQ(std::tuple(l.rowHeight, l.firstColumnWidth, l.gridLeft, l.columnWidth, l.gridOffset, l.dayCount,
                  l.rowCount),
        std::tuple(15, 22, 25, 18, 3, 31, 5));
    for (int32_t c = 0; c < 7; ++c)
        EXPECT_EQ(l.header[c], R(25 + 18 * c, 18, 43 + 18 * c, 33)) << "column " << c;
    // The 1st is a Friday, the 4th opens week row 1.
    EXPECT_EQ(std::tuple(l.day[1], l.day[4], l.day[31]),
        std::tuple(R(97, 33, 115, 48), R(25, 48, 43, 63), R(133, 93, 151, 108)));
    for (int32_t t = 0; t < 5; ++t) {
        EXPECT_EQ(l.week[t].rect, R(3, 33 + 15 * t, 25, 48 + 15 * t)) << "row " << t;
        EXPECT_EQ(std::tuple(l.week[t].number, l.week[t].drawn), std::tuple(9 + t, true)) << "row " << t;
    }
    EXPECT_EQ(std::tuple(l.separator, l.separatorSides),
        std::tuple(R(24, 32, 158, 126), CAL_SIDE_TOP | CAL_SIDE_LEFT));
    ASSERT_TRUE(l.hasToday);
    EXPECT_EQ(std::tuple(l.todayEdge, l.todayFill, l.todayNumber),
        std::tuple(R(97, 63, 115, 79), R(99, 65, 113, 77), R(99, 65, 113, 76)));

    // Two pixels taller, the inner height 124 leaves 4 over the eight bands
    // (two more than at 128), so the line moves from above week row 0 onto it.
    const CalMonthLayout l130 = Layout(160, 130, 1, 1, 2024, 3);
    EXPECT_EQ(std::tuple(l130.rowHeight, l130.week[0].rect.top, l130.separator.top), std::tuple(15, 33, 33));
}

TEST(MonthLayoutTest, FebruaryStartingOnTheFirstDayLeavesWeekRowZeroEmpty)
{
    const CalMonthLayout l = Layout(217, 150, 0, 0, 2026, 2);
    EXPECT_EQ(std::tuple(l.frame, l.face, l.inner, l.title),
        std::tuple(R(0, 0, 217, 150), R(2, 2, 215, 148), R(3, 3, 214, 147), R(3, 3, 214, 147)));
    EXPECT_EQ(std::tuple(l.rowHeight, l.firstColumnWidth, l.gridLeft, l.columnWidth, l.gridOffset, l.dayCount,
                  l.rowCount),
        std::tuple(18, 30, 3, 30, 6, 28, 5));
    for (int32_t c = 0; c < 7; ++c)
        EXPECT_EQ(l.header[c], R(3 + 30 * c, 21, 33 + 30 * c, 39)) << "column " << c;
    EXPECT_EQ(l.week[0].rect, R(3, 39, 3, 57));  // no day, and no week-number column
    EXPECT_EQ(std::tuple(l.day[1], l.day[7], l.day[28]),
        std::tuple(R(3, 57, 33, 75), R(183, 57, 213, 75), R(183, 111, 213, 129)));
    EXPECT_EQ(
        std::tuple(l.separator, l.separatorSides), std::tuple(R(2, 38, 215, 148), uint32_t{CAL_SIDE_TOP}));
    EXPECT_FALSE(l.hasToday);
}

TEST(MonthLayoutTest, TinyClientsGiveEmptyCells)
{
    // Widths to 12 leave no pixel for a column and heights to 13 none for a
    // row, with week numbers or without; negative sizes count as 0.
    for (int32_t wk : {0, 1})
        for (int32_t s : {kMin, -7, -1, 0, 1, 6, 7, 12}) {
            const CalMonthLayout narrow = Layout(s, 200, wk, 0, 2024, 3, 15);
            const CalMonthLayout low = Layout(200, s + 1, wk, 0, 2024, 3, 15);
            EXPECT_EQ(
                std::tuple(narrow.columnWidth, narrow.firstColumnWidth, low.rowHeight), std::tuple(0, 0, 0))
                << s << ", week numbers " << wk;
        }
    const CalMonthLayout first = Layout(13, 14, 0, 0, 2024, 3);
    EXPECT_EQ(std::tuple(first.columnWidth, first.rowHeight), std::tuple(1, 1));

    for (int32_t w : {0, 5, 12, 160})
        for (int32_t h : {0, 9, 13, 128})
            for (int32_t wk : {0, 1}) {
                // Cells with pixels: headers, days, week cells and today's fill.
                const CalMonthLayout l = Layout(w, h, wk, 1, 2024, 3, 15);
                int32_t cells = !CalRectEmpty(l.todayFill);
                for (const CalRect& r : l.header)
                    cells += !CalRectEmpty(r);
                for (int32_t d = 1; d <= l.dayCount; ++d)
                    cells += !CalRectEmpty(l.day[d]);
                for (int32_t t = 0; t < l.rowCount; ++t)
                    cells += !CalRectEmpty(l.week[t].rect);
                EXPECT_EQ(cells, w == 160 && h == 128 ? 7 + 31 + 1 + 5 * wk : 0)
                    << w << " x " << h << ", week numbers " << wk;
            }

    // A negative client is laid out exactly as an empty one, so no
    // coordinate runs off towards the negative extreme.
    const int32_t negative[][2] = {{-1, -1}, {-100, 0}, {0, -100}, {kMin, kMin}, {kMin, 0}, {0, kMin}};
    for (int32_t wk : {0, 1}) {
        const CalMonthLayout zero = Layout(0, 0, wk, 1, 2024, 3, 15);
        EXPECT_EQ(std::tuple(zero.face, zero.separator, zero.header[6]),
            std::tuple(R(2, 2, -2, -2), R(2, 1, -2, -2), R(3, 3, 3, 3)));
        for (const auto& s : negative)
            EXPECT_EQ(Dump(Layout(s[0], s[1], wk, 1, 2024, 3, 15)), Dump(zero)) << s[0] << " x " << s[1];
    }
}

TEST(MonthLayoutTest, TodayIsMarkedOnlyOnDaysOfTheMonth)
{
    for (int32_t today : {0, -1, 31, kMin, kMax}) {  // April has 30 days
        const CalMonthLayout l = Layout(160, 128, 1, 1, 2024, 4, today);
        EXPECT_TRUE(!l.hasToday && CalRectEmpty(l.todayEdge) && CalRectEmpty(l.todayFill) &&
            CalRectEmpty(l.todayNumber))
            << today;
    }
    EXPECT_FALSE(Layout(160, 128, 1, 1, 2023, 2, 29).hasToday);
    EXPECT_TRUE(Layout(160, 128, 1, 1, 2024, 2, 29).hasToday);

    for (int32_t today : {1, 15, 30}) {
        const CalMonthLayout l = Layout(217, 150, 0, 0, 2024, 4, today);
        ASSERT_TRUE(l.hasToday) << today;
        const CalRect& c = l.day[today];  // the edge reaches one pixel into the cell below
        EXPECT_EQ(l.todayEdge, R(c.left, c.top, c.right, c.bottom + 1)) << today;
    }
}

TEST(MonthLayoutTest, EveryClientSizeKeepsCellsInsideAndApart)
{
    // Columns follow from the width alone and bands from the height alone, so
    // each of the 28 month shapes (grid offset, day count) is swept along each
    // axis at a few sizes of the other, with week numbers and without; the
    // whole square only for the shapes that reach the sixth row (6, 31 days)
    // and leave the fifth sparsest (0, 28 days).
    constexpr int32_t kLimit = 400;
    constexpr int32_t kMonths[4][2] = {{2023, 2}, {2024, 2}, {2024, 4}, {2024, 3}};  // 28 to 31 days
    uint32_t shapes = 0;  // bit 4 * offset + days - 28
    int32_t squares = 0;
    for (const auto& ym : kMonths)
        for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
            const auto at = [&](int32_t w, int32_t h, int32_t wk) {
                return Layout(w, h, wk, firstDay, ym[0], ym[1]);
            };
            const auto where = [&](int32_t w, int32_t h, int32_t wk) {
                return (::testing::Message() << w << " x " << h << ", week numbers " << wk << ", " << ym[0]
                                             << "-" << ym[1] << ", first day " << firstDay)
                    .GetString();
            };
            const CalMonthLayout shape = at(160, 128, 0);
            ASSERT_TRUE(Orderly(shape)) << where(160, 128, 0);
            shapes |= 1u << (4 * shape.gridOffset + shape.dayCount - 28);

            for (int32_t a = 0; a <= kLimit; ++a) {
                CalMonthLayout first[2][2]{};  // [axis][week numbers], the other size 0
                for (int32_t b : {0, 13, 14, 129, 130, kLimit})
                    for (int32_t axis : {0, 1}) {
                        const int32_t w = axis ? b : a;
                        const int32_t h = axis ? a : b;
                        const CalMonthLayout l[2] = {at(w, h, 0), at(w, h, 1)};
                        // Week numbers narrow the columns and leave every band in place.
                        ASSERT_TRUE(SameDays(l[1], l[0], true)) << where(w, h, 1);
                        ASSERT_LE(l[1].columnWidth, l[0].columnWidth) << where(w, h, 1);
                        for (int32_t wk : {0, 1}) {
                            if (b == 0)
                                first[axis][wk] = l[wk];
                            ASSERT_TRUE(Orderly(l[wk])) << where(w, h, wk);
                            ASSERT_TRUE(Inside(l[wk])) << where(w, h, wk);
                            // The height leaves the columns alone and the width the bands.
                            ASSERT_TRUE(SameDays(l[wk], first[axis][wk], axis == 1)) << where(w, h, wk);
                        }
                    }
            }

            if ((shape.gridOffset == 6 && shape.dayCount == 31) ||
                (shape.gridOffset == 0 && shape.dayCount == 28)) {
                ++squares;
                for (int32_t wk : {0, 1})
                    for (int32_t w = 0; w <= kLimit; ++w)
                        for (int32_t h = 0; h <= kLimit; ++h)
                            ASSERT_TRUE(Inside(at(w, h, wk))) << where(w, h, wk);
            }
        }
    EXPECT_EQ(shapes, (1u << 28) - 1);
    EXPECT_EQ(squares, 2);
}

TEST(MonthLayoutTest, HeadersAndWeekNumbersFollowTheCalendar)
{
    for (int32_t year : {1601, 2024, 2025, 2026, 2027, 9999})
        for (int32_t month = 1; month <= 12; ++month)
            for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
                SCOPED_TRACE(::testing::Message() << year << "-" << month << ", first day " << firstDay);
                const CalMonthLayout on = Layout(160, 128, 1, firstDay, year, month);
                const CalMonthLayout off = Layout(160, 128, 0, firstDay, year, month);
                // Columns count weekdays from the first day (0 = Sunday; the
                // calendar counts from Monday).
                for (int32_t d = 1; d <= 7; ++d)
                    EXPECT_EQ(
                        CalHeaderColumn(on, d), ((CalDayOfWeek(year, month, d) + 1) % 7 - firstDay + 7) % 7)
                        << "day " << d;
                // A number shows only when week numbers are on, on a row that
                // holds days and bears a number above 0.
                for (int32_t t = 0; t < on.rowCount; ++t) {
                    bool holdsDay = false;
                    for (int32_t d = 1; d <= on.dayCount; ++d)
                        holdsDay = holdsDay || on.day[d].top == on.week[t].rect.top;
                    EXPECT_EQ(on.week[t].drawn, holdsDay && on.week[t].number > 0) << "row " << t;
                    EXPECT_FALSE(off.week[t].drawn) << "row " << t;
                }
            }
    // The rows above cover a January row with days that bears 0.
    const CalMonthLayout jan = Layout(160, 128, 1, 6, 2025, 1);
    EXPECT_EQ(std::tuple(jan.week[0].number, jan.week[0].drawn, jan.week[1].number, jan.week[1].drawn),
        std::tuple(0, false, 1, true));
}

TEST(MonthLayoutTest, OutOfRangeSettingsAndHugeSizesStayInTheGrid)
{
    const int32_t sizes[][2] = {
        {kMax, kMax}, {kMin, kMin}, {kMax, kMin}, {kMin, kMax}, {kMax, 128}, {160, kMax}};
    for (int32_t year : {2024, 0, 65535, kMin, kMax})
        for (int32_t month : {0, 13, -5, 65535, kMin, kMax, 2, 3})
            for (int32_t firstDay : {-1, 7, 100, kMin, kMax, -700000001})
                for (const auto& s : sizes)
                    for (int32_t wk : {0, 1}) {
                        SCOPED_TRACE(::testing::Message()
                            << s[0] << " x " << s[1] << ", week numbers " << wk << ", " << year << "-"
                            << month << ", first day " << firstDay);
                        const CalMonthLayout l = Layout(s[0], s[1], wk, firstDay, year, month, 31);
                        // A first day outside the week counts as its remainder mod 7.
                        const int32_t reduced = static_cast<int32_t>((int64_t{firstDay} % 7 + 7) % 7);
                        EXPECT_EQ(Dump(l), Dump(Layout(s[0], s[1], wk, reduced, year, month, 31)));
                        EXPECT_TRUE(
                            l.gridOffset >= 0 && l.gridOffset <= 6 && l.rowCount >= 1 && l.rowCount <= 6);
                        if (month >= 1 && month <= 12)
                            EXPECT_TRUE(Orderly(l));
                        else
                            EXPECT_TRUE(l.dayCount == 0 && !l.hasToday);
                        // The sunken edge may reach one pixel below the cells, never past the face.
                        if (s[0] > 0 && s[1] > 0) {
                            EXPECT_TRUE(Inside(l));
                            EXPECT_TRUE(!l.hasToday || l.todayEdge.bottom <= l.face.bottom);
                        }
                    }
}
