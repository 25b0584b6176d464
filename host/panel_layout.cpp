#include "host/panel_layout.h"

#include <algorithm>

namespace {

int32_t AreaHeight(const HostMetrics& m, int32_t clientHeight)
{
    return clientHeight - m.headerHeight - m.statusHeight;
}

}  // namespace

int32_t HostScaleForDpi(int32_t value, int32_t dpi)
{
    // Halves away from zero, as MulDiv rounds.
    const int64_t product = int64_t{value} * dpi;
    const int64_t scaled = product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96);
    return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

HostMetrics HostMetricsFor(int32_t dpi)
{
    HostMetrics m;
    // Beyond 8 times the reference no screen exists; such a figure is a fault.
    m.dpi = dpi > 0 && dpi <= 96 * 8 ? dpi : 96;
    m.headerHeight = m.Scale(kHostHeaderHeight);
    m.statusHeight = m.Scale(kHostStatusHeight);
    m.gap = m.Scale(kHostGap);
    m.minToolWidth = m.Scale(kHostMinToolWidth);
    m.minToolHeight = m.Scale(kHostMinToolHeight);
    return m;
}

HostGrid HostChooseGrid(const HostMetrics& m, int32_t count, int32_t clientWidth, int32_t clientHeight)
{
    count = std::max(count, 1);
    HostGrid best;
    int32_t bestWidth = -1;
    for (int32_t columns = 1; columns <= count; ++columns) {
        const int32_t rows = (count + columns - 1) / columns;
        HostGrid g{columns, rows, std::max((clientWidth - m.gap * (columns + 1)) / columns, 0),
            std::max((AreaHeight(m, clientHeight) - m.gap * (rows + 1)) / rows, 0)};
        // The width a 4:3 calendar gets in such a cell; ties keep fewer columns.
        const int32_t width = std::min(g.cellWidth, g.cellHeight * 4 / 3);
        if (width > bestWidth) {
            best = g;
            bestWidth = width;
        }
    }
    return best;
}

HostRect32 HostGridCell(const HostMetrics& m, const HostGrid& grid, int32_t index)
{
    const int32_t column = index % grid.columns;
    const int32_t row = index / grid.columns;
    HostRect32 r;
    r.left = m.gap + column * (grid.cellWidth + m.gap);
    r.top = m.headerHeight + m.gap + row * (grid.cellHeight + m.gap);
    r.right = r.left + grid.cellWidth;
    r.bottom = r.top + grid.cellHeight;
    return r;
}

void HostCellForIdeal(int32_t idealWidth, int32_t idealHeight, int32_t* cellWidth, int32_t* cellHeight)
{
    // Rounded up both ways; the tool's own fit truncates its height from
    // the width, at just over three quarters.
    const int64_t width = std::max<int64_t>(idealWidth, (int64_t{idealHeight} * 4 + 2) / 3);
    *cellWidth = static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
    *cellHeight = static_cast<int32_t>(std::min<int64_t>((width * 3 + 3) / 4, INT32_MAX));
}

void HostClientSizeFor(const HostMetrics& m, int32_t count, int32_t cellWidth, int32_t cellHeight,
    int32_t* width, int32_t* height)
{
    count = std::max(count, 1);
    const int32_t columns = std::min(count, 3);
    const int32_t rows = (count + columns - 1) / columns;
    *width = m.gap + columns * (cellWidth + m.gap);
    *height = m.headerHeight + m.statusHeight + m.gap + rows * (cellHeight + m.gap);
}
