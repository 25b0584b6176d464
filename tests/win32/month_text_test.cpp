// The locale's texts of a tool (the title and weekday initials of the month
// view, the weekday names of the menu and the page, the month names of the
// preferred size) and the labels that fall back to built-in texts, checked
// against the names of whichever locale the run has: English, German or
// Japanese (a double-byte code page), and the locale formatter's own output
// where it works.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "plugin/module.h"
#include "tests/win32/support/import_hooks.h"
#include "tool/labels.h"
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

TEST(MonthTextTest, WeekdayNamesRunSundayToSaturdayInEveryKindOfMonth)
{
    // Months beginning on a Monday (first Sunday the 7th) and on a Sunday
    // (the 1st), seen from an early, a middle and a late day.
    const SYSTEMTIME days[] = {
        {2024, 1, 1, 1, 0, 0, 0, 0},   // Monday 1 January 2024
        {2024, 1, 3, 31, 0, 0, 0, 0},  // Wednesday 31 January 2024
        {2024, 9, 0, 1, 0, 0, 0, 0},   // Sunday 1 September 2024
        {2024, 9, 1, 30, 0, 0, 0, 0},  // Monday 30 September 2024
        {2026, 2, 6, 28, 0, 0, 0, 0},  // Saturday 28 February 2026
    };
    for (const SYSTEMTIME& today : days) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            SCOPED_TRACE(testing::Message()
                << today.wYear << "-" << today.wMonth << "-" << today.wDay << " #" << weekday);
            char out[20];
            const int length = CalWeekdayNameIn(today, weekday, out);
            // LOCALE_SDAYNAME1 is Monday, LOCALE_SDAYNAME7 Sunday.
            const std::string name = LocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>((weekday + 6) % 7));
            EXPECT_EQ(std::string(out), name);
            EXPECT_EQ(length, static_cast<int>(name.size()));
        }
    }
    // Today's month, as the menu and the page use it.
    char sunday[20];
    CalWeekdayName(0, sunday);
    EXPECT_EQ(std::string(sunday), LocaleText(LOCALE_SDAYNAME7));
}

TEST(MonthTextTest, MonthNamesDependOnTheMonthAlone)
{
    for (WORD month = 1; month <= 12; ++month) {
        const std::string name = LocaleText(LOCALE_SMONTHNAME1 + month - 1u);
        // Years the formatter refuses give the same names as one it takes.
        for (WORD year : {WORD{1}, WORD{1600}, WORD{2024}, WORD{9999}, WORD{10000}, WORD{65535}}) {
            char out[20];
            const int length = CalMonthName(year, month, out);
            EXPECT_EQ(std::string(out), name) << year << "-" << month;
            EXPECT_EQ(length, static_cast<int>(name.size()));
        }
    }
    // A month no date has still gives a terminated text.
    char out[20];
    std::memset(out, 0x7F, sizeof out);
    const int length = CalMonthName(2024, 13, out);
    ASSERT_LE(length, 19);
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(out));
}

namespace {

// Stand-ins for the formatter and the locale's names with a name far longer
// than any buffer the library gives: ASCII or, in a double-byte locale,
// double-byte characters. The formatter refuses a buffer too small, as the
// platform's does.
std::string g_longName;
int WINAPI LongDate(LCID, DWORD, const SYSTEMTIME*, LPCSTR, LPSTR out, int size)
{
    if (static_cast<int>(g_longName.size()) + 1 > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, g_longName.c_str(), g_longName.size() + 1);
    return static_cast<int>(g_longName.size()) + 1;
}
int WINAPI LongLocaleName(LCID, LCTYPE, LPSTR out, int size)
{
    return LongDate(0, 0, nullptr, nullptr, out, size);
}

}  // namespace

TEST(MonthTextTest, NamesLongerThanTheirBuffersAreCutToWholeCharacters)
{
    HMODULE self = GetModuleHandleA(nullptr);
    void* date =
        CalTestPatchImport(self, "KERNEL32.dll", "GetDateFormatA", reinterpret_cast<void*>(LongDate));
    void* names =
        CalTestPatchImport(self, "KERNEL32.dll", "GetLocaleInfoA", reinterpret_cast<void*>(LongLocaleName));
    ASSERT_NE(date, nullptr);
    ASSERT_NE(names, nullptr);
    const bool doubleByte = Language() == LANG_JAPANESE;
    // 29 characters: "Xa...", or 29 copies of the Japanese character for month.
    g_longName.clear();
    for (int i = 0; i < 29; ++i)
        g_longName += doubleByte ? "\x8C\x8E" : (i == 0 ? "X" : "a");
    struct Guarded {
        char out[20];
        char guard[12];
    };
    for (int kind = 0; kind < 3; ++kind) {
        Guarded g;
        std::memset(&g, 0x7F, sizeof g);
        SYSTEMTIME today{2024, 1, 1, 1, 0, 0, 0, 0};
        const int length = kind == 0 ? CalWeekdayNameIn(today, 3, g.out)
            : kind == 1              ? CalMonthName(2024, 5, g.out)
                                     : CalFormatTitle(1600, 5, g.out);
        SCOPED_TRACE(kind);
        EXPECT_EQ(length, doubleByte ? 18 : 19);
        EXPECT_EQ(g.out[length], '\0');
        EXPECT_TRUE(EndsWhole(g.out));
        EXPECT_EQ(std::string(g.out), g_longName.substr(0, static_cast<size_t>(length)));
        for (char c : g.guard)
            ASSERT_EQ(c, '\x7F') << "written past the 20-byte buffer";
    }
    CalTestPatchImport(self, "KERNEL32.dll", "GetDateFormatA", date);
    CalTestPatchImport(self, "KERNEL32.dll", "GetLocaleInfoA", names);
}

TEST(MonthTextTest, LabelsWithoutAStringTableFallBackAndFitTheirBuffer)
{
    // This program carries no string table: every string reads as missing.
    g_moduleInstance = GetModuleHandleA(nullptr);
    char text[100];
    CalLoadLabel(122, 39, "First Week Day", "", text);
    EXPECT_STREQ(text, "First Week Day");
    CalLoadLabel(124, 36, "Select Font", "...", text);
    EXPECT_STREQ(text, "Select Font...");
    // No fallback: the suffix alone, as an About item without its string reads.
    CalLoadLabel(118, 96, nullptr, "...", text);
    EXPECT_STREQ(text, "...");
    // A fallback longer than allowed is cut, and room is kept for the suffix
    // even when more is allowed than the buffer holds.
    const std::string longText(150, 'w');
    CalLoadLabel(123, 10, longText.c_str(), "", text);
    EXPECT_EQ(std::string(text), std::string(10, 'w'));
    CalLoadLabel(123, 500, longText.c_str(), "...", text);
    EXPECT_EQ(std::string(text), std::string(96, 'w') + "...");
    g_moduleInstance = nullptr;
}
