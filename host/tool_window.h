// What the host asks of one tool window on its own, without the panel it
// lies in: its live settings block, its place, its preferred size, and the
// name screen readers read for it.
#ifndef PANELHOST_TOOL_WINDOW_H
#define PANELHOST_TOOL_WINDOW_H

#include <windows.h>

#include <string>

#include "plugin/caltool.h"

// The tool's live settings block, copied; false when it hands none out.
bool HostFetchBlock(HWND tool, CalToolSettings* block);

// The tool's rectangle in the client coordinates of parent, the window it lies in.
RECT HostToolRect(HWND tool, HWND parent);

// The size the tool prefers (CTM_GETIDEALSIZE).
SIZE HostToolIdealSize(HWND tool);

// The tool's name as screen readers read it (for a calendar, its shown month
// and year), "" when it offers none.
std::string HostToolAccessibleName(HWND tool);

#endif
