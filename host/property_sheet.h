// The property sheet: a dialog of the host's own, with OK, Cancel and
// Apply, in which a tool's properties page is embedded, on the first of two
// tabs; the second holds the panel's list of calendar files. One sheet at a
// time; its page is always destroyed before the sheet, and before the tool.
// The sheet knows its owner window only: it tells the owner what the owner
// must do through the messages below, which it sends (never posts), so that
// they are done at once and in the sheet's order.
#ifndef PANELHOST_PROPERTY_SHEET_H
#define PANELHOST_PROPERTY_SHEET_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "plugin/caltool.h"

// Cancel found the tool's font changed: make the tool afresh with the block
// at lParam (const CalToolSettings*) in the place of the tool in wParam,
// which then goes. Returns the new tool, or 0 when the owner made none; then
// the sheet hands the block to the old tool instead. The sheet is gone by then.
constexpr UINT SHEETN_REMAKETOOL = WM_APP + 1;
// Save the settings now. No parameters.
constexpr UINT SHEETN_SAVE = WM_APP + 2;
// Show the text at lParam (const char*, valid for the call) on the status line.
constexpr UINT SHEETN_STATUS = WM_APP + 3;
// The list of calendar files was applied: lParam = const std::vector<std::wstring>*,
// valid for the call. The owner reads them and saves.
constexpr UINT SHEETN_CALENDARS = WM_APP + 5;

struct HostSheet {
    HWND window = nullptr;
    HWND page = nullptr;
    HWND tabs = nullptr;           // the tool's page, then the calendar files
    HWND calendarsPage = nullptr;  // null where the tabs could not be made
    HWND tool = nullptr;
    HWND owner = nullptr;         // the window told what happens, brought forward when the sheet goes
    CalToolSettings opened{};     // the block when the sheet opened: what Cancel hands back
    CalToolSettings committed{};  // the block as last applied or changed by the tool itself
};

// Opens the sheet for tool into *slot, closing one open for another tool
// first; its title is toolName followed by " Properties", and calendars is
// the list its second tab starts from. The slot must not move while a sheet
// is open: the dialog keeps its address.
bool HostOpenSheet(std::unique_ptr<HostSheet>* slot, HWND owner, HINSTANCE instance, HWND tool,
    const std::string& toolName, const std::vector<std::wstring>& calendars);

// The tool changed its settings (its own menu, or the page's apply); a
// sheet that is null or open for another tool is left alone.
void HostSheetToolChanged(HostSheet* sheet, HWND tool);

// Drops what the page changed without an apply (a font picked in its font
// chooser) by handing the committed block back to the tool.
void HostSheetDropPending(HostSheet* sheet);

// Destroys the page, then the sheet in *slot, if any; nothing is handed back.
void HostDestroySheet(std::unique_ptr<HostSheet>* slot);

#endif
