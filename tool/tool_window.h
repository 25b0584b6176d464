// The window procedure of class "CalTool" and the pieces of it that tool
// creation uses too.
#ifndef CALENDAR_TOOL_TOOL_WINDOW_H
#define CALENDAR_TOOL_TOOL_WINDOW_H

#include "tool/tool_state.h"

LRESULT CALLBACK CalToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Moves both spinners to their corners for the window's client size; an
// empty client area leaves them where they are.
void CalLayOutSpinners(const CalToolState* state);

#endif
