// The host's words for a day of its calendars: the status line fitted to a
// width, the tooltip cut to a capacity, and the UTF-8 of event summaries.
#include <gtest/gtest.h>

#include "host/day_summary.h"

namespace {

// One pixel a unit, and times as hours and minutes: what is measured is the fitting.
HostSummaryFormat PlainFormat()
{
    HostSummaryFormat f;
    f.time = [](int32_t minute) {
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
        return std::u16string(text, text + 5);
    };
    f.width = [](const std::u16string& text) { return static_cast<int32_t>(text.size()); };
    return f;
}

std::u16string U(const char* ascii)
{
    return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii));
}

const std::vector<HostDayEvent> kDay = {
    {-1, "Holiday"},
    {9 * 60, "Dentist"},
    {14 * 60 + 30, "Review"},
    {20 * 60 + 5, ""},
};

}  // namespace

TEST(HostDaySummary, Utf8BecomesUtf16AndBadBytesBecomeReplacements)
{
    const struct {
        std::string in;
        std::u16string out;
    } cases[] = {
        {"Plain", u"Plain"},
        {"F\xC3\xBCr", u"F\u00FCr"},                   // two bytes
        {"\xE2\x82\xAC", u"\u20AC"},                   // three
        {"\xF0\x9F\x8E\x82", u"\U0001F382"},           // four: a surrogate pair
        {"a\xFFz", u"a\uFFFDz"},                       // no lead byte
        {"a\xC3", u"a\uFFFD"},                         // cut off
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                 // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},       // a surrogate, encoded
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xE2\x28\xA1", u"\uFFFD(\uFFFD"},            // a bad continuation
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostUtf16FromUtf8(c.in), c.out) << c.in;
}

TEST(HostDaySummary, TheStatusLineShowsWhatFitsAndCountsTheRest)
{
    const HostSummaryFormat f = PlainFormat();
    const std::u16string date = U("Wednesday, 9 December 2026");
    const std::u16string all =
        U("Wednesday, 9 December 2026: Holiday; 09:00 Dentist; 14:30 Review; 20:05 (no title)");
    const struct {
        int32_t width;
        std::u16string line;
    } cases[] = {
        {1000, all},
        {82, all},  // exactly its width
        {81, U("Wednesday, 9 December 2026: Holiday; 09:00 Dentist; 14:30 Review; and 1 more")},
        {75, U("Wednesday, 9 December 2026: Holiday; 09:00 Dentist; and 2 more")},
        {62, U("Wednesday, 9 December 2026: Holiday; 09:00 Dentist; and 2 more")},
        {61, U("Wednesday, 9 December 2026: Holiday; and 3 more")},
        {46, U("Wednesday, 9 December 2026: 4 events")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostDayLine(date, kDay, f, c.width), c.line) << c.width;
    EXPECT_EQ(HostDayLine(date, {}, f, 1000), U("Wednesday, 9 December 2026: no events"));
    EXPECT_EQ(HostDayLine(date, {{-1, "x"}}, f, 5), U("Wednesday, 9 December 2026: 1 event"));
}

TEST(HostDaySummary, TheTooltipKeepsWholeLinesAndATrueCount)
{
    const HostSummaryFormat f = PlainFormat();
    const struct {
        size_t lines;
        size_t capacity;
        std::u16string tip;
    } cases[] = {
        {8, 100, U("Holiday\n09:00 Dentist\n14:30 Review\n20:05 (no title)")},
        {2, 100, U("Holiday\n09:00 Dentist\nand 2 more")},
        {8, 33, U("Holiday\n09:00 Dentist\nand 2 more")},  // 32 units and the terminator
        {8, 32, U("Holiday\nand 3 more")},
        {8, 5, U("Holi")},  // not one line fits: the first, cut
        {8, 1, U("")},
        {8, 0, U("")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostDayTip(kDay, f, c.lines, c.capacity), c.tip) << c.lines << " lines, " << c.capacity;
    EXPECT_EQ(HostDayTip({}, f, 8, 100), U(""));
    // A character of two units is never split: the cut goes before it.
    const std::vector<HostDayEvent> cake = {{-1, "ab\xF0\x9F\x8E\x82"}, {-1, "more"}};
    EXPECT_EQ(HostDayTip(cake, f, 8, 4), U("ab"));
    EXPECT_EQ(HostDayTip(cake, f, 8, 5), u"ab\U0001F382");
}
