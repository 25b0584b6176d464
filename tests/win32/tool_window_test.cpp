// Calendar tool windows made by the built library, driven as a host and a
// user drive them: creation with and without a settings block, the real
// spinners, the keys, the double click, the day check, the host asked for
// each month's marked days, the selected day set by the host and by clicks
// and told in order, the days' tooltip, painting through the window,
// destruction, and what every step leaves allocated.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <memory>
#include <utility>
#include <vector>

#include "resource.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/time_scale.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tool/tool_state.h"

namespace {

SYSTEMTIME Today()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

RECT RectIn(HWND window, HWND parent)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class ToolWindow : public CalToolTest {
protected:
    HWND Create(int w = 200, int h = 160, const CalToolSettings* settings = nullptr, int x = 0, int y = 0)
    {
        RECT r{x, y, x + w, y + h};
        return CalTestPlugin().create(parent_->window, &r, settings, 0, 0);
    }

    // A click on one arrow of a spinner: press and release, as the mouse does.
    static void Click(HWND spinner, bool right)
    {
        RECT r;
        GetClientRect(spinner, &r);
        const LPARAM at = MAKELPARAM(right ? r.right * 3 / 4 : r.right / 4, r.bottom / 2);
        SendMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(spinner, WM_LBUTTONUP, 0, at);
    }

    // A spinner's scroll report, as the control sends it to the tool.
    static void Report(HWND tool, HWND spinner, WORD code, WORD position)
    {
        SendMessageA(tool, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(spinner));
    }

    static void ExpectShown(HWND tool, int year, int month)
    {
        const CalToolState* s = CalToolFromWindow(tool);
        EXPECT_EQ(s->shown.wYear, year);
        EXPECT_EQ(s->shown.wMonth, month);
    }

    // The months the panel was asked to mark, in order, each asked by tool
    // with nothing marked yet.
    std::vector<std::pair<LONG, LONG>> MarksAsked(HWND tool) const
    {
        std::vector<std::pair<LONG, LONG>> months;
        for (const CalRecordedNotification& n : parent_->Received(CTN_GETDAYMARKS)) {
            CalDayMarks asked;
            std::memcpy(&asked, n.request.data(), sizeof asked);
            EXPECT_EQ(n.wParam, reinterpret_cast<WPARAM>(tool));
            EXPECT_EQ(asked.days, 0u);
            months.emplace_back(asked.year, asked.month);
        }
        return months;
    }
};

TEST_F(ToolWindow, ANewToolHasTheDefaultsAndShowsTodaysMonth)
{
    const SYSTEMTIME today = Today();
    HWND tool = Create(200, 160, nullptr, 10, 20);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(GetParent(tool), parent_->window);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(tool, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u);
    EXPECT_EQ(RectIn(tool, parent_->window).left, 10);
    EXPECT_EQ(RectIn(tool, parent_->window).bottom, 180);

    const CalToolState* s = CalToolFromWindow(tool);
    ASSERT_NE(s, nullptr);
    const CalToolSettings& set = s->settings;
    EXPECT_EQ(set.weekNumbers, 0);
    EXPECT_EQ(set.firstDay, 0);
    EXPECT_EQ(set.useBackground, 0);
    EXPECT_EQ(set.font.lfHeight, -9);
    EXPECT_EQ(set.font.lfWeight, 400);
    EXPECT_STREQ(set.font.lfFaceName, "Arial");
    LOGFONTA font{};
    font.lfHeight = -9;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "Arial");
    EXPECT_EQ(std::memcmp(&set.font, &font, sizeof font), 0) << "every other member and byte is zero";
    const CHOOSEFONTA zero{};
    EXPECT_EQ(std::memcmp(&set.chooseFont, &zero, sizeof zero), 0);
    EXPECT_EQ(std::memcmp(&s->appliedFont, &set.font, sizeof font), 0);
    EXPECT_EQ(s->window, tool);
    EXPECT_EQ(s->spinDelta, 0);

