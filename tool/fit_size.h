// The sizes a tool tells its host: a proposed size fitted to the calendar's
// 4:3 shape, and the preferred size combined from measured text extents.
// Pure arithmetic; no platform headers.
#ifndef CALENDAR_TOOL_FIT_SIZE_H
#define CALENDAR_TOOL_FIT_SIZE_H

#include <cstdint>

#include "plugin/cal_protocol.h"

// Width per unit of height: the single-precision 1.333333, bit pattern
// 0x3FAAAAA8, exactly 1398101 / 1048576, just under 4/3.
inline constexpr float CAL_ASPECT = 1398101.0f / 1048576.0f;

// The packed size (width | height << 16) fitted to the request: the other
// dimension follows from the proposed one, the derived one is held to its
// maximum, and a result below either minimum gives the minimum size.
uint32_t CalFitSize(const CalFitRequest& request);

// The extent of one line of text as the platform measured it.
struct CalTextExtent {
    int32_t width;
    int32_t height;
};

// The preferred size (width | height << 16) from the extents of the twelve
// month texts ("<month name> 9999") and of the three rows of digit pairs:
// the widest month text widened by 8/6, or the widest digit row if that is
// wider; eight rows of the tallest line. Kept to 16 bits at each step.
uint32_t CalCombineIdealSize(const CalTextExtent (&months)[12], const CalTextExtent (&digitRows)[3]);

// The preferred size made room enough for the seven header texts: as wide
// as it takes for the narrower day columns (those beside week numbers) to
// hold the widest header text, and eight rows of the tallest. A size whose
// columns already hold them comes back unchanged.
uint32_t CalWidenForHeader(uint32_t size, const CalTextExtent (&headers)[7]);

#endif
