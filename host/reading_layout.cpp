#include "host/reading_layout.h"

#include <windows.h>

bool HostReadsRightToLeft()
{
    // 0 left to right, 1 right to left, 2 and 3 vertical (read left to right here).
    DWORD layout = 0;
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IREADINGLAYOUT | LOCALE_RETURN_NUMBER,
               reinterpret_cast<LPWSTR>(&layout), sizeof layout / sizeof(wchar_t)) > 0 &&
        layout == 1;
}

void HostFollowReadingLayout()
{
    if (HostReadsRightToLeft())
        SetProcessDefaultLayout(LAYOUT_RTL);
}
