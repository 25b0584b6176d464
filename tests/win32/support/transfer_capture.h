// The picture a tool's paint transfers to its window: the library's block
// transfers routed through a counter that can also copy what they transfer.
#ifndef CALENDAR_TESTS_TRANSFER_CAPTURE_H
#define CALENDAR_TESTS_TRANSFER_CAPTURE_H

#include <windows.h>

#include <vector>

// One frame as the library's paint transferred it, 0x00RRGGBB per pixel.
struct CalFrame {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const CalFrame&) const = default;
};

// Routes the library's block transfers through a counter that can also copy
// the transferred picture. Call once, after the library is loaded.
void CalCaptureInstall(HMODULE module);

// Block transfers the library has made so far: one per completed paint.
long CalCaptureTransfers();

// Invalidates the tool and has it paint now; the frame it transferred, or an
// empty frame when the paint transferred nothing.
CalFrame CalCapturePaint(HWND tool);

#endif
