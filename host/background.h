// The panel's background kept as one bitmap the size of the client area,
// so that the panel and every calendar that asks for it copy their piece of
// the same picture. Where the stripes would make the calendars' text hard to
// read (a high-contrast scheme), the background is the system's window
// colour instead, and the host's own parts take the system's colours too.
#ifndef PANELHOST_BACKGROUND_H
#define PANELHOST_BACKGROUND_H

#include <windows.h>

struct HostBackground {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
    bool stripes = true;  // false: the window colour, and no bitmap
};

// Whether the host shows the system's colours rather than its own: in the
// system's high-contrast mode, or while the calendars' text colour does not
// stand out from the stripes. Asked again when the system's colours change.
bool HostUsesSystemColours();

// Remakes the picture for a client area of width x height, with stripes or
// in the window colour.
void HostBackgroundResize(HostBackground* background, int width, int height, bool stripes);

// Copies the picture's piece at (sourceX, sourceY) onto target in dc. Only
// pixels change: dc keeps its selected objects and its text colour.
void HostBackgroundPaint(
    const HostBackground& background, HDC dc, const RECT& target, int sourceX, int sourceY);

void HostBackgroundFree(HostBackground* background);

#endif
