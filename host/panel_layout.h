// Where the tools of a panel go: a grid of equal cells below the header
// strip, with as many columns as give the calendars (4:3) the most room.
// Platform-free.
#ifndef PANELHOST_PANEL_LAYOUT_H
#define PANELHOST_PANEL_LAYOUT_H

#include <cstdint>

#include "host/settings_format.h"

// The host's measures at 96 dots per inch, the platform's reference density.
constexpr int32_t kHostHeaderHeight = 28;  // the strip naming the panel types
constexpr int32_t kHostStatusHeight = 30;  // the status line at the bottom: two lines of text
constexpr int32_t kHostGap = 10;           // between cells and round the grid
constexpr int32_t kHostMinToolWidth = 40;
constexpr int32_t kHostMinToolHeight = 30;

// A measure at 96 dots per inch on a screen of dpi, rounded as the
// platform's MulDiv(value, dpi, 96) rounds it.
int32_t HostScaleForDpi(int32_t value, int32_t dpi);

// The layout's measures on a screen of a given density: the ones above,
// scaled, so that a dense screen shows the panel as large as a plain one.
struct HostMetrics {
    int32_t dpi = 96;
    int32_t headerHeight = kHostHeaderHeight;
    int32_t statusHeight = kHostStatusHeight;
    int32_t gap = kHostGap;
    int32_t minToolWidth = kHostMinToolWidth;
    int32_t minToolHeight = kHostMinToolHeight;

    // Any other measure of the host's, given at 96 dots per inch.
    int32_t Scale(int32_t value) const { return HostScaleForDpi(value, dpi); }
};

// The measures for a screen of dpi (96 where dpi is not a density).
HostMetrics HostMetricsFor(int32_t dpi);

struct HostGrid {
    int32_t columns = 1;
    int32_t rows = 1;
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
};

// The grid for count tools in a client area of the given size.
HostGrid HostChooseGrid(const HostMetrics& metrics, int32_t count, int32_t clientWidth, int32_t clientHeight);

// Cell index (row by row) of a grid, in client coordinates.
HostRect32 HostGridCell(const HostMetrics& metrics, const HostGrid& grid, int32_t index);

// The cell a calendar needs so that its 4:3 fit is at least its ideal size
// in both directions: an ideal size of another shape asks for the wider or
// the taller cell of that shape.
void HostCellForIdeal(int32_t idealWidth, int32_t idealHeight, int32_t* cellWidth, int32_t* cellHeight);

// The client size whose grid gives count tools cells of at least
// cellWidth x cellHeight, with at most three columns.
void HostClientSizeFor(const HostMetrics& metrics, int32_t count, int32_t cellWidth, int32_t cellHeight,
    int32_t* width, int32_t* height);

#endif
