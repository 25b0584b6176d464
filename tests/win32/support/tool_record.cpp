#include "tests/win32/support/tool_record.h"

#include <commctrl.h>

#include "view/month_layout.h"

int CalSpinnerPosition(HWND spinner)
{
    return static_cast<int>(SendMessageA(spinner, UDM_GETPOS32, 0, 0));
}

bool CalNeedsPaint(HWND window)
{
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

void CalShowMonth(HWND tool, WORD year, WORD month)
{
    CalToolState* s = CalToolFromWindow(tool);
    s->shown.wYear = year;
    s->shown.wMonth = month;
    SendMessageA(s->monthSpin, UDM_SETPOS, 0, month);
    SendMessageA(s->yearSpin, UDM_SETPOS, 0, year);
    ValidateRect(tool, nullptr);
}

void CalKeyToMonth(HWND tool, int year, int month)
{
    SendMessageA(tool, WM_KEYDOWN, VK_HOME, 0);
    SYSTEMTIME today;
    GetLocalTime(&today);
    for (int steps = year * 12 + month - (today.wYear * 12 + today.wMonth); steps != 0;
         steps += steps < 0 ? 1 : -1)
        SendMessageA(tool, WM_KEYDOWN, steps < 0 ? VK_PRIOR : VK_NEXT, 0);
}

RECT CalDayCell(HWND tool, int day)
{
    const CalToolState* s = CalToolFromWindow(tool);
    RECT client{};
    GetClientRect(tool, &client);
    const CalLayoutInput in{
        client.right, client.bottom, s->settings.weekNumbers, s->settings.firstDay, s->shown.wYear, s->shown.wMonth, 0};
    const CalRect r = CalComputeMonthLayout(in).day[day];
    return RECT{r.left, r.top, r.right, r.bottom};
}

CalToolSettings CalArialSettings(LONG weekNumbers, LONG useBackground)
{
    CalToolSettings s{};
    s.font.lfHeight = -9;
    s.font.lfWeight = FW_NORMAL;
    std::strcpy(s.font.lfFaceName, "Arial");
    s.weekNumbers = weekNumbers;
    s.useBackground = useBackground;
    return s;
}
