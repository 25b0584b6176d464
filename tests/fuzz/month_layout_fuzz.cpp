// The month geometry for any client size, any setting, years 1 to 30000 and
// every month: no undefined behaviour, and every cell inside the inner
// rectangle whenever that rectangle is not empty.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_input.h"
#include "view/month_layout.h"

namespace {

[[noreturn]] void Fail(const char* what, const CalLayoutInput& in)
{
    std::fprintf(stderr, "layout fault: %s (W %d H %d weekNumbers %d firstDay %d %d-%02d today %d)\n", what,
        in.width, in.height, in.weekNumbers, in.firstDay, in.year, in.month, in.todayDay);
    std::abort();
}

bool Inside(const CalRect& r, const CalRect& outer)
{
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right && r.bottom <= outer.bottom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CalFuzzInput bytes(data, size);
    CalLayoutInput in{};
    in.width = bytes.Next();
    in.height = bytes.Next();
    in.weekNumbers = bytes.Next();
    in.firstDay = bytes.Next();
    in.year = bytes.NextIn(1, 30000);
    in.month = bytes.NextIn(1, 12);
    in.todayDay = bytes.Next();

    const CalMonthLayout l = CalComputeMonthLayout(in);

    if (l.gridOffset < 0 || l.gridOffset > 6)
        Fail("grid offset outside 0..6", in);
    if (l.dayCount < 28 || l.dayCount > 31)
        Fail("month length outside 28..31", in);
    if (l.rowCount != 5 && l.rowCount != 6)
        Fail("neither 5 nor 6 week rows", in);
    if (l.hasToday != (in.todayDay >= 1 && in.todayDay <= l.dayCount))
        Fail("today marked for a day the month does not have", in);

    if (CalRectEmpty(l.inner))
        return 0;
    for (const CalRect& cell : l.header)
        if (!Inside(cell, l.inner))
            Fail("header cell outside the inner rectangle", in);
    for (int32_t d = 1; d <= l.dayCount; ++d)
        if (!Inside(l.day[d], l.inner))
            Fail("day cell outside the inner rectangle", in);
    for (int32_t t = 0; t < l.rowCount; ++t)
        if (!Inside(l.week[t].rect, l.inner))
            Fail("week-number cell outside the inner rectangle", in);
    if (!Inside(l.separator, l.face))
        Fail("separator outside the face", in);
    // Today's sunken edge reaches one row below its cell, so it may touch
    // the face's last pixel row, never the frame.
    if (l.hasToday && (!Inside(l.todayEdge, l.face) || !Inside(l.todayFill, l.todayEdge)))
        Fail("today's mark outside the face", in);
    return 0;
}
