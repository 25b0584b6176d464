// Fitting a size proposed by the host to the calendar's 4:3 shape.
// Pure arithmetic over the host's record; no platform headers.
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

#endif
