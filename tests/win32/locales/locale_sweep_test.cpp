// The tool's texts in the locale the program runs in (the build runs it once
// for each of eighteen locales), read where the tool hands them to the
// platform: the library's imports of DrawTextW and ExtTextOutW go through a
// recorder that keeps every text with its rectangle and flags, measures it in
// the same device context at that moment, and then draws it. A text drawn in
// runs of two fonts (ExtTextOutW, clipped to its cell, run after run) is
// joined back into one. Checked: the title of
// every month of a year, the weekday header with Sunday and with Monday
// first, the weekday names of the menu and of the properties page, and, at
// the preferred size, every text within its cell and in a font that has its
// glyphs. Every case ends with the ledger showing nothing of the library's
// left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "tests/win32/support/import_hooks.h"
#include "tests/win32/support/menu_look.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "view/month_layout.h"

namespace {

constexpr UINT kCentred = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
constexpr UINT kTitle = DT_SINGLELINE | DT_CENTER;
constexpr int kTitleMax = 19;  // UTF-16 units the title may take
constexpr int kYear = 2024;

struct DrawnText {
    std::wstring text;
    RECT rect;
    UINT flags;
    SIZE extent;   // DT_CALCRECT of the text in the same DC, just before it was drawn
    LONG leading;  // the internal leading of the font then selected
    int missing;   // characters that font has no glyph for (blanks and joiners aside)
};

std::vector<DrawnText> g_drawn;
decltype(&DrawTextW) g_realDrawTextW = nullptr;
decltype(&ExtTextOutW) g_realExtTextOutW = nullptr;
constexpr UINT kRuns = 0;  // the flags of a text drawn in runs: its pieces carry none

// Characters of text that the font selected into dc has no glyph for.
int Missing(HDC dc, const std::wstring& text)
{
    std::vector<WORD> glyphs(text.size() + 1);
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    int missing = 0;
    for (size_t i = 0; i < text.size(); ++i)
        missing += glyphs[i] == 0xFFFF && text[i] != L' ' && text[i] != 0x200C && text[i] != 0x200D;
    return missing;
}

// One run of a text: joined to the text before it when both are clipped to
// the same cell, its extent added in width and the taller kept.
BOOL WINAPI RecordExtTextOutW(
    HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx)
{
    if ((options & ETO_CLIPPED) != 0 && (options & ETO_GLYPH_INDEX) == 0 && rect != nullptr && text != nullptr) {
        const std::wstring piece(text, count);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(count), &size);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        const bool joins = !g_drawn.empty() && g_drawn.back().flags == kRuns && EqualRect(&g_drawn.back().rect, rect);
        if (!joins)
            g_drawn.push_back(DrawnText{L"", *rect, kRuns, {0, 0}, 0, 0});
        DrawnText& d = g_drawn.back();
        d.text += piece;
        d.extent.cx += size.cx;
        d.extent.cy = std::max(d.extent.cy, metrics.tmHeight);
        d.leading = std::max(d.leading, metrics.tmInternalLeading);
        d.missing += Missing(dc, piece);
    }
    return g_realExtTextOutW(dc, x, y, options, rect, text, count, dx);
}

int WINAPI RecordDrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT flags)
{
    if ((flags & DT_CALCRECT) == 0 && text != nullptr && rect != nullptr) {
        DrawnText d{std::wstring(text, length < 0 ? lstrlenW(text) : length), *rect, flags, {}, 0, 0};
        RECT extent{0, 0, 0, 0};
        g_realDrawTextW(dc, text, length, &extent, DT_CALCRECT | DT_SINGLELINE | (flags & DT_NOPREFIX));
        d.extent = SIZE{extent.right - extent.left, extent.bottom - extent.top};
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        d.leading = metrics.tmInternalLeading;
        d.missing = Missing(dc, d.text);
        g_drawn.push_back(d);
    }
    return g_realDrawTextW(dc, text, length, rect, flags);
}

std::string Utf8(const std::wstring& text)
{
    std::string out(text.size() * 4 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
        static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::string Joined(const std::vector<std::wstring>& texts)
{
    std::wstring all;
    for (const std::wstring& t : texts)
        all += (all.empty() ? L"" : L" ") + t;
    return Utf8(all);
}

std::wstring LocaleName()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return name;
}

std::wstring LocaleText(LCTYPE type)
{
    wchar_t text[100] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 100);
    return text;
}

