// A calendar tool driven from the keyboard alone: the focus taken by a
// click or given by a host, the keys that move the selected day by days,
// weeks, months and years, return to today and pick the day, the menu opened
// with Shift+F10 and the menu key, the focus mark, and the keys reaching a
// tool that sits in a dialog box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "resource.h"
#include "tests/win32/support/modal_driver.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tool/tool_state.h"

namespace {

// Holds Ctrl and Shift down, as the thread's keyboard state reads them,
// while a key message is handled; lets them go afterwards.
class Modifiers {
public:
    Modifiers(bool control, bool shift)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = control ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~Modifiers() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

// A key pressed and released over the focused window, through the message
// loop as typed keys arrive (posted, then translated and dispatched).
void Type(UINT key, bool control = false, bool shift = false)
{
    const Modifiers held(control, shift);
    HWND focus = GetFocus();
    const UINT down = key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = key == VK_F10 ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageA(focus, down, key, 1);
    PostMessageA(focus, up, key, static_cast<LPARAM>(0xC0000001u));
    // Only the keys and what they lead to: a paint would hide whether the
    // key asked for one.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Step {
    UINT key;
    bool control;
    DWORD selected;  // afterwards (CalPackDate)
};

class Keyboard : public CalToolTest {
protected:
    HWND Create(int w = 200, int h = 160)
    {
        RECT r{0, 0, w, h};
        HWND tool = CalTestPlugin().create(parent_->window, &r, nullptr, 0, 0);
        CalPumpMessages();
        parent_->notifications.clear();  // the marks of today's month, asked on creation
        return tool;
    }

    static void Select(HWND tool, DWORD date, std::vector<CalRecordedNotification>& heard)
    {
        ASSERT_EQ(SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(date)), 1);
        heard.clear();
        ValidateRect(tool, nullptr);
    }

    // Every step: the selection, its month shown with both spinners where
    // the spinners' own steps would leave them, a repaint, and the host told
    // of a moved selection, or of nothing when it stayed.
    void ExpectSteps(HWND tool, DWORD from, const std::vector<Step>& steps)
    {
        const CalToolState* s = CalToolFromWindow(tool);
        Select(tool, from, parent_->notifications);
        for (const Step& step : steps) {
            SCOPED_TRACE(testing::Message() << "key " << step.key << " ctrl " << step.control << " to "
                                            << std::hex << step.selected);
            const DWORD before = static_cast<DWORD>(SendMessageA(tool, CTM_GETSELECTION, 0, 0));
            parent_->notifications.clear();
            ValidateRect(tool, nullptr);
            Type(step.key, step.control);
            EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(step.selected));
            EXPECT_EQ(s->shown.wYear, CalDateYear(step.selected));
            EXPECT_EQ(s->shown.wMonth, CalDateMonth(step.selected));
            EXPECT_EQ(CalSpinnerPosition(s->monthSpin), CalDateMonth(step.selected));
            EXPECT_EQ(CalSpinnerPosition(s->yearSpin), CalDateYear(step.selected));
            const auto changes = parent_->Received(CTN_SELCHANGE);
            if (step.selected == before) {
                EXPECT_TRUE(changes.empty());
                continue;
            }
            EXPECT_TRUE(CalNeedsPaint(tool));
            ASSERT_EQ(changes.size(), 1u);
            EXPECT_EQ(changes[0].wParam, reinterpret_cast<WPARAM>(tool));
            EXPECT_EQ(static_cast<DWORD>(changes[0].lParam), step.selected);
        }
        EXPECT_TRUE(parent_->Received(CTN_SETTINGSCHANGED).empty()) << "navigation changes no setting";
        EXPECT_TRUE(parent_->Received(CTN_SELECT).empty()) << "moving picks nothing";
    }
};

