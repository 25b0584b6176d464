// The picture mode: a panel of sample calendars showing the tool's options,
// rendered by the real windows and saved as a PNG of the panel's client
// area. Reads and writes no settings file. With calendar files, their
// events mark the days, and the first calendar's selected day (its first
// marked day from today on) has its events on the status line.
#ifndef PANELHOST_SCREENSHOT_H
#define PANELHOST_SCREENSHOT_H

#include <windows.h>

#include <string>
#include <vector>

#include "host/plugin_host.h"

// The client size of the pictured panel at 96 dots per inch; a denser screen
// scales it, and the panel grows further where a calendar needs more room.
constexpr int kHostShotWidth = 600;
constexpr int kHostShotHeight = 440;

// Renders and writes the picture; prints each tool's place and preferred
// size ("tool INDEX LEFT TOP WIDTH HEIGHT ideal WIDTH HEIGHT: SAMPLE"),
// then the file and its size.
// Returns the exit status: 0 when the picture was written.
int HostRunScreenshot(HostPlugin* plugin, HINSTANCE instance, const std::string& file,
    const std::vector<std::wstring>& calendars);

#endif
