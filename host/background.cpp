#include "host/background.h"

#include <cstdint>

#include "host/background_pattern.h"

void HostBackgroundFree(HostBackground* background)
{
    if (background->dc != nullptr) {
        SelectObject(background->dc, background->previous);
        DeleteDC(background->dc);
    }
    if (background->bitmap != nullptr)
        DeleteObject(background->bitmap);
    *background = HostBackground{};
}

bool HostUsesSystemColours()
{
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    const bool on = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);  // what the calendars write with
    return !HostStripesReadable(HostRgb{GetRValue(text), GetGValue(text), GetBValue(text)}, on);
}

void HostBackgroundResize(HostBackground* background, int width, int height, bool stripes)
{
    if (background->width == width && background->height == height && background->stripes == stripes &&
        (background->dc != nullptr || !stripes))
        return;
    HostBackgroundFree(background);
    background->stripes = stripes;
    if (!stripes) {
        background->width = width;
        background->height = height;
        return;
    }
    if (width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    if (dc == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return;
    }
    auto* pixel = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const HostRgb c = HostPatternColour(x, y, width, height);
            *pixel++ = uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
        }
    background->dc = dc;
    background->bitmap = bitmap;
    background->previous = SelectObject(dc, bitmap);
    background->width = width;
    background->height = height;
}

void HostBackgroundPaint(
    const HostBackground& background, HDC dc, const RECT& target, int sourceX, int sourceY)
{
    if (!background.stripes) {
        FillRect(dc, &target, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    // Whatever the picture does not cover (a piece outside the client area,
    // or no picture at all) gets its first colour rather than stale pixels.
    const bool inside = background.dc != nullptr && sourceX >= 0 && sourceY >= 0 &&
        sourceX + w <= background.width && sourceY + h <= background.height;
    if (!inside) {
        const HostRgb c = HostPatternColour(0, 0, 1, 1);
        HBRUSH brush = CreateSolidBrush(RGB(c.r, c.g, c.b));
        FillRect(dc, &target, brush);
        DeleteObject(brush);
    }
    if (background.dc != nullptr)
        BitBlt(dc, target.left, target.top, w, h, background.dc, sourceX, sourceY, SRCCOPY);
}
