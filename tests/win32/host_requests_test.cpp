// The host's requests to calendar tools made by the built library, sent as a
// host sends them: the settings block handed out and taken back, the
// properties page, the preferred size and the fitted size, the marked days
// handed over and asked for, and the messages the tool leaves to the default
// window procedure.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "resource.h"
#include "tests/win32/support/import_hooks.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tool/day_marks.h"
#include "tool/tool_state.h"

namespace {

std::vector<BYTE> Bytes(const void* p, size_t n)
{
    const auto* b = static_cast<const BYTE*>(p);
    return std::vector<BYTE>(b, b + n);
}

uint32_t IdealSize(HWND tool)
{
    return static_cast<uint32_t>(SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0));
}

LRESULT SetSettings(HWND tool, WPARAM size, const CalToolSettings* block)
{
    return SendMessageA(tool, CTM_SETSETTINGS, size, reinterpret_cast<LPARAM>(block));
}

// Reroutes one of the library's imports for the lifetime of the object.
struct ImportPatch {
    const char* dll;
    const char* function;
    void* original;
    ImportPatch(const char* d, const char* f, void* replacement)
        : dll(d)
        , function(f)
        , original(CalTestPatchImport(CalTestPlugin().module, d, f, replacement))
    {
    }
    ~ImportPatch()
    {
        if (original != nullptr)
            CalTestPatchImport(CalTestPlugin().module, dll, function, original);
    }
};

HDC WINAPI NoDc(HWND)
{
    return nullptr;
}

// What the library asks the platform for when it creates a font.
decltype(&CreateFontIndirectA) g_createFont = nullptr;
LOGFONTA g_fontAsked{};
HFONT WINAPI RecordingCreateFont(const LOGFONTA* logFont)
{
    g_fontAsked = *logFont;
    return g_createFont(logFont);
}

// The preferred size measured here, independently, the way the tool is
// meant to: the twelve month texts widened by 8/6, or the widest digit
// row; then wide enough for each day column beside week numbers to hold the
// widest weekday initial; eight rows of the tallest line.
uint32_t MeasuredIdealSize(HWND tool, const LOGFONTA& logFont)
{
    HDC dc = GetDC(tool);
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ old = SelectObject(dc, font);
    LONG w = 0;
    LONG h = 0;
    const auto measure = [dc, &h](const wchar_t* text, int length) {
        RECT r{0, 0, 1000, 1000};
        DrawTextW(dc, text, length, &r, DT_CALCRECT | DT_SINGLELINE);
        h = std::max(h, r.bottom);
        return r.right;
    };
    const auto take = [&](const wchar_t* text, int length) { w = std::max(w, measure(text, length)); };
    for (int m = 0; m < 12; ++m) {
        wchar_t text[64] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(m), text, 40);
        lstrcatW(text, L" 9999");
        take(text, -1);
    }
    w = w * 8 / 6;
    for (const wchar_t* row : {L"11 11 11 11 11 11 11 11", L"22 22 22 22 22 22 22 22", L"33 33 33 33 33 33 33 33"})
        take(row, -1);
    LONG initial = 0;
    for (int d = 0; d < 7; ++d) {
        wchar_t name[80] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + static_cast<LCTYPE>(d), name, 80);
        initial = std::max(initial, measure(name, 1));
    }
    // Seven day columns share the width left of a 3-pixel margin each side
    // and of the week numbers' column, a seventh of it.
    while ((w - 6 - (w - 6) / 7) / 7 < initial)
        ++w;
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(tool, dc);
    return CalPackSize(w, h * 8);
}

class HostRequests : public CalToolTest {
protected:
    // A tool with nothing left to paint, so that a later update region is
    // the request's doing.
    HWND Create(const CalToolSettings* settings = nullptr)
    {
        RECT r{0, 0, 200, 160};
        HWND tool = CalTestPlugin().create(parent_->window, &r, settings, 0, 0);
        if (tool != nullptr)
            UpdateWindow(tool);
        return tool;
    }
};

