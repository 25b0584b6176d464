// The tool's commands, chosen from its context menu, and the ending every
// change of a setting shares.
#ifndef CALENDAR_TOOL_COMMANDS_H
#define CALENDAR_TOOL_COMMANDS_H

#include "tool/tool_state.h"

// Carries out the command id; an unknown id does nothing.
void CalRunCommand(CalToolState* state, WORD id);

// Tells the host that the record's settings changed (CTN_SETTINGSCHANGED to
// the tool's parent, with fontOrPage as lParam), then has the tool repainted.
// The record is up to date before the host hears of it.
void CalSettingsChanged(const CalToolState* state, LPARAM fontOrPage, BOOL erase);

#endif
