// The About box and the properties page, driven through the platform's own
// dialog manager: the box's texts, ways of closing and mouse sequence; the
// page's placement, labels, check states, apply, font chooser and binding
// to its tool, also when the tool goes first.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/about_box.h"
#include "dialogs/about_sequence.h"
#include "dialogs/properties_page.h"
#include "plugin/module.h"
#include "resource.h"
#include "tests/win32/support/import_hooks.h"
#include "tests/win32/support/ledger_expectations.h"
#include "tests/win32/support/modal_driver.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tool/tool_settings.h"
#include "tool/tool_state.h"

namespace {

// The library's objects and resources are linked into this program.
const HMODULE kExe = GetModuleHandleA(nullptr);

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string String(UINT id)
{
    char text[256] = "";
    LoadStringA(kExe, id, text, sizeof text);
    return text;
}

bool Checked(HWND page, int id)
{
    return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<int> CheckedDays(HWND page)
{
    std::vector<int> days;
    for (int i = 0; i < 7; ++i)
        if (Checked(page, IDC_FIRSTDAY0 + i))
            days.push_back(i);
    return days;
}

void Click(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void Apply(HWND page, WORD code = 0)
{
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PAGEAPPLY, code), 0);
}

CalToolSettings Settings(LONG weekNumbers, LONG firstDay, LONG useBackground)
{
    CalToolSettings s;
    CalSetDefaultSettings(&s);
    s.weekNumbers = weekNumbers;
    s.firstDay = firstDay;
    s.useBackground = useBackground;
    return s;
}

// What the box showed after each posted mouse message.
struct AboutRun {
    bool ran = false;
    std::string firstCaption;
    std::vector<int32_t> clicks;
    std::vector<std::string> captions;
};

struct MouseEvent {
    UINT message;
    bool toOkButton = false;
};

// Opens an About box over owner and posts the events one per tick, each to
// an empty spot of the box (or to its OK button), then closes it with OK.
AboutRun DriveAbout(HWND owner, const std::vector<MouseEvent>& events)
{
    AboutRun run;
    HWND box = nullptr;
    LPARAM spot = 0;
    CalModalScript script;
    script.Then([&] {
        box = CalTestFindWindow("#32770");
        if (box == nullptr)
            return false;
        RECT r{4, 60, 4, 60};  // dialog units: left of the OK button, below the texts
        MapDialogRect(box, &r);
        spot = MAKELPARAM(r.left, r.top);
        run.firstCaption = Text(box);
        return true;
    });
    for (size_t i = 0; i <= events.size(); ++i) {
        script.Then([&, i] {
            // Timer ticks come only once the posted message has been handled.
            if (i > 0) {
                run.clicks.push_back(g_aboutClicks);
                run.captions.push_back(Text(box));
            }
            if (i == events.size()) {
                Click(box, IDOK);
                return true;
            }
            const MouseEvent& e = events[i];
            PostMessageA(e.toOkButton ? GetDlgItem(box, IDOK) : box, e.message, 0,
                e.toOkButton ? MAKELPARAM(4, 4) : spot);
            return true;
        });
    }
    run.ran = script.Run([&] { CalShowAbout(owner); });
    return run;
}

// The hidden caption as the scrambling rule gives it back, worked out here
// independently of the box.
std::string Unscrambled()
{
    std::string out;
    for (const char* p = g_hiddenCaption; *p != '\0'; ++p)
        out += static_cast<char>(static_cast<unsigned char>(static_cast<unsigned char>(*p) - 31u) ^ 0x7Fu);
    return out;
}

using SetWindowPosFn = BOOL(WINAPI*)(HWND, HWND, int, int, int, int, UINT);
SetWindowPosFn g_realSetWindowPos = nullptr;
struct Move {
    HWND window, after;
    int x, y, cx, cy;
    UINT flags;
};
std::vector<Move> g_moves;
BOOL WINAPI RecordSetWindowPos(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    g_moves.push_back({w, after, x, y, cx, cy, flags});
    return g_realSetWindowPos(w, after, x, y, cx, cy, flags);
}

using DialogBoxParamFn = INT_PTR(WINAPI*)(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM);
DialogBoxParamFn g_realDialogBoxParam = nullptr;
std::vector<HWND> g_dialogOwners;
INT_PTR WINAPI RecordDialogBoxParam(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param)
{
    g_dialogOwners.push_back(owner);
    return g_realDialogBoxParam(instance, name, owner, proc, param);
}

WNDPROC g_toolProc = nullptr;
int g_erases = 0;
LRESULT CALLBACK CountErases(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        ++g_erases;
    return CallWindowProcA(g_toolProc, window, message, wParam, lParam);
}

class Dialogs : public testing::Test {
protected:
    void SetUp() override
    {
        // A cursor over a box would send it mouse moves of its own.
        SetCursorPos(1270, 1010);
        g_aboutClicks = 0;
        before_ = CalLedgerSnapshot();
    }

