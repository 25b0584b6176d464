// The days a tool's host marks: asked of the host for each month about to be
// shown that the tool knows nothing of, told by the host in arrays, kept per
// month (tool/marked_months) and drawn in bold.
#ifndef CALENDAR_TOOL_DAY_MARKS_H
#define CALENDAR_TOOL_DAY_MARKS_H

#include "tool/marked_months.h"
#include "tool/tool_state.h"

struct CalDayMarkStore {
    CalMarkedMonths months;
    bool asking;  // a CTN_GETDAYMARKS is on its way
};

// Gives the record its store of marks; false when there is no memory for it.
// A record without one (only while it is being made or destroyed) has no
// marks and asks nothing.
bool CalMakeDayMarks(CalToolState* state);
void CalFreeDayMarks(CalToolState* state);

// Sends CTN_GETDAYMARKS for the shown month unless the tool already knows
// its marks, or is asking already (a host that answers with CTM_SETDAYMARKS
// of a count of 0). Repaints when the answer marks a day. The host may
// destroy the tool while it answers: then nothing more is done, and the
// result is false; the caller must then leave the record alone.
bool CalAskDayMarks(CalToolState* state);

// The shown month's marks, bit n - 1 for day n.
DWORD CalShownDayMarks(const CalToolState* state);

// CTM_SETDAYMARKS: keeps a copy of count records at lParam, skipping those of
// months the tool cannot show; a count of 0 forgets everything and asks
// again for the shown month. Returns 0, taking nothing, for a missing array
// or a count beyond the months the tool can show.
LRESULT CalSetDayMarks(CalToolState* state, WPARAM count, LPARAM lParam);

#endif