// Weekday w counted from Sunday; the locale's names count from Monday.
std::wstring FullName(int w)
{
    return LocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>((w + 6) % 7));
}
std::wstring ShortestName(int w)
{
    return LocaleText(LOCALE_SSHORTESTDAYNAME1 + static_cast<LCTYPE>((w + 6) % 7));
}

// Where the character that starts at text[i] ends: its base (one unit or a
// surrogate pair) and every following unit the platform's character types
// call a non-spacing mark or a vowel sign (a precomposed letter with an
// accent is a letter, and types as one).
size_t CharacterEnd(const std::wstring& text, size_t i)
{
    std::vector<WORD> types(text.size() + 1);
    GetStringTypeW(CT_CTYPE3, text.c_str(), static_cast<int>(text.size()), types.data());
    size_t end = i + (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() ? 2 : 1);
    while (end < text.size() && (types[end] & (C3_NONSPACING | C3_VOWELMARK)) != 0 &&
        (types[end] & C3_ALPHA) == 0)
        ++end;
    return end;
}

// The month's name as it stands alone, the year after it, cut to whole
// characters within the title's room.
std::wstring ExpectedTitle(int month)
{
    const std::wstring full = LocaleText(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month - 1)) + L" 2024";
    size_t n = 0;
    while (n < full.size() && CharacterEnd(full, n) <= static_cast<size_t>(kTitleMax))
        n = CharacterEnd(full, n);
    return full.substr(0, n);
}

// The header text of each weekday (0 = Sunday): the first character of its
// full name, or the shortest name where the first characters do not tell at
// least three days apart.
struct Header {
    std::vector<std::wstring> byWeekday;
    bool shortest = false;
};
Header ExpectedHeader()
{
    Header h;
    for (int w = 0; w < 7; ++w)
        h.byWeekday.push_back(FullName(w).substr(0, CharacterEnd(FullName(w), 0)));
    h.shortest = std::set<std::wstring>(h.byWeekday.begin(), h.byWeekday.end()).size() < 3;
    for (int w = 0; h.shortest && w < 7; ++w)
        h.byWeekday[static_cast<size_t>(w)] = ShortestName(w);
    return h;
}

// Written out by hand: March in the nominative and in the language's own
// letters, and rows of the header with Sunday first.
const std::map<std::wstring, std::wstring> kMarchTitles = {{L"ru-RU", L"март 2024"},
    {L"pl-PL", L"marzec 2024"}, {L"cs-CZ", L"březen 2024"}, {L"he-IL", L"מרץ 2024"},
    {L"el-GR", L"Μάρτιος 2024"}, {L"zh-CN", L"三月 2024"}};
const std::map<std::wstring, std::vector<std::wstring>> kSundayRows = {
    {L"en-US", {L"S", L"M", L"T", L"W", L"T", L"F", L"S"}},
    {L"hi-IN", {L"र", L"सो", L"मं", L"बु", L"गु", L"शु", L"श"}},
    {L"zh-CN", {L"周日", L"周一", L"周二", L"周三", L"周四", L"周五", L"周六"}},
    {L"he-IL", {L"א׳", L"ב׳", L"ג׳", L"ד׳", L"ה׳", L"ו׳", L"ש׳"}},
    {L"vi-VN", {L"CN", L"T2", L"T3", L"T4", L"T5", L"T6", L"T7"}}};
// Where every weekday's name begins with the same word.
const std::set<std::wstring> kShortestNameLocales = {
    L"zh-CN", L"zh-TW", L"he-IL", L"ar-EG", L"th-TH", L"vi-VN"};

std::vector<std::wstring> TextsIn(const std::vector<DrawnText>& drawn, const CalRect& cell, UINT flags)
{
    std::vector<std::wstring> texts;
    for (const DrawnText& d : drawn)
        if ((d.flags == flags || d.flags == kRuns) && d.rect.left == cell.left && d.rect.top == cell.top &&
            d.rect.right == cell.right && d.rect.bottom == cell.bottom)
            texts.push_back(d.text);
    return texts;
}

