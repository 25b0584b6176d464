// The tool's commands, chosen from its context menu.
#ifndef CALENDAR_TOOL_COMMANDS_H
#define CALENDAR_TOOL_COMMANDS_H

#include "tool/tool_state.h"

// Carries out the command id; an unknown id does nothing.
void CalRunCommand(CalToolState* state, WORD id);

#endif
