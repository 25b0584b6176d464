#include "tool/day_cells.h"

int32_t CalDayAtPoint(const CalMonthLayout& layout, int32_t x, int32_t y)
{
    for (int32_t d = 1; d <= layout.dayCount; ++d) {
        const CalRect& r = layout.day[d];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return d;
    }
    return 0;
}

int32_t CalDayTowards(const CalMonthLayout& layout, int32_t day, CalDayStep step)
{
    if (day < 1 || day > layout.dayCount)
        return 0;
    const int32_t column = (day + layout.gridOffset) % 7;
    int32_t to = 0;
    switch (step) {
        case CalDayStep::next:
            to = day + 1;
            break;
        case CalDayStep::previous:
            to = day - 1;
            break;
        case CalDayStep::up:
            to = day - 7;
            break;
        case CalDayStep::down:
            to = day + 7;
            break;
        case CalDayStep::left:
            to = column > 0 ? day - 1 : 0;
            break;
        case CalDayStep::right:
            to = column < 6 ? day + 1 : 0;
            break;
    }
    return to >= 1 && to <= layout.dayCount ? to : 0;
}
