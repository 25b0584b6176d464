// The days' tooltip: hovering a day shows the platform's own tooltip with
// the day's long date and, below it, the host's text for the day. Made on
// the first hover, destroyed with the tool.
#ifndef CALENDAR_TOOL_DAY_TIP_H
#define CALENDAR_TOOL_DAY_TIP_H

#include <windows.h>

#include "tool/tool_state.h"

// Hands a mouse message of the tool window on to the tooltip, with every
// day's cell as it lies now; makes the tooltip first when there is none.
void CalTrackDayTip(CalToolState* state, UINT message, WPARAM wParam, LPARAM lParam);

// Answers the tooltip's question for a day's text (TTN_GETDISPINFOW); false
// for any other notification.
bool CalAnswerDayTip(CalToolState* state, LPARAM notification);

// Takes a showing tooltip down: what it says may no longer hold.
void CalHideDayTip(const CalToolState* state);

// Destroys the tooltip with its record.
void CalFreeDayTip(CalToolState* state);

#endif
