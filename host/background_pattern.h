// The panel's own background: a diagonal gradient from soft blue to soft
// green under faint diagonal stripes. Every pixel is a pure function of its
// position in the panel, so a calendar that shows the background looks
// transparent exactly when its piece is taken at the calendar's offset.
#ifndef PANELHOST_BACKGROUND_PATTERN_H
#define PANELHOST_BACKGROUND_PATTERN_H

#include <cstdint>

struct HostRgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

// The colour at (x, y) of a panel client area of width x height.
HostRgb HostPatternColour(int32_t x, int32_t y, int32_t width, int32_t height);

#endif
