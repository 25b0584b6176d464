// The marks a tool keeps per month: cut to the month's days, only for months
// it can show, and bounded, the month told longest ago giving way.
#include <gtest/gtest.h>

#include "plugin/cal_protocol.h"
#include "tool/marked_months.h"

namespace {

uint32_t Kept(const CalMarkedMonths& store, int32_t year, int32_t month)
{
    const CalMarkedMonth* e = CalFindMarks(store, year, month);
    return e != nullptr ? e->days : 0xDEADu;
}

TEST(MarkedMonths, DaysPastTheMonthsEndAndMonthsItCannotShowAreDropped)
{
    const struct {
        int32_t year, month;
        uint32_t told, kept;
    } cases[] = {
        {2023, 2, 0xFFFFFFFFu, 0x0FFFFFFFu},  // 28 days
        {2024, 2, 0xFFFFFFFFu, 0x1FFFFFFFu},  // 29 days
        {1900, 2, 0x30000000u, 0u},           // no leap day in 1900
        {2000, 2, 0x30000000u, 0x10000000u},  // but in 2000
        {2025, 4, 0xFFFFFFFFu, 0x3FFFFFFFu},
        {2025, 12, 0xFFFFFFFFu, 0x7FFFFFFFu},
        {1601, 1, 0x80000001u, 1u},
        {9999, 12, 0x40000000u, 0x40000000u},
        {1600, 12, 1u, 0xDEADu},
        {10000, 1, 1u, 0xDEADu},
        {2025, 0, 1u, 0xDEADu},
        {2025, 13, 1u, 0xDEADu},
        {-2025, 1, 1u, 0xDEADu},
    };
    for (const auto& c : cases) {
        CalMarkedMonths store{};
        CalKeepMarks(store, c.year, c.month, c.told);
        EXPECT_EQ(Kept(store, c.year, c.month), c.kept) << c.year << "-" << c.month;
    }
    CalMarkedMonths store{};
    EXPECT_EQ(CalFindMarks(store, 0, 0), nullptr) << "a free entry is no month";
}

TEST(MarkedMonths, TheStoreIsBoundedAndLetsGoOfTheMonthToldLongestAgo)
{
    CalMarkedMonths store{};
    // Far more months than it keeps, as a user browsing for years would show.
    for (int32_t i = 0; i < 12 * 40; ++i)
        CalKeepMarks(store, 2000 + i / 12, 1 + i % 12, static_cast<uint32_t>(i + 1));
    int32_t kept = 0;
    for (int32_t i = 0; i < 12 * 40; ++i) {
        const uint32_t days = Kept(store, 2000 + i / 12, 1 + i % 12);
        const bool recent = i >= 12 * 40 - CAL_MARKED_MONTHS;
        EXPECT_EQ(days, recent ? static_cast<uint32_t>(i + 1) : 0xDEADu) << i;
        kept += days != 0xDEADu ? 1 : 0;
    }
    EXPECT_EQ(kept, CAL_MARKED_MONTHS);

    // Told again, a month is young again: the next newcomer takes another's place.
    const int32_t oldest = 12 * 40 - CAL_MARKED_MONTHS;
    CalKeepMarks(store, 2000 + oldest / 12, 1 + oldest % 12, 7);
    CalKeepMarks(store, 1700, 6, 5);
    EXPECT_EQ(Kept(store, 2000 + oldest / 12, 1 + oldest % 12), 7u);
    EXPECT_EQ(Kept(store, 2000 + (oldest + 1) / 12, 1 + (oldest + 1) % 12), 0xDEADu);
    EXPECT_EQ(Kept(store, 1700, 6), 5u);

    // The same across a wrap of the store's clock.
    store.clock = 0xFFFFFFF0u;
    for (int32_t i = 0; i < CAL_MARKED_MONTHS + 5; ++i)
        CalKeepMarks(store, 3000 + i / 12, 1 + i % 12, 1);
    EXPECT_EQ(Kept(store, 3000, 1), 0xDEADu);
    EXPECT_EQ(Kept(store, 3000 + (CAL_MARKED_MONTHS + 4) / 12, 1 + (CAL_MARKED_MONTHS + 4) % 12), 1u);
    EXPECT_EQ(Kept(store, 3000 + 5 / 12, 1 + 5 % 12), 1u);

    CalForgetMarks(store);
    EXPECT_EQ(Kept(store, 1700, 6), 0xDEADu);
}

TEST(PackedDate, FieldsComeBackAsPacked)
{
    const uint32_t d = CalPackDate(2026, 12, 31);
    EXPECT_EQ(d, 0x07EA0C1Fu);
    EXPECT_EQ(CalDateYear(d), 2026);
    EXPECT_EQ(CalDateMonth(d), 12);
    EXPECT_EQ(CalDateDay(d), 31);
    EXPECT_EQ(CalPackDate(9999, 1, 1), 0x270F0101u);
    EXPECT_EQ(CalDateYear(CalPackDate(65535, 255, 255)), 65535) << "the year is unsigned";
}

}  // namespace