TEST_F(HostRequests, GetSettingsHandsOutTheLiveBlockOfEachTool)
{
    HWND tool = Create();
    HWND other = Create();
    ASSERT_NE(tool, nullptr);
    ASSERT_NE(other, nullptr);
    CalToolSettings* first = nullptr;
    CalToolSettings* again = nullptr;
    CalToolSettings* theirs = nullptr;
    EXPECT_EQ(SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&first)), 132);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&again)), 132);
    EXPECT_EQ(SendMessageA(other, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&theirs)), 132);
    EXPECT_EQ(static_cast<void*>(first), CalToolFromWindow(tool));
    EXPECT_EQ(again, first);
    EXPECT_EQ(static_cast<void*>(theirs), CalToolFromWindow(other));
    EXPECT_NE(theirs, first);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSETTINGS, 0, 0), 0) << "no pointer variable to store into";
}

TEST_F(HostRequests, SetSettingsCopiesExactly132BytesAndNothingElse)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    CalToolState* s = CalToolFromWindow(tool);
    const LOGFONTA applied = s->appliedFont;
    const size_t sent = parent_->notifications.size();

    // A size other than the block's takes nothing.
    CalToolSettings block;
    auto* bytes = reinterpret_cast<BYTE*>(&block);
    for (size_t i = 0; i < sizeof block; ++i)
        bytes[i] = static_cast<BYTE>(i * 37 + 11);
    const std::vector<BYTE> record = Bytes(s, sizeof *s);
    for (WPARAM size : {WPARAM{131}, WPARAM{133}, WPARAM{0}, WPARAM{0xFFFFFFFF}}) {
        EXPECT_EQ(SetSettings(tool, size, &block), 0);
        EXPECT_EQ(Bytes(s, sizeof *s), record) << "size " << size;
    }
    EXPECT_EQ(SetSettings(tool, 132, nullptr), 0);
    EXPECT_EQ(Bytes(s, sizeof *s), record);

    EXPECT_EQ(SetSettings(tool, 132, &block), 0);
    EXPECT_EQ(Bytes(s, 132), Bytes(&block, 132));
    EXPECT_EQ(Bytes(&s->window, sizeof *s - 132), std::vector<BYTE>(record.begin() + 132, record.end()))
        << "only the block is written";
    EXPECT_EQ(std::memcmp(&s->appliedFont, &applied, sizeof applied), 0) << "painting keeps its font";
    EXPECT_FALSE(CalNeedsPaint(tool)) << "shown at the next paint, not invalidated";
    EXPECT_EQ(parent_->notifications.size(), sent) << "the host is not told of its own block";
}

TEST_F(HostRequests, IdealSizeDependsOnTheFontAlone)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    CalToolState* s = CalToolFromWindow(tool);
    const uint32_t base = IdealSize(tool);
    EXPECT_GT(CalPackedWidth(base), 0u);
    EXPECT_GT(CalPackedHeight(base), 0u);
    EXPECT_EQ(base, MeasuredIdealSize(tool, s->settings.font));

    // Browsed with the real spinner, to the month after the current one.
    const WORD month = s->shown.wMonth;
    RECT r;
    GetClientRect(s->monthSpin, &r);
    const LPARAM right = MAKELPARAM(r.right * 3 / 4, r.bottom / 2);
    SendMessageA(s->monthSpin, WM_LBUTTONDOWN, MK_LBUTTON, right);
    SendMessageA(s->monthSpin, WM_LBUTTONUP, 0, right);
    EXPECT_EQ(s->shown.wMonth, month % 12 + 1);
    ValidateRect(tool, nullptr);  // the step itself repaints
    EXPECT_EQ(IdealSize(tool), base);

    // Days that some months lack, and the ends of the year range.
    const WORD dates[][3] = {{2025, 2, 1}, {2025, 2, 28}, {2025, 1, 31}, {2025, 2, 31}, {2024, 4, 31},
        {9999, 12, 9}, {1600, 1, 1}};
    for (const auto& d : dates) {
        s->shown.wYear = d[0];
        s->shown.wMonth = d[1];
        s->shown.wDay = d[2];
        const std::vector<BYTE> shown = Bytes(&s->shown, sizeof s->shown);
        EXPECT_EQ(IdealSize(tool), base) << d[0] << "-" << d[1] << "-" << d[2];
        EXPECT_EQ(Bytes(&s->shown, sizeof s->shown), shown) << "the shown date is put back";
    }

    s->settings.weekNumbers = 1;
    EXPECT_EQ(IdealSize(tool), base);
    s->settings.firstDay = 6;
    EXPECT_EQ(IdealSize(tool), base);
    s->settings.useBackground = 1;
    EXPECT_EQ(IdealSize(tool), base);
    EXPECT_FALSE(CalNeedsPaint(tool)) << "measuring changes nothing on screen";
}

