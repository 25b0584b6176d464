// What the Windows benchmark is made of: a clock, medians, the rows of the
// printed table, surfaces whose every pixel can be read, and windows whose
// paints are counted.
#ifndef CALENDAR_BENCH_BENCH_SUPPORT_H
#define CALENDAR_BENCH_BENCH_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/win32/support/screen_capture.h"

// Microseconds from an arbitrary origin.
double BenchNowUs();

double BenchMedian(std::vector<double> values);

// One row of the table: group, what was measured, the figure, a note. The
// script that runs the benchmark lays the rows out.
void BenchRow(const std::string& group, const std::string& what, const std::string& figure,
    const std::string& note = "");
std::string BenchMicros(double us);
std::string BenchFormat(const char* format, ...);

// A top-down 32-bit memory surface standing in for a paint surface.
using BenchSurface = CalDibSurface;

// The colour put under every paint that is checked: no system colour of
// the view is this.
inline constexpr COLORREF kBenchPoison = RGB(0xFF, 0x00, 0xFF);
inline constexpr DWORD kBenchPoisonPixel = 0xFF00FF;

// The share (0..1) of a window's client pixels that are not the poison
// colour, read back from the screen surface.
double BenchPaintedShare(HWND window);
// Covers a window's client area with the poison colour, without a paint.
void BenchPoisonWindow(HWND window);

// Counts the WM_PAINT messages a window receives, and the time its own
// procedure spends on them, by subclassing it.
struct BenchPaintCounter {
    HWND window = nullptr;
    WNDPROC original = nullptr;
    long paints = 0;
    double paintUs = 0;
};
BenchPaintCounter* BenchCountPaints(HWND window);

// Dispatches messages for about ms milliseconds, sleeping while none come.
void BenchPumpFor(DWORD ms);

#endif
