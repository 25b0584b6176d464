// The context menu a right click opens over a tool window.
#ifndef CALENDAR_TOOL_CONTEXT_MENU_H
#define CALENDAR_TOOL_CONTEXT_MENU_H

#include "tool/tool_state.h"

// Builds the menu of the tool's options, shows it at the client point packed
// in point (x in bits 0-15, y in bits 16-31, both unsigned) and destroys it
// when it closes. The chosen command arrives afterwards as WM_COMMAND.
void CalShowContextMenu(const CalToolState* state, LPARAM point);

// The same menu at a point in screen coordinates.
void CalShowContextMenuAt(const CalToolState* state, POINT screen);

// Where the menu opens when asked for from the keyboard: the bottom-left
// corner of the title's band, in screen coordinates.
POINT CalKeyboardMenuPoint(const CalToolState* state);

#endif
