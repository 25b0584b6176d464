// What the tool window's spinners, keys and clock do to the shown month and
// the selected day, decided without the platform: where the two spinners go
// for a client rectangle, what a spinner's report does to the shown month and
// year, where a key moves the selection, and whether the day check has seen a
// new day. The window procedure carries the results out.
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

// A date of the selection, as the protocol packs it (CalPackDate).
struct CalDate {
    int32_t year;
    int32_t month;  // 1..12
    int32_t day;    // 1..the month's length
};

inline bool operator==(const CalDate& a, const CalDate& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// The years the tool shows and selects in, as the year spinner holds them.
inline constexpr int32_t CAL_FIRST_YEAR = 1601;
inline constexpr int32_t CAL_LAST_YEAR = 9999;

// Whether date exists and lies within the years the tool can show.
bool CalSelectableDate(const CalDate& date);

// The selection's moves: a day, a week, a month or a year either way.
enum class CalDateMove { DayBack, DayOn, WeekBack, WeekOn, MonthBack, MonthOn, YearBack, YearOn };

// Where a move takes date. Months and years keep the day number, or take the
// month's last day where the month is shorter. A move that would leave the
// selectable years leaves date where it is.
CalDate CalMoveDate(const CalDate& date, CalDateMove move);

// What a key does. Keys are the platform's virtual-key numbers; only these
// are answered.
enum : uint32_t {
    CAL_KEY_RETURN = 0x0D,     // picks the selected day
    CAL_KEY_SPACE = 0x20,      // picks the selected day
    CAL_KEY_PAGE_UP = 0x21,    // a month back; with Ctrl, a year
    CAL_KEY_PAGE_DOWN = 0x22,  // a month on; with Ctrl, a year
    CAL_KEY_HOME = 0x24,       // back to today
    CAL_KEY_LEFT = 0x25,       // a day back
    CAL_KEY_UP = 0x26,         // a week back
    CAL_KEY_RIGHT = 0x27,      // a day on
    CAL_KEY_DOWN = 0x28,       // a week on
};

enum class CalKeyAction { None, Move, Today, Pick };

struct CalKeyStep {
    CalKeyAction action;
    CalDateMove move;  // for CalKeyAction::Move
};

CalKeyStep CalStepForKey(uint32_t key, bool control);

// The day check: the clock's day of the month against the one last seen.
inline bool CalDayChanged(uint16_t lastSeenDay, uint16_t clockDay)
{
    return lastSeenDay != clockDay;
}

#endif
