// Painting the month view of a tool window, composed off-screen and copied
// to the window in one transfer.
#ifndef CALENDAR_VIEW_MONTH_PAINT_H
#define CALENDAR_VIEW_MONTH_PAINT_H

#include "tool/tool_state.h"

// Paints the whole client area of window, the tool whose record is state,
// into dc (the paint surface BeginPaint gave). Changes nothing in the record;
// every graphics object it makes is released before it returns.
void CalPaintMonth(HWND window, HDC dc, const CalToolState* state);

#endif
