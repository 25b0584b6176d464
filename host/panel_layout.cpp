#include "host/panel_layout.h"

#include <algorithm>

namespace {

int32_t AreaHeight(int32_t clientHeight)
{
    return clientHeight - kHostHeaderHeight - kHostStatusHeight;
}

}  // namespace

HostGrid HostChooseGrid(int32_t count, int32_t clientWidth, int32_t clientHeight)
{
    count = std::max(count, 1);
    HostGrid best;
    int32_t bestWidth = -1;
    for (int32_t columns = 1; columns <= count; ++columns) {
        const int32_t rows = (count + columns - 1) / columns;
        HostGrid g{columns, rows, std::max((clientWidth - kHostGap * (columns + 1)) / columns, 0),
            std::max((AreaHeight(clientHeight) - kHostGap * (rows + 1)) / rows, 0)};
        // The width a 4:3 calendar gets in such a cell; ties keep fewer columns.
        const int32_t width = std::min(g.cellWidth, g.cellHeight * 4 / 3);
        if (width > bestWidth) {
            best = g;
            bestWidth = width;
        }
    }
    return best;
}

HostRect32 HostGridCell(const HostGrid& grid, int32_t index)
{
    const int32_t column = index % grid.columns;
    const int32_t row = index / grid.columns;
    HostRect32 r;
    r.left = kHostGap + column * (grid.cellWidth + kHostGap);
    r.top = kHostHeaderHeight + kHostGap + row * (grid.cellHeight + kHostGap);
    r.right = r.left + grid.cellWidth;
    r.bottom = r.top + grid.cellHeight;
    return r;
}

void HostClientSizeFor(int32_t count, int32_t cellWidth, int32_t cellHeight, int32_t* width, int32_t* height)
{
    count = std::max(count, 1);
    const int32_t columns = std::min(count, 3);
    const int32_t rows = (count + columns - 1) / columns;
    *width = kHostGap + columns * (cellWidth + kHostGap);
    *height = kHostHeaderHeight + kHostStatusHeight + kHostGap + rows * (cellHeight + kHostGap);
}
