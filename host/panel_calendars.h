// The panel's calendars of events: the marks its tools ask for, the day the
// user moves to or picks, a day's tooltip text, and what each read of a file
// found, all on the status line. Nothing here is done while the panel has no
// calendar files: the tools then show plain grids, as they always have.
#ifndef PANELHOST_PANEL_CALENDARS_H
#define PANELHOST_PANEL_CALENDARS_H

#include <windows.h>

#include <string>
#include <vector>

#include "host/panel.h"
#include "plugin/caltool.h"

// Starts reading kept (the settings' list) and named (the command line's)
// files, and looks at them every second from then on.
void HostStartCalendars(HostPanel* panel, const std::vector<std::wstring>& kept,
    const std::vector<std::wstring>& named);
// The list the user keeps changed (the property sheet's page).
void HostKeepCalendars(HostPanel* panel, const std::vector<std::wstring>& kept);
// The files the settings keep.
std::vector<std::wstring> HostKeptCalendars(const HostPanel* panel);

// CTN_GETDAYMARKS: fills marks and returns 1, or 0 to leave the month unmarked.
LRESULT HostAnswerDayMarks(HostPanel* panel, CalDayMarks* marks);
// CTN_GETDAYTEXT: the day's events, one a line; 0 for a day without any.
LRESULT HostAnswerDayText(HostPanel* panel, CalDayText* text);
// CTN_SELCHANGE and CTN_SELECT: the status line lists the day's events.
void HostShowDay(HostPanel* panel, HWND tool, DWORD date);
// The focus reached tool: its selected day on the status line, unless a bad
// file is on it. False when the panel has no calendar files, so that the
// caller says something else.
bool HostShowSelectedDay(HostPanel* panel, HWND tool);

// HOSTN_CALENDARSREAD: what the reads found goes on the status line, and
// the tools are told to ask for their marks again.
void HostTakeCalendarReads(HostPanel* panel);
// The timer: files that changed on disk are read again.
void HostWatchCalendars(HostPanel* panel);

#endif
