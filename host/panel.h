// The panel window: a background of its own, a header strip that shows the
// plug-in's panel types, any number of tools laid out in a grid, a status
// line, and the menu with which the user adds and removes tools.
#ifndef PANELHOST_PANEL_H
#define PANELHOST_PANEL_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/background.h"
#include "host/panel_layout.h"
#include "host/plugin_host.h"
#include "host/property_sheet.h"
#include "host/screen_density.h"
#include "host/settings_format.h"
#include "host/settings_lock.h"

class HostCalendarFiles;

struct HostTool {
    HWND window = nullptr;
    uint32_t type = 0;  // index into the plug-in's panel types
};

struct HostPanel {
    HWND window = nullptr;
    HWND status = nullptr;
    HINSTANCE instance = nullptr;
    HostPlugin* plugin = nullptr;
    std::vector<HostTool> tools;  // in the panel's order, which the settings file keeps
    HWND current = nullptr;  // the tool the user last clicked: the menu's Remove and Properties act on it
    HostBackground background;
    HostMetrics metrics = HostMetricsFor(HostScreenDpi());  // the layout's measures on this screen
    bool systemColours = false;  // the system's colours rather than the host's own (high contrast)
    std::string settingsPath;    // empty: nothing is saved (the picture mode, or a file that must be kept)
    std::unique_ptr<HostSheet> sheet;
    HBRUSH statusBrush = nullptr;
    HFONT textFont = nullptr;  // the header's and the status line's
    HFONT boldFont = nullptr;
    std::string lastSaveError;  // said once; a later save that works says so
    // A failure is on the status line that no save has mended yet (or none
    // can: the file was not taken at start). The focus line gives way to it.
    bool failureStands = false;
    HostSettingsLock settingsLock;
    // The calendar files whose events mark the tools' days (host/panel_calendars).
    std::unique_ptr<HostCalendarFiles> calendars;
    std::vector<std::wstring> namedCalendars;  // on the command line: read, never saved
    HWND dayTool = nullptr;                    // the tool whose day the status line lists
    DWORD dayShown = 0;                        // that day, or 0 when the line says something else
    bool newsStands = false;  // a bad calendar file is on the line: the focus line gives way to it
    HostPanel();
    ~HostPanel();
};

// Creates the panel window (hidden). With a saved window rectangle it goes
// there; otherwise it gets a client area of clientWidth x clientHeight
// (pixels of this screen: scaled with the panel's metrics).
bool HostCreatePanel(HostPanel* panel, const HostRect32* saved, int showState, int clientWidth,
    int clientHeight, DWORD exStyle);

// Creates a tool of the given type with a saved block (null: the tool's
// defaults) at rect (null: the next cell, at the tool's preferred size).
HWND HostAddTool(HostPanel* panel, uint32_t type, const CalToolSettings* block, const RECT* rect);

// Grows the window, when needed, so that every tool gets its preferred size.
void HostMakeRoom(HostPanel* panel);

// Fits every tool to its cell and moves it there.
void HostLayoutTools(HostPanel* panel);

// Puts a new tool made with block in the place of tool, then destroys the
// old one; the sheet must be closed. Returns the new tool, or null.
HWND HostReplaceTool(HostPanel* panel, HWND tool, const CalToolSettings* block);

// Removes a tool (closing its property sheet first).
void HostRemoveTool(HostPanel* panel, HWND tool);

// Writes the settings file from the live blocks; false and a status message on failure.
bool HostSavePanel(HostPanel* panel);

void HostSetStatus(HostPanel* panel, const std::string& text);
void HostSetStatusW(HostPanel* panel, const std::wstring& text);

// Saves, closes an open sheet (its page first), destroys the tools, then
// the window, which ends the message loop.
void HostClosePanel(HostPanel* panel);

#endif
