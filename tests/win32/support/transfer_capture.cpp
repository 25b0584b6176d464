#include "tests/win32/support/transfer_capture.h"

#include "tests/win32/support/import_hooks.h"

namespace {

constexpr int kCaptureMax = 1024;  // widest and tallest frame kept

decltype(&BitBlt) g_realBitBlt = nullptr;
long g_transfers = 0;
bool g_armed = false;
CalFrame g_frame;

// One surface for every capture, made once, so that capturing itself makes
// and releases no graphics objects between two counts.
HDC g_captureDc = nullptr;
DWORD* g_captureBits = nullptr;

void MakeCaptureSurface()
{
    BITMAPINFO info{};
    info.bmiHeader =
        BITMAPINFOHEADER{sizeof info.bmiHeader, kCaptureMax, -kCaptureMax, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    g_captureDc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(g_captureDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(g_captureDc, bitmap);
    g_captureBits = static_cast<DWORD*>(bits);
}

BOOL WINAPI CountingBitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
{
    const BOOL ok = g_realBitBlt(dst, x, y, w, h, src, sx, sy, rop);
    ++g_transfers;
    if (g_armed && g_captureBits != nullptr && w > 0 && h > 0 && w <= kCaptureMax && h <= kCaptureMax) {
        // The source is the library's composed surface: what the window gets.
        g_realBitBlt(g_captureDc, 0, 0, w, h, src, sx, sy, SRCCOPY);
        GdiFlush();
        g_frame.width = w;
        g_frame.height = h;
        g_frame.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col)
                g_frame.pixels[static_cast<size_t>(row * w + col)] =
                    g_captureBits[row * kCaptureMax + col] & 0xFFFFFFu;
    }
    return ok;
}

}  // namespace

void CalCaptureInstall(HMODULE module)
{
    if (g_realBitBlt != nullptr)
        return;
    MakeCaptureSurface();
    g_realBitBlt = reinterpret_cast<decltype(&BitBlt)>(
        CalTestPatchImport(module, "gdi32.dll", "BitBlt", reinterpret_cast<void*>(CountingBitBlt)));
}

long CalCaptureTransfers()
{
    return g_transfers;
}

CalFrame CalCapturePaint(HWND tool)
{
    g_frame = CalFrame{};
    g_armed = true;
    InvalidateRect(tool, nullptr, FALSE);
    UpdateWindow(tool);
    g_armed = false;
    return g_frame;
}
