// The host's own text for a day, asked with CTN_GETDAYTEXT: shown under the
// long date in the day's tooltip and read to screen readers.
#ifndef CALENDAR_TOOL_DAY_TEXT_H
#define CALENDAR_TOOL_DAY_TEXT_H

#include <windows.h>

// The room the host is given, in UTF-16 units, terminator included.
inline constexpr int CAL_DAY_TEXT_CAPACITY = 256;

// Asks window's parent for the text of date (CalPackDate) and copies it into
// out (capacity units, terminator included), cut to whole characters.
// Returns its length: 0 when the host does not answer or has no text. The
// host may destroy the tool while it answers; the caller checks for that.
int CalAskDayText(HWND window, DWORD date, wchar_t* out, int capacity);

#endif
