// The property sheet: a dialog of the host's own, with OK, Cancel and
// Apply, in which a tool's properties page is embedded. One sheet at a
// time; its page is always destroyed before the sheet, and before the tool.
#ifndef PANELHOST_PROPERTY_SHEET_H
#define PANELHOST_PROPERTY_SHEET_H

#include <windows.h>

#include "plugin/caltool.h"

struct HostPanel;

struct HostSheet {
    HWND window = nullptr;
    HWND page = nullptr;
    HWND tool = nullptr;
    CalToolSettings opened{};     // the block when the sheet opened: what Cancel hands back
    CalToolSettings committed{};  // the block as last applied or changed by the tool itself
};

// Opens the sheet for tool, closing one open for another tool first.
bool HostOpenSheet(HostPanel* panel, HWND tool);

// The tool changed its settings (its own menu, or the page's apply).
void HostSheetToolChanged(HostPanel* panel, HWND tool);

// Drops what the page changed without an apply (a font picked in its font
// chooser) by handing the committed block back to the tool.
void HostSheetDropPending(HostPanel* panel);

// Destroys the page, then the sheet; nothing is handed back.
void HostDestroySheet(HostPanel* panel);

#endif
