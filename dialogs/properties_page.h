// The properties page a host embeds in its property sheet for one tool.
#ifndef CALENDAR_DIALOGS_PROPERTIES_PAGE_H
#define CALENDAR_DIALOGS_PROPERTIES_PAGE_H

#include "tool/tool_state.h"

// The open page, or none; at most one is open in a process.
extern HWND g_pageWindow;

// The record of the tool whose page is or was last open; none once that
// tool is destroyed, and the page then applies nothing.
extern CalToolState* g_pageState;

INT_PTR CALLBACK CalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the page's first-day radio buttons and both check boxes from the
// settings. A first day outside 0..6 shows the weekday the calendar puts
// first for it.
void CalPageShowSettings(HWND page, const CalToolSettings& settings);

// Called as a tool is destroyed: a page still bound to its record lets go
// of it rather than write into freed memory.
void CalPageForget(const CalToolState* state);

#endif
