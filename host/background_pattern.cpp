#include "host/background_pattern.h"

namespace {

// Light enough that no pixel reads as text ink, and never the button face.
constexpr HostRgb kFrom{176, 200, 236};
constexpr HostRgb kTo{196, 230, 200};
constexpr int32_t kStripeWidth = 8;
constexpr int32_t kStripeLift = 14;

uint8_t Mix(uint8_t a, uint8_t b, int64_t num, int64_t den, int32_t lift)
{
    return static_cast<uint8_t>(a + (int64_t{b} - a) * num / den + lift);
}

}  // namespace

HostRgb HostPatternColour(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int64_t den = width + height > 2 ? int64_t{width} + height - 2 : 1;
    int64_t num = int64_t{x} + y;
    num = num < 0 ? 0 : (num > den ? den : num);
    const int32_t lift = ((x + y) / kStripeWidth) % 2 != 0 ? kStripeLift : 0;
    return {Mix(kFrom.r, kTo.r, num, den, lift), Mix(kFrom.g, kTo.g, num, den, lift),
        Mix(kFrom.b, kTo.b, num, den, lift)};
}