    EXPECT_EQ(s->shown.wYear, today.wYear);
    EXPECT_EQ(s->shown.wMonth, today.wMonth);
    EXPECT_EQ(s->shown.wDay, today.wDay);
    EXPECT_EQ(s->todayYear, today.wYear);
    EXPECT_EQ(s->todayMonth, today.wMonth);

    const struct {
        HWND spinner;
        int id;
        DWORD style;
        int lower, upper, position;
    } spinners[] = {{s->monthSpin, IDC_MONTHSPIN, 0x50000041, 1, 12, today.wMonth},
        {s->yearSpin, IDC_YEARSPIN, 0x50000040, 1601, 9999, today.wYear}};
    for (const auto& sp : spinners) {
        ASSERT_NE(sp.spinner, nullptr);
        EXPECT_EQ(GetParent(sp.spinner), tool);
        EXPECT_EQ(GetDlgCtrlID(sp.spinner), sp.id);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(sp.spinner, GWL_STYLE)) & sp.style, sp.style);
        EXPECT_EQ(GetWindowLongA(sp.spinner, GWL_STYLE) & UDS_ARROWKEYS, 0);
        int lower = 0, upper = 0;
        SendMessageA(
            sp.spinner, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
        EXPECT_EQ(lower, sp.lower);
        EXPECT_EQ(upper, sp.upper);
        EXPECT_EQ(CalSpinnerPosition(sp.spinner), sp.position);
    }
}

TEST_F(ToolWindow, ASettingsBlockIsTakenOverByteForByteAndToolsStayIndependent)
{
    CalToolSettings block;
    auto* bytes = reinterpret_cast<BYTE*>(&block);
    for (size_t i = 0; i < sizeof block; ++i)
        bytes[i] = static_cast<BYTE>(i * 37 + 11);  // stale handles and addresses included
    block.firstDay = 3;
    block.weekNumbers = 1;
    block.useBackground = 0;
    std::strcpy(block.font.lfFaceName, "Courier New");
    block.font.lfHeight = -12;
    const CalToolSettings kept = block;

    HWND a = Create(200, 160, &block);
    HWND b = Create(200, 160, &block, 220, 0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    CalToolState* sa = CalToolFromWindow(a);
    CalToolState* sb = CalToolFromWindow(b);
    EXPECT_NE(sa, sb);
    EXPECT_EQ(std::memcmp(&sa->settings, &kept, sizeof kept), 0);
    EXPECT_EQ(std::memcmp(&sa->appliedFont, &kept.font, sizeof kept.font), 0);

    sa->settings.weekNumbers = 0;
    sa->settings.font.lfHeight = -20;
    EXPECT_EQ(std::memcmp(&sb->settings, &kept, sizeof kept), 0) << "the other tool is untouched";
    EXPECT_EQ(std::memcmp(&block, &kept, sizeof kept), 0) << "the host's block is untouched";
    UpdateWindow(a);  // a stored block paints like any other
    UpdateWindow(b);
}

TEST_F(ToolWindow, AFailedCreationLeavesNothingAllocated)
{
    RECT r{0, 0, 200, 160};
    const CalLedgerCounts before = CalLedgerSnapshot();
    EXPECT_EQ(CalTestPlugin().create(reinterpret_cast<HWND>(0x1234), &r, nullptr, 0, 0), nullptr);
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    EXPECT_EQ(d.heapAllocated, 2) << "the record and its marks: " << d;
    EXPECT_EQ(d.LiveBlocks(), 0) << d;
    EXPECT_EQ(CalTestPlugin().create(parent_->window, nullptr, nullptr, 0, 0) != nullptr, true)
        << "no rectangle is an empty one";
}

TEST_F(ToolWindow, SpinnersSitInTheTopCornersForEverySize)
{
    HWND tool = Create(200, 160);
    const CalToolState* s = CalToolFromWindow(tool);
    const RECT month = RectIn(s->monthSpin, tool);
    const RECT year = RectIn(s->yearSpin, tool);
    EXPECT_EQ(month.left, 2);
    EXPECT_EQ(month.top, 2);
    EXPECT_EQ(month.right - month.left, 28);
    EXPECT_EQ(month.bottom - month.top, 19);
    EXPECT_EQ(year.left, 170);
    EXPECT_EQ(year.top, 2);
    EXPECT_EQ(year.right - year.left, 28);

    SetWindowPos(tool, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(RectIn(s->yearSpin, tool).left, 170) << "an empty client area moves nothing";

    SetWindowPos(tool, nullptr, 0, 0, 10, 160, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(RectIn(s->monthSpin, tool).right - RectIn(s->monthSpin, tool).left, 0);
    EXPECT_EQ(RectIn(s->yearSpin, tool).left, 8);

    SetWindowPos(tool, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(RectIn(s->yearSpin, tool).left, 400 - 56 - 2);
    EXPECT_EQ(RectIn(s->yearSpin, tool).bottom, 2 + 37);

    HWND empty = Create(0, 0);
    const RECT none = RectIn(CalToolFromWindow(empty)->monthSpin, empty);
    EXPECT_EQ(none.right - none.left, 1) << "a tool made empty keeps its spinners as made";
}

TEST_F(ToolWindow, TheMonthSpinnerCarriesIntoTheNextAndPreviousYear)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 2024, 12);
    Click(s->monthSpin, true);
    ExpectShown(tool, 2025, 1);
    EXPECT_EQ(CalSpinnerPosition(s->monthSpin), 1);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), 2025);
    EXPECT_GT(s->spinDelta, 0);
    EXPECT_TRUE(CalNeedsPaint(tool));

    ValidateRect(tool, nullptr);
    Click(s->monthSpin, false);
    ExpectShown(tool, 2024, 12);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), 2024);
    EXPECT_LT(s->spinDelta, 0);
    EXPECT_TRUE(CalNeedsPaint(tool));

    // Within a year the year stays, also on the spinner.
    CalShowMonth(tool, 2024, 11);
    Click(s->monthSpin, true);
    ExpectShown(tool, 2024, 12);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), 2024);

    // The end-of-scroll report after a step repeats its position: no change.
    Report(tool, s->monthSpin, SB_ENDSCROLL, 12);
    ExpectShown(tool, 2024, 12);
}

