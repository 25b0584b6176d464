// The font chooser, a common dialog shared by the context menu and the
// properties page.
#ifndef CALENDAR_DIALOGS_FONT_CHOICE_H
#define CALENDAR_DIALOGS_FONT_CHOICE_H

#include "tool/tool_state.h"

// Fills the record's font-chooser fields afresh (a stored block carries a
// window and an address of another run) and opens the chooser over owner,
// on the record's font. A confirmed choice is written into the record's
// font; a cancelled one leaves it as it was. Returns whether the user
// confirmed.
bool CalChooseFont(CalToolState* state, HWND owner);

#endif
