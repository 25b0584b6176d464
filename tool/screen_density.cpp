#include "tool/screen_density.h"

namespace {

constexpr UINT kStandardDpi = 96;

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

// Looked up rather than imported: systems before it still load the library.
GetDpiForWindowProc FindGetDpiForWindow()
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr
        ? reinterpret_cast<GetDpiForWindowProc>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
        : nullptr;
}

}  // namespace

UINT CalWindowDpi(HWND window)
{
    if (GetDpiForWindowProc getDpi = FindGetDpiForWindow(); getDpi != nullptr) {
        if (const UINT dpi = getDpi(window); dpi != 0)
            return dpi;
    }
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return kStandardDpi;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : kStandardDpi;
}
