#include "dialogs/labels.h"

#include "plugin/module.h"

void CalLoadLabel(UINT id, int maxChars, const wchar_t* fallback, const wchar_t* suffix, wchar_t (&text)[100])
{
    // Room is always kept for the suffix after the text.
    const int room = static_cast<int>(sizeof text / sizeof text[0]) - 1 - lstrlenW(suffix);
    int size = (maxChars < room ? maxChars : room) + 1;
    text[0] = L'\0';
    if (size < 1)  // with no room LoadStringW would hand back a pointer instead
        size = 1;
    LoadStringW(g_moduleInstance, id, text, size);
    if (text[0] == L'\0' && fallback != nullptr)
        lstrcpynW(text, fallback, size);
    lstrcatW(text, suffix);
}
