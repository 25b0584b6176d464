// The record of one calendar tool window. It begins with the settings block,
// so the record's address is also the address of the block the host stores.
#ifndef CALENDAR_TOOL_TOOL_STATE_H
#define CALENDAR_TOOL_TOOL_STATE_H

#include <type_traits>

#include "plugin/caltool.h"

struct CalToolState {
    CalToolSettings settings;  // first: what the host fetches and hands back
    HWND window;               // the tool window
    HWND monthSpin;            // up-down control IDC_MONTHSPIN, 1..12, wrapping
    HWND yearSpin;             // up-down control IDC_YEARSPIN, 1601..9999
    WORD todayMonth;           // today's month as of the last reset to today
    WORD todayYear;            // today's year as of the last reset to today
    SYSTEMTIME shown;          // wYear, wMonth: the displayed month; wDay: today's day
    LONG spinDelta;            // the step the month spinner last announced; its sign counts
    LOGFONTA appliedFont;      // the font painting uses
};

static_assert(std::is_standard_layout_v<CalToolState> && offsetof(CalToolState, settings) == 0,
    "a pointer to the record is a pointer to its settings block");

// The record attached to a tool window (window word 0), or null while the
// window is being created and after it has been destroyed.
inline CalToolState* CalToolFromWindow(HWND window)
{
    return reinterpret_cast<CalToolState*>(GetWindowLongPtrA(window, 0));
}

#endif
