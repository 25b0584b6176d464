#include "host/background_pattern.h"

#include <algorithm>
#include <cmath>

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

double Linear(uint8_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(HostRgb c)
{
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

// Each channel of the pattern lies between the gradient's ends, the lighter
// stripes lifted; luminance grows with every channel, so no pattern colour
// is darker than the first bound nor lighter than the second.
constexpr HostRgb kDarkest{std::min(kFrom.r, kTo.r), std::min(kFrom.g, kTo.g), std::min(kFrom.b, kTo.b)};
constexpr HostRgb kLightest{static_cast<uint8_t>(std::max(kFrom.r, kTo.r) + kStripeLift),
    static_cast<uint8_t>(std::max(kFrom.g, kTo.g) + kStripeLift),
    static_cast<uint8_t>(std::max(kFrom.b, kTo.b) + kStripeLift)};

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

double HostContrastRatio(HostRgb a, HostRgb b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool HostStripesReadable(HostRgb text, bool highContrast)
{
    if (highContrast)
        return false;
    // Text darker than the darkest stripe, or lighter than the lightest, by
    // enough: text between the two would vanish on some stripe.
    const double l = Luminance(text);
    return (l <= Luminance(kDarkest) && HostContrastRatio(text, kDarkest) >= kHostLeastTextContrast) ||
        (l >= Luminance(kLightest) && HostContrastRatio(text, kLightest) >= kHostLeastTextContrast);
}
