// The days of the month view as a reader walks them: which day's cell lies
// under a point, and which day lies one step away in the grid. Pure
// functions of a computed layout; no platform headers.
#ifndef CALENDAR_TOOL_DAY_CELLS_H
#define CALENDAR_TOOL_DAY_CELLS_H

#include <cstdint>

#include "view/month_layout.h"

// The day (1..dayCount) whose cell holds the client point (x, y), or 0 when
// the point lies on no day: the title, the header, the week numbers, the
// empty cells of the grid or outside it.
int32_t CalDayAtPoint(const CalMonthLayout& layout, int32_t x, int32_t y);

enum class CalDayStep {
    next,      // the following day, across rows
    previous,  // the day before, across rows
    up,        // a week earlier, same column
    down,      // a week later, same column
    left,      // the day before, same row only
    right,     // the following day, same row only
};

// The day one step from day in the grid, or 0 when the step leaves the
// month, its row (left, right) or day is not a day of the month.
int32_t CalDayTowards(const CalMonthLayout& layout, int32_t day, CalDayStep step);

#endif
