// The contrast measure against figures worked out by hand from its
// definition, and the choice of the days' colours that rests on it.
#include <gtest/gtest.h>

#include <cstdio>

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

// The platform's standard schemes, old and new, and its two high-contrast
// ones: face, text, today's fill (the button highlight), the darkest edge,
// the selection and its text.
struct NamedScheme {
    const char* name;
    CalDayScheme scheme;
};
const NamedScheme kSchemes[] = {
    {"classic", {Rgb(192, 192, 192), 0, Rgb(255, 255, 255), Rgb(64, 64, 64), Rgb(0, 0, 128), Rgb(255, 255, 255), false}},
    {"standard", {Rgb(240, 240, 240), 0, Rgb(255, 255, 255), Rgb(105, 105, 105), Rgb(0, 120, 215), Rgb(255, 255, 255), false}},
    {"light blue selection", {Rgb(245, 245, 245), 0, Rgb(255, 255, 255), Rgb(105, 105, 105), Rgb(48, 150, 250), Rgb(255, 255, 255), false}},
    {"high-contrast black", {0, Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(26, 235, 255), 0, true}},
    {"high-contrast white", {Rgb(255, 255, 255), 0, 0, 0, Rgb(55, 0, 110), Rgb(255, 255, 255), true}},
};

// Every combination of today and the selection, in every scheme: each mark
// stands out from its cell by 3:1 at least (the selection's fill or outline
// from what the day shows unselected, today's edge or frame from what lies
// inside it, the number from its fill; a marked day's bold number is that
// number), and no two combinations look alike. The figures are printed.
TEST(DayLooks, EveryMarkStandsOutAndEveryCombinationIsItsOwnInEveryScheme)
{
    for (const NamedScheme& n : kSchemes) {
        const CalDayScheme& s = n.scheme;
        uint32_t seen[4] = {};
        for (int i = 0; i < 4; ++i) {
            const bool today = (i & 1) != 0, selected = (i & 2) != 0;
            const CalDayLook look = CalLookOfDay(s, today, selected);
            const uint32_t behind = look.filled ? look.fill : s.face;
            const double number = CalContrastRatio(look.text, behind);
            // The selection's mark: its fill, or its outline in the text
            // colour, against what the day shows unselected.
            const CalDayLook unselected = CalLookOfDay(s, today, false);
            const uint32_t plain = unselected.filled ? unselected.fill : s.face;
            const double fill = !selected ? 0
                : look.outlined             ? CalContrastRatio(s.text, plain)
                                            : CalContrastRatio(look.fill, plain);
            const double edge = today ? (look.framed ? number : CalContrastRatio(s.edge, behind)) : 0;
            std::printf("%-20s today %d selected %d: number %5.2f  selection fill %5.2f  today's edge/frame %5.2f\n",
                n.name, today, selected, number, fill, edge);
            EXPECT_GE(number, kCalLeastContrast) << n.name << " " << i;
            EXPECT_GE(selected ? fill : kCalLeastContrast, kCalLeastContrast) << n.name << " " << i;
            EXPECT_GE(today ? edge : kCalLeastContrast, kCalLeastContrast) << n.name << " " << i;
            // What the eye tells apart: the edge (today), the fill's colour, the frame.
            seen[i] = (today ? 1u : 0u) | (look.framed || look.outlined ? 2u : 0u) | (behind & 0xFFFFFFu) << 2;
            for (int j = 0; j < i; ++j)
                EXPECT_NE(seen[i], seen[j]) << n.name << ": combinations " << i << " and " << j;
        }
    }
}

}  // namespace
