// The locale's texts of a tool, in Unicode: the title and the weekday header
// of the month view, the weekday names of the menu and the properties page,
// and the month names the preferred size is measured with. They come from
// the locale (its formatter and its names); where the formatter fails (years
// before 1601, or a text longer than its buffer) they are built from the
// locale's names instead. Every text is cut to whole characters within its
// 20-unit buffer, so that none ends inside a surrogate pair, before a mark
// that belongs to its last character, or in an unset buffer.
#ifndef CALENDAR_VIEW_MONTH_TEXT_H
#define CALENDAR_VIEW_MONTH_TEXT_H

#include <windows.h>

// The longest text drawn, in UTF-16 units: what a 20-unit buffer holds.
inline constexpr int CAL_TITLE_MAX = 19;

using CalText = wchar_t[20];

// The month's name as it stands without a day (the nominative, where a
// language declines it) and the year, "März 2024", into out. Returns its
// length.
int CalFormatTitle(WORD year, WORD month, CalText& out);

// The seven header texts of a shown month, text[d - 1] heading the column of
// day d (1..7). Each is the first character of its weekday's full name; where
// the seven names do not begin with at least three different characters
// (they share a leading word), each is the locale's shortest day name.
struct CalWeekdayHeader {
    CalText text[7];
    int length[7];
    bool shortest;  // the shortest names, not initials
};
void CalWeekdayHeaders(WORD year, WORD month, CalWeekdayHeader& out);

// The locale's full name of weekday (0 = Sunday ... 6 = Saturday), as the
// formatter gives it for that weekday in the first full week of today's
// month, into out. Returns its length.
int CalWeekdayName(int weekday, CalText& out);

// The same for the month that holds the date today.
int CalWeekdayNameIn(const SYSTEMTIME& today, int weekday, CalText& out);

// The locale's long date of a day, as the tooltip and screen readers name
// it, into out (capacity units, terminator included), cut to whole
// characters. Where the formatter refuses the date (before 1601), the day
// number and the title name it. Returns its length.
int CalLongDate(WORD year, WORD month, WORD day, wchar_t* out, int capacity);

// The locale's name of month 1..12 as it stands alone, into out. Returns
// its length.
int CalMonthName(WORD month, CalText& out);

#endif
