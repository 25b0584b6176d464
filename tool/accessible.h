// What a screen reader reads of a tool: the month as a table named by its
// title, one cell per day named by its long date, the selected day selected
// and focused, a marked day described, and the announcements of a changed
// month, of the focus and of the selection.
#ifndef CALENDAR_TOOL_ACCESSIBLE_H
#define CALENDAR_TOOL_ACCESSIBLE_H

#include <windows.h>

// Answers WM_GETOBJECT: the tool's own accessible object for OBJID_CLIENT,
// the platform's standard answer for every other object, and for the client
// too where the object cannot be handed over.
LRESULT CalAnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

// Tells readers that the shown month, the table's name, has changed.
void CalAnnounceShownMonth(HWND window);

// Tells readers that the tool has taken the keyboard focus: the table, then
// its selected day while shown.
void CalAnnounceFocus(HWND window);

// Tells readers that day, of the shown month, is the selected one now, and
// has the focus where the tool has it.
void CalAnnounceSelection(HWND window, LONG day);

// Cuts every accessible object of the window off from it, and from the
// readers in other processes that still hold one, when the window goes:
// afterwards they answer CO_E_OBJNOTCONNECTED, and none keeps the library's
// code in use on behalf of another process.
void CalDisconnectAccessibles(HWND window);

#endif
