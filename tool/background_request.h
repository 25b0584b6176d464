// Asking the host to paint its own background behind a tool.
#ifndef CALENDAR_TOOL_BACKGROUND_REQUEST_H
#define CALENDAR_TOOL_BACKGROUND_REQUEST_H

#include "plugin/caltool.h"

// Sends CTN_PAINTBACKGROUND to the window's parent, asking it to paint its
// background into dc over rect (the window's client rectangle when rect is
// null), and returns when the host has done so.
void CalRequestBackground(HWND window, const RECT* rect, HDC dc);

#endif
