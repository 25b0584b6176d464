// The keyboard among the panel's tools: Tab and Shift+Tab move the focus
// from one tool to the next, and the status line names the shown month of
// the tool that has the focus, read as a screen reader reads it (or, with
// calendar files, its selected day's events), unless a failure to save is on
// the line: that stays until a save mends it.
#ifndef PANELHOST_TOOL_FOCUS_H
#define PANELHOST_TOOL_FOCUS_H

#include <windows.h>

#include "host/panel.h"

// Takes Tab and Shift+Tab meant for the panel or one of its tools and moves
// the focus to the next or previous tool, in the panel's order, wrapping.
// Returns whether msg was taken.
bool HostHandleTabKey(HostPanel* panel, const MSG& msg);

// Follows the focus and the shown month of the panel's tools from their
// accessibility events, keeping the status line current. Stop before the
// panel goes.
void HostFollowToolFocus(HostPanel* panel);
void HostStopFollowingToolFocus();

#endif
