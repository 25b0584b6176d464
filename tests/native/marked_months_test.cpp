// The marks a tool keeps per month: bounded, the month told longest ago
// giving way, right across a wrap of the store's clock. (What a month keeps
// of the bits it is told is checked through the tool, under Wine.)
#include <gtest/gtest.h>

#include "plugin/cal_protocol.h"
#include "tool/marked_months.h"

namespace {

uint32_t Kept(const CalMarkedMonths& store, int32_t year, int32_t month)
{
    const CalMarkedMonth* e = CalFindMarks(store, year, month);
    return e != nullptr ? e->days : 0xDEADu;
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
    const uint32_t d = CalPackDate(9999, 12, 31);
    EXPECT_EQ(d, 0x270F0C1Fu);
    EXPECT_EQ(CalDateYear(d) * 10000 + CalDateMonth(d) * 100 + CalDateDay(d), 99991231);
}

}  // namespace
