// Painting a month view, composed off-screen and copied to the window in
// one transfer.
#ifndef CALENDAR_VIEW_MONTH_PAINT_H
#define CALENDAR_VIEW_MONTH_PAINT_H

#include "view/month_view.h"

// Paints the whole client area of view.window into dc (the paint surface
// BeginPaint gave, or a surface to print into). Every graphics object it
// makes is released before it returns.
void CalPaintView(HDC dc, const CalMonthView& view);

#endif
