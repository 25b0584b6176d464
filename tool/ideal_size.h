// The tool's preferred size, measured in its font.
#ifndef CALENDAR_TOOL_IDEAL_SIZE_H
#define CALENDAR_TOOL_IDEAL_SIZE_H

#include <cstdint>

#include "view/month_view.h"

// The preferred size (width | height << 16) for the view's font, measured in
// the device context of its window: the twelve month names of the locale
// with a four-digit year, three rows of digit pairs and the weekday header
// of the view's year. 160 x 120 without a device context.
uint32_t CalMeasureIdealSize(const CalMonthView& view);

#endif