TEST_F(ToolWindow, TheCarryIsNotHeldToTheYearSpinnersRange)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 9999, 12);
    Click(s->monthSpin, true);
    ExpectShown(tool, 10000, 1);
    UpdateWindow(tool);
    CalShowMonth(tool, 1601, 1);
    Click(s->monthSpin, false);
    ExpectShown(tool, 1600, 12);
    UpdateWindow(tool);  // a year the locale formatter refuses still paints
}

TEST_F(ToolWindow, AReportBeforeAnyStepOnlyRepaints)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 2024, 5);
    Report(tool, s->monthSpin, SB_THUMBPOSITION, 9);
    ExpectShown(tool, 2024, 5);
    EXPECT_TRUE(CalNeedsPaint(tool));
}

TEST_F(ToolWindow, TheYearSpinnerChangesOnlyTheYear)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 2024, 2);
    s->shown.wDay = 31;  // today's day, longer than the February shown
    Click(s->yearSpin, true);
    ExpectShown(tool, 2025, 2);
    EXPECT_EQ(s->shown.wDay, 31);
    EXPECT_TRUE(CalNeedsPaint(tool));
    UpdateWindow(tool);
    Click(s->yearSpin, false);
    Click(s->yearSpin, false);
    ExpectShown(tool, 2023, 2);
    EXPECT_EQ(CalSpinnerPosition(s->monthSpin), 2);

    // The same year again changes nothing and does not repaint.
    ValidateRect(tool, nullptr);
    Report(tool, s->yearSpin, SB_ENDSCROLL, 2023);
    ExpectShown(tool, 2023, 2);
    EXPECT_FALSE(CalNeedsPaint(tool));
}