TEST_F(HostRequests, IdealSizeMeasuresANewBlocksFontAtOnce)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    CalToolState* s = CalToolFromWindow(tool);
    const uint32_t small = IdealSize(tool);
    const LOGFONTA applied = s->appliedFont;

    CalToolSettings block = s->settings;
    block.font.lfHeight = -40;
    ASSERT_EQ(SetSettings(tool, 132, &block), 0);
    const uint32_t large = IdealSize(tool);
    EXPECT_GT(CalPackedWidth(large), CalPackedWidth(small) * 2);
    EXPECT_GT(CalPackedHeight(large), CalPackedHeight(small) * 2);
    EXPECT_EQ(large, MeasuredIdealSize(tool, block.font));
    EXPECT_EQ(std::memcmp(&s->appliedFont, &applied, sizeof applied), 0) << "still painted in the old font";
}

TEST_F(HostRequests, IdealSizeWithoutADeviceContextIsTheDefaultSize)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    const CalLedgerCounts before = CalLedgerSnapshot();
    uint32_t size = 0;
    {
        ImportPatch patch("USER32.dll", "GetDC", reinterpret_cast<void*>(NoDc));
        ASSERT_NE(patch.original, nullptr) << "the library does not import GetDC";
        size = IdealSize(tool);
    }
    EXPECT_EQ(size, 0x7800A0u) << "160 x 120";
    EXPECT_EQ((CalLedgerSnapshot() - before).objectsMade, 0) << "no font is made without a DC";
    EXPECT_NE(IdealSize(tool), 0x7800A0u) << "measured again once a DC is available";
}

TEST_F(HostRequests, IdealSizeOfAnUnterminatedFaceNameReadsNoFurther)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    CalToolState* s = CalToolFromWindow(tool);
    CalToolSettings block = s->settings;
    block.font.lfHeight = -30;
    std::memset(block.font.lfFaceName, 'X', sizeof block.font.lfFaceName);
    std::memcpy(block.font.lfFaceName, "Arial", 5);
    block.useBackground = 0x41414141;  // more letters right after the face name

    CalToolSettings terminated = block;
    terminated.font.lfFaceName[31] = '\0';
    ASSERT_EQ(SetSettings(tool, 132, &terminated), 0);
    const uint32_t expected = IdealSize(tool);

    ASSERT_EQ(SetSettings(tool, 132, &block), 0);
    uint32_t size = 0;
    {
        ImportPatch patch("GDI32.dll", "CreateFontIndirectA", reinterpret_cast<void*>(RecordingCreateFont));
        ASSERT_NE(patch.original, nullptr);
        g_createFont = reinterpret_cast<decltype(g_createFont)>(patch.original);
        g_fontAsked = LOGFONTA{};
        size = IdealSize(tool);
    }
    EXPECT_EQ(size, expected);
    EXPECT_EQ(g_fontAsked.lfHeight, -30);
    EXPECT_EQ(g_fontAsked.lfFaceName[31], '\0') << "the platform is handed a terminated name";
    EXPECT_EQ(std::memcmp(g_fontAsked.lfFaceName, block.font.lfFaceName, 31), 0);
    EXPECT_EQ(Bytes(s, 132), Bytes(&block, 132)) << "the stored block is left as it came";
}

TEST_F(HostRequests, FitSizeAnswersAllThreeNumbersAlike)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    const struct {
        CalFitRequest request;
        uint32_t width, height;
    } cases[] = {
        {{40, 30, 1000, 1000, 1, 120}, 159, 120},
        {{40, 30, 1000, 1000, 0, 160}, 160, 120},
        {{40, 30, 200, 1000, 1, 300}, 200, 150},
        {{40, 30, 1000, 100, 0, 400}, 133, 100},
        {{40, 30, 1000, 100, 1, 300}, 399, 300},
        {{60, 40, 1000, 1000, 0, 50}, 60, 40},
        {{1, 1, 1000, 1000, 1, 3}, 3, 3},
    };
    for (UINT message : {CTM_FITSIZE, CTM_FITSIZE2, CTM_FITSIZE3}) {
        for (const auto& c : cases) {
            CalFitRequest request = c.request;
            const auto packed =
                static_cast<uint32_t>(SendMessageA(tool, message, 0, reinterpret_cast<LPARAM>(&request)));
            EXPECT_EQ(CalPackedWidth(packed), c.width)
                << "message " << message << ", proposed " << request.proposed;
            EXPECT_EQ(CalPackedHeight(packed), c.height)
                << "message " << message << ", proposed " << request.proposed;
            EXPECT_EQ(std::memcmp(&request, &c.request, sizeof request), 0) << "the request is only read";
        }
        EXPECT_EQ(SendMessageA(tool, message, 0, 0), 0) << "no request";
    }
}

