#include "tool/fit_size.h"

#include <cstdint>

#include "view/month_layout.h"

namespace {

// The double result truncated toward zero. A quotient or product beyond 32
// bits (possible only with the largest proposals) saturates instead of
// being undefined; such a size is cut to 16 bits when packed anyway.
int32_t Truncate(double value)
{
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t WidthFromHeight(int32_t h)
{
    return Truncate(static_cast<double>(h) * CAL_ASPECT);
}
int32_t HeightFromWidth(int32_t w)
{
    return Truncate(static_cast<double>(w) / CAL_ASPECT);
}

}  // namespace

uint32_t CalFitSize(const CalFitRequest& r)
{
    int32_t w;
    int32_t h;
    if (r.byHeight != 0) {
        h = r.proposed;
        w = WidthFromHeight(h);
        if (r.maxWidth < w) {
            w = r.maxWidth;
            h = HeightFromWidth(w);
        }
    } else {
        w = r.proposed;
        h = HeightFromWidth(w);
        if (r.maxHeight < h) {
            h = r.maxHeight;
            w = WidthFromHeight(h);
        }
    }
    if (r.minWidth > w || r.minHeight > h)
        return CalPackSize(r.minWidth, r.minHeight);
    return CalPackSize(w, h);
}

uint32_t CalCombineIdealSize(const CalTextExtent (&months)[12], const CalTextExtent (&digitRows)[3])
{
    // Both are unsigned 16-bit, as the packed result is; an extent is
    // compared whole and kept to 16 bits when taken.
    uint16_t w = 0;
    uint16_t h = 0;
    const auto widen = [](uint16_t& into, int32_t value) {
        if (value > into)
            into = static_cast<uint16_t>(value);
    };
    for (const CalTextExtent& e : months) {
        widen(h, e.height);
        widen(w, e.width);
    }
    w = static_cast<uint16_t>(w * 8u / 6u);
    for (const CalTextExtent& e : digitRows) {
        widen(h, e.height);
        widen(w, e.width);
    }
    return CalPackSize(w, h * 8);
}

uint32_t CalWidenForHeader(uint32_t size, const CalTextExtent (&headers)[7])
{
    int32_t width = static_cast<int32_t>(size & 0xFFFFu);
    int64_t height = static_cast<int32_t>(size >> 16);
    int32_t widest = 0;
    for (const CalTextExtent& e : headers) {
        widest = e.width > widest ? e.width : widest;
        if (int64_t{e.height} * 8 > height)
            height = int64_t{e.height} * 8;
    }
    // The columns as the month view lays them out, week numbers on.
    CalLayoutInput in{};
    in.weekNumbers = 1;
    in.year = 2000;
    in.month = 1;
    const auto columnWidth = [&in](int32_t w) {
        in.width = w;
        return CalComputeMonthLayout(in).columnWidth;
    };
    // Each column is about 6/49 of the width: below 49/6 of the widest
    // text less 20 pixels none holds it, so the search starts there.
    const int64_t below = int64_t{widest} * 49 / 6 - 20;
    if (below > width)
        width = below < 0xFFFF ? static_cast<int32_t>(below) : 0xFFFF;
    while (width < 0xFFFF && columnWidth(width) < widest)
        ++width;
    return CalPackSize(width, static_cast<int32_t>(height & 0xFFFF));  // kept to 16 bits, as every size
}
