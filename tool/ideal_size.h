// The tool's preferred size, measured in its font.
#ifndef CALENDAR_TOOL_IDEAL_SIZE_H
#define CALENDAR_TOOL_IDEAL_SIZE_H

#include "tool/tool_state.h"

// The preferred size (width | height << 16) for the record's font (the one
// the user chose, not the one painting still uses), measured in window's
// device context: the twelve month names of the locale with a four-digit
// year, and three rows of digit pairs. 160 x 120 without a device context.
// Leaves the record as it found it.
uint32_t CalMeasureIdealSize(const CalToolState* state, HWND window);

#endif