TEST_F(ToolWindow, NotificationsOfOtherControlsAreIgnored)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = s->yearSpin;
    nm.hdr.idFrom = IDC_YEARSPIN;
    nm.hdr.code = UDN_DELTAPOS;
    nm.iDelta = -1;
    EXPECT_EQ(SendMessageA(tool, WM_NOTIFY, IDC_YEARSPIN, reinterpret_cast<LPARAM>(&nm)), 0);
    EXPECT_EQ(s->spinDelta, 0);
    EXPECT_EQ(SendMessageA(tool, WM_NOTIFY, IDC_MONTHSPIN, 0), 0) << "no record, no crash";
    nm.iDelta = 3;
    EXPECT_EQ(SendMessageA(tool, WM_NOTIFY, IDC_MONTHSPIN, reinterpret_cast<LPARAM>(&nm)), 0);
    EXPECT_EQ(s->spinDelta, 3) << "the month spinner's step is kept whatever the code";
}

TEST_F(ToolWindow, ADoubleClickReturnsToTodaysMonth)
{
    const SYSTEMTIME today = Today();
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 1999, today.wMonth == 7 ? 8 : 7);
    EXPECT_EQ(SendMessageA(tool, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100)), 0);
    ExpectShown(tool, today.wYear, today.wMonth);
    EXPECT_EQ(CalSpinnerPosition(s->monthSpin), today.wMonth);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), today.wYear);
    EXPECT_TRUE(CalNeedsPaint(tool));

    ValidateRect(tool, nullptr);
    SendMessageA(tool, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100));
    EXPECT_TRUE(CalNeedsPaint(tool)) << "today's month again still repaints";
}

TEST_F(ToolWindow, TheDayCheckFollowsOnlyAChangedDayNumber)
{
    const SYSTEMTIME today = Today();
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);

    // The same day number: browsing stays where it is.
    CalShowMonth(tool, 2001, 3);
    EXPECT_EQ(SendMessageA(tool, WM_TIMER, IDT_DAYCHECK, 0), 0);
    ExpectShown(tool, 2001, 3);
    EXPECT_FALSE(CalNeedsPaint(tool));

    // Another day number: back to today, whatever the timer id; a selection
    // on the day that was today goes to the new today.
    s->shown.wDay = static_cast<WORD>(today.wDay % 28 + 1);
    s->todayMonth = 1;
    s->selected = CalPackDate(today.wYear, 1, s->shown.wDay);
    parent_->notifications.clear();
    SendMessageA(tool, WM_TIMER, 77, 0);
    const DWORD todayDate = CalPackDate(today.wYear, today.wMonth, today.wDay);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(todayDate));
    ASSERT_EQ(parent_->Received(CTN_SELCHANGE).size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(parent_->Received(CTN_SELCHANGE)[0].lParam), todayDate);
    ExpectShown(tool, today.wYear, today.wMonth);
    EXPECT_EQ(s->shown.wDay, today.wDay);
    EXPECT_EQ(s->todayMonth, today.wMonth);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), today.wYear);
    EXPECT_TRUE(CalNeedsPaint(tool));

    // A selection elsewhere stays where it is, while the view returns.
    SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2001, 3, 5)));
    s->shown.wDay = static_cast<WORD>(today.wDay % 28 + 1);
    SendMessageA(tool, WM_TIMER, IDT_DAYCHECK, 0);
    ExpectShown(tool, today.wYear, today.wMonth);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(CalPackDate(2001, 3, 5)));
}

TEST_F(ToolWindow, TheDayCheckRunsEveryTwoSeconds)
{
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 2001, 3);
    s->shown.wDay = static_cast<WORD>(Today().wDay % 28 + 1);
    const DWORD start = GetTickCount();
    while (s->shown.wYear == 2001 && GetTickCount() - start < CalTestScaled(5000))
        CalPumpMessages(50);
    const DWORD waited = GetTickCount() - start;
    EXPECT_EQ(s->shown.wYear, Today().wYear) << "no day check within " << waited << " ms";
    EXPECT_GE(waited, 500u) << "the check is periodic, not immediate";
}

