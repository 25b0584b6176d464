#include "tool/background_request.h"

void CalRequestBackground(HWND window, const RECT* rect, HDC dc)
{
    CalBackgroundRequest request{};  // the reserved words stay 0
    request.window = window;
    request.dc = dc;
    if (rect != nullptr)
        request.rect = *rect;
    else
        GetClientRect(window, &request.rect);
    SendMessageA(GetParent(window), CTN_PAINTBACKGROUND, 0, reinterpret_cast<LPARAM>(&request));
}