TEST_F(HostRequests, OtherMessagesReachTheDefaultWindowProcedure)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    CalToolState* s = CalToolFromWindow(tool);
    const std::vector<BYTE> record = Bytes(s, sizeof *s);
    const size_t sent = parent_->notifications.size();
    // Just outside the requests, and the tool's own notifications sent back.
    for (UINT message : {0x468u, 0x470u, UINT{CTN_SETTINGSCHANGED}, UINT{CTN_SHOWPROPERTIES}}) {
        const LRESULT answer = SendMessageA(tool, message, 7, 9);
        EXPECT_EQ(answer, DefWindowProcA(tool, message, 7, 9)) << "message " << message;
        EXPECT_EQ(answer, 0) << "message " << message;
    }
    EXPECT_EQ(Bytes(s, sizeof *s), record);
    EXPECT_EQ(parent_->notifications.size(), sent);
    EXPECT_FALSE(CalNeedsPaint(tool));

    // Text is kept only by the default procedure: this proves the path.
    EXPECT_TRUE(SendMessageA(tool, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("probe")));
    char text[16] = "";
    EXPECT_EQ(SendMessageA(tool, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, "probe");
}

// The marks a tool keeps for a month, or 0xDEAD when it knows nothing of it.
DWORD KeptMarks(const CalToolState* s, LONG year, LONG month)
{
    for (const CalMarkedMonth& e : s->marks->months.entry)
        if (e.year == year && e.month == month)
            return e.days;
    return 0xDEAD;
}

// CTM_SETDAYMARKS copies what it can use and reads nothing beyond: no array,
// or more records than there are months to show, is refused unread; records
// of months the tool cannot show are skipped and bits past a month's last
// day dropped; the array is not kept.
TEST_F(HostRequests, SetDayMarksCopiesWhatItCanUseAndReadsNoFurther)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    const CalToolState* s = CalToolFromWindow(tool);
    const LONG year = s->shown.wYear, month = s->shown.wMonth;
    const CalDayMarks sent[] = {{2024, 2, 0xFFFFFFFFu}, {2024, 13, 1}, {2024, 0, 1}, {1600, 5, 1}, {10000, 5, 1},
        {-2024, 5, 1}, {2025, 2, 0xFFFFFFFFu}, {2024, 6, 0}, {9999, 12, 0x40000001u}, {year, month, 1u << 9}};
    // The array ends where a page the tool may not read begins.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    auto* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD oldProtect;
    ASSERT_TRUE(VirtualProtect(pages + info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &oldProtect));
    auto* records = reinterpret_cast<CalDayMarks*>(pages + info.dwPageSize) - std::size(sent);
    std::memcpy(records, sent, sizeof sent);
    const auto address = reinterpret_cast<LPARAM>(records);
    const size_t asked = parent_->Received(CTN_GETDAYMARKS).size();

    for (WPARAM count : {WPARAM{0x80000000u}, WPARAM{0xFFFFFFFFu}, WPARAM{(9999 - 1601 + 1) * 12 + 1}})
        EXPECT_EQ(SendMessageA(tool, CTM_SETDAYMARKS, count, address), 0) << "count " << count;
    EXPECT_EQ(SendMessageA(tool, CTM_SETDAYMARKS, 3, 0), 0) << "no array";
    EXPECT_EQ(KeptMarks(s, 2024, 2), 0xDEADu) << "nothing taken";
    EXPECT_FALSE(CalNeedsPaint(tool));

    EXPECT_EQ(SendMessageA(tool, CTM_SETDAYMARKS, std::size(sent), address), 1);
    std::memset(records, 0x5A, sizeof sent);  // the tool holds a copy, not the address
    EXPECT_EQ(KeptMarks(s, 2024, 2), 0x1FFFFFFFu) << "29 days";
    EXPECT_EQ(KeptMarks(s, 2025, 2), 0x0FFFFFFFu) << "28 days";
    EXPECT_EQ(KeptMarks(s, 2024, 6), 0u);
    EXPECT_EQ(KeptMarks(s, 9999, 12), 0x40000001u);
    EXPECT_EQ(KeptMarks(s, year, month), 1u << 9);
    for (const auto& bad : {std::pair{2024, 13}, {2024, 0}, {1600, 5}, {10000, 5}, {-2024, 5}})
        EXPECT_EQ(KeptMarks(s, bad.first, bad.second), 0xDEADu) << bad.first << "-" << bad.second;
    EXPECT_EQ(parent_->Received(CTN_GETDAYMARKS).size(), asked) << "the month shown is known";
    EXPECT_TRUE(CalNeedsPaint(tool));
    UpdateWindow(tool);
    VirtualFree(pages, 0, MEM_RELEASE);
}