// Every way to another month asks the panel for its marks, once per month:
// creation, both spinners, the keys, the double click, the day check; a
// count of 0 forgets them all and asks at once for the month shown.
TEST_F(ToolWindow, TheHostIsAskedToMarkEachMonthAboutToBeShownOnce)
{
    const SYSTEMTIME today = Today();
    const std::pair<LONG, LONG> now{today.wYear, today.wMonth};
    parent_->dayMarks = [](LONG, LONG month) { return DWORD{1} << month; };
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    std::vector<std::pair<LONG, LONG>> expected{now};
    EXPECT_EQ(MarksAsked(tool), expected) << "on creation";

    const auto key = [tool](UINT k) { SendMessageA(tool, WM_KEYDOWN, k, 1); };
    CalShowMonth(tool, 2030, 12);  // set directly: nothing asked
    Click(s->monthSpin, true);     // the carry into the next year
    Click(s->yearSpin, true);
    // The keys move on from the selection, put where the spinners went (no month asked).
    EXPECT_EQ(SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2032, 1, 15))), 1);
    key(VK_NEXT);
    key(VK_PRIOR);  // known already
    key(VK_NEXT);
    key(VK_NEXT);
    expected.insert(expected.end(), {{2031, 1}, {2032, 1}, {2032, 2}, {2032, 3}});
    ExpectShown(tool, 2032, 3);
    EXPECT_EQ(MarksAsked(tool), expected) << "the spinners and the keys";

    EXPECT_EQ(SendMessageA(tool, CTM_SETDAYMARKS, 0, 0), 1);
    expected.emplace_back(2032, 3);
    SendMessageA(tool, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100));
    expected.push_back(now);  // forgotten with the rest
    EXPECT_EQ(MarksAsked(tool), expected) << "a count of 0, then the double click";

    CalShowMonth(tool, 2031, 1);
    key(VK_HOME);  // today's month is known again: not asked
    EXPECT_EQ(MarksAsked(tool), expected);

    CalShowMonth(tool, 2030, 5);
    EXPECT_EQ(SendMessageA(tool, CTM_SETDAYMARKS, 0, 0), 1);
    s->shown.wDay = static_cast<WORD>(today.wDay % 28 + 1);
    SendMessageA(tool, WM_TIMER, IDT_DAYCHECK, 0);
    expected.insert(expected.end(), {{2030, 5}, now});
    EXPECT_EQ(MarksAsked(tool), expected) << "a count of 0, then the change of day";

    // Months the tool cannot show are not asked about.
    Report(tool, s->yearSpin, SB_THUMBPOSITION, 10000);
    Report(tool, s->yearSpin, SB_THUMBPOSITION, 0);
    EXPECT_EQ(MarksAsked(tool), expected);
}

// The messages the panel heard, in order, with the dates they carry, and emptied.
std::vector<std::pair<UINT, DWORD>> Heard(CalTestParent& panel)
{
    std::vector<std::pair<UINT, DWORD>> heard;
    for (const CalRecordedNotification& n : panel.notifications)
        heard.emplace_back(n.message, n.message == CTN_GETDAYMARKS ? 0 : static_cast<DWORD>(n.lParam));
    panel.notifications.clear();
    return heard;
}

