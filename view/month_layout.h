// Where every element of the month view lies, in whole client pixels.
// A pure computation from the client size, two settings and the shown month;
// no platform headers, so it is built and tested natively too.
#ifndef CALENDAR_VIEW_MONTH_LAYOUT_H
#define CALENDAR_VIEW_MONTH_LAYOUT_H

#include <cstdint>

// A rectangle covering left <= x < right and top <= y < bottom.
struct CalRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

inline bool CalRectEmpty(const CalRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}
inline bool operator==(const CalRect& a, const CalRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const CalRect& a, const CalRect& b)
{
    return !(a == b);
}

// Sides of the separator that carry an etched line.
enum : uint32_t {
    CAL_SIDE_TOP = 1u,
    CAL_SIDE_LEFT = 2u,
};

struct CalLayoutInput {
    int32_t width;        // client width W
    int32_t height;       // client height H
    int32_t weekNumbers;  // non-zero: the week-number column is shown
    int32_t firstDay;     // 0 = Sunday ... 6 = Saturday
    int32_t year;
    int32_t month;     // 1..12
    int32_t todayDay;  // day of the shown month marked as today, 0 for none
};

struct CalWeekCell {
    CalRect rect;
    int32_t number;  // the week number the row bears
    bool drawn;      // whether the number is shown
};

struct CalMonthLayout {
    CalRect frame;  // the client rectangle; the etched frame is its outer 2 pixels
    CalRect face;   // inside the frame
    CalRect inner;  // the face less one pixel on every side
    CalRect title;  // where the title is centred, at the top

    int32_t rowHeight;         // inner height / 8: title band, header band, six week rows
    int32_t firstColumnWidth;  // inner width / 7; the week-number column's width
    int32_t gridLeft;          // left edge of day column 0
    int32_t columnWidth;       // width of each of the seven day columns

    int32_t gridOffset;       // day d sits in grid cell d + gridOffset
    int32_t dayCount;         // days in the shown month
    int32_t rowCount;         // week rows spanned, an empty first row included: 5 or 6
    int32_t firstWeekNumber;  // number borne by week row 0

    CalRect header[7];    // weekday initial cells, by column
    CalRect day[32];      // day cells, indexed by day 1..dayCount; [0] is unused
    CalWeekCell week[6];  // week-number cells, rows 0..rowCount-1

    CalRect separator;        // the etched lines run along its top and, with week numbers, its left
    uint32_t separatorSides;  // CAL_SIDE_TOP, plus CAL_SIDE_LEFT with week numbers

    bool hasToday;        // todayDay names a day of the month
    CalRect todayEdge;    // today's cell one pixel taller, for the sunken edge
    CalRect todayFill;    // inside the sunken edge
    CalRect todayNumber;  // where today's number is centred; same centre as the cell
};

// Computes the complete layout. Negative client sizes are treated as 0.
CalMonthLayout CalComputeMonthLayout(const CalLayoutInput& in);

// Column (0..6) headed by day d (1..7) of the shown month.
inline int32_t CalHeaderColumn(const CalMonthLayout& layout, int32_t d)
{
    return (d + layout.gridOffset) % 7;
}

#endif
