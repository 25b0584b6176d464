// What one month view shows: the record the painter and the measurement of
// the preferred size take. Whoever owns the view fills it; the view reads
// nothing else of its owner.
#ifndef CALENDAR_VIEW_MONTH_VIEW_H
#define CALENDAR_VIEW_MONTH_VIEW_H

#include <windows.h>

#include "view/month_layout.h"

// Has the host paint its own background into dc over rect, the client
// rectangle of window, and returns when it has.
using CalBackgroundAsk = void (*)(HWND window, const RECT* rect, HDC dc);

// The system's colours the view is painted in.
struct CalViewColours {
    COLORREF face;           // the face, inside the frame
    COLORREF text;           // every text
    COLORREF today;          // today's fill
    COLORREF edge;           // the darkest line of today's sunken edge
    COLORREF selection;      // the selected day's fill
    COLORREF selectionText;  // the selected day's number
    bool highContrast;       // the system's high-contrast scheme is on
};

struct CalMonthView {
    HWND window;      // the window shown in: its client size, its focus, the window named to the host
    WORD year;        // the shown month
    WORD month;       // 1..12
    WORD todayYear;   // today's date
    WORD todayMonth;
    WORD todayDay;
    LONG weekNumbers;  // non-zero: the week-number column is shown
    LONG firstDay;     // 0 = Sunday ... 6 = Saturday, as stored
    LOGFONTA font;     // the font of every text, as a settings block stores it
    CalViewColours colours;
    CalBackgroundAsk hostBackground;  // non-null: the host paints the background, asked through it
    DWORD markedDays;  // bit n - 1: day n is drawn in the bold weight of the font
    WORD selectedDay;  // the selected day of the shown month, 0 for none
};

// The day marked as today in the shown month, 0 while another month is shown.
inline int32_t CalViewToday(const CalMonthView& view)
{
    return view.todayMonth == view.month && view.todayYear == view.year ? view.todayDay : 0;
}

// Where every element of the view lies in a client area of width x height.
inline CalMonthLayout CalViewLayout(const CalMonthView& view, int32_t width, int32_t height)
{
    CalLayoutInput in{};
    in.width = width;
    in.height = height;
    in.weekNumbers = view.weekNumbers;
    in.firstDay = view.firstDay;
    in.year = view.year;
    in.month = view.month;
    in.todayDay = CalViewToday(view);
    return CalComputeMonthLayout(in);
}

#endif