    void TearDown() override
    {
        panel_.reset();
        CalPumpMessages();
        EXPECT_EQ(g_pageWindow, nullptr);
        CalExpectNothingLeft(before_);
    }

    // Tools sit clear of the page, so that the page never covers them.
    HWND Tool(const CalToolSettings* settings = nullptr)
    {
        RECT r{560, 300, 760, 450};
        return CalToolCreate(panel_->window, &r, settings, 0, 0);
    }

    HWND Page(HWND tool, HWND parent = nullptr, WORD x = 16, WORD y = 40)
    {
        return reinterpret_cast<HWND>(SendMessageA(tool, CTM_CREATEPAGE,
            reinterpret_cast<WPARAM>(parent != nullptr ? parent : panel_->window), MAKELPARAM(x, y)));
    }

    size_t Changes() const { return panel_->Received(CTN_SETTINGSCHANGED).size(); }

    std::unique_ptr<CalTestParent> panel_ = std::make_unique<CalTestParent>(800, 500);
    CalLedgerCounts before_{};
};

TEST_F(Dialogs, AboutBoxShowsItsTextsAndClosesWithOneEveryWay)
{
    EXPECT_EQ(String(IDS_ABOUT), "About Calendar");
    EXPECT_EQ(String(IDS_TOOLNAME), "Calendar");
    ASSERT_FALSE(String(IDS_NOTICE).empty());
    const char* ways[] = {"OK clicked", "IDOK", "Enter", "Escape"};
    for (int way = 0; way < 4; ++way) {
        std::string caption, name, notice;
        HWND owner = nullptr;
        LONG style = 0;
        INT_PTR result = -1;
        CalModalScript script;
        script.Then([&] {
            HWND box = CalTestFindWindow("#32770");
            if (box == nullptr)
                return false;
            caption = Text(box);
            name = Text(GetDlgItem(box, IDC_ABOUT_NAME));
            notice = Text(GetDlgItem(box, IDC_ABOUT_NOTICE));
            owner = GetWindow(box, GW_OWNER);
            style = GetWindowLongA(box, GWL_STYLE);
            // Keys are posted to the box; the modal loop's dialog manager turns them into commands.
            if (way == 0)
                Click(box, IDOK);
            else if (way == 1)
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            else
                PostMessageA(box, WM_KEYDOWN, way == 2 ? VK_RETURN : VK_ESCAPE, 0);
            return true;
        });
        // A box left open is closed by the script's deadline, and Run then fails.
        EXPECT_TRUE(script.Run([&] {
            result = DialogBoxParamW(
                g_moduleInstance, MAKEINTRESOURCEW(IDD_ABOUT), panel_->window, CalAboutProc, 0);
        })) << ways[way];
        EXPECT_EQ(result, 1) << ways[way];
        EXPECT_EQ(caption, String(IDS_ABOUT));
        EXPECT_EQ(name, String(IDS_TOOLNAME));
        EXPECT_EQ(notice, String(IDS_NOTICE));
        EXPECT_EQ(owner, panel_->window);
        EXPECT_EQ(style & WS_SYSMENU, 0);
        EXPECT_NE(style & WS_CAPTION, 0);
    }
}

TEST_F(Dialogs, RightLeftRightLeftDoubleClicksRevealTheHiddenCaption)
{
    const std::string hidden = Unscrambled();
    ASSERT_EQ(hidden.size(), 20u);
    for (char c : hidden)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "unprintable " << int(static_cast<unsigned char>(c));
    EXPECT_NE(hidden, "About Calendar");

    const UINT R = WM_RBUTTONDBLCLK, L = WM_LBUTTONDBLCLK, M = WM_MOUSEMOVE;
    AboutRun twice = DriveAbout(panel_->window, {{R}, {L}, {R}, {L}, {R}, {L}, {R}, {L}});
    EXPECT_TRUE(twice.ran);
    EXPECT_EQ(twice.firstCaption, "About Calendar");
    EXPECT_EQ(twice.clicks, (std::vector<int32_t>{1, 2, 3, 0, 1, 2, 3, 0}));
    ASSERT_EQ(twice.captions.size(), 8u);
    EXPECT_EQ(twice.captions[2], "About Calendar");
    EXPECT_EQ(twice.captions[3], hidden);
    EXPECT_EQ(twice.captions[7], hidden) << "a repeat starts again from the stored text";

    // A move between steps starts again; so does any step out of order.
    AboutRun broken = DriveAbout(
        panel_->window, {{R}, {L}, {M}, {R}, {L}, {R}, {M}, {L}, {R}, {R}, {L}, {R}, {L}, {L}, {L}});
    EXPECT_TRUE(broken.ran);
    EXPECT_EQ(broken.firstCaption, "About Calendar") << "a new box shows its own caption again";
    EXPECT_EQ(broken.clicks, (std::vector<int32_t>{1, 2, 0, 1, 2, 3, 0, 0, 1, 0, 0, 1, 2, 0, 0}));
    for (const std::string& caption : broken.captions)
        EXPECT_EQ(caption, "About Calendar");
}

TEST_F(Dialogs, OnlyTheBoxsOwnDoubleClicksCountAndProgressOutlivesTheBox)
{
    const UINT R = WM_RBUTTONDBLCLK, L = WM_LBUTTONDBLCLK;
    // Single presses and releases surround every double-click and change
    // nothing; neither do double-clicks that reach the OK button.
    AboutRun run = DriveAbout(panel_->window,
        {{R}, {WM_RBUTTONDOWN}, {WM_RBUTTONUP}, {WM_LBUTTONDOWN}, {WM_LBUTTONUP}, {L}, {WM_LBUTTONDOWN},
            {WM_LBUTTONUP}, {WM_RBUTTONDOWN}, {WM_RBUTTONUP}, {WM_MOUSEMOVE}, {R, true}, {R}, {L, true},
            {R, true}, {L}});
    EXPECT_TRUE(run.ran);
    EXPECT_EQ(run.clicks, (std::vector<int32_t>{1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 0, 0, 1, 1, 1, 2}));
    EXPECT_EQ(g_aboutClicks, 2) << "closing the box keeps the progress";

    AboutRun rest = DriveAbout(panel_->window, {{R}, {L}});
    EXPECT_TRUE(rest.ran);
    EXPECT_EQ(rest.firstCaption, "About Calendar");
    EXPECT_EQ(rest.clicks, (std::vector<int32_t>{3, 0}));
    ASSERT_EQ(rest.captions.size(), 2u);
    EXPECT_EQ(rest.captions[1], Unscrambled());
}

TEST_F(Dialogs, ThePageIsPlacedAndLabelledAsTheHostAsks)
{
    HWND tool = Tool();
    ASSERT_NE(tool, nullptr);
    // Wine clamps window positions, so the unsigned halves are read from the call itself.
    g_moves.clear();
    g_realSetWindowPos = reinterpret_cast<SetWindowPosFn>(
        CalTestPatchImport(kExe, "USER32.dll", "SetWindowPos", reinterpret_cast<void*>(&RecordSetWindowPos)));
    ASSERT_NE(g_realSetWindowPos, nullptr);
    HWND page = Page(tool, nullptr, 16, 65535);
    CalTestPatchImport(kExe, "USER32.dll", "SetWindowPos", reinterpret_cast<void*>(g_realSetWindowPos));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(g_pageWindow, page);
    EXPECT_EQ(g_pageState, CalToolFromWindow(tool));
    ASSERT_EQ(g_moves.size(), 1u);
    EXPECT_EQ(g_moves[0].window, page);
    EXPECT_EQ(g_moves[0].after, nullptr);
    EXPECT_EQ(g_moves[0].x, 16);
    EXPECT_EQ(g_moves[0].y, 65535);
    EXPECT_EQ(g_moves[0].cx, 0);
    EXPECT_EQ(g_moves[0].cy, 0);
    EXPECT_EQ(g_moves[0].flags, static_cast<UINT>(SWP_NOSIZE)) << "sized by its template, raised to the top";
    DestroyWindow(page);
    EXPECT_EQ(g_pageWindow, nullptr);

    // A child window stands in for the host's property sheet.
    HWND sheet = CreateWindowExA(
        0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 540, 480, panel_->window, nullptr, kExe, nullptr);
    page = Page(tool, sheet, 16, 40);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetParent(page), sheet);
    RECT r;
    GetWindowRect(page, &r);
    MapWindowPoints(HWND_DESKTOP, sheet, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 16);
    EXPECT_EQ(r.top, 40);
    const LONG style = GetWindowLongA(page, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(style & WS_CAPTION, 0);

    EXPECT_EQ(Text(GetDlgItem(page, IDC_FIRSTDAYGROUP)), "First day of the week");
    EXPECT_EQ(Text(GetDlgItem(page, IDC_WEEKNUMBERS)), "Week numbers");
    EXPECT_EQ(Text(GetDlgItem(page, IDC_USEBACKGROUND)), "User Halvex background");
    EXPECT_EQ(Text(GetDlgItem(page, IDC_SELECTFONT)), "Select Font...");
    EXPECT_EQ(Text(GetDlgItem(page, IDC_ABOUT)), "About Calendar...");
    for (int day = 0; day < 7; ++day) {
        // The locale counts its day names from Monday: Sunday is the seventh.
        char name[80] = "";
        GetLocaleInfoA(
            LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + static_cast<LCTYPE>((day + 6) % 7), name, sizeof name);
        EXPECT_EQ(Text(GetDlgItem(page, IDC_FIRSTDAY0 + day)), name) << "weekday " << day;
    }
    DestroyWindow(page);
    DestroyWindow(sheet);
}

TEST_F(Dialogs, ThePageShowsTheRecordAndItsApplyKeepsFirstDayInRange)
{
    struct Case {
        LONG weekNumbers, firstDay, useBackground;
        int shownDay;
    };
    const Case cases[] = {{0, 0, 0, 0}, {1, 3, 1, 3}, {2, 6, 2, 6}, {1, 9, 0, 2}, {0, -3, 1, 4},
        {0, INT_MAX, 0, 1}, {1, INT_MIN, 1, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "weekNumbers " << c.weekNumbers << " firstDay " << c.firstDay
                                        << " useBackground " << c.useBackground);
        const CalToolSettings settings = Settings(c.weekNumbers, c.firstDay, c.useBackground);
        HWND tool = Tool(&settings);
        HWND page = Page(tool);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(CheckedDays(page), std::vector<int>{c.shownDay});
        EXPECT_EQ(Checked(page, IDC_WEEKNUMBERS), c.weekNumbers == 1);
        EXPECT_EQ(Checked(page, IDC_USEBACKGROUND), c.useBackground == 1);

        panel_->notifications.clear();
        Apply(page);
        const CalToolSettings& s = CalToolFromWindow(tool)->settings;
        EXPECT_EQ(s.firstDay, c.shownDay);
        EXPECT_EQ(s.weekNumbers, c.weekNumbers == 1 ? 1 : 0);
        EXPECT_EQ(s.useBackground, c.useBackground == 1 ? 1 : 0);
        const bool differed = c.firstDay != c.shownDay || (c.weekNumbers != 0 && c.weekNumbers != 1) ||
            (c.useBackground != 0 && c.useBackground != 1);
        EXPECT_EQ(Changes(), differed ? 1u : 0u);
        DestroyWindow(page);
        DestroyWindow(tool);
    }
}

TEST_F(Dialogs, ApplyTakesOverTheControlsOnlyWhereTheyDiffer)
{
    HWND tool = Tool();
    HWND page = Page(tool);
    ASSERT_NE(page, nullptr);
    g_toolProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountErases)));
    UpdateWindow(tool);
    panel_->notifications.clear();

    Apply(page);
    Apply(page, BN_CLICKED);
    EXPECT_EQ(Changes(), 0u);
    EXPECT_FALSE(CalNeedsPaint(tool));

    const CalToolSettings before = CalToolFromWindow(tool)->settings;
    Click(page, IDC_WEEKNUMBERS);
    Click(page, IDC_FIRSTDAY0 + 5);
    Click(page, IDC_USEBACKGROUND);
    EXPECT_EQ(CheckedDays(page), std::vector<int>{5});
    EXPECT_TRUE(CalSameBytes(CalToolFromWindow(tool)->settings, before)) << "clicks wait for the apply";
    EXPECT_EQ(Changes(), 0u);

    Apply(page, BN_CLICKED);
    const CalToolSettings& s = CalToolFromWindow(tool)->settings;
    EXPECT_EQ(s.weekNumbers, 1);
    EXPECT_EQ(s.firstDay, 5);
    EXPECT_EQ(s.useBackground, 1);
    auto changes = panel_->Received(CTN_SETTINGSCHANGED);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].wParam, reinterpret_cast<WPARAM>(tool));
    EXPECT_EQ(changes[0].lParam, 1);
    EXPECT_TRUE(CalNeedsPaint(tool));
    g_erases = 0;
    UpdateWindow(tool);
    EXPECT_EQ(g_erases, 0) << "invalidated without erasing";

    Click(page, IDC_WEEKNUMBERS);
    Apply(page);
    EXPECT_EQ(s.weekNumbers, 0);
    EXPECT_EQ(Changes(), 2u);

    // Changed behind the page's back: the apply writes back what the page shows.
    CalToolFromWindow(tool)->settings.firstDay = 2;
    CalToolFromWindow(tool)->settings.useBackground = 0;
    UpdateWindow(tool);
    Apply(page);
    EXPECT_EQ(s.firstDay, 5);
    EXPECT_EQ(s.useBackground, 1);
    EXPECT_EQ(s.weekNumbers, 0);
    EXPECT_EQ(Changes(), 3u);
    EXPECT_TRUE(CalNeedsPaint(tool));
    Apply(page);
    EXPECT_EQ(Changes(), 3u);
}

