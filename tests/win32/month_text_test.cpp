// The locale's texts of a tool (the title and weekday header of the month
// view, the weekday names of the menu and the page, the month names of the
// preferred size) and the labels that fall back to built-in texts, checked
// against the names of whichever locale the run has: English, German or
// Japanese, and the locale formatter's own output where it works.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include <gtest/gtest.h>

#include "plugin/module.h"
#include "tests/win32/support/import_hooks.h"
#include "dialogs/labels.h"
#include "view/month_text.h"

namespace {

WORD Language()
{
    return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID()));
}

std::wstring LocaleText(LCTYPE type)
{
    wchar_t text[80];
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80) > 0 ? text : L"";
}

// The formatter's text for the first of the month, or "" when it fails.
std::wstring Formatted(WORD year, WORD month, const wchar_t* picture)
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = 1;
    wchar_t text[80];
    return GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, picture, text, 80) > 0 ? text : L"";
}

// A 20-unit buffer prefilled with a pattern, and a guard after it, so that
// an unterminated result or a write past the buffer shows.
struct Guarded {
    CalText out;
    wchar_t guard[12];
    Guarded()
    {
        for (wchar_t& c : out)
            c = 0x7F7F;
        for (wchar_t& c : guard)
            c = 0x7F7F;
    }
    bool guardIntact() const
    {
        for (wchar_t c : guard)
            if (c != 0x7F7F)
                return false;
        return true;
    }
};

// An integer made of the text's ASCII digits, in order.
int Digits(const wchar_t* text)
{
    int n = 0;
    for (; *text != L'\0'; ++text)
        if (*text >= L'0' && *text <= L'9')
            n = n * 10 + (*text - L'0');
    return n;
}

}  // namespace

TEST(MonthTextTest, TitleIsTheMonthAndTheFormattersYear)
{
    // The locale the run asked for is the one in force. In these three
    // languages the month's name alone and the formatter's "MMMM yyyy" agree.
    const wchar_t* march = Language() == LANG_GERMAN ? L"M\u00E4rz 2024"
        : Language() == LANG_JAPANESE                ? L"3\u6708 2024"
                                                     : L"March 2024";
    Guarded t;
    EXPECT_EQ(CalFormatTitle(2024, 3, t.out), static_cast<int>(std::wcslen(march)));
    EXPECT_STREQ(t.out, march);
    for (WORD year : {WORD{1601}, WORD{2024}, WORD{9999}})
        for (WORD month = 1; month <= 12; ++month) {
            Guarded g;
            const int length = CalFormatTitle(year, month, g.out);
            const std::wstring expected = Formatted(year, month, L"MMMM yyyy");
            ASSERT_FALSE(expected.empty()) << year << "-" << month;
            ASSERT_LE(expected.size(), 19u);
            EXPECT_EQ(g.out, expected) << year << "-" << month;
            EXPECT_EQ(length, static_cast<int>(expected.size()));
            EXPECT_TRUE(g.guardIntact());
        }
}

TEST(MonthTextTest, TitleBeforeTheFormattersRangeIsTheMonthNameAndYear)
{
    for (WORD year : {WORD{1}, WORD{999}, WORD{1600}}) {
        ASSERT_TRUE(Formatted(year, 1, L"yyyy").empty()) << "the formatter is expected to refuse " << year;
        for (WORD month = 1; month <= 12; ++month) {
            SCOPED_TRACE(testing::Message() << year << "-" << month);
            Guarded g;
            const int length = CalFormatTitle(year, month, g.out);
            ASSERT_GT(length, 0);
            ASSERT_LE(length, 19);
            ASSERT_EQ(g.out[length], L'\0');
            // The month's name (every one of these locales' fits), then the year.
            const std::wstring name = LocaleText(LOCALE_SMONTHNAME1 + month - 1u);
            ASSERT_FALSE(name.empty());
            ASSERT_EQ(std::wstring(g.out).find(name + L" "), 0u);
            EXPECT_EQ(Digits(g.out + name.size()), year);
        }
    }
}

namespace {

// A formatter whose full day names all begin with the same word, as some
// languages' do ("Thứ Hai", "Thứ Ba"...): the initials then say nothing.
int WINAPI SharedWordDate(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR out, int size)
{
    const wchar_t name[] = L"Th\u1EE9 Hai";
    if (size < static_cast<int>(sizeof name / sizeof name[0])) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, name, sizeof name);
    return static_cast<int>(sizeof name / sizeof name[0]);
}

}  // namespace

