// The font of the host's own texts (its header strip and status line).
#ifndef CALENDAR_HOST_UI_FONT_H
#define CALENDAR_HOST_UI_FONT_H

#include <windows.h>

// The system's interface font at the given weight. The host's texts are
// written in Latin letters: where the face the system picks for the user's
// script has none (a Thai or Devanagari face, say), the same font is made for
// the Western character set, whose faces have them. Null when no font could
// be made; the caller deletes it.
HFONT HostCreateUiFont(LONG weight);

#endif
