// The density of the screen a tool window is on, and the measures that follow it.
#ifndef CALENDAR_TOOL_SCREEN_DENSITY_H
#define CALENDAR_TOOL_SCREEN_DENSITY_H

#include <windows.h>

// The density the platform uses for the window, in dots per inch: the
// window's own where the platform knows it per window, else its device
// context's; 96 where neither answers.
UINT CalWindowDpi(HWND window);

#endif
