// The panel's background kept as one bitmap the size of the client area,
// so that the panel and every calendar that asks for it copy their piece of
// the same picture.
#ifndef PANELHOST_BACKGROUND_H
#define PANELHOST_BACKGROUND_H

#include <windows.h>

struct HostBackground {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
};

// Remakes the picture for a client area of width x height.
void HostBackgroundResize(HostBackground* background, int width, int height);

// Copies the picture's piece at (sourceX, sourceY) onto target in dc. Only
// pixels change: dc keeps its selected objects and its text colour.
void HostBackgroundPaint(
    const HostBackground& background, HDC dc, const RECT& target, int sourceX, int sourceY);

void HostBackgroundFree(HostBackground* background);

#endif