TEST(LocaleRun, RunsInTheLocaleItWasStartedIn)
{
    const char* asked = std::getenv("LC_ALL");
    ASSERT_NE(asked, nullptr);
    std::string name(asked, std::strcspn(asked, "."));
    std::replace(name.begin(), name.end(), '_', '-');
    EXPECT_EQ(Utf8(LocaleName()), name);
}

class LocaleSweep : public CalToolTest {
protected:
    void SetUp() override
    {
        CalToolTest::SetUp();
        static const bool routed = [] {
            g_realDrawTextW = reinterpret_cast<decltype(&DrawTextW)>(CalTestPatchImport(
                CalTestPlugin().module, "user32.dll", "DrawTextW", reinterpret_cast<void*>(RecordDrawTextW)));
            g_realExtTextOutW = reinterpret_cast<decltype(&ExtTextOutW)>(CalTestPatchImport(
                CalTestPlugin().module, "gdi32.dll", "ExtTextOutW", reinterpret_cast<void*>(RecordExtTextOutW)));
            return g_realDrawTextW != nullptr && g_realExtTextOutW != nullptr;
        }();
        ASSERT_TRUE(routed) << "the library imports no DrawTextW from user32 or no ExtTextOutW from gdi32";
    }

    HWND Create(int width, int height, const CalToolSettings* block = nullptr)
    {
        RECT r{10, 10, 10 + width, 10 + height};
        HWND tool = CalTestPlugin().create(parent_->window, &r, block, 0, 0);
        EXPECT_NE(tool, nullptr);
        return tool;
    }

    static CalToolSettings Block(HWND tool)
    {
        CalToolSettings* block = nullptr;
        SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block));
        return *block;
    }

    // What one paint of the whole tool drew.
    static std::vector<DrawnText> Paint(HWND tool)
    {
        g_drawn.clear();
        RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return g_drawn;
    }

    static CalMonthLayout Layout(HWND tool, int month)
    {
        RECT client;
        GetClientRect(tool, &client);
        const CalToolSettings block = Block(tool);
        return CalComputeMonthLayout(
            CalLayoutInput{client.right, client.bottom, block.weekNumbers, block.firstDay, kYear, month, 0});
    }
};

TEST_F(LocaleSweep, EveryMonthIsTitledWithItsNameAloneAndTheYear)
{
    HWND tool = Create(280, 200);
    CalKeyToMonth(tool, kYear, 1);
    const auto literal = kMarchTitles.find(LocaleName());
    for (int month = 1; month <= 12; ++month, SendMessageA(tool, WM_KEYDOWN, VK_NEXT, 0)) {
        const std::vector<std::wstring> titles = TextsIn(Paint(tool), Layout(tool, month).title, kTitle);
        ASSERT_EQ(titles.size(), 1u) << "month " << month;
        EXPECT_EQ(Utf8(titles[0]), Utf8(ExpectedTitle(month))) << "month " << month;
        if (month == 3 && literal != kMarchTitles.end()) {
            EXPECT_EQ(Utf8(titles[0]), Utf8(literal->second));
        }
    }
}

TEST_F(LocaleSweep, EachHeaderColumnNamesItsWeekdayWithSundayOrMondayFirst)
{
    const Header expected = ExpectedHeader();
    EXPECT_EQ(expected.shortest, kShortestNameLocales.count(LocaleName()) == 1)
        << "initials: " << Joined(expected.byWeekday);
    HWND tool = Create(280, 200);
    CalKeyToMonth(tool, kYear, 3);
    for (LONG firstDay : {0L, 1L}) {
        CalToolSettings block = Block(tool);
        block.firstDay = firstDay;
        SendMessageA(tool, CTM_SETSETTINGS, sizeof block, reinterpret_cast<LPARAM>(&block));
        const std::vector<DrawnText> drawn = Paint(tool);
        const CalMonthLayout layout = Layout(tool, 3);
        std::vector<std::wstring> row;
        for (int c = 0; c < 7; ++c) {
            const std::vector<std::wstring> texts = TextsIn(drawn, layout.header[c], kCentred);
            ASSERT_EQ(texts.size(), 1u) << "column " << c << ", first day " << firstDay;
            row.push_back(texts[0]);
        }
        std::vector<std::wstring> want;
        for (int c = 0; c < 7; ++c)
            want.push_back(expected.byWeekday[static_cast<size_t>((firstDay + c) % 7)]);
        EXPECT_EQ(Joined(row), Joined(want)) << "first day " << firstDay;
        EXPECT_GE(std::set<std::wstring>(row.begin(), row.end()).size(), 3u) << Joined(row);
        const auto literal = kSundayRows.find(LocaleName());
        if (firstDay == 0 && literal != kSundayRows.end()) {
            EXPECT_EQ(Joined(row), Joined(literal->second));
        }
    }
}