TEST_F(Dialogs, AFontChosenOnThePageIsPaintedFromTheNextApply)
{
    HWND tool = Tool();
    HWND page = Page(tool);
    ASSERT_NE(page, nullptr);
    CalToolState* state = CalToolFromWindow(tool);
    // Picks another face in the chooser when asked, then confirms (IDOK) or cancels.
    auto choose = [&](WPARAM button, bool pick, std::string& chosen) {
        CalModalScript script;
        script.Then([&] {
            HWND chooser = CalTestFindWindow("#32770");
            if (chooser == nullptr)
                return false;
            if (pick)
                chosen = CalTestPickOtherFace(chooser, state->settings.font.lfFaceName);
            PostMessageA(chooser, WM_COMMAND, button, 0);
            return true;
        });
        return script.Run([&] { Click(page, IDC_SELECTFONT); });
    };

    const LOGFONTA original = state->settings.font;
    panel_->notifications.clear();
    std::string chosen;
    ASSERT_TRUE(choose(IDOK, true, chosen));
    ASSERT_FALSE(chosen.empty()) << "no other face to choose";
    EXPECT_EQ(state->settings.chooseFont.hwndOwner, page);
    EXPECT_STREQ(state->settings.font.lfFaceName, chosen.c_str())
        << "the record's font holds the choice at once";
    EXPECT_TRUE(CalSameBytes(state->appliedFont, original)) << "painting keeps the old font until the apply";
    EXPECT_EQ(Changes(), 0u);

    UpdateWindow(tool);
    Apply(page);
    EXPECT_TRUE(CalSameBytes(state->appliedFont, state->settings.font));
    auto changes = panel_->Received(CTN_SETTINGSCHANGED);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].lParam, 1);
    EXPECT_TRUE(CalNeedsPaint(tool));

    // Another face picked and then cancelled: the chooser may have written
    // the pick into the font as the user browsed, but nothing of it stays.
    const LOGFONTA kept = state->settings.font;
    std::string browsed;
    ASSERT_TRUE(choose(IDCANCEL, true, browsed));
    ASSERT_FALSE(browsed.empty());
    EXPECT_TRUE(CalSameBytes(state->settings.font, kept)) << "a cancelled chooser changes nothing";
    Apply(page);
    EXPECT_EQ(Changes(), 1u);
}

