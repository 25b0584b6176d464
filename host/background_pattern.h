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

// How well two colours tell apart as WCAG 2 measures it: the ratio of their
// relative luminances, each lifted by 0.05, from 1 (the same) to 21.
double HostContrastRatio(HostRgb a, HostRgb b);

// What readable text needs against what lies behind it.
constexpr double kHostLeastTextContrast = 4.5;

// Whether the panel may show its stripes: only while the calendars' text
// colour stands out from every colour of the pattern, and never while the
// user has asked the system for high contrast. Otherwise the host shows the
// system's window colour.
bool HostStripesReadable(HostRgb text, bool highContrast);

#endif
