// The tool's selected day: kept in the record, moved by the keys, the mouse,
// the host and the change of day, always shown with its month, and told to
// the host (CTN_SELCHANGE, CTN_SELECT) and to screen readers.
#ifndef CALENDAR_TOOL_SELECTION_H
#define CALENDAR_TOOL_SELECTION_H

#include "tool/navigation.h"
#include "tool/tool_state.h"

CalDate CalSelectedDate(const CalToolState* state);

// The selected day while its month is shown, else 0.
int32_t CalShownSelection(const CalToolState* state);

// Selects date, which must be selectable, and shows its month. When the
// selection moved, screen readers hear of it, then the host (CTN_SELCHANGE).
// Returns false when the host destroyed the tool meanwhile: the caller must
// then leave the record alone.
bool CalSelect(CalToolState* state, const CalDate& date);

// The user picked the selected day: CTN_SELECT to the host.
void CalPickSelection(const CalToolState* state);

// Back to today with the view (a double click, Home): the selection goes
// with it. False as CalSelect.
bool CalSelectToday(CalToolState* state);

// The day changed under a tool that was on oldToday: its view has returned
// to today already; a selection that was on the old today follows it.
bool CalFollowNewDay(CalToolState* state, const CalDate& oldToday);

// Today as the record knows it.
CalDate CalRecordToday(const CalToolState* state);

// CTM_GETSELECTION and CTM_SETSELECTION.
LRESULT CalGetSelection(const CalToolState* state);
LRESULT CalSetSelection(CalToolState* state, LPARAM date);

#endif
