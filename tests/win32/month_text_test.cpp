// The month view's title and weekday initials, checked against the names of
// whichever locale the run has: English, German or Japanese (a double-byte
// code page), and the locale formatter's own output where it works.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "view/month_text.h"

namespace {

WORD Language()
{
    return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID()));
}

std::string LocaleText(LCTYPE type)
{
    char text[80];
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) > 0 ? text : "";
}

// Length of the longest prefix of text within max bytes made of whole characters.
size_t WholePrefix(const std::string& text, size_t max)
{
    size_t n = 0;
    while (n < text.size()) {
        const size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[n])) ? 2 : 1;
        if (n + step > max || n + step > text.size())
            break;
        n += step;
    }
    return n;
}

// The first character of text: one byte, or two for a double-byte character.
std::string FirstCharacter(const std::string& text)
{
    return text.substr(0, WholePrefix(text, IsDBCSLeadByte(static_cast<BYTE>(text[0])) ? 2 : 1));
}

// Whether text ends on a character boundary: no lead byte left without its trail.
bool EndsWhole(const std::string& text)
{
    return WholePrefix(text, text.size()) == text.size();
}

// A 20-byte buffer prefilled with a pattern, so that an unterminated result shows.
struct Text {
    char out[20];
    int length;
};
Text Title(WORD year, WORD month)
{
    Text t;
    std::memset(t.out, 0x7F, sizeof t.out);
    t.length = CalFormatTitle(year, month, t.out);
    return t;
}

// The formatter's "MMMM yyyy", or "" when it fails.
std::string Formatted(WORD year, WORD month)
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = 1;
    char text[80];
    return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, "MMMM yyyy", text, sizeof text) > 0 ? text : "";
}

}  // namespace

TEST(MonthTextTest, TitleIsTheFormattersMonthAndYear)
{
    // The locale the run asked for is the one in force.
    const char* march = Language() == LANG_GERMAN ? "M\xE4rz 2024"
        : Language() == LANG_JAPANESE             ? "3\x8C\x8E 2024"
                                                  : "March 2024";
    EXPECT_STREQ(Title(2024, 3).out, march);
    for (WORD year : {WORD{1601}, WORD{2024}, WORD{9999}})
        for (WORD month = 1; month <= 12; ++month) {
            const Text t = Title(year, month);
            const std::string expected = Formatted(year, month);
            ASSERT_FALSE(expected.empty()) << year << "-" << month;
            ASSERT_LE(expected.size(), 19u);
            EXPECT_EQ(t.out, expected) << year << "-" << month;
            EXPECT_EQ(t.length, static_cast<int>(expected.size()));
        }
}

TEST(MonthTextTest, TitleBeforeTheFormattersRangeIsTheMonthNameAndYear)
{
    for (WORD year : {WORD{1}, WORD{999}, WORD{1600}}) {
        ASSERT_TRUE(Formatted(year, 1).empty()) << "the formatter is expected to refuse " << year;
        for (WORD month = 1; month <= 12; ++month) {
            SCOPED_TRACE(testing::Message() << year << "-" << month);
            const Text t = Title(year, month);
            ASSERT_GT(t.length, 0);
            ASSERT_LE(t.length, 19);
            ASSERT_EQ(t.out[t.length], '\0');
            EXPECT_TRUE(EndsWhole(t.out));
            // The month's name, cut to whole characters within 19 bytes, and then the year.
            const std::string name = LocaleText(LOCALE_SMONTHNAME1 + month - 1u);
            ASSERT_FALSE(name.empty());
            const std::string shown = name.substr(0, WholePrefix(name, 19));
            ASSERT_EQ(std::string(t.out).find(shown), 0u) << t.out;
            int digits = 0;
            for (const char* p = t.out + shown.size(); *p != '\0'; ++p)
                if (*p >= '0' && *p <= '9')
                    digits = digits * 10 + (*p - '0');
            EXPECT_EQ(digits, year) << t.out;
        }
    }
}

TEST(MonthTextTest, InitialIsTheWholeFirstCharacterOfTheDayName)
{
    // A year and month whose first day is known, as an index of the locale's
    // day names (0 = Monday), in the formatter's range and before it.
    const struct {
        WORD year, month;
        int firstWeekday;
    } months[] = {{2024, 1, 0}, {2024, 3, 4}, {1600, 1, 5}, {1, 1, 0}};
    const bool doubleByte = Language() == LANG_JAPANESE;
    for (const auto& m : months) {
        std::string initials;
        for (WORD day = 1; day <= 7; ++day) {
            SCOPED_TRACE(testing::Message() << m.year << "-" << m.month << "-" << day);
            char out[20];
            std::memset(out, 0x7F, sizeof out);
            const int length = CalWeekdayInitial(m.year, m.month, day, out);
            const std::string name =
                LocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>((m.firstWeekday + day - 1) % 7));
            ASSERT_FALSE(name.empty());
            ASSERT_EQ(length, doubleByte ? 2 : 1);
            ASSERT_EQ(out[length], '\0');
            EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(out[0])) != 0, doubleByte);
            EXPECT_EQ(std::string(out), FirstCharacter(name));
            initials += out;
        }
        if (m.year == 2024 && m.month == 1) {
            // 1 January 2024 was a Monday.
            const char* week = Language() == LANG_GERMAN ? "MDMDFSS"
                : doubleByte ? "\x8C\x8E\x89\xCE\x90\x85\x96\xD8\x8B\xE0\x93\x79\x93\xFA"
                             : "MTWTFSS";
            EXPECT_EQ(initials, week);
        }
    }
}
