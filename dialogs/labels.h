// The labels of the context menu, the properties page and the About box,
// from the library's string table.
#ifndef CALENDAR_DIALOGS_LABELS_H
#define CALENDAR_DIALOGS_LABELS_H

#include <windows.h>

// At most maxChars characters of string id (or of fallback when the string
// table has none and a fallback is given), then suffix, into text.
void CalLoadLabel(UINT id, int maxChars, const wchar_t* fallback, const wchar_t* suffix, wchar_t (&text)[100]);

#endif
