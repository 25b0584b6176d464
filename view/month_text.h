// The locale's texts of a tool: the title and the weekday initials of the
// month view, the weekday names of the menu and the properties page, and the
// month names the preferred size is measured with. All come from the locale
// formatter; where it fails (years before 1601, or a text longer than the 19
// characters of its buffer) they are built from the locale's month and day
// names instead, cut to whole characters, so that no one shows an unset
// buffer.
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

// The locale's full name of weekday (0 = Sunday ... 6 = Saturday), as the
// formatter gives it for that weekday in the first full week of today's
// month, into out: at most 19 bytes of whole characters. Returns its length.
int CalWeekdayName(int weekday, char (&out)[20]);

// The same for the month that holds the date today.
int CalWeekdayNameIn(const SYSTEMTIME& today, int weekday, char (&out)[20]);

// The locale's full name of month 1..12 ("MMMM") into out: at most 19 bytes
// of whole characters. Returns its length.
int CalMonthName(WORD year, WORD month, char (&out)[20]);

#endif