// A panel may answer the question with anything a host does: a count of 0
// (no endless asking), or the tool's destruction (the tool does nothing more,
// and a creation it ends gives no window).
TEST_F(HostRequests, AskingForMarksSurvivesWhatThePanelDoesMeanwhile)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    const size_t asked = parent_->Received(CTN_GETDAYMARKS).size();
    parent_->onNotification = [](const CalRecordedNotification& n) {
        if (n.message == CTN_GETDAYMARKS)
            SendMessageA(reinterpret_cast<HWND>(n.wParam), CTM_SETDAYMARKS, 0, 0);
    };
    SendMessageA(tool, WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(parent_->Received(CTN_GETDAYMARKS).size(), asked + 1);
    EXPECT_EQ(SendMessageA(tool, CTM_SETDAYMARKS, 0, 0), 1);
    EXPECT_EQ(parent_->Received(CTN_GETDAYMARKS).size(), asked + 2) << "asked again, once";

    parent_->onNotification = [](const CalRecordedNotification& n) {
        if (n.message == CTN_GETDAYMARKS)
            DestroyWindow(reinterpret_cast<HWND>(n.wParam));
    };
    SendMessageA(tool, WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_FALSE(IsWindow(tool));
    RECT r{0, 0, 200, 160};
    EXPECT_EQ(CalTestPlugin().create(parent_->window, &r, nullptr, 0, 0), nullptr);
    // The tear-down's ledger shows both records and their marks freed.
}

TEST_F(HostRequests, CreatePageMakesAChildDialogOfTheGivenParent)
{
    HWND tool = Create();
    ASSERT_NE(tool, nullptr);
    CalToolState* s = CalToolFromWindow(tool);
    HWND sheet = parent_->window;
    const auto page = reinterpret_cast<HWND>(
        SendMessageA(tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(sheet), MAKELPARAM(16, 20)));
    ASSERT_NE(page, nullptr);
    char cls[16] = "";
    GetClassNameA(page, cls, sizeof cls);
    EXPECT_STREQ(cls, "#32770");
    EXPECT_EQ(GetParent(page), sheet);
    RECT at;
    GetWindowRect(page, &at);
    MapWindowPoints(HWND_DESKTOP, sheet, reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.left, 16);
    EXPECT_EQ(at.top, 20);

    // While it is open, a new block shows on the page's buttons.
    CalToolSettings block = s->settings;
    block.weekNumbers = 1;
    block.firstDay = 3;
    ASSERT_EQ(SetSettings(tool, 132, &block), 0);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_WEEKNUMBERS), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_FIRSTDAY0 + 3), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_FIRSTDAY0), BST_UNCHECKED);
    DestroyWindow(page);

    // A parent that is no window: no page, and the tool carries on.
    EXPECT_EQ(SendMessageA(tool, CTM_CREATEPAGE, 0x1234, MAKELPARAM(16, 20)), 0);
    block.useBackground = 1;
    block.firstDay = 5;
    EXPECT_EQ(SetSettings(tool, 132, &block), 0);
    EXPECT_EQ(Bytes(s, 132), Bytes(&block, 132));
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