TEST_F(Dialogs, ThePageOpensTheAboutBoxOverItself)
{
    HWND tool = Tool();
    HWND page = Page(tool);
    ASSERT_NE(page, nullptr);
    // A child owner hands the box's ownership to its top-level window, so the
    // owner is read from the call.
    g_dialogOwners.clear();
    g_realDialogBoxParam = reinterpret_cast<DialogBoxParamFn>(CalTestPatchImport(
        kExe, "USER32.dll", "DialogBoxParamW", reinterpret_cast<void*>(&RecordDialogBoxParam)));
    ASSERT_NE(g_realDialogBoxParam, nullptr);
    std::string caption;
    CalModalScript script;
    script.Then([&] {
        HWND box = CalTestFindWindow("#32770");
        if (box == nullptr)
            return false;
        caption = Text(box);
        Click(box, IDOK);
        return true;
    });
    const bool ran = script.Run([&] { Click(page, IDC_ABOUT); });
    CalTestPatchImport(kExe, "USER32.dll", "DialogBoxParamW", reinterpret_cast<void*>(g_realDialogBoxParam));
    EXPECT_TRUE(ran);
    EXPECT_EQ(caption, "About Calendar");
    EXPECT_EQ(g_dialogOwners, std::vector<HWND>{page});
    EXPECT_EQ(Changes(), 0u);
}

