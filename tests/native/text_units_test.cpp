// Whole characters in UTF-16: where a text may be cut, what its first
// character is, and how many different initials seven texts hold, in
// scripts whose characters take more than one unit; and the face a text is
// drawn in, chosen by the size of its line, with the metrics of the faces a
// 9-pixel font met in the tests' locales: a sans face's line of 13, Thai's
// of 14, a Nastaliq's of 22 and a mathematical face's of 39.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "view/face_choice.h"
#include "view/text_units.h"

namespace {

int Length(const std::u16string& s)
{
    return static_cast<int>(s.size());
}

TEST(TextUnitsTest, CutsAndFirstCharactersKeepPairsAndMarksWhole)
{
    const struct {
        const char* what;
        std::u16string text;
        int first;                  // units of the first character
        std::vector<int> prefixes;  // units of the longest whole prefix within 0, 1, 2... units
    } cases[] = {
        {"Thai: a base and its vowel mark, then a base", u"\u0E27\u0E31\u0E19", 2, {0, 0, 2, 3}},
        {"Devanagari: a base and its vowel sign", u"\u0938\u094B", 2, {0, 0, 2}},
        {"Vietnamese, precomposed", u"Th\u1EE9", 1, {0, 1, 2, 3}},
        {"Vietnamese, a base with two marks", u"Thu\u031B\u0301", 1, {0, 1, 2, 2, 2, 5}},
        {"an emoji pair", u"\U0001F600x", 2, {0, 0, 2, 3}},
        {"an emoji and its skin tone modifier", u"\U0001F44D\U0001F3FDx", 4, {0, 0, 0, 0, 4, 5}},
        {"a lone high surrogate stands for itself", u"\xD83D" u"ab", 1, {0, 1, 2, 3}},
        {"a lone low surrogate stands for itself", u"\xDE00" u"ab", 1, {0, 1, 2, 3}},
        {"a high surrogate at the end", u"ab\xD83D", 1, {0, 1, 2, 3}},
        {"a pair in reverse order is two lone units", u"\xDE00\xD83D", 1, {0, 1, 2}},
        {"a mark with no base before it", u"\u0301a", 1, {0, 1, 2}},
        {"an empty text", u"", 0, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CalFirstCharacter(c.text.data(), Length(c.text)), c.first);
        ASSERT_EQ(c.prefixes.size(), c.text.size() + 1);
        for (int max = 0; max <= Length(c.text) + 2; ++max)
            EXPECT_EQ(CalWholePrefix(c.text.data(), Length(c.text), max),
                c.prefixes[std::min<size_t>(size_t(max), c.text.size())])
                << "within " << max;
    }
}

TEST(TextUnitsTest, DistinctInitialsCountWholeCharacters)
{
    const struct {
        const char* what;
        std::u16string names[7];
        int distinct;
    } cases[] = {
        {"English", {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"}, 5},
        {"Vietnamese: six names share their first word",
            {u"Ch\u1EE7 Nh\u1EADt", u"Th\u1EE9 Hai", u"Th\u1EE9 Ba", u"Th\u1EE9 T\u01B0", u"Th\u1EE9 N\u0103m",
                u"Th\u1EE9 S\u00E1u", u"Th\u1EE9 B\u1EA3y"},
            2},
        {"Thai: a base and the same base with a mark differ",
            {u"\u0E2D\u0E32\u0E17\u0E34\u0E15\u0E22\u0E4C", u"\u0E08\u0E31\u0E19\u0E17\u0E23\u0E4C",
                u"\u0E2D\u0E31\u0E07\u0E04\u0E32\u0E23", u"\u0E1E\u0E38\u0E18",
                u"\u0E1E\u0E24\u0E2B\u0E31\u0E2A\u0E1A\u0E14\u0E35", u"\u0E28\u0E38\u0E01\u0E23\u0E4C",
                u"\u0E40\u0E2A\u0E32\u0E23\u0E4C"},
            7},
        {"Hindi: every initial its own",
            {u"\u0930\u0935\u093F\u0935\u093E\u0930", u"\u0938\u094B\u092E\u0935\u093E\u0930",
                u"\u092E\u0902\u0917\u0932\u0935\u093E\u0930", u"\u092C\u0941\u0927\u0935\u093E\u0930",
                u"\u0917\u0941\u0930\u0941\u0935\u093E\u0930", u"\u0936\u0941\u0915\u094D\u0930\u0935\u093E\u0930",
                u"\u0936\u0928\u093F\u0935\u093E\u0930"},
            7},
        {"emoji pairs sharing their high surrogate",
            {u"\U0001F600", u"\U0001F601", u"\U0001F600", u"\U0001F602", u"\U0001F600", u"\U0001F601", u"x"}, 4},
        {"all the same", {u"X1", u"X2", u"X3", u"X4", u"X5", u"X6", u"X7"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const char16_t* initials[7];
        int lengths[7];
        for (int i = 0; i < 7; ++i) {
            initials[i] = c.names[i].data();
            lengths[i] = CalFirstCharacter(initials[i], Length(c.names[i]));
        }
        EXPECT_EQ(CalDistinctTexts(initials, lengths), c.distinct);
    }
}

TEST(FaceChoice, TheFirstFaceInProportionElseTheLeastOutOfIt)
{
    constexpr CalFaceLine kSans{13, 9};
    constexpr CalFaceLine kThai{14, 9};
    constexpr CalFaceLine kNastaliq{22, 9};
    constexpr CalFaceLine kMath{39, 9};
    constexpr CalFaceLine kUnmeasured{0, 0};
    struct Case {
        const char* what;
        std::vector<CalFaceLine> faces;  // in the platform's order
        int chosen;
    } const cases[] = {
        {"no face has the glyphs", {}, -1},
        {"the platform's first face, when it is in proportion", {kThai, kSans}, 0},
        {"a tall script's face is still in proportion", {kNastaliq, kSans}, 0},
        {"a mathematical face gives way to the next", {kMath, kThai}, 1},
        {"and to the next in proportion, however far down", {kMath, {40, 9}, {30, 9}, kSans, kThai}, 3},
        {"three times the letters is the most", {{27, 9}, kSans}, 0},
        {"one pixel more is out", {{28, 9}, kSans}, 1},
        {"none in proportion: the one least out of it", {kMath, {28, 9}, {60, 12}}, 1},
        {"ratios, not lines: 60 on 15 letters is nearer than 40 on 9", {kMath, {60, 15}}, 1},
        {"of two alike, the earlier", {{40, 10}, {80, 20}}, 0},
        {"a face the platform could not measure is taken as given", {kUnmeasured, kSans}, 0},
        {"and so is one with no letters' height", {{39, 0}, kSans}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CalChooseFace(c.faces.data(), static_cast<int>(c.faces.size())), c.chosen);
    }
}

}  // namespace