TEST_F(Keyboard, AClickOrTheHostGivesTheFocusAndEveryFocusChangeRepaints)
{
    HWND first = Create();
    HWND second = Create();
    EXPECT_EQ(SendMessageA(first, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);

    SendMessageA(first, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(GetFocus(), first);
    ValidateRect(first, nullptr);
    SetFocus(second);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_TRUE(CalNeedsPaint(first)) << "the mark goes with the focus";
    EXPECT_TRUE(CalNeedsPaint(second)) << "and comes with it";
}

TEST_F(Keyboard, KeysMoveTheSelectionByDaysWeeksMonthsAndYearsShowingItsMonth)
{
    HWND tool = Create();
    SetFocus(tool);
    ExpectSteps(tool, CalPackDate(2024, 1, 31),
        {
            {VK_RIGHT, false, CalPackDate(2024, 2, 1)},  // out of the month: the next one shows
            {VK_LEFT, false, CalPackDate(2024, 1, 31)},
            {VK_DOWN, false, CalPackDate(2024, 2, 7)},
            {VK_UP, false, CalPackDate(2024, 1, 31)},
            {VK_NEXT, false, CalPackDate(2024, 2, 29)},  // the shorter month's last day
            {VK_PRIOR, false, CalPackDate(2024, 1, 29)},  // then that day number
            {VK_NEXT, true, CalPackDate(2025, 1, 29)},
            {VK_PRIOR, true, CalPackDate(2024, 1, 29)},
            {VK_UP, false, CalPackDate(2024, 1, 22)},
            {VK_RIGHT, true, CalPackDate(2024, 1, 23)},  // Ctrl does not change the arrows
            {VK_LEFT, false, CalPackDate(2024, 1, 22)},
        });
    ExpectSteps(tool, CalPackDate(2023, 12, 31), {{VK_RIGHT, false, CalPackDate(2024, 1, 1)}});
    ExpectSteps(tool, CalPackDate(2024, 2, 29), {{VK_NEXT, true, CalPackDate(2025, 2, 28)}});
    // At the ends of the years the tool shows, a move that would leave them does nothing.
    ExpectSteps(tool, CalPackDate(9999, 12, 31),
        {{VK_RIGHT, false, CalPackDate(9999, 12, 31)}, {VK_DOWN, false, CalPackDate(9999, 12, 31)},
            {VK_NEXT, false, CalPackDate(9999, 12, 31)}, {VK_NEXT, true, CalPackDate(9999, 12, 31)},
            {VK_PRIOR, true, CalPackDate(9998, 12, 31)}});
    ExpectSteps(tool, CalPackDate(1601, 1, 1),
        {{VK_LEFT, false, CalPackDate(1601, 1, 1)}, {VK_UP, false, CalPackDate(1601, 1, 1)},
            {VK_PRIOR, false, CalPackDate(1601, 1, 1)}, {VK_PRIOR, true, CalPackDate(1601, 1, 1)}});
    // Browsed away with the spinners, a key moves on from the selection.
    ExpectSteps(tool, CalPackDate(2024, 6, 15), {});
    CalShowMonth(tool, 2001, 3);
    ExpectSteps(tool, CalPackDate(2024, 6, 15), {{VK_RIGHT, false, CalPackDate(2024, 6, 16)}});
}

TEST_F(Keyboard, HomeSelectsTodayEnterAndSpacePickAndOtherKeysDoNothing)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    HWND tool = Create();
    SetFocus(tool);
    const CalToolState* s = CalToolFromWindow(tool);
    Select(tool, CalPackDate(2001, 3, 5), parent_->notifications);
    Type(VK_HOME);
    const DWORD todayDate = CalPackDate(today.wYear, today.wMonth, today.wDay);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(todayDate));
    EXPECT_EQ(s->shown.wYear, today.wYear);
    EXPECT_EQ(s->shown.wMonth, today.wMonth);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), today.wYear);
    EXPECT_TRUE(CalNeedsPaint(tool));
    ASSERT_EQ(parent_->Received(CTN_SELCHANGE).size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(parent_->Received(CTN_SELCHANGE)[0].lParam), todayDate);

    Select(tool, CalPackDate(2001, 3, 5), parent_->notifications);
    for (UINT key : {UINT{VK_RETURN}, UINT{VK_SPACE}}) {
        parent_->notifications.clear();
        Type(key);
        ASSERT_EQ(parent_->notifications.size(), 1u) << key;
        EXPECT_EQ(parent_->notifications[0].message, static_cast<UINT>(CTN_SELECT));
        EXPECT_EQ(parent_->notifications[0].wParam, reinterpret_cast<WPARAM>(tool));
        EXPECT_EQ(static_cast<DWORD>(parent_->notifications[0].lParam), CalPackDate(2001, 3, 5));
    }
    parent_->notifications.clear();
    ValidateRect(tool, nullptr);
    for (UINT key : {UINT{VK_END}, UINT{VK_TAB}, UINT{'A'}})
        Type(key);
    EXPECT_EQ(SendMessageA(tool, CTM_GETSELECTION, 0, 0), static_cast<LRESULT>(CalPackDate(2001, 3, 5)));
    EXPECT_FALSE(CalNeedsPaint(tool));
    EXPECT_TRUE(parent_->notifications.empty());
}

