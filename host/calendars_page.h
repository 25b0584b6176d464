// The property sheet's page of calendar files: the list the user keeps, with
// Add... (the platform's file dialog) and Remove. It edits a copy; the sheet
// hands the copy to the panel when the user applies it.
#ifndef PANELHOST_CALENDARS_PAGE_H
#define PANELHOST_CALENDARS_PAGE_H

#include <windows.h>

#include <string>
#include <vector>

// A hidden child dialog of sheet at x, y, listing files.
HWND HostCreateCalendarsPage(HWND sheet, HINSTANCE instance, const std::vector<std::wstring>& files, int x, int y);

// The list as the page has it, and whether it differs from what was last applied.
std::vector<std::wstring> HostCalendarsPageFiles(HWND page);
bool HostCalendarsPageChanged(HWND page);
// The list was applied: what the page shows is now what the panel has.
void HostCalendarsPageApplied(HWND page);

#endif