TEST(MonthTextTest, HeaderIsTheFirstWholeCharacterOrElseTheShortestNames)
{
    // A year and month whose first day is known, as an index of the locale's
    // day names (0 = Monday), in the formatter's range and before it; then
    // a formatter whose names share their first word.
    const struct {
        WORD year, month;
        int firstWeekday;
        bool sharedWord;
    } months[] = {{2024, 1, 0, false}, {2024, 3, 4, false}, {1600, 1, 5, false}, {1, 1, 0, false},
        {2024, 1, 0, true}, {2024, 9, 6, true}};
    HMODULE self = GetModuleHandleA(nullptr);
    for (const auto& m : months) {
        SCOPED_TRACE(testing::Message() << m.year << "-" << m.month << (m.sharedWord ? " shared word" : ""));
        void* real = m.sharedWord ? CalTestPatchImport(self, "KERNEL32.dll", "GetDateFormatW",
                                        reinterpret_cast<void*>(SharedWordDate))
                                  : nullptr;
        ASSERT_EQ(real != nullptr, m.sharedWord);
        CalWeekdayHeader header;
        std::memset(&header, 0x7F, sizeof header);
        CalWeekdayHeaders(m.year, m.month, header);
        if (real != nullptr)
            CalTestPatchImport(self, "KERNEL32.dll", "GetDateFormatW", real);
        EXPECT_EQ(header.shortest, m.sharedWord);
        std::wstring initials;
        for (int d = 0; d < 7; ++d) {
            SCOPED_TRACE(d + 1);
            const LCTYPE weekday = static_cast<LCTYPE>((m.firstWeekday + d) % 7);
            // Every day name of these locales begins with a one-unit character.
            const std::wstring expected = m.sharedWord ? LocaleText(LOCALE_SSHORTESTDAYNAME1 + weekday)
                                                       : LocaleText(LOCALE_SDAYNAME1 + weekday).substr(0, 1);
            ASSERT_FALSE(expected.empty());
            ASSERT_EQ(header.length[d], static_cast<int>(expected.size()));
            ASSERT_EQ(header.text[d][header.length[d]], L'\0');
            EXPECT_EQ(header.text[d], expected);
            initials += header.text[d];
        }
        if (m.year == 2024 && m.month == 1 && !m.sharedWord) {
            // 1 January 2024 was a Monday.
            const wchar_t* week = Language() == LANG_GERMAN ? L"MDMDFSS"
                : Language() == LANG_JAPANESE               ? L"\u6708\u706B\u6C34\u6728\u91D1\u571F\u65E5"
                                                            : L"MTWTFSS";
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
            CalText out;
            const int length = CalWeekdayNameIn(today, weekday, out);
            // LOCALE_SDAYNAME1 is Monday, LOCALE_SDAYNAME7 Sunday.
            const std::wstring name = LocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>((weekday + 6) % 7));
            EXPECT_EQ(out, name);
            EXPECT_EQ(length, static_cast<int>(name.size()));
        }
    }
    // Today's month, as the menu and the page use it.
    CalText sunday;
    CalWeekdayName(0, sunday);
    EXPECT_EQ(sunday, LocaleText(LOCALE_SDAYNAME7));
}

TEST(MonthTextTest, MonthNamesAreTheLocalesNamesAlone)
{
    for (WORD month = 0; month <= 13; ++month) {
        SCOPED_TRACE(month);
        // A month no date has still gives a terminated, empty text.
        const std::wstring name =
            month >= 1 && month <= 12 ? LocaleText(LOCALE_SMONTHNAME1 + month - 1u) : L"";
        Guarded g;
        const int length = CalMonthName(month, g.out);
        EXPECT_EQ(g.out, name);
        EXPECT_EQ(length, static_cast<int>(name.size()));
        EXPECT_TRUE(g.guardIntact());
    }
}

namespace {

// Stand-ins for the formatter and the locale's names with a name far longer
// than any buffer the library gives. The formatter refuses a buffer too
// small, as the platform's does.
std::wstring g_longName;
int WINAPI LongDate(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR out, int size)
{
    if (static_cast<int>(g_longName.size()) + 1 > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, g_longName.c_str(), (g_longName.size() + 1) * sizeof(wchar_t));
    return static_cast<int>(g_longName.size()) + 1;
}
int WINAPI LongLocaleName(LCID, LCTYPE, LPWSTR out, int size)
{
    return LongDate(0, 0, nullptr, nullptr, out, size);
}

std::wstring Repeated(const wchar_t* character, int count)
{
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += character;
    return text;
}

}  // namespace

