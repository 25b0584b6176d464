#include "host/screen_density.h"

#include <windows.h>

namespace {

constexpr int kReferenceDpi = 96;

int ReadScreenDpi()
{
    // Newer systems say it directly; older ones lack the call.
    using GetDpiForSystemProc = UINT(WINAPI*)();
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto forSystem = user32 != nullptr ? reinterpret_cast<GetDpiForSystemProc>(reinterpret_cast<void*>(
                                                   GetProcAddress(user32, "GetDpiForSystem")))
                                             : nullptr;
    if (forSystem != nullptr)
        if (const UINT dpi = forSystem(); dpi != 0)
            return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return kReferenceDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kReferenceDpi;
}

}  // namespace

int HostScreenDpi()
{
    static const int dpi = ReadScreenDpi();
    return dpi;
}
