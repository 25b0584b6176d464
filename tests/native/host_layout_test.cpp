// The cell a panel host gives a calendar of a given ideal size.
#include <gtest/gtest.h>

#include "host/panel_layout.h"
#include "tool/fit_size.h"

namespace {

TEST(HostLayout, CellsHoldTheIdealSizeOnceFittedToFourByThree)
{
    struct Case {
        int32_t idealWidth, idealHeight, cellWidth, cellHeight;
    } const cases[] = {
        {160, 120, 160, 120},  // already 4:3
        {94, 104, 139, 105},   // taller than 4:3: the width follows the height
        {120, 312, 416, 312},  // the Thai faces' tall lines
        {300, 100, 300, 225},  // wider than 4:3: the height follows the width
        {1, 1, 2, 2},
    };
    for (const Case& c : cases) {
        int32_t w = 0;
        int32_t h = 0;
        HostCellForIdeal(c.idealWidth, c.idealHeight, &w, &h);
        EXPECT_EQ(w, c.cellWidth) << c.idealWidth << "x" << c.idealHeight;
        EXPECT_EQ(h, c.cellHeight) << c.idealWidth << "x" << c.idealHeight;
        // What the tool makes of that cell, as the host asks it.
        const uint32_t fitted = CalFitSize(CalFitRequest{1, 1, w, h, 0, w});
        EXPECT_GE(int32_t(CalPackedWidth(fitted)), c.idealWidth);
        EXPECT_GE(int32_t(CalPackedHeight(fitted)), c.idealHeight);
    }
}

}  // namespace
