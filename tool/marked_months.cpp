#include "tool/marked_months.h"

#include "calendar/calendar.h"

bool CalMarkableMonth(int32_t year, int32_t month)
{
    return year >= 1601 && year <= 9999 && month >= 1 && month <= 12;
}

namespace {

template <typename Store>
auto* Find(Store& store, int32_t year, int32_t month)
{
    for (auto& e : store.entry)
        if (e.year == year && e.month == month && e.year != 0)
            return &e;
    return static_cast<decltype(&store.entry[0])>(nullptr);
}

}  // namespace

const CalMarkedMonth* CalFindMarks(const CalMarkedMonths& store, int32_t year, int32_t month)
{
    return Find(store, year, month);
}

void CalKeepMarks(CalMarkedMonths& store, int32_t year, int32_t month, uint32_t days)
{
    if (!CalMarkableMonth(year, month))
        return;
    // The month's own entry, else a free one, else the one told longest ago.
    CalMarkedMonth* slot = Find(store, year, month);
    for (int i = 0; slot == nullptr && i < CAL_MARKED_MONTHS; ++i)
        if (store.entry[i].year == 0)
            slot = &store.entry[i];
    if (slot == nullptr) {
        slot = &store.entry[0];
        for (CalMarkedMonth& e : store.entry)
            if (store.clock - e.used > store.clock - slot->used)  // ages, right across a wrap of the clock
                slot = &e;
    }
    const int32_t length = CalMonthLength(year, month);
    slot->year = year;
    slot->month = month;
    slot->days = days & (length >= 32 ? ~0u : (1u << length) - 1u);
    slot->used = ++store.clock;
}

void CalForgetMarks(CalMarkedMonths& store)
{
    store = CalMarkedMonths{};
}
