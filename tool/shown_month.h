// The month a tool shows: the record's shown month and the two spinners
// that show it, moved together.
#ifndef CALENDAR_TOOL_SHOWN_MONTH_H
#define CALENDAR_TOOL_SHOWN_MONTH_H

#include "tool/navigation.h"
#include "tool/tool_state.h"

// The record's shown month, as the navigation decisions take it.
CalShownMonth CalShownMonthOf(const CalToolState* state);

// Moves a spinner to position without any notification; a missing spinner
// is left alone.
void CalSetSpinnerPosition(HWND spinner, WORD position);

// Points the record and both spinners at today's month. Neither invalidates
// nor repaints; the callers do.
void CalResetToToday(CalToolState* state);

// As CalResetToToday, then tells screen readers when the shown month is
// another one than before, and asks the host for its marks (CalAskDayMarks:
// false when the host destroyed the tool meanwhile).
bool CalReturnToToday(CalToolState* state);

// Takes over where a step left the shown month: moves the month spinner when
// moveMonthSpinner says so and the year spinner when the step says so,
// repaints when the step says so, tells screen readers of a new month and
// asks the host for its marks, last. False as CalReturnToToday.
bool CalShowStep(CalToolState* state, const CalSpinResult& step, bool moveMonthSpinner);

#endif
