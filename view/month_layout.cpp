#include "view/month_layout.h"

#include "calendar/calendar.h"

namespace {

CalRect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return CalRect{left, top, right, bottom};
}

}  // namespace

CalMonthLayout CalComputeMonthLayout(const CalLayoutInput& in)
{
    CalMonthLayout l{};

    // A client area is never negative; treating it as 0 keeps every
    // coordinate below within 32 bits for any input.
    const int32_t w = in.width > 0 ? in.width : 0;
    const int32_t h = in.height > 0 ? in.height : 0;

    l.frame = MakeRect(0, 0, w, h);
    l.face = MakeRect(2, 2, w - 2, h - 2);
    l.inner = MakeRect(3, 3, w - 3, h - 3);
    l.title = l.inner;

    const int32_t innerWidth = w - 6;
    const int32_t innerHeight = h - 6;
    l.rowHeight = innerHeight / 8;
    l.firstColumnWidth = innerWidth / 7;
    l.gridLeft = 3 + (in.weekNumbers != 0 ? l.firstColumnWidth : 0);
    l.columnWidth = (w - 3 - l.gridLeft) / 7;

    l.gridOffset = CalGridOffset(in.year, in.month, in.firstDay);
    l.dayCount = CalMonthLength(in.year, in.month);
    l.rowCount = (l.dayCount + l.gridOffset) / 7 + 1;
    l.firstWeekNumber = CalFirstWeekNumber(in.year, in.month, l.gridOffset);

    const int32_t rh = l.rowHeight;
    const int32_t cw = l.columnWidth;
    const int32_t left = l.gridLeft;

    for (int32_t c = 0; c < 7; ++c)
        l.header[c] = MakeRect(left + c * cw, 3 + rh, left + (c + 1) * cw, 3 + 2 * rh);

    for (int32_t d = 1; d <= l.dayCount; ++d) {
        const int32_t k = d + l.gridOffset;
        const int32_t column = k % 7;
        const int32_t row = k / 7;
        l.day[d] =
            MakeRect(left + column * cw, 3 + (row + 2) * rh, left + (column + 1) * cw, 3 + (row + 3) * rh);
    }

    for (int32_t t = 0; t < l.rowCount; ++t) {
        CalWeekCell& cell = l.week[t];
        cell.rect = MakeRect(3, 3 + (t + 2) * rh, left, 3 + (t + 3) * rh);
        cell.number = l.firstWeekNumber + t;
        const bool emptyFirstRow = t == 0 && l.gridOffset == 6;
        cell.drawn = in.weekNumbers != 0 && cell.number > 0 && !emptyFirstRow;
    }

    l.separator = MakeRect(left - 1, innerHeight / 4 + 2, w - 2, h - 2);
    l.separatorSides = CAL_SIDE_TOP | (in.weekNumbers != 0 ? CAL_SIDE_LEFT : 0u);

    l.hasToday = in.todayDay >= 1 && in.todayDay <= l.dayCount;
    if (l.hasToday) {
        const CalRect& cell = l.day[in.todayDay];
        l.todayEdge = MakeRect(cell.left, cell.top, cell.right, cell.bottom + 1);
        l.todayFill = MakeRect(cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 1);
        l.todayNumber = MakeRect(cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2);
    }
    return l;
}