TEST_F(ToolWindow, TheHostSetsAndReadsTheSelectionAndHearsEveryMoveInOrder)
{
    const SYSTEMTIME today = Today();
    HWND tool = Create();
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0),
        static_cast<LRESULT>(CalPackDate(today.wYear, today.wMonth, today.wDay)))
        << "today at first";
    parent_->dayMarks = [](LONG, LONG) { return DWORD{0}; };
    parent_->notifications.clear();
    using Heard_ = std::vector<std::pair<UINT, DWORD>>;
    // Dates that do not exist or lie outside the years shown: 0, nothing changes.
    const DWORD before = static_cast<DWORD>(SendMessageA(tool, CTM_GETSELECTION, 0, 0));
    for (const uint32_t bad : {CalPackDate(2023, 2, 29), CalPackDate(2024, 4, 31), CalPackDate(2024, 13, 1),
             CalPackDate(2024, 0, 1), CalPackDate(2024, 1, 0), CalPackDate(1600, 12, 31), CalPackDate(10000, 1, 1),
             uint32_t{0}, uint32_t{0xFFFFFFFF}}) {
        EXPECT_EQ(SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(bad)), 0) << std::hex << bad;
        EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(before));
    }
    ExpectShown(tool, today.wYear, today.wMonth);
    EXPECT_TRUE(Heard(*parent_).empty());

    // From the host: the month is shown (its marks asked first), then the move told.
    EXPECT_EQ(SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 2, 29))), 1);
    ExpectShown(tool, 2024, 2);
    EXPECT_EQ(CalSpinnerPosition(CalToolFromWindow(tool)->yearSpin), 2024);
    EXPECT_EQ(Heard(*parent_), (Heard_{{CTN_GETDAYMARKS, 0}, {CTN_SELCHANGE, CalPackDate(2024, 2, 29)}}));
    EXPECT_EQ(SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 2, 29))), 1);
    EXPECT_TRUE(Heard(*parent_).empty()) << "the same day again: no move";

    // A click on a day selects it, then picks it; on the selected day it only
    // picks; off the days it does nothing; a double click returns to today.
    const auto click = [tool](int day) {
        const RECT c = CalDayCell(tool, day);
        SendMessageA(tool, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((c.left + c.right) / 2, (c.top + c.bottom) / 2));
        SendMessageA(tool, WM_LBUTTONUP, 0, MAKELPARAM((c.left + c.right) / 2, (c.top + c.bottom) / 2));
    };
    click(20);
    EXPECT_EQ(Heard(*parent_),
        (Heard_{{CTN_SELCHANGE, CalPackDate(2024, 2, 20)}, {CTN_SELECT, CalPackDate(2024, 2, 20)}}));
    click(20);
    EXPECT_EQ(Heard(*parent_), (Heard_{{CTN_SELECT, CalPackDate(2024, 2, 20)}}));
    SendMessageA(tool, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));  // the title
    EXPECT_TRUE(Heard(*parent_).empty());
    SendMessageA(tool, WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(Heard(*parent_), (Heard_{{CTN_GETDAYMARKS, 0}, {CTN_SELCHANGE, CalPackDate(2024, 3, 20)}}));
    SendMessageA(tool, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 5));
    const auto heard = Heard(*parent_);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), (std::pair<UINT, DWORD>{CTN_SELCHANGE, CalPackDate(today.wYear, today.wMonth, today.wDay)}));
}