TEST_F(Dialogs, HostSettingsReachOnlyThePageOpenOnThatTool)
{
    HWND a = Tool();
    HWND b = Tool();
    HWND page = Page(a);
    ASSERT_NE(page, nullptr);
    const CalToolSettings block = Settings(1, 4, 1);
    EXPECT_EQ(SendMessageA(a, CTM_SETSETTINGS, 132, reinterpret_cast<LPARAM>(&block)), 0);
    EXPECT_TRUE(CalSameBytes(CalToolFromWindow(a)->settings, block));
    EXPECT_EQ(CheckedDays(page), std::vector<int>{4});
    EXPECT_TRUE(Checked(page, IDC_WEEKNUMBERS));
    EXPECT_TRUE(Checked(page, IDC_USEBACKGROUND));

    const CalToolSettings other = Settings(0, 6, 0);
    for (WPARAM size : {131u, 133u}) {
        Click(page, IDC_FIRSTDAY0 + 1);
        Click(page, IDC_WEEKNUMBERS);
        ASSERT_EQ(CheckedDays(page), std::vector<int>{1});
        EXPECT_EQ(SendMessageA(a, CTM_SETSETTINGS, size, reinterpret_cast<LPARAM>(&other)), 0);
        EXPECT_TRUE(CalSameBytes(CalToolFromWindow(a)->settings, block)) << "size " << size;
        EXPECT_EQ(CheckedDays(page), std::vector<int>{4}) << "size " << size;
        EXPECT_TRUE(Checked(page, IDC_WEEKNUMBERS)) << "size " << size;
        EXPECT_TRUE(Checked(page, IDC_USEBACKGROUND)) << "size " << size;
    }

    Click(page, IDC_FIRSTDAY0 + 2);
    SendMessageA(b, CTM_SETSETTINGS, 132, reinterpret_cast<LPARAM>(&other));
    EXPECT_TRUE(CalSameBytes(CalToolFromWindow(b)->settings, other));
    EXPECT_EQ(CheckedDays(page), std::vector<int>{2}) << "a page on another tool is left alone";
    EXPECT_TRUE(Checked(page, IDC_WEEKNUMBERS));
    EXPECT_EQ(Changes(), 0u);

    DestroyWindow(page);
    EXPECT_EQ(g_pageWindow, nullptr);
    EXPECT_EQ(g_pageState, CalToolFromWindow(a));
    SendMessageA(a, CTM_SETSETTINGS, 132, reinterpret_cast<LPARAM>(&other));
    EXPECT_TRUE(CalSameBytes(CalToolFromWindow(a)->settings, other));
}

