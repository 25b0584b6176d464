// The locale's texts of the month view: the title and the weekday initials.
// Both come from the locale formatter; where it fails (years before 1601,
// or a text longer than the 19 characters the view draws) they are built
// from the locale's month and day names instead, so that the view never
// shows an unset buffer.
#ifndef CALENDAR_VIEW_MONTH_TEXT_H
#define CALENDAR_VIEW_MONTH_TEXT_H

#include <windows.h>

// The longest title drawn, in bytes: what a 20-byte buffer holds.
inline constexpr int CAL_TITLE_MAX = 19;

// The month and year ("MMMM yyyy") into out, NUL-terminated, at most 19
// bytes, never ending in half a double-byte character. Returns its length.
int CalFormatTitle(WORD year, WORD month, char (&out)[20]);

// The first character of the date's weekday name ("dddd") into out,
// NUL-terminated: one byte, or two for a double-byte character. Returns its
// length, 0 when the locale has no name.
int CalWeekdayInitial(WORD year, WORD month, WORD day, char (&out)[20]);

#endif
