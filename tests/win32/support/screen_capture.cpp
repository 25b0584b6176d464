#include "tests/win32/support/screen_capture.h"

#include <algorithm>

CalDibSurface::CalDibSurface(int w, int h)
    : width(w)
    , height(h)
    , dc(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<DWORD*>(p);
    old = SelectObject(dc, bitmap);
}

CalDibSurface::~CalDibSurface()
{
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void CalDibSurface::Fill(DWORD pixel)
{
    GdiFlush();
    std::fill(bits, bits + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), pixel);
}

long CalDibSurface::Count(DWORD pixel) const
{
    GdiFlush();
    long n = 0;
    const std::size_t total = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < total; ++i)
        if ((bits[i] & 0xFFFFFFu) == pixel)
            ++n;
    return n;
}

std::vector<DWORD> CalDibSurface::Pixels() const
{
    GdiFlush();
    return std::vector<DWORD>(
        bits, bits + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

std::vector<DWORD> CalCapturePixels(int w, int h, const std::function<void(HDC)>& draw)
{
    const CalDibSurface surface(w, h);
    draw(surface.dc);
    return surface.Pixels();
}

std::vector<DWORD> CalPrintedPixels(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return CalCapturePixels(client.right, client.bottom,
        [window](HDC dc) { SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); });
}

int CalScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::vector<DWORD> CalScreenPixels(const RECT& onScreen)
{
    return CalCapturePixels(onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, screen,
            onScreen.left, onScreen.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}
