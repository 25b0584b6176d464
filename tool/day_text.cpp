#include "tool/day_text.h"

#include "plugin/caltool.h"
#include "view/text_units.h"

int CalAskDayText(HWND window, DWORD date, wchar_t* out, int capacity)
{
    if (capacity <= 0)
        return 0;
    out[0] = L'\0';
    // A buffer of the tool's own, zeroed, so that a host that writes less
    // than it says, or no terminator, leaves nothing unset to read.
    wchar_t text[CAL_DAY_TEXT_CAPACITY] = {};
    CalDayText asked{date, text, CAL_DAY_TEXT_CAPACITY};
    const LRESULT answered = SendMessageA(
        GetParent(window), CTN_GETDAYTEXT, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&asked));
    if (answered == 0)
        return 0;
    text[CAL_DAY_TEXT_CAPACITY - 1] = L'\0';
    int length = lstrlenW(text);
    // A host that filled its room may have split a surrogate pair at its end.
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    const int n = CalWholePrefix(text, length, capacity - 1);
    CopyMemory(out, text, n * sizeof(wchar_t));
    out[n] = L'\0';
    return n;
}