TEST(MonthTextTest, NamesLongerThanTheirBuffersAreCutToWholeCharacters)
{
    HMODULE self = GetModuleHandleA(nullptr);
    void* date = CalTestPatchImport(self, "KERNEL32.dll", "GetDateFormatW", reinterpret_cast<void*>(LongDate));
    void* names =
        CalTestPatchImport(self, "KERNEL32.dll", "GetLocaleInfoW", reinterpret_cast<void*>(LongLocaleName));
    ASSERT_NE(date, nullptr);
    ASSERT_NE(names, nullptr);
    // Names of one character repeated: a cut after 19 units would end inside
    // a surrogate pair or before the marks of a base letter. A title is the
    // name (cut) and a blank, with room for nothing after.
    const struct {
        const char* kind;
        std::wstring name;
        int nameLength;
        int titleLength;
    } patterns[] = {
        {"ASCII", L"X" + Repeated(L"a", 28), 19, 19},
        {"surrogate pairs", Repeated(L"\U0001F600", 29), 18, 19},
        {"base letters with two marks", Repeated(L"e\u0323\u0302", 25), 18, 19},
    };
    for (const auto& n : patterns) {
        g_longName = n.name;
        const std::wstring title = n.name.substr(0, static_cast<size_t>(n.nameLength)) + L" " + n.name;
        const struct {
            const char* what;
            std::wstring expected;
        } kinds[] = {
            {"weekday name", n.name.substr(0, static_cast<size_t>(n.nameLength))},
            {"month name", n.name.substr(0, static_cast<size_t>(n.nameLength))},
            {"title", title.substr(0, static_cast<size_t>(n.titleLength))},
            {"header (the shortest names: the initials are all the same)",
                n.name.substr(0, static_cast<size_t>(n.nameLength))},
        };
        for (int kind = 0; kind < 4; ++kind) {
            SCOPED_TRACE(testing::Message() << n.kind << ", " << kinds[kind].what);
            Guarded g;
            SYSTEMTIME today{2024, 1, 1, 1, 0, 0, 0, 0};
            CalWeekdayHeader header;
            int length = 0;
            switch (kind) {
            case 0: length = CalWeekdayNameIn(today, 3, g.out); break;
            case 1: length = CalMonthName(5, g.out); break;
            case 2: length = CalFormatTitle(2024, 5, g.out); break;
            default:
                CalWeekdayHeaders(2024, 5, header);
                EXPECT_TRUE(header.shortest);
                length = header.length[0];
                std::memcpy(g.out, header.text[0], sizeof g.out);
                break;
            }
            EXPECT_EQ(length, static_cast<int>(kinds[kind].expected.size()));
            EXPECT_EQ(g.out[length], L'\0');
            EXPECT_EQ(g.out, kinds[kind].expected);
            ASSERT_TRUE(g.guardIntact()) << "written past the 20-unit buffer";
        }
    }
    CalTestPatchImport(self, "KERNEL32.dll", "GetDateFormatW", date);
    CalTestPatchImport(self, "KERNEL32.dll", "GetLocaleInfoW", names);
}

TEST(MonthTextTest, LabelsWithoutAStringTableFallBackAndFitTheirBuffer)
{
    // This program carries no string table: every string reads as missing.
    g_moduleInstance = GetModuleHandleA(nullptr);
    const std::wstring longText(150, L'w');
    const struct {
        UINT id;
        int maxChars;
        const wchar_t* fallback;
        const wchar_t* suffix;
        std::wstring expected;
    } labels[] = {
        {122, 39, L"First Week Day", L"", L"First Week Day"},
        {124, 36, L"Select Font", L"...", L"Select Font..."},
        // No fallback: the suffix alone, as an About item without its string reads.
        {118, 96, nullptr, L"...", L"..."},
        // A fallback longer than allowed is cut, and room is kept for the
        // suffix even when more is allowed than the buffer holds.
        {123, 10, longText.c_str(), L"", std::wstring(10, L'w')},
        {123, 500, longText.c_str(), L"...", std::wstring(96, L'w') + L"..."},
    };
    for (const auto& l : labels) {
        wchar_t text[100];
        std::memset(text, 0x7F, sizeof text);
        CalLoadLabel(l.id, l.maxChars, l.fallback, l.suffix, text);
        EXPECT_EQ(std::wstring(text), l.expected) << l.id << " " << l.maxChars;
    }
    g_moduleInstance = nullptr;
}
