// The tool's commands, chosen from its context menu, and the ending every
// change of a setting shares.
#ifndef CALENDAR_TOOL_COMMANDS_H
#define CALENDAR_TOOL_COMMANDS_H

#include "tool/tool_state.h"

// Carries out the command id; an unknown id does nothing.
void CalRunCommand(CalToolState* state, WORD id);

// What CTN_SETTINGSCHANGED carries as lParam: which kind of change it was.
enum CalChangeKind : LPARAM {
    CAL_CHANGED_OPTION = 0,        // an option of the context menu
    CAL_CHANGED_FONT_OR_PAGE = 1,  // a font confirmed in the context menu, or a page's apply
};

// Tells the host that the record's settings changed (CTN_SETTINGSCHANGED to
// the tool's parent, with kind as lParam), then has the tool repainted,
// erasing first when erase says so. The record is up to date before the
// host hears of it.
void CalSettingsChanged(const CalToolState* state, CalChangeKind kind, BOOL erase);

#endif
