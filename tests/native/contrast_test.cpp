// The contrast measure against figures worked out by hand from its
// definition, and the choice of today's colours that rests on it.
#include <gtest/gtest.h>

#include "view/contrast.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | g << 8 | b << 16;
}

TEST(Contrast, RatiosAndTodaysColours)
{
    struct Case {
        uint32_t fill, text;
        bool highContrast;
        double ratio;     // within 0.01
        bool selection;   // today in the selection colours
    } const cases[] = {
        // The standard scheme: a white highlight behind black text stays.
        {Rgb(255, 255, 255), Rgb(0, 0, 0), false, 21.0, false},
        // The high-contrast mode asks for the selection colours whatever the ratio.
        {Rgb(255, 255, 255), Rgb(0, 0, 0), true, 21.0, true},
        // White text on a white highlight: the number vanished.
        {Rgb(255, 255, 255), Rgb(255, 255, 255), false, 1.0, true},
        // Mid grey on white, 3.95:1, and the two greys either side of 3:1.
        {Rgb(255, 255, 255), Rgb(0x80, 0x80, 0x80), false, 3.95, false},
        {Rgb(255, 255, 255), Rgb(0x94, 0x94, 0x94), false, 3.03, false},
        {Rgb(255, 255, 255), Rgb(0x95, 0x95, 0x95), false, 3.00, true},
        // Channels weigh differently: pure green is far lighter than pure blue.
        {Rgb(0, 255, 0), Rgb(0, 0, 0), false, 15.3, false},
        {Rgb(0, 0, 255), Rgb(0, 0, 0), false, 2.44, true},
        // Red on blue is equally bright, and the order does not matter.
        {Rgb(255, 0, 0), Rgb(0, 0, 255), false, 2.15, true},
        {Rgb(0, 0, 255), Rgb(255, 0, 0), false, 2.15, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.fill << " behind " << c.text);
        EXPECT_NEAR(CalContrastRatio(c.fill, c.text), c.ratio, 0.01);
        EXPECT_EQ(CalTodayInSelectionColours(c.highContrast, c.fill, c.text), c.selection);
    }
}

}  // namespace