TEST_F(Dialogs, APageOutlivingItsToolLetsGoAndTheNextPageBindsAnew)
{
    HWND a = Tool();
    HWND page = Page(a);
    ASSERT_NE(page, nullptr);
    Click(page, IDC_WEEKNUMBERS);
    DestroyWindow(a);
    EXPECT_EQ(g_pageState, nullptr) << "the page must not keep the freed record";
    EXPECT_EQ(g_pageWindow, page);
    panel_->notifications.clear();
    Apply(page);
    // No chooser may open for a page without a tool: with no steps, Run fails only on the deadline.
    CalModalScript none;
    none.timeoutMs = 1500;
    EXPECT_TRUE(none.Run([&] { Click(page, IDC_SELECTFONT); }));
    Apply(page, BN_CLICKED);
    EXPECT_TRUE(panel_->notifications.empty());
    DestroyWindow(page);
    EXPECT_EQ(g_pageWindow, nullptr);

    const CalToolSettings first = Settings(0, 3, 0), second = Settings(0, 5, 1);
    HWND b = Tool(&first);
    HWND c = Tool(&second);
    DestroyWindow(Page(b));
    page = Page(c);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(g_pageState, CalToolFromWindow(c));
    EXPECT_EQ(CheckedDays(page), std::vector<int>{5});
    EXPECT_TRUE(Checked(page, IDC_USEBACKGROUND));
    Click(page, IDC_WEEKNUMBERS);
    Apply(page);
    EXPECT_EQ(CalToolFromWindow(c)->settings.weekNumbers, 1);
    EXPECT_TRUE(CalSameBytes(CalToolFromWindow(b)->settings, first));
    auto changes = panel_->Received(CTN_SETTINGSCHANGED);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].wParam, reinterpret_cast<WPARAM>(c));
}

}  // namespace

int main(int argc, char** argv)
{
    // The library's objects and resources are linked into this program: it
    // is both the library's module and its host.
    g_moduleInstance = g_hostInstance = GetModuleHandleA(nullptr);
    char initName[16], createName[14], cleanupName[15];
    EnumeratePanelTypes(initName, createName, cleanupName, g_hostInstance, 0);
    CalToolTypeInfo* info = nullptr;
    InitCalToolType(&info, 0);
    CalLedgerInstall(GetModuleHandleA(nullptr));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