// A right-to-left panel mirrors the tool: a click lands on the day drawn
// under it, counted from the right.
TEST_F(ToolWindow, AClickSelectsTheDayUnderItInAMirroredPanel)
{
    SetWindowLongA(parent_->window, GWL_EXSTYLE, GetWindowLongA(parent_->window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
    HWND tool = Create();
    ASSERT_NE(GetWindowLongA(tool, GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
    SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 5, 1)));
    // The screen point of day 5's cell (a Sunday, the first column) as the
    // painter draws it, through the mirrored window.
    const RECT c = CalDayCell(tool, 5);
    POINT at{(c.left + c.right) / 2, (c.top + c.bottom) / 2};
    ClientToScreen(tool, &at);
    RECT onScreen;
    GetWindowRect(tool, &onScreen);
    EXPECT_GT(at.x, onScreen.left + (onScreen.right - onScreen.left) * 3 / 4) << "the first column, on the right";
    ScreenToClient(tool, &at);
    SendMessageA(tool, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(CalPackDate(2024, 5, 5)));
}

BOOL CALLBACK FindTip(HWND w, LPARAM found)
{
    char name[32] = {};
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

HWND AnyTip()
{
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTip, reinterpret_cast<LPARAM>(&tip));
    return tip;
}

// A day's tooltip text, as the tooltip itself asks for it.
std::wstring TipText(HWND tool, UINT_PTR day)
{
    // The tool's is the only tooltip of the case.
    HWND tip = AnyTip();
    if (tip == nullptr)
        return L"(no tooltip)";
    wchar_t text[1024] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = tool;
    info.uId = day;
    info.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST_F(ToolWindow, HoveringADayShowsItsLongDateAndTheHostsTextCutToWholeCharacters)
{
    HWND tool = Create();
    SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 3, 1)));
    const RECT c = CalDayCell(tool, 5);
    SendMessageA(tool, WM_MOUSEMOVE, 0, MAKELPARAM(c.left + 1, c.top + 1));
    SYSTEMTIME date{2024, 3, 2, 5, 0, 0, 0, 0};
    wchar_t longDate[128];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, longDate, 128), 0);

    EXPECT_EQ(TipText(tool, 5), longDate) << "a host that does not answer";
    std::wstring note(300, L'x');
    note[254] = 0xD83D;  // a surrogate pair across the last unit the host may write
    note[255] = 0xDE00;
    parent_->dayText = [&note](DWORD d) { return d == CalPackDate(2024, 3, 5) ? L"Dentist" : note.c_str(); };
    parent_->notifications.clear();
    EXPECT_EQ(TipText(tool, 5), std::wstring(longDate) + L"\r\nDentist");
    const auto asked = parent_->Received(CTN_GETDAYTEXT);
    ASSERT_EQ(asked.size(), 1u);
    CalDayText record;
    std::memcpy(&record, asked[0].request.data(), sizeof record);
    EXPECT_EQ(asked[0].wParam, reinterpret_cast<WPARAM>(tool));
    EXPECT_EQ(record.date, CalPackDate(2024, 3, 5));
    EXPECT_EQ(record.capacity, 256);
    const std::wstring cut = TipText(tool, 6);
    ASSERT_GT(cut.size(), 256u);
    EXPECT_EQ(cut.substr(cut.size() - 256), L"\r\n" + note.substr(0, 254)) << "the split pair is left out whole";

    DestroyWindow(tool);
    EXPECT_EQ(AnyTip(), nullptr) << "the tooltip goes with the tool";
}

// A host may destroy the tool inside any question or notice: the tool then
// sends nothing more, and its tooltip goes once it has its answer.
TEST_F(ToolWindow, AHostThatDestroysTheToolWhileToldOrAskedEndsIt)
{
    for (const UINT at : {UINT{CTN_SELCHANGE}, UINT{CTN_GETDAYTEXT}}) {
        HWND tool = Create();
        SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 3, 1)));
        const RECT c = CalDayCell(tool, 5);
        const LPARAM point = MAKELPARAM(c.left + 1, c.top + 1);
        SendMessageA(tool, WM_MOUSEMOVE, 0, point);
        parent_->dayText = [](DWORD) { return L"text"; };
        parent_->onNotification = [at](const CalRecordedNotification& n) {
            if (n.message == at)
                DestroyWindow(reinterpret_cast<HWND>(n.wParam));
        };
        parent_->notifications.clear();
        if (at == CTN_SELCHANGE)
            SendMessageA(tool, WM_LBUTTONDOWN, MK_LBUTTON, point);
        else
            TipText(tool, 5);
        EXPECT_FALSE(IsWindow(tool));
        EXPECT_EQ(parent_->notifications.size(), 1u) << "nothing after " << at;
        CalPumpMessages(50);
        EXPECT_EQ(AnyTip(), nullptr);
        parent_->onNotification = nullptr;
    }
}

