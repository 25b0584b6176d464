// Navigation decisions of the tool window: spinner placement, what the
// spinners' reports do to the shown month, the keys' moves of the selected
// day, the day check.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/native/civil_date.h"
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

TEST(Keys, EachKeyMovesTheSelectionReturnsOrPicksAndOnlyTheseKeysAct)
{
    struct {
        uint32_t key;
        bool control;
        CalKeyAction action;
        CalDateMove move;
    } cases[] = {{CAL_KEY_LEFT, false, CalKeyAction::Move, CalDateMove::DayBack},
        {CAL_KEY_RIGHT, true, CalKeyAction::Move, CalDateMove::DayOn},
        {CAL_KEY_UP, false, CalKeyAction::Move, CalDateMove::WeekBack},
        {CAL_KEY_DOWN, false, CalKeyAction::Move, CalDateMove::WeekOn},
        {CAL_KEY_PAGE_UP, false, CalKeyAction::Move, CalDateMove::MonthBack},
        {CAL_KEY_PAGE_DOWN, false, CalKeyAction::Move, CalDateMove::MonthOn},
        {CAL_KEY_PAGE_UP, true, CalKeyAction::Move, CalDateMove::YearBack},
        {CAL_KEY_PAGE_DOWN, true, CalKeyAction::Move, CalDateMove::YearOn}};
    for (const auto& c : cases) {
        const CalKeyStep step = CalStepForKey(c.key, c.control);
        EXPECT_EQ(step.action, c.action) << c.key;
        EXPECT_EQ(step.move, c.move) << c.key << " ctrl " << c.control;
    }
    EXPECT_EQ(CalStepForKey(CAL_KEY_HOME, false).action, CalKeyAction::Today);
    EXPECT_EQ(CalStepForKey(CAL_KEY_RETURN, false).action, CalKeyAction::Pick);
    EXPECT_EQ(CalStepForKey(CAL_KEY_SPACE, true).action, CalKeyAction::Pick);
    int acting = 0;
    for (uint32_t key = 0; key < 256; ++key)
        for (bool control : {false, true})
            acting += CalStepForKey(key, control).action != CalKeyAction::None ? 1 : 0;
    EXPECT_EQ(acting, 18) << "nine keys, with and without Ctrl";
}

CalDate FromCivil(chr::sys_days days)
{
    const chr::year_month_day d{days};
    return CalDate{static_cast<int32_t>(d.year()), static_cast<int32_t>(static_cast<unsigned>(d.month())),
        static_cast<int32_t>(static_cast<unsigned>(d.day()))};
}

// The month m months from date's, keeping its day or taking the last one.
CalDate MonthsOn(const CalDate& date, int months)
{
    const chr::year_month ym = chr::year{date.year} / chr::month{static_cast<unsigned>(date.month)} +
        chr::months{months};
    const unsigned last = static_cast<unsigned>((ym / chr::last).day());
    const unsigned day = std::min(static_cast<unsigned>(date.day), last);
    return FromCivil(chr::sys_days{ym / chr::day{day}});
}

// Every day of one whole 400-year cycle of the calendar, from the first
// selectable day, and of the last years before the range ends.
void ForEveryDayOf(int32_t fromYear, int32_t toYear, const std::function<void(chr::sys_days)>& check)
{
    for (chr::sys_days day = CivilDate(fromYear, 1, 1); day <= CivilDate(toYear, 12, 31); day += chr::days{1})
        check(day);
}

TEST(DateMoves, EveryMoveOfEveryDayAgreesWithTheCivilCalendarAndStopsAtTheRange)
{
    const chr::sys_days first = CivilDate(CAL_FIRST_YEAR, 1, 1);
    const chr::sys_days last = CivilDate(CAL_LAST_YEAR, 12, 31);
    const auto within = [&](chr::sys_days d) { return d >= first && d <= last; };
    const auto check = [&](chr::sys_days day) {
        const CalDate date = FromCivil(day);
        ASSERT_TRUE(CalSelectableDate(date));
        struct {
            CalDateMove move;
            chr::days by;
        } byDays[] = {{CalDateMove::DayBack, chr::days{-1}}, {CalDateMove::DayOn, chr::days{1}},
            {CalDateMove::WeekBack, chr::days{-7}}, {CalDateMove::WeekOn, chr::days{7}}};
        for (const auto& m : byDays) {
            const chr::sys_days to = day + m.by;
            ASSERT_EQ(CalMoveDate(date, m.move), within(to) ? FromCivil(to) : date)
                << date.year << "-" << date.month << "-" << date.day;
        }
        struct {
            CalDateMove move;
            int months;
        } byMonths[] = {{CalDateMove::MonthBack, -1}, {CalDateMove::MonthOn, 1}, {CalDateMove::YearBack, -12},
            {CalDateMove::YearOn, 12}};
        for (const auto& m : byMonths) {
            const int32_t toYear = (date.year * 12 + date.month - 1 + m.months) / 12;
            const bool inside = toYear >= CAL_FIRST_YEAR && toYear <= CAL_LAST_YEAR;
            ASSERT_EQ(CalMoveDate(date, m.move), inside ? MonthsOn(date, m.months) : date)
                << date.year << "-" << date.month << "-" << date.day << " by " << m.months;
        }
    };
    ForEveryDayOf(CAL_FIRST_YEAR, CAL_FIRST_YEAR + 399, check);
    ForEveryDayOf(CAL_LAST_YEAR - 1, CAL_LAST_YEAR, check);
}

TEST(DayCheck, OnlyADifferentDayNumberCounts)
{
    EXPECT_FALSE(CalDayChanged(15, 15));
    EXPECT_TRUE(CalDayChanged(15, 16));
    EXPECT_TRUE(CalDayChanged(31, 1));
}

}  // namespace
