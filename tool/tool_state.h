// The record of one calendar tool window, how a window finds it, and how a
// change of its settings ends. It begins with the settings block, so the
// record's address is also the address of the block the host stores.
#ifndef CALENDAR_TOOL_TOOL_STATE_H
#define CALENDAR_TOOL_TOOL_STATE_H

#include <type_traits>

#include "plugin/caltool.h"

struct CalDayMarkStore;
struct CalDayTip;

struct CalToolState {
    CalToolSettings settings;  // first: what the host fetches and hands back
    HWND window;               // the tool window
    HWND monthSpin;            // up-down control IDC_MONTHSPIN, 1..12, wrapping
    HWND yearSpin;             // up-down control IDC_YEARSPIN, 1601..9999
    WORD todayMonth;           // today's month as of the last reset to today
    WORD todayYear;            // today's year as of the last reset to today
    SYSTEMTIME shown;          // wYear, wMonth: the displayed month; wDay: today's day
    LONG spinDelta;            // the step the month spinner last announced; its sign counts
    CalDayMarkStore* marks;    // the host's marked days, per month (tool/day_marks); may be null
    DWORD selected;            // the selected day, packed as the protocol packs dates (CalPackDate)
    CalDayTip* tip;            // the days' tooltip (tool/day_tip); may be null
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

// What CTN_SETTINGSCHANGED carries as lParam: which kind of change it was.
enum CalChangeKind : LPARAM {
    CAL_CHANGED_OPTION = 0,        // an option of the context menu
    CAL_CHANGED_FONT_OR_PAGE = 1,  // a font confirmed in the context menu, or a page's apply
};

// How every change of the record's settings ends, from the menu or from an
// applied page: the record is up to date before the host hears of it
// (CTN_SETTINGSCHANGED to the tool's parent, with kind as lParam), and the
// tool is then repainted, erasing first when erase says so.
inline void CalSettingsChanged(const CalToolState* state, CalChangeKind kind, BOOL erase)
{
    SendMessageA(
        GetParent(state->window), CTN_SETTINGSCHANGED, reinterpret_cast<WPARAM>(state->window), kind);
    InvalidateRect(state->window, nullptr, erase);
}

#endif