TEST_F(ToolWindow, DestructionFreesTheRecordAndStopsTheTimer)
{
    HWND tool = Create();
    ASSERT_NE(CalToolFromWindow(tool), nullptr);
    const CalLedgerCounts before = CalLedgerSnapshot();
    EXPECT_EQ(SendMessageA(tool, WM_DESTROY, 0, 0), 0);
    EXPECT_EQ(CalToolFromWindow(tool), nullptr);
    EXPECT_FALSE(KillTimer(tool, IDT_DAYCHECK)) << "no timer left to stop";
    EXPECT_EQ((CalLedgerSnapshot() - before).heapFreed, 2) << "the record and its marks";

    // What the window still receives finds no record and does nothing.
    SendMessageA(tool, WM_TIMER, IDT_DAYCHECK, 0);
    SendMessageA(tool, WM_LBUTTONDBLCLK, 0, 0);
    Report(tool, nullptr, SB_THUMBPOSITION, 5);
    SendMessageA(tool, WM_SIZE, 0, 0);
    InvalidateRect(tool, nullptr, FALSE);
    UpdateWindow(tool);
    EXPECT_FALSE(CalNeedsPaint(tool)) << "a paint without a record still validates";
    DestroyWindow(tool);
    EXPECT_EQ((CalLedgerSnapshot() - before).heapFreed, 2) << "freed once";
}

TEST_F(ToolWindow, PaintingAsksTheHostForItsBackgroundOnlyWhenTheOptionIsOn)
{
    HWND tool = Create(200, 160);
    CalToolState* s = CalToolFromWindow(tool);
    UpdateWindow(tool);
    EXPECT_TRUE(parent_->Received(CTN_PAINTBACKGROUND).empty());
    EXPECT_EQ(SendMessageA(tool, WM_ERASEBKGND, 0, 0), -1);

    s->settings.useBackground = 1;
    InvalidateRect(tool, nullptr, FALSE);
    UpdateWindow(tool);
    const auto asked = parent_->Received(CTN_PAINTBACKGROUND);
    ASSERT_EQ(asked.size(), 1u) << "once per paint";
    EXPECT_EQ(asked[0].wParam, 0u);
    CalBackgroundRequest request;
    std::memcpy(&request, asked[0].request.data(), sizeof request);
    EXPECT_EQ(request.window, tool);
    EXPECT_NE(request.dc, nullptr);
    EXPECT_EQ(request.rect.left, 0);
    EXPECT_EQ(request.rect.top, 0);
    EXPECT_EQ(request.rect.right, 200);
    EXPECT_EQ(request.rect.bottom, 160);
    for (DWORD word : request.reserved)
        EXPECT_EQ(word, 0u);

    // Nothing to paint: no paint, no request.
    UpdateWindow(tool);
    EXPECT_EQ(parent_->Received(CTN_PAINTBACKGROUND).size(), 1u);
}

TEST_F(ToolWindow, WhatTheWindowShowsIsTheComposedView)
{
    // The face shows the button face with the option off and the host's
    // colour with it on, read back from the screen: from a panel on top, in
    // a corner that the other test programs' windows keep clear of.
    parent_ = std::make_unique<CalTestParent>(400, 300, 820, 680, CalPanelLayer::Topmost);
    HWND tool = Create(200, 160);
    CalToolState* s = CalToolFromWindow(tool);
    CalShowMonth(tool, 2024, 4);
    auto faceColour = [&] {
        InvalidateRect(tool, nullptr, FALSE);
        UpdateWindow(tool);
        HDC dc = GetDC(tool);
        const COLORREF c = GetPixel(dc, 3, 158 - 3);
        ReleaseDC(tool, dc);
        return c;
    };
    EXPECT_EQ(faceColour(), GetSysColor(COLOR_BTNFACE));
    s->settings.useBackground = 1;
    EXPECT_EQ(faceColour(), parent_->background);
}

TEST_F(ToolWindow, ManyToolsComeAndGoWithoutLeaving)
{
    for (int i = 0; i < 100; ++i) {
        HWND tool = Create(160 + i, 120 + i);
        ASSERT_NE(tool, nullptr);
        CalToolFromWindow(tool)->settings.weekNumbers = i & 1;
        CalToolFromWindow(tool)->settings.useBackground = (i >> 1) & 1;
        UpdateWindow(tool);
        DestroyWindow(tool);
    }
    // The ledger's tear-down check counts what is left.
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