TEST_F(LocaleSweep, TheMenuAndThePageNameTheWeekdaysInFull)
{
    HWND tool = Create(280, 200);
    const CalMenuLook menu = CalOpenAndCloseMenu(tool);
    ASSERT_TRUE(menu.opened);
    ASSERT_EQ(menu.dayNames.size(), 7u);
    HWND page = reinterpret_cast<HWND>(
        SendMessageA(tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(parent_->window), MAKELPARAM(0, 0)));
    ASSERT_NE(page, nullptr);
    for (int w = 0; w < 7; ++w) {
        wchar_t button[100] = L"";
        GetDlgItemTextW(page, IDC_FIRSTDAY0 + w, button, 100);
        EXPECT_FALSE(FullName(w).empty());
        EXPECT_EQ(Utf8(menu.dayNames[static_cast<size_t>(w)]), Utf8(FullName(w))) << "menu, weekday " << w;
        EXPECT_EQ(Utf8(button), Utf8(FullName(w))) << "page, weekday " << w;
    }
    DestroyWindow(page);
}

struct IdealCase {
    const char* what;
    LONG fontHeight;  // 0: the block's own
    LONG weekNumbers;
    LONG firstDay;
};
const IdealCase kIdealCases[] = {
    {"the default block", 0, 0, 0},
    {"a 20-pixel font, week numbers, Monday first", -20, 1, 1},
};

TEST_F(LocaleSweep, AtItsPreferredSizeEveryTextFitsItsCellAndHasItsGlyphs)
{
    for (const IdealCase& c : kIdealCases) {
        HWND probe = Create(100, 100);
        CalToolSettings block = Block(probe);
        DestroyWindow(probe);
        block.font.lfHeight = c.fontHeight != 0 ? c.fontHeight : block.font.lfHeight;
        block.weekNumbers = c.weekNumbers;
        block.firstDay = c.firstDay;
        probe = Create(100, 100, &block);
        const auto size = static_cast<DWORD>(SendMessageA(probe, CTM_GETIDEALSIZE, 0, 0));
        DestroyWindow(probe);
        HWND tool = Create(LOWORD(size), HIWORD(size), &block);
        CalKeyToMonth(tool, kYear, 1);
        for (int month = 1; month <= 12; ++month, SendMessageA(tool, WM_KEYDOWN, VK_NEXT, 0)) {
            const std::vector<DrawnText> drawn = Paint(tool);
            EXPECT_GE(drawn.size(), 1u + 7u + 29u) << c.what << ", month " << month;
            std::string unfit;
            for (const DrawnText& d : drawn) {
                // A line's height counts the font's internal leading, room
                // for accents above the letters that a text without them
                // leaves blank; at the preferred height a row is a pixel or
                // so less than a line.
                const bool fits = d.extent.cx <= d.rect.right - d.rect.left &&
                    d.extent.cy <= d.rect.bottom - d.rect.top + d.leading;
                if (!fits || d.missing > 0)
                    unfit += " \"" + Utf8(d.text) + "\" " + std::to_string(d.extent.cx) + "x" +
                        std::to_string(d.extent.cy) + " in " + std::to_string(d.rect.right - d.rect.left) +
                        "x" + std::to_string(d.rect.bottom - d.rect.top) + " (leading " +
                        std::to_string(d.leading) + ", " + std::to_string(d.missing) + " without a glyph);";
            }
            EXPECT_EQ(unfit, "") << c.what << " at " << LOWORD(size) << "x" << HIWORD(size) << ", month "
                                 << month;
        }
        DestroyWindow(tool);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