TEST_F(Keyboard, KeysReachNoRecordOnceItIsGone)
{
    HWND tool = Create();
    SetFocus(tool);
    SendMessageA(tool, WM_DESTROY, 0, 0);
    ASSERT_EQ(CalToolFromWindow(tool), nullptr);
    for (UINT key : {UINT{VK_NEXT}, UINT{VK_PRIOR}, UINT{VK_LEFT}, UINT{VK_RIGHT}, UINT{VK_UP}, UINT{VK_DOWN},
             UINT{VK_HOME}, UINT{VK_RETURN}, UINT{VK_SPACE}, UINT{VK_APPS}})
        Type(key);
    Type(VK_NEXT, true);
    Type(VK_F10, false, true);
    EXPECT_EQ(SendMessageA(tool, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tool), -1), 0);
    EXPECT_EQ(SendMessageA(tool, WM_PRINTCLIENT, 0, PRF_CLIENT), 0);
    EXPECT_EQ(CalTestFindWindow("#32768"), nullptr) << "no menu without a record";
    DestroyWindow(tool);
}

class KeyboardMenu : public Keyboard {
protected:
    void TearDown() override
    {
        EXPECT_EQ(parent_->contextMenus, 0) << "the tool raises no WM_CONTEXTMENU towards its host";
        Keyboard::TearDown();
    }

    // Runs body, which opens the menu, and reads where the menu opened and
    // how many items it has; closes it with Escape.
    static bool OpenedAt(const std::function<void()>& body, POINT* at, int* items)
    {
        CalModalScript script;
        script.Then([&] {
            HMENU menu = CalTestOpenMenu();
            if (menu == nullptr)
                return false;
            *items = GetMenuItemCount(menu);
            RECT popup;
            GetWindowRect(CalTestFindWindow("#32768"), &popup);
            *at = POINT{popup.left, popup.top};
            PostMessageA(CalTestFindWindow("#32768"), WM_KEYDOWN, VK_ESCAPE, 0);
            return true;
        });
        return script.Run(body);
    }
};

TEST_F(KeyboardMenu, ShiftF10AndTheMenuKeyOpenTheMenuUnderTheTitle)
{
    HWND tool = Create(200, 160);
    SetFocus(tool);
    // The title's band: the inner rectangle's top row of eight, (160 - 6) / 8 = 19 high.
    POINT title{3, 3 + 19};
    ClientToScreen(tool, &title);
    for (const bool appsKey : {false, true}) {
        POINT at{};
        int items = 0;
        EXPECT_TRUE(OpenedAt([&] { appsKey ? Type(VK_APPS) : Type(VK_F10, false, true); }, &at, &items))
            << (appsKey ? "menu key" : "Shift+F10");
        EXPECT_EQ(items, 8);
        EXPECT_EQ(at.x, title.x);
        EXPECT_EQ(at.y, title.y);
    }
    // A context menu asked for with -1, -1 directly is the keyboard's too.
    POINT at{};
    int items = 0;
    EXPECT_TRUE(OpenedAt(
        [&] { SendMessageA(tool, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tool), MAKELPARAM(-1, -1)); }, &at,
        &items));
    EXPECT_EQ(at.x, title.x);
    EXPECT_EQ(at.y, title.y);
    EXPECT_TRUE(parent_->notifications.empty()) << "closing without a choice tells the host nothing";
}

TEST_F(KeyboardMenu, AHostsScreenPointOpensTheMenuThereAndARightClickStillWorks)
{
    HWND tool = Create(200, 160);
    POINT at{};
    int items = 0;
    EXPECT_TRUE(OpenedAt(
        [&] { SendMessageA(tool, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tool), MAKELPARAM(120, 90)); }, &at,
        &items));
    EXPECT_EQ(items, 8);
    EXPECT_EQ(at.x, 120);
    EXPECT_EQ(at.y, 90);

    EXPECT_TRUE(OpenedAt([&] { SendMessageA(tool, WM_RBUTTONUP, 0, MAKELPARAM(30, 20)); }, &at, &items));
    POINT click{30, 20};
    ClientToScreen(tool, &click);
    EXPECT_EQ(at.x, click.x);
    EXPECT_EQ(at.y, click.y);
}

// Pixels that differ, and whether every one lies on the ring one pixel
// inside the frame (x or y at 2, or at width - 3 / height - 3).
struct Difference {
    int count = 0;
    int offRing = 0;
};

