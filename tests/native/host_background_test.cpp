// The panel host's choice between its stripes and the system's window
// colour: the stripes stay only while the calendars' text stands out from
// every one of their colours.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "host/background_pattern.h"

namespace {

TEST(HostContrast, MeasuresAsTheAccessibilityGuidelinesDo)
{
    const HostRgb white{255, 255, 255};
    EXPECT_DOUBLE_EQ(HostContrastRatio({0, 0, 0}, white), 21.0);
    EXPECT_DOUBLE_EQ(HostContrastRatio(white, white), 1.0);
    // The guidelines' own examples: #767676 on white just passes 4.5:1, #777777 does not.
    EXPECT_NEAR(HostContrastRatio({0x76, 0x76, 0x76}, white), 4.54, 0.005);
    EXPECT_NEAR(HostContrastRatio({0x77, 0x77, 0x77}, white), 4.48, 0.005);
    EXPECT_NEAR(HostContrastRatio({255, 0, 0}, white), 4.0, 0.005);  // pure red
}

TEST(HostStripes, ShowOnlyWhileTheCalendarsTextStandsOutFromThem)
{
    struct Case {
        const char* scheme;
        HostRgb text;
        bool highContrast;
        bool stripes;
    };
    const Case cases[] = {
        {"the standard scheme: black text", {0, 0, 0}, false, true},
        {"dark grey text", {64, 64, 64}, false, true},
        {"the high-contrast flag, whatever the text", {0, 0, 0}, true, false},
        {"white text on black (a high-contrast scheme)", {255, 255, 255}, false, false},
        {"yellow text (another such scheme)", {255, 255, 0}, false, false},
        {"mid grey text", {128, 128, 128}, false, false},
        {"grey text just too light", {96, 96, 96}, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HostStripesReadable(c.text, c.highContrast), c.stripes) << c.scheme;
}

// Whatever text the stripes are kept for stands out from every colour a
// panel shows, of any shape.
TEST(HostStripes, KeptOnlyWhereEveryPixelOfThePanelIsReadable)
{
    std::set<std::tuple<int, int, int>> colours;
    for (const auto& [w, h] : {std::pair{600, 440}, std::pair{40, 1200}})
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const HostRgb c = HostPatternColour(x, y, w, h);
                colours.insert({c.r, c.g, c.b});
            }
    int kept = 0;
    for (int v = 0; v < 256; v += 3)
        for (const HostRgb text : {HostRgb{uint8_t(v), uint8_t(v), uint8_t(v)}, HostRgb{uint8_t(v), 0, 0},
                 HostRgb{0, uint8_t(v), uint8_t(v / 2)}, HostRgb{uint8_t(v), uint8_t(v), 255}}) {
            if (!HostStripesReadable(text, false))
                continue;
            ++kept;
            for (const auto& [r, g, b] : colours)
                ASSERT_GE(HostContrastRatio(text, HostRgb{uint8_t(r), uint8_t(g), uint8_t(b)}), 4.5)
                    << int(text.r) << "," << int(text.g) << "," << int(text.b) << " on " << r << "," << g
                    << "," << b;
        }
    EXPECT_GT(kept, 40) << "dark text keeps the stripes";
}

}  // namespace
