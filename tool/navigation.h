// What the tool window's spinners and clock do to the shown month, decided
// without the platform: where the two spinners go for a client rectangle,
// what a spinner's report does to the shown month and year, and whether the
// day check has seen a new day. The window procedure carries the results out.
#ifndef CALENDAR_TOOL_NAVIGATION_H
#define CALENDAR_TOOL_NAVIGATION_H

#include <cstdint>

#include "view/month_layout.h"

// Where both spinners go: the month spinner in the top-left corner, the year
// spinner in the top-right corner, 2 pixels in from the edges, each a
// seventh of the width and an eighth of the height less 4 pixels.
struct CalSpinnerPlacement {
    bool place;  // false for an empty client area: leave the spinners where they are
    int32_t monthX;
    int32_t yearX;
    int32_t y;
    int32_t width;
    int32_t height;
};

CalSpinnerPlacement CalPlaceSpinners(const CalRect& client);

// The displayed month, as the tool record keeps it (16-bit unsigned fields).
struct CalShownMonth {
    uint16_t year;
    uint16_t month;  // 1..12
};

struct CalSpinResult {
    CalShownMonth shown;  // the displayed month after the report
    bool setYearSpinner;  // the month wrapped: move the year spinner to shown.year
    bool repaint;         // invalidate the window
};

// A report of the month spinner at position `position`, after it announced a
// step of `spinDelta` (only the sign counts; 0 when no step was announced).
// When the spinner has wrapped past December or January the year follows by
// one, unbounded by the year spinner's range. Every report repaints.
CalSpinResult CalMonthSpinReport(CalShownMonth shown, int32_t spinDelta, uint32_t position);

// A report of the year spinner at `position`: a different year is taken and
// repainted; the same year changes nothing.
CalSpinResult CalYearSpinReport(CalShownMonth shown, uint32_t position);

// What a key does to the shown month. Keys are the platform's virtual-key
// numbers; only these are answered.
enum : uint32_t {
    CAL_KEY_PAGE_UP = 0x21,    // previous month; with Ctrl, previous year
    CAL_KEY_PAGE_DOWN = 0x22,  // next month; with Ctrl, next year
    CAL_KEY_HOME = 0x24,       // back to today's month
    CAL_KEY_LEFT = 0x25,       // previous month
    CAL_KEY_RIGHT = 0x27,      // next month
};

enum class CalKeyStep { None, NextMonth, PreviousMonth, NextYear, PreviousYear, Today };

CalKeyStep CalStepForKey(uint32_t key, bool control);

// One month forwards (direction > 0) or back, with exactly the year carry of
// the month spinner: the month spinner would stand at the result's month.
CalSpinResult CalStepMonth(CalShownMonth shown, int direction);

// One year forwards or back, as the year spinner would go: it stops at 1601
// and 9999, so a step that would leave that range changes nothing (a year
// the month carry took outside comes back one step at a time).
CalSpinResult CalStepYear(CalShownMonth shown, int direction);

// The day check: the clock's day of the month against the one last seen.
inline bool CalDayChanged(uint16_t lastSeenDay, uint16_t clockDay)
{
    return lastSeenDay != clockDay;
}

#endif