Difference Compare(const std::vector<DWORD>& a, const std::vector<DWORD>& b, int w, int h)
{
    Difference d;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (a[static_cast<size_t>(y * w + x)] == b[static_cast<size_t>(y * w + x)])
                continue;
            ++d.count;
            const bool onRing = ((x == 2 || x == w - 3) && y >= 2 && y <= h - 3) ||
                ((y == 2 || y == h - 3) && x >= 2 && x <= w - 3);
            d.offRing += onRing ? 0 : 1;
        }
    return d;
}

// The keyboard-cue state a tool window reports, whatever the platform keeps.
WNDPROC g_toolProc = nullptr;
LRESULT g_uiState = 0;
LRESULT CALLBACK ReportUiState(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYUISTATE)
        return g_uiState;
    return CallWindowProcA(g_toolProc, window, message, wParam, lParam);
}

TEST_F(Keyboard, TheFocusMarkShowsOnlyWithTheFocusAndFollowsTheKeyboardCues)
{
    for (const LONG background : {0, 1}) {
        HWND tool = Create(200, 160);
        HWND other = Create(60, 40);
        CalToolFromWindow(tool)->settings.useBackground = background;
        // Another month than the selected day's: the mark goes round the face.
        CalShowMonth(tool, 2001, 3);
        SetFocus(other);
        const std::vector<DWORD> unfocused = CalPrintedPixels(tool);
        SetFocus(tool);
        const std::vector<DWORD> focused = CalPrintedPixels(tool);
        const Difference mark = Compare(unfocused, focused, 200, 160);
        EXPECT_GT(mark.count, 300) << "a dotted line round the face: about half of its 704 pixels";
        EXPECT_EQ(mark.offRing, 0) << "nothing but the ring inside the frame changes";

        // Keyboard cues hidden: no mark, as standard controls do; shown
        // again: the mark. The state is the one the window reports (Wine
        // keeps none for child windows, so the report is made here).
        g_toolProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReportUiState)));
        g_uiState = UISF_HIDEFOCUS;
        SendMessageA(tool, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        EXPECT_TRUE(CalNeedsPaint(tool)) << "a change of the cues repaints the focused tool";
        EXPECT_EQ(Compare(unfocused, CalPrintedPixels(tool), 200, 160).count, 0);
        g_uiState = 0;
        SendMessageA(tool, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        EXPECT_EQ(Compare(focused, CalPrintedPixels(tool), 200, 160).count, 0);
        SetWindowLongPtrA(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_toolProc));

        SetFocus(other);
        EXPECT_EQ(Compare(unfocused, CalPrintedPixels(tool), 200, 160).count, 0) << "without the focus, as before";

        // The selected day's month shown: the mark sits inside that day's cell alone.
        SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2001, 3, 14)));
        const std::vector<DWORD> away = CalPrintedPixels(tool);
        SetFocus(tool);
        const std::vector<DWORD> onDay = CalPrintedPixels(tool);
        const RECT cell = CalDayCell(tool, 14);
        int inside = 0, outside = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 200; ++x)
                if (away[static_cast<size_t>(y * 200 + x)] != onDay[static_cast<size_t>(y * 200 + x)])
                    ++(x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom ? inside : outside);
        EXPECT_GT(inside, 10) << "a dotted line inside the selected day's cell";
        EXPECT_EQ(outside, 0);
        DestroyWindow(other);
        DestroyWindow(tool);
    }
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A dialog box of the host's holding a tool: the dialog manager hands the
// tool the keys it asks for.
TEST_F(Keyboard, KeysReachAToolInsideADialogBox)
{
    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } templ{{WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 200, 150}, 0, 0, 0};
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &templ.t, parent_->window, EmptyDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT r{0, 0, 200, 160};
    HWND tool = CalTestPlugin().create(dialog, &r, nullptr, 0, 0);
    HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 170, 60, 20,
        dialog, reinterpret_cast<HMENU>(IDOK), GetModuleHandleA(nullptr), nullptr);
    SetFocus(tool);
    SendMessageA(tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(2024, 6, 15)));
    for (UINT key : {UINT{VK_RIGHT}, UINT{VK_NEXT}, UINT{VK_LEFT}}) {
        MSG msg{tool, WM_KEYDOWN, key, 1, 0, {}};
        if (!IsDialogMessageA(dialog, &msg))
            DispatchMessageA(&msg);
    }
    EXPECT_EQ(CalToolFromWindow(tool)->shown.wMonth, 7) << "right, page down, left: one month on";
    EXPECT_EQ(GetFocus(), tool) << "the arrows did not move the focus to the button";
    DestroyWindow(button);
    DestroyWindow(tool);
    DestroyWindow(dialog);
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
