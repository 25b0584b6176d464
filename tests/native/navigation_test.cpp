// Navigation decisions of the tool window: spinner placement, what the
// spinners' reports do to the shown month, the day check.
#include <gtest/gtest.h>

#include "tool/navigation.h"

namespace {

// The month one step away, by counting months rather than by the wrap rule.
CalShownMonth Step(CalShownMonth m, int sign)
{
    const int index = m.year * 12 + (m.month - 1) + sign;
    return CalShownMonth{static_cast<uint16_t>(index / 12), static_cast<uint16_t>(index % 12 + 1)};
}

// Where the wrapping month spinner stands after one step from month m.
uint32_t SpinnerAfterStep(uint16_t month, int sign)
{
    return static_cast<uint32_t>((month - 1 + sign + 12) % 12 + 1);
}

TEST(MonthSpinReport, OneStepEitherWayIsTheNextOrPreviousMonthForEveryMonth)
{
    for (int y : {1601, 2024, 2025, 9999})
        for (uint16_t month = 1; month <= 12; ++month)
            for (int sign : {-1, +1})
                for (int32_t delta : {sign, sign * 5}) {
                    const uint16_t year = static_cast<uint16_t>(y);
                    const CalShownMonth shown{year, month};
                    const CalSpinResult r = CalMonthSpinReport(shown, delta, SpinnerAfterStep(month, sign));
                    const CalShownMonth want = Step(shown, sign);
                    EXPECT_EQ(r.shown.year, want.year) << year << "-" << month << " step " << delta;
                    EXPECT_EQ(r.shown.month, want.month) << year << "-" << month << " step " << delta;
                    EXPECT_EQ(r.setYearSpinner, want.year != year);
                    EXPECT_TRUE(r.repaint);
                }
}

TEST(MonthSpinReport, DecemberAndJanuaryCarryBeyondTheYearSpinnersRange)
{
    const CalSpinResult up = CalMonthSpinReport({2024, 12}, +1, 1);
    EXPECT_EQ(up.shown.year, 2025);
    EXPECT_EQ(up.shown.month, 1);
    const CalSpinResult down = CalMonthSpinReport({2025, 1}, -1, 12);
    EXPECT_EQ(down.shown.year, 2024);
    EXPECT_EQ(down.shown.month, 12);
    EXPECT_EQ(CalMonthSpinReport({9999, 12}, +1, 1).shown.year, 10000);
    EXPECT_EQ(CalMonthSpinReport({1601, 1}, -1, 12).shown.year, 1600);
}

TEST(MonthSpinReport, ReportsThatAreNotAStepOnlyRepaint)
{
    // The end-of-scroll report repeats the position just reached.
    for (int32_t delta : {-1, 0, 1}) {
        const CalSpinResult r = CalMonthSpinReport({2024, 11}, delta, 11);
        EXPECT_EQ(r.shown.year, 2024);
        EXPECT_EQ(r.shown.month, 11);
        EXPECT_FALSE(r.setYearSpinner);
        EXPECT_TRUE(r.repaint);
    }
    // No step announced yet: the position is not taken.
    const CalSpinResult none = CalMonthSpinReport({2024, 11}, 0, 3);
    EXPECT_EQ(none.shown.month, 11);
    EXPECT_TRUE(none.repaint);
    // Positions the month spinner cannot report keep the month in 1..12.
    for (uint32_t p : {0u, 13u, 65535u}) {
        const CalSpinResult r = CalMonthSpinReport({2024, 11}, 1, p);
        EXPECT_EQ(r.shown.month, 11) << p;
        EXPECT_EQ(r.shown.year, 2024) << p;
    }
}

TEST(MonthSpinReport, NoCarryWithinTheYearWhateverTheJump)
{
    // Steps that do not pass the year's end never touch the year.
    for (uint16_t from = 1; from <= 12; ++from)
        for (uint32_t to = 1; to <= 12; ++to) {
            if (to > from) {
                const CalSpinResult r = CalMonthSpinReport({2024, from}, +1, to);
                EXPECT_EQ(r.shown.year, 2024) << from << "->" << to;
                EXPECT_EQ(r.shown.month, to);
            }
            if (to < from) {
                const CalSpinResult r = CalMonthSpinReport({2024, from}, -1, to);
                EXPECT_EQ(r.shown.year, 2024) << from << "->" << to;
                EXPECT_EQ(r.shown.month, to);
            }
        }
}

TEST(YearSpinReport, OnlyADifferentYearChangesAndRepaints)
{
    const CalSpinResult r = CalYearSpinReport({2024, 3}, 2030);
    EXPECT_EQ(r.shown.year, 2030);
    EXPECT_EQ(r.shown.month, 3);
    EXPECT_TRUE(r.repaint);
    EXPECT_FALSE(r.setYearSpinner);
    const CalSpinResult same = CalYearSpinReport({2024, 3}, 2024);
    EXPECT_EQ(same.shown.year, 2024);
    EXPECT_FALSE(same.repaint);
}

TEST(SpinnerPlacement, CornersOfTheClientArea)
{
    const CalSpinnerPlacement p = CalPlaceSpinners({0, 0, 200, 160});
    ASSERT_TRUE(p.place);
    EXPECT_EQ(p.width, 28);
    EXPECT_EQ(p.height, 19);
    EXPECT_EQ(p.monthX, 2);
    EXPECT_EQ(p.yearX, 170);
    EXPECT_EQ(p.y, 2);

    EXPECT_FALSE(CalPlaceSpinners({0, 0, 0, 0}).place);
    EXPECT_FALSE(CalPlaceSpinners({0, 0, 200, 0}).place);
    EXPECT_FALSE(CalPlaceSpinners({0, 0, -5, 100}).place);

    for (int32_t w = 1; w < 11; ++w) {
        const CalSpinnerPlacement narrow = CalPlaceSpinners({0, 0, w, 160});
        ASSERT_TRUE(narrow.place);
        EXPECT_EQ(narrow.width, 0) << w;
        EXPECT_EQ(narrow.yearX, w - 2) << w;
    }
    EXPECT_EQ(CalPlaceSpinners({0, 0, 11, 160}).width, 1);
    EXPECT_EQ(CalPlaceSpinners({0, 0, 200, 3}).height, 0);
}

TEST(SpinnerPlacement, SpinnersStayInsideAndApartForEverySize)
{
    for (int32_t w = 11; w <= 400; ++w)
        for (int32_t h = 12; h <= 300; h += 7) {
            const CalSpinnerPlacement p = CalPlaceSpinners({0, 0, w, h});
            ASSERT_TRUE(p.place);
            EXPECT_GE(p.width, 1);
            EXPECT_LE(p.monthX + p.width, p.yearX) << w << "x" << h;  // never overlapping
            EXPECT_EQ(p.yearX + p.width + 2, w);
            EXPECT_LE(p.y + p.height, h - 2);
        }
}

TEST(Keys, EachKeyStepsAsTheSpinnersWouldAndOnlyTheseKeysAct)
{
    EXPECT_EQ(CalStepForKey(CAL_KEY_PAGE_DOWN, false), CalKeyStep::NextMonth);
    EXPECT_EQ(CalStepForKey(CAL_KEY_RIGHT, false), CalKeyStep::NextMonth);
    EXPECT_EQ(CalStepForKey(CAL_KEY_RIGHT, true), CalKeyStep::NextMonth);
    EXPECT_EQ(CalStepForKey(CAL_KEY_PAGE_UP, false), CalKeyStep::PreviousMonth);
    EXPECT_EQ(CalStepForKey(CAL_KEY_LEFT, true), CalKeyStep::PreviousMonth);
    EXPECT_EQ(CalStepForKey(CAL_KEY_PAGE_DOWN, true), CalKeyStep::NextYear);
    EXPECT_EQ(CalStepForKey(CAL_KEY_PAGE_UP, true), CalKeyStep::PreviousYear);
    EXPECT_EQ(CalStepForKey(CAL_KEY_HOME, false), CalKeyStep::Today);
    int acting = 0;
    for (uint32_t key = 0; key < 256; ++key)
        for (bool control : {false, true})
            acting += CalStepForKey(key, control) != CalKeyStep::None ? 1 : 0;
    EXPECT_EQ(acting, 10) << "five keys, with and without Ctrl";

    // A month step forwards then back returns anywhere, and a run of steps
    // counts months one by one, across the spinner's range too.
    for (int y = 1599; y <= 10001; ++y)
        for (uint16_t month = 1; month <= 12; ++month) {
            const CalShownMonth shown{static_cast<uint16_t>(y), month};
            for (int sign : {-1, +1}) {
                const CalSpinResult r = CalStepMonth(shown, sign);
                const CalShownMonth want = Step(shown, sign);
                ASSERT_EQ(r.shown.year, want.year) << y << "-" << month << " " << sign;
                ASSERT_EQ(r.shown.month, want.month) << y << "-" << month << " " << sign;
                ASSERT_EQ(r.setYearSpinner, want.year != shown.year);
                ASSERT_TRUE(r.repaint);
                const CalSpinResult back = CalStepMonth(r.shown, -sign);
                ASSERT_EQ(back.shown.year, shown.year);
                ASSERT_EQ(back.shown.month, shown.month);
            }
        }
}

TEST(Keys, YearStepsStopWhereTheYearSpinnerStopsButComeBackFromBeyond)
{
    struct {
        uint16_t year;
        int direction;
        uint16_t want;  // == year: nothing happens
    } cases[] = {{2024, +1, 2025}, {2024, -1, 2023}, {9999, +1, 9999}, {9998, +1, 9999}, {1601, -1, 1601},
        {1602, -1, 1601}, {10000, -1, 9999}, {10000, +1, 10000}, {1600, +1, 1601}, {1600, -1, 1600}};
    for (const auto& c : cases) {
        const CalSpinResult r = CalStepYear({c.year, 7}, c.direction);
        EXPECT_EQ(r.shown.year, c.want) << c.year << " " << c.direction;
        EXPECT_EQ(r.shown.month, 7);
        EXPECT_EQ(r.repaint, c.want != c.year);
        EXPECT_EQ(r.setYearSpinner, c.want != c.year);
    }
}

TEST(DayCheck, OnlyADifferentDayNumberCounts)
{
    EXPECT_FALSE(CalDayChanged(15, 15));
    EXPECT_TRUE(CalDayChanged(15, 16));
    EXPECT_TRUE(CalDayChanged(31, 1));
}

}  // namespace
