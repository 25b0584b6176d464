// The days of the month view as a reader walks them: the day under a point
// and the day one step away, checked against the cells' geometry.
#include <gtest/gtest.h>

#include "tool/day_cells.h"

namespace {

CalMonthLayout Layout(
    int32_t year, int32_t month, int32_t firstDay, int32_t weekNumbers, int32_t w, int32_t h)
{
    CalLayoutInput in{};
    in.width = w;
    in.height = h;
    in.weekNumbers = weekNumbers;
    in.firstDay = firstDay;
    in.year = year;
    in.month = month;
    return CalComputeMonthLayout(in);
}

bool Inside(const CalRect& r, int32_t x, int32_t y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST(DayAtPoint, EveryPixelNamesTheOneDayWhoseCellHoldsItAndNoneElsewhere)
{
    for (int32_t month : {2, 3, 8, 12})
        for (int32_t firstDay = 0; firstDay < 7; ++firstDay)
            for (int32_t weekNumbers : {0, 1}) {
                const CalMonthLayout l = Layout(2026, month, firstDay, weekNumbers, 203, 161);
                int32_t hits[32] = {};
                for (int32_t y = -2; y < 164; ++y)
                    for (int32_t x = -2; x < 206; ++x) {
                        const int32_t d = CalDayAtPoint(l, x, y);
                        int32_t holders = 0;
                        for (int32_t k = 1; k <= l.dayCount; ++k)
                            holders += Inside(l.day[k], x, y) ? 1 : 0;
                        ASSERT_LE(holders, 1) << "cells overlap at " << x << "," << y;
                        if (d == 0) {
                            ASSERT_EQ(holders, 0) << x << "," << y;
                            continue;
                        }
                        ASSERT_TRUE(Inside(l.day[d], x, y)) << d << " at " << x << "," << y;
                        ++hits[d];
                    }
                for (int32_t d = 1; d <= l.dayCount; ++d) {
                    const CalRect& r = l.day[d];
                    EXPECT_EQ(hits[d], (r.right - r.left) * (r.bottom - r.top)) << "day " << d;
                }
                EXPECT_EQ(CalDayAtPoint(l, l.title.left + 1, l.title.top + 1), 0) << "the title is no day";
            }
}

TEST(DayTowards, StepsFollowTheGridThatIsDrawn)
{
    for (int32_t year : {2024, 2026})
        for (int32_t month = 1; month <= 12; ++month)
            for (int32_t firstDay = 0; firstDay < 7; ++firstDay) {
                const CalMonthLayout l = Layout(year, month, firstDay, firstDay % 2, 280, 200);
                const int32_t rh = l.rowHeight;
                const int32_t cw = l.columnWidth;
                for (int32_t d = 1; d <= l.dayCount; ++d) {
                    const CalRect& r = l.day[d];
                    // Where each step lands, read from the cells' positions alone.
                    auto at = [&](int32_t x, int32_t y) { return CalDayAtPoint(l, x, y); };
                    const int32_t above = at(r.left, r.top - rh);
                    const int32_t below = at(r.left, r.top + rh);
                    const int32_t leftOf = at(r.left - cw, r.top);
                    const int32_t rightOf = at(r.left + cw, r.top);
                    EXPECT_EQ(CalDayTowards(l, d, CalDayStep::up), above) << year << "-" << month << " " << d;
                    EXPECT_EQ(CalDayTowards(l, d, CalDayStep::down), below)
                        << year << "-" << month << " " << d;
                    EXPECT_EQ(CalDayTowards(l, d, CalDayStep::left), leftOf)
                        << year << "-" << month << " " << d;
                    EXPECT_EQ(CalDayTowards(l, d, CalDayStep::right), rightOf)
                        << year << "-" << month << " " << d;
                    EXPECT_EQ(CalDayTowards(l, d, CalDayStep::next), d < l.dayCount ? d + 1 : 0);
                    EXPECT_EQ(CalDayTowards(l, d, CalDayStep::previous), d - 1);
                }
                EXPECT_EQ(CalDayTowards(l, 0, CalDayStep::next), 0) << "no step starts outside the month";
                EXPECT_EQ(CalDayTowards(l, l.dayCount + 1, CalDayStep::previous), 0);
            }
}

}  // namespace
