#include "view/contrast.h"

#include <algorithm>

namespace {

// a to the power 2/5, for a in [0, 1], by Newton's method on y^5 = a^2: no
// maths library, whose error handling the library would otherwise import.
double PowerTwoFifths(double a)
{
    const double target = a * a;
    double y = 1.0;
    for (int i = 0; i < 64 && target > 0; ++i)
        y -= (y * y * y * y * y - target) / (5 * y * y * y * y);
    return target > 0 ? y : 0.0;
}

// One sRGB channel, 0..255, as linear light.
double Linear(uint32_t channel)
{
    const double c = channel / 255.0;
    if (c <= 0.03928)
        return c / 12.92;
    const double x = (c + 0.055) / 1.055;
    return x * x * PowerTwoFifths(x);  // x^2.4
}

double Luminance(uint32_t colour)
{
    return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear((colour >> 8) & 0xFF) +
        0.0722 * Linear((colour >> 16) & 0xFF);
}

}  // namespace

double CalContrastRatio(uint32_t colour, uint32_t other)
{
    const double a = Luminance(colour) + 0.05;
    const double b = Luminance(other) + 0.05;
    return std::max(a, b) / std::min(a, b);
}
