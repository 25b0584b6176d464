// Pictures read back pixel by pixel: a memory surface whose every pixel can
// be read, what a drawing call puts into a fresh one, and what the screen
// shows.
#ifndef CALENDAR_TESTS_SCREEN_CAPTURE_H
#define CALENDAR_TESTS_SCREEN_CAPTURE_H

#include <windows.h>

#include <functional>
#include <vector>

// A top-down 32-bit DIB section selected into a memory DC: a stand-in for a
// paint surface, 0x00RRGGBB per pixel.
struct CalDibSurface {
    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;

    CalDibSurface(int w, int h);
    ~CalDibSurface();
    CalDibSurface(const CalDibSurface&) = delete;
    CalDibSurface& operator=(const CalDibSurface&) = delete;

    // Every pixel set, once the drawing queued so far is done.
    void Fill(DWORD pixel);
    // The pixels of that colour, the unused top byte ignored.
    long Count(DWORD pixel) const;
    // One pixel, the unused top byte cleared.
    DWORD At(int x, int y) const { return bits[y * width + x] & 0xFFFFFFu; }
    // Every pixel as the surface holds it, top row first.
    std::vector<DWORD> Pixels() const;
};

// What draw(dc) puts into a fresh surface of w x h, every pixel as it holds it.
std::vector<DWORD> CalCapturePixels(int w, int h, const std::function<void(HDC)>& draw);

// The window's client area as it prints itself (WM_PRINTCLIENT) into a fresh surface.
std::vector<DWORD> CalPrintedPixels(HWND window);

// The screen's density, in dots per inch, as the prefix was made with it.
int CalScreenDpi();

// What the screen shows in the rectangle (screen coordinates).
std::vector<DWORD> CalScreenPixels(const RECT& onScreen);

#endif
