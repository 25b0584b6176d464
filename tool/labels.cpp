#include "tool/labels.h"

#include "plugin/module.h"

void CalLoadLabel(UINT id, int maxChars, const char* fallback, const char* suffix, char (&text)[100])
{
    // Room is always kept for the suffix after the text.
    const int room = static_cast<int>(sizeof text) - 1 - lstrlenA(suffix);
    const int size = (maxChars < room ? maxChars : room) + 1;
    LoadStringA(g_moduleInstance, id, text, size);
    if (text[0] == '\0' && fallback != nullptr)
        lstrcpynA(text, fallback, size);
    lstrcatA(text, suffix);
}
