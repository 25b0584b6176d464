// Where the tools of a panel go: a grid of equal cells below the header
// strip, with as many columns as give the calendars (4:3) the most room.
// Platform-free.
#ifndef PANELHOST_PANEL_LAYOUT_H
#define PANELHOST_PANEL_LAYOUT_H

#include <cstdint>

#include "host/settings_format.h"

constexpr int32_t kHostHeaderHeight = 28;  // the strip naming the panel types
constexpr int32_t kHostStatusHeight = 30;  // the status line at the bottom: two lines of text
constexpr int32_t kHostGap = 10;           // between cells and round the grid
constexpr int32_t kHostMinToolWidth = 40;
constexpr int32_t kHostMinToolHeight = 30;

struct HostGrid {
    int32_t columns = 1;
    int32_t rows = 1;
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
};

// The grid for count tools in a client area of the given size.
HostGrid HostChooseGrid(int32_t count, int32_t clientWidth, int32_t clientHeight);

// Cell index (row by row) of a grid, in client coordinates.
HostRect32 HostGridCell(const HostGrid& grid, int32_t index);

// The client size whose grid gives count tools cells of at least
// cellWidth x cellHeight, with at most three columns.
void HostClientSizeFor(int32_t count, int32_t cellWidth, int32_t cellHeight, int32_t* width, int32_t* height);

#endif
