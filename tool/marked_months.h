// The marked days a tool has learned from its host, month by month. A host
// may hand over any number of months, and the user may browse through
// thousands: only the months most recently asked about or told are kept, a
// fixed number, and a month let go is asked about again when it is shown.
// No platform headers.
#ifndef CALENDAR_TOOL_MARKED_MONTHS_H
#define CALENDAR_TOOL_MARKED_MONTHS_H

#include <cstdint>

inline constexpr int CAL_MARKED_MONTHS = 36;

struct CalMarkedMonth {
    int32_t year;   // 0: a free entry
    int32_t month;
    uint32_t days;  // bit n - 1: day n is marked
    uint32_t used;  // when it was last told, on the store's clock
};

struct CalMarkedMonths {
    CalMarkedMonth entry[CAL_MARKED_MONTHS];
    uint32_t clock;
};

// Whether a month is one the tool can show and keep marks for: years 1601
// to 9999, months 1 to 12.
bool CalMarkableMonth(int32_t year, int32_t month);

// The month's entry, or null when nothing is known of it.
const CalMarkedMonth* CalFindMarks(const CalMarkedMonths& store, int32_t year, int32_t month);

// Keeps days as the month's marks, without the bits past its last day, in
// place of what was known of it; when the store is full, the month told
// longest ago gives way. A month that is not markable is not kept.
void CalKeepMarks(CalMarkedMonths& store, int32_t year, int32_t month, uint32_t days);

// Forgets every month.
void CalForgetMarks(CalMarkedMonths& store);

#endif
