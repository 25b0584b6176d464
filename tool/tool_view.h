// The tool's month view: what it shows, described for the view from the
// tool's record, and its painting.
#ifndef CALENDAR_TOOL_TOOL_VIEW_H
#define CALENDAR_TOOL_TOOL_VIEW_H

#include "tool/tool_state.h"
#include "view/month_view.h"

// What the tool shows now, in its window, with the font painting uses; the
// host is asked for its background when the option is on. The colours are
// read for a paint only (CalPaintMonth) and are left zero here.
CalMonthView CalToolView(const CalToolState* state);

// Where every element of the tool's month lies at the window's client size.
CalMonthLayout CalToolLayout(const CalToolState* state);

// Paints the whole client area of window, the tool whose record is state,
// into dc (the paint surface BeginPaint gave), in the system's colours.
// Changes nothing in the record; every graphics object it makes is released
// before it returns.
void CalPaintMonth(HWND window, HDC dc, const CalToolState* state);

#endif
