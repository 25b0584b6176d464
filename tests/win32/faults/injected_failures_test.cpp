// Every call the library makes of the platform fails in turn. Each scenario
// runs once cleanly, counting the calls K that could fail; then K times, the
// n-th of those calls failing; then twice with every call failing from a
// point on (the first call, and the middle one). After every run, and once
// calls succeed again: no crash, nothing leaked or left selected, the record
// within its invariants, the next repaint equal to a clean tool's, the menu
// and the page working, and no answer to the host that is neither the clean
// one nor the neutral one, nor a change announced that was not made.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "tests/win32/support/fault_injection.h"
#include "tests/win32/support/menu_look.h"
#include "tests/win32/support/modal_driver.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/record_guard.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/transfer_capture.h"
#include "tool/day_marks.h"
#include "tool/fit_size.h"
#include "tool/tool_state.h"

namespace {

// ---- the library, loaded with every import routed --------------------------

struct Library : CalLoadedPlugin {
    bool entered = false;  // the entry point accepted the attach
};

std::set<std::string> g_unknownImports;  // each library mapped reports its own

// Maps the library and routes its imports: first the ledger (and, for the
// library the tool scenarios share, the capture of its transfers and the
// guards of its heap blocks), then the fault thunks around them.
HMODULE MapAndRoute(bool shared)
{
    HMODULE module = CalLoadUnresolved(g_calTestDllPath.c_str());
    if (module == nullptr || !CalBindImports(module))
        return module;
    CalLedgerInstall(module);
    if (shared) {
        CalCaptureInstall(module);
        CalGuardInstall(module);
    }
    const std::vector<std::string> unknown = CalFaultInstall(module);
    g_unknownImports.insert(unknown.begin(), unknown.end());
    return module;
}

Library& Shared()
{
    static Library lib = [] {
        Library l;
        l.module = MapAndRoute(true);
        if (l.module != nullptr)
            l.entered = CalCallEntry(l.module, DLL_PROCESS_ATTACH) != FALSE;
        if (l.entered)
            CalTestStartPlugin(l);
        return l;
    }();
    return lib;
}

// ---- what one run found ------------------------------------------------------

enum Problem { kLeak, kBroken, kWrong, kHang, kProblems };
const char* const kProblemNames[kProblems] = {"leak", "broken record", "wrong answer", "hung"};

struct Findings {
    bool any[kProblems] = {};
    std::vector<std::string> notes;
    void Add(Problem p, const std::string& what)
    {
        any[p] = true;
        notes.push_back(std::string(kProblemNames[p]) + ": " + what);
    }
};

// What an act tells the host, compared with the clean run's answer.
struct Answer {
    bool given = false;
    LRESULT value = 0;
    LRESULT neutral = 0;
    LRESULT fallback = 0;  // another answer a failure may give, where not 0
    bool hung = false;
};

// ---- the world of one run: a panel, maybe a tool and its page --------------

struct ToolShape {
    bool make = true;
    LONG weekNumbers = 0;
    LONG background = 0;
    int width = 160;
    int height = 128;
    bool page = false;
};

// The panel marks two days of every month, so that every paint draws bold
// numbers too.
std::unique_ptr<CalTestParent> MarkingPanel()
{
    auto panel = std::make_unique<CalTestParent>(420, 320);
    panel->dayMarks = [](LONG, LONG) { return DWORD{1u << 0 | 1u << 9}; };
    return panel;
}

struct World {
    std::unique_ptr<CalTestParent> parent = MarkingPanel();
    HWND tool = nullptr;
    HWND page = nullptr;
};

CalToolState* Record(HWND tool)
{
    return tool != nullptr && IsWindow(tool) ? CalToolFromWindow(tool) : nullptr;
}

HWND MakeTool(HWND parent, const RECT& r, const CalToolSettings* settings)
{
    return Shared().create(parent, &r, settings, 0, 0);
}

void Prepare(World& w, const ToolShape& shape)
{
    if (!shape.make)
        return;
    const CalToolSettings s = CalArialSettings(shape.weekNumbers, shape.background);
    w.tool = MakeTool(w.parent->window, RECT{4, 4, 4 + shape.width, 4 + shape.height}, &s);
    UpdateWindow(w.tool);
    if (shape.page)
        w.page = reinterpret_cast<HWND>(
            SendMessageA(w.tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(w.parent->window), 0));
}

// ---- acts ----------------------------------------------------------------------

using Act = std::function<Answer(World&)>;

Answer Told(LRESULT value, LRESULT neutral)
{
    Answer a;
    a.given = true;
    a.value = value;
    a.neutral = neutral;
    return a;
}

// A modal loop driven by a script: a script whose steps did not all run is
// accepted when the loop ended by itself (a failed call kept a box or menu
// from opening), and reported when the deadline had to close it.
Answer Modal(CalModalScript& script, const std::function<void()>& body)
{
    script.timeoutMs = 15000;
    script.Run(body);
    Answer a;
    a.hung = script.timedOut;
    return a;
}

// Keys that choose the item with the command id in the open menu (in its
// weekday submenu for a first day); false when the menu lacks it.
bool ChooseItem(HMENU menu, UINT id)
{
    HWND popup = CalTestFindWindow("#32768");
    std::vector<WPARAM> keys;
    int shown = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0)
            continue;
        ++shown;
        HMENU sub = GetSubMenu(menu, i);
        int inSub = -1;
        for (int j = 0; sub != nullptr && j < GetMenuItemCount(sub); ++j)
            if (GetMenuItemID(sub, j) == id)
                inSub = j;
        if (GetMenuItemID(menu, i) != id && inSub < 0)
            continue;
        keys.assign(static_cast<size_t>(shown), VK_DOWN);
        if (inSub >= 0) {
            keys.push_back(VK_RIGHT);
            keys.insert(keys.end(), static_cast<size_t>(inSub), VK_DOWN);
        }
        keys.push_back(VK_RETURN);
        for (WPARAM key : keys)
            PostMessageA(popup, WM_KEYDOWN, key, 0);
        return true;
    }
    return false;
}

// A step that closes the first dialog box that opens with the button, after
// choosing another face when it is the font chooser.
std::function<bool()> CloseBox(int button, bool otherFace = false)
{
    return [=] {
        HWND box = CalTestFindWindow("#32770");
        if (box == nullptr)
            return false;
        if (otherFace && GetDlgItem(box, cmb1) != nullptr)
            CalTestPickOtherFace(box, "Arial");
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        return true;
    };
}

void RightClick(HWND tool)
{
    SendMessageA(tool, WM_RBUTTONUP, 0, MAKELPARAM(30, 20));
    CalPumpMessages();  // the chosen command arrives as a posted message
}

Act MenuCommand(UINT id, std::function<bool()> then = nullptr)
{
    return [=](World& w) {
        CalModalScript script;
        script.Then([=] {
            HMENU menu = CalTestOpenMenu();
            if (menu == nullptr)
                return false;
            if (id == 0 || !ChooseItem(menu, id))
                EndMenu();
            return true;
        });
        if (then)
            script.Then(then);
        Answer a = Modal(script, [&] { RightClick(w.tool); });
        UpdateWindow(w.tool);
        return a;
    };
}

Act Command(UINT id, std::function<bool()> then)
{
    return [=](World& w) {
        CalModalScript script;
        script.Then(then);
        Answer a = Modal(script, [&] { SendMessageA(w.tool, WM_COMMAND, id, 0); });
        UpdateWindow(w.tool);
        return a;
    };
}

Act Create(bool withBlock)
{
    return [=](World& w) {
        const CalToolSettings s = CalArialSettings(1, 0);
        w.tool = MakeTool(w.parent->window, RECT{4, 4, 164, 132}, withBlock ? &s : nullptr);
        if (w.tool != nullptr)
            UpdateWindow(w.tool);
        return Told(w.tool != nullptr, 0);
    };
}

Answer Repaint(World& w)
{
    InvalidateRect(w.tool, nullptr, FALSE);
    UpdateWindow(w.tool);
    return Answer{};
}

Answer StepBySpinner(World& w)
{
    HWND spinner = Record(w.tool)->monthSpin;
    RECT r;
    GetClientRect(spinner, &r);
    const LPARAM at = MAKELPARAM(r.right * 3 / 4, r.bottom / 2);
    SendMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spinner, WM_LBUTTONUP, 0, at);
    UpdateWindow(w.tool);
    return Answer{};
}

// Page Down, Ctrl+Page Up and the menu key, as typed into the focused tool.
Answer StepByKeyboard(World& w)
{
    SetFocus(w.tool);
    SendMessageA(w.tool, WM_KEYDOWN, VK_NEXT, 1);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(w.tool, WM_KEYDOWN, VK_PRIOR, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    SendMessageA(w.tool, WM_KEYDOWN, VK_HOME, 1);
    UpdateWindow(w.tool);
    return Answer{};
}

// The clock has moved on to another day since the tool last looked.
Answer DayCheck(World& w)
{
    CalToolState* s = Record(w.tool);
    s->shown.wDay = static_cast<WORD>(s->shown.wDay % 28 + 1);
    SendMessageA(w.tool, WM_TIMER, IDT_DAYCHECK, 0);
    UpdateWindow(w.tool);
    return Answer{};
}

Answer PageLife(World& w)
{
    w.page = reinterpret_cast<HWND>(
        SendMessageA(w.tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(w.parent->window), MAKELPARAM(8, 8)));
    const bool made = w.page != nullptr;
    if (made) {
        const bool on = SendDlgItemMessageA(w.page, IDC_WEEKNUMBERS, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendDlgItemMessageA(w.page, IDC_WEEKNUMBERS, BM_SETCHECK, on ? BST_UNCHECKED : BST_CHECKED, 0);
        SendDlgItemMessageA(w.page, IDC_FIRSTDAY0 + 1, BM_CLICK, 0, 0);
        SendMessageA(w.page, WM_COMMAND, IDC_PAGEAPPLY, 0);
        DestroyWindow(w.page);
        w.page = nullptr;
    }
    UpdateWindow(w.tool);
    return Told(made, 0);
}

Answer DestroyUnderPage(World& w)
{
    DestroyWindow(w.tool);
    w.tool = nullptr;
    if (w.page != nullptr) {
        SendMessageA(w.page, WM_COMMAND, IDC_PAGEAPPLY, 0);
        DestroyWindow(w.page);
        w.page = nullptr;
    }
    return Answer{};
}

// A screen reader's reading of the tool: the object, its name, every day's
// name and place, a hit test on the middle; then every reference given back.
// The answer is the number of days it offered: all of them or none.
Answer ReadAloud(World& w)
{
    const LRESULT handed = SendMessageA(w.tool, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    IAccessible* table = nullptr;
    if (handed <= 0 ||
        FAILED(ObjectFromLresult(handed, IID_IAccessible, 0, reinterpret_cast<void**>(&table))) ||
        table == nullptr)
        return Told(0, 0);
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(table->get_accName(child, &name)))
        SysFreeString(name);
    long days = 0;
    if (FAILED(table->get_accChildCount(&days)))
        days = 0;
    for (long day = 1; day <= days; ++day) {
        child.lVal = day;
        name = nullptr;
        if (SUCCEEDED(table->get_accName(child, &name)))
            SysFreeString(name);
        long x = 0, y = 0, cx = 0, cy = 0;
        table->accLocation(&x, &y, &cx, &cy, child);
    }
    RECT r;
    GetWindowRect(w.tool, &r);
    VARIANT hit;
    VariantInit(&hit);
    if (SUCCEEDED(table->accHitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, &hit)))
        VariantClear(&hit);
    table->Release();
    return Told(days, 0);
}

Answer GetSettingsRequest(World& w)
{
    CalToolSettings* block = nullptr;
    const LRESULT size = SendMessageA(w.tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block));
    return Told(size == sizeof(CalToolSettings) && block == &Record(w.tool)->settings ? 1 : size, 0);
}

Answer SetSettingsRequest(World& w)
{
    CalToolSettings s = CalArialSettings(1, 1);
    s.firstDay = 3;
    return Told(SendMessageA(w.tool, CTM_SETSETTINGS, sizeof s, reinterpret_cast<LPARAM>(&s)), 0);
}

Answer CreatePageRequest(World& w)
{
    w.page = reinterpret_cast<HWND>(
        SendMessageA(w.tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(w.parent->window), MAKELPARAM(8, 8)));
    return Told(w.page != nullptr, 0);
}

constexpr LRESULT kNeutralSize = 160 | (120 << 16);

// When the tool's font cannot be made, the tool measures in its window DC's
// own font: the same texts and the same rule, worked here with the test's
// own (unhooked) calls. The header's texts are the days' initials here: the
// runs' locale has no names that share their first word.
LRESULT SizeInTheWindowsOwnFont(HWND tool)
{
    HDC dc = GetDC(tool);
    if (dc == nullptr)
        return 0;
    const auto measure = [dc](const wchar_t* text, int length) {
        RECT r{0, 0, 1000, 1000};
        DrawTextW(dc, text, length, &r, DT_CALCRECT | DT_SINGLELINE);
        return CalTextExtent{r.right, r.bottom};
    };
    CalTextExtent months[12];
    CalTextExtent digitRows[3];
    CalTextExtent headers[7];
    for (int m = 0; m < 12; ++m) {
        wchar_t text[40] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(m), text, 20);
        lstrcatW(text, L" 9999");
        months[m] = measure(text, -1);
    }
    const wchar_t* rows[3] = {L"11 11 11 11 11 11 11 11", L"22 22 22 22 22 22 22 22", L"33 33 33 33 33 33 33 33"};
    for (int i = 0; i < 3; ++i)
        digitRows[i] = measure(rows[i], -1);
    for (int d = 0; d < 7; ++d) {
        wchar_t name[80] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + static_cast<LCTYPE>(d), name, 80);
        headers[d] = measure(name, 1);
    }
    ReleaseDC(tool, dc);
    return static_cast<LRESULT>(CalWidenForHeader(CalCombineIdealSize(months, digitRows), headers));
}

Answer IdealSizeRequest(World& w)
{
    Answer a = Told(SendMessageA(w.tool, CTM_GETIDEALSIZE, 0, 0), kNeutralSize);
    a.fallback = SizeInTheWindowsOwnFont(w.tool);
    return a;
}

Answer FitSizeRequest(World& w)
{
    CalFitRequest r{80, 60, 400, 300, 0, 0x00C80140};
    return Told(SendMessageA(w.tool, CTM_FITSIZE, 0, reinterpret_cast<LPARAM>(&r)), 0);
}

Answer SetDayMarksRequest(World& w)
{
    const CalToolState* s = Record(w.tool);
    const CalDayMarks marks[] = {{s->shown.wYear, s->shown.wMonth, 0x00F0F0F0u}, {2030, 2, 0xFFFFFFFFu}};
    const LRESULT told = SendMessageA(w.tool, CTM_SETDAYMARKS, 2, reinterpret_cast<LPARAM>(marks));
    UpdateWindow(w.tool);
    SendMessageA(w.tool, CTM_SETDAYMARKS, 0, 0);
    UpdateWindow(w.tool);
    return Told(told, 0);
}

// ---- the scenarios: one line each ------------------------------------------

struct Scenario {
    std::string name;
    ToolShape tool;
    Act act;
};

std::vector<Scenario> Scenarios()
{
    std::vector<Scenario> list = {
        {"CalToolCreate with a block", {.make = false}, Create(true)},
        {"CalToolCreate without a block", {.make = false}, Create(false)},
    };
    for (LONG weeks : {0, 1})
        for (LONG background : {0, 1})
            for (SIZE size : {SIZE{0, 0}, SIZE{160, 128}, SIZE{400, 300}})
                list.push_back({"paint, week numbers " + std::to_string(weeks) + ", background " +
                        std::to_string(background) + ", " + std::to_string(size.cx) + "x" +
                        std::to_string(size.cy),
                    {.weekNumbers = weeks, .background = background, .width = size.cx, .height = size.cy},
                    Repaint});
    const std::vector<Scenario> rest = {
        {"month step by the spinner", {}, StepBySpinner},
        {"month and year steps by the keyboard", {}, StepByKeyboard},
        {"day check", {}, DayCheck},
        {"context menu opened and closed", {}, MenuCommand(0)},
        {"menu: first day Monday", {}, MenuCommand(IDM_FIRSTDAY0 + 1)},
        {"menu: week numbers", {}, MenuCommand(IDM_WEEKNUMBERS)},
        {"menu: background", {}, MenuCommand(IDC_USEBACKGROUND)},
        {"menu: font, confirmed", {}, MenuCommand(IDM_SELECTFONT, CloseBox(IDOK, true))},
        {"menu: About box", {}, MenuCommand(IDC_ABOUT, CloseBox(IDOK))},
        {"menu: properties", {}, MenuCommand(IDM_PROPERTIES)},
        {"font chooser confirmed", {}, Command(IDM_SELECTFONT, CloseBox(IDOK, true))},
        {"font chooser cancelled", {}, Command(IDM_SELECTFONT, CloseBox(IDCANCEL, true))},
        {"About box", {}, Command(IDC_ABOUT, CloseBox(IDOK))},
        {"page created, initialised, applied, destroyed", {}, PageLife},
        {"CTM_GETSETTINGS", {}, GetSettingsRequest},
        {"CTM_SETSETTINGS", {}, SetSettingsRequest},
        {"CTM_CREATEPAGE", {}, CreatePageRequest},
        {"CTM_GETIDEALSIZE", {}, IdealSizeRequest},
        {"CTM_FITSIZE", {}, FitSizeRequest},
        {"CTM_SETDAYMARKS, then a count of 0", {}, SetDayMarksRequest},
        {"tool destroyed while its page is open", {.page = true}, DestroyUnderPage},
        {"screen reader reads the calendar", {}, ReadAloud},
    };
    list.insert(list.end(), rest.begin(), rest.end());
    return list;
}

// ---- the checks --------------------------------------------------------------

// What the host can tell apart in the settings: the chooser's record is
// rewritten before every use and not compared.
bool SameSettings(const CalToolSettings& a, const CalToolSettings& b)
{
    return a.weekNumbers == b.weekNumbers && a.firstDay == b.firstDay && a.useBackground == b.useBackground &&
        std::memcmp(&a.font, &b.font, sizeof a.font) == 0;
}

struct Seen {
    CalToolSettings settings{};
    LOGFONTA applied{};
};

Seen Look(const CalToolState* s)
{
    return s != nullptr ? Seen{s->settings, s->appliedFont} : Seen{};
}

void CheckRecord(const World& w, Findings& f)
{
    const CalToolState* s = Record(w.tool);
    if (s == nullptr)
        return;
    if (s->shown.wMonth < 1 || s->shown.wMonth > 12)
        f.Add(kBroken, "shown month " + std::to_string(s->shown.wMonth));
    if (s->monthSpin != nullptr && IsWindow(s->monthSpin) &&
        CalSpinnerPosition(s->monthSpin) != s->shown.wMonth)
        f.Add(kBroken,
            "month spinner at " + std::to_string(CalSpinnerPosition(s->monthSpin)) + ", month shown " +
                std::to_string(s->shown.wMonth));
    if (s->yearSpin != nullptr && IsWindow(s->yearSpin) && CalSpinnerPosition(s->yearSpin) != s->shown.wYear)
        f.Add(kBroken,
            "year spinner at " + std::to_string(CalSpinnerPosition(s->yearSpin)) + ", year shown " +
                std::to_string(s->shown.wYear));
}

// A clean tool in the state of the run's tool, to compare pictures and
// answers with.
HWND Twin(const World& w)
{
    const CalToolState* s = Record(w.tool);
    RECT r;
    GetWindowRect(w.tool, &r);
    MapWindowPoints(nullptr, w.parent->window, reinterpret_cast<POINT*>(&r), 2);
    const CalToolSettings settings = s->settings;
    HWND twin = MakeTool(w.parent->window, r, &settings);
    CalToolState* t = Record(twin);
    if (t == nullptr)
        return nullptr;
    t->appliedFont = s->appliedFont;
    t->marks->months = s->marks->months;  // what the run's tool learned, asked or not
    t->shown = s->shown;
    t->todayMonth = s->todayMonth;
    t->todayYear = s->todayYear;
    return twin;
}

// Once calls succeed again the tool paints, opens its menu and page and
// answers as a clean tool in its state does.
void CheckRecovery(World& w, Findings& f)
{
    if (Record(w.tool) == nullptr)
        return;
    if (w.page != nullptr) {  // a host closes the open page first
        DestroyWindow(w.page);
        w.page = nullptr;
    }
    // The focus mark is the one thing a focused tool shows that a new one does not.
    if (GetFocus() == w.tool)
        SetFocus(w.parent->window);
    HWND twin = Twin(w);
    if (twin == nullptr) {
        f.Add(kBroken, "no clean tool could be made afterwards");
        return;
    }
    const CalFrame mine = CalCapturePaint(w.tool);
    const CalFrame clean = CalCapturePaint(twin);
    if (!(mine == clean))
        f.Add(kBroken,
            "the next repaint differs from a clean tool's (" + std::to_string(mine.width) + "x" +
                std::to_string(mine.height) + " against " + std::to_string(clean.width) + "x" +
                std::to_string(clean.height) + ")");
    const LRESULT size = SendMessageA(w.tool, CTM_GETIDEALSIZE, 0, 0);
    const LRESULT cleanSize = SendMessageA(twin, CTM_GETIDEALSIZE, 0, 0);
    if (size != cleanSize)
        f.Add(
            kWrong, "ideal size afterwards " + std::to_string(size) + ", clean " + std::to_string(cleanSize));
    CalToolSettings* block = nullptr;
    if (SendMessageA(w.tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block)) !=
            sizeof(CalToolSettings) ||
        block != &Record(w.tool)->settings)
        f.Add(kWrong, "CTM_GETSETTINGS afterwards does not hand out the block");
    DestroyWindow(twin);
    const CalMenuLook look = CalOpenAndCloseMenu(w.tool);
    if (!look.opened || look.items != 8 || look.days != 7)
        f.Add(kBroken,
            "the menu afterwards: opened " + std::to_string(look.opened) + ", " + std::to_string(look.items) +
                " items, " + std::to_string(look.days) + " days");
    HWND page = reinterpret_cast<HWND>(
        SendMessageA(w.tool, CTM_CREATEPAGE, reinterpret_cast<WPARAM>(w.parent->window), 0));
    if (page == nullptr)
        f.Add(kBroken, "no page afterwards");
    else
        DestroyWindow(page);
}

// A surface whose selection or mode the platform refused to put back can
// only be deleted as it is; deleting it is what lets its objects go. Such a
// surface is accepted when a call that puts state back was failed and
// nothing else is left.
bool RefusedToPutBack(const CalFaultCounts& calls, bool from)
{
    for (const char* name : {"SelectObject", "SetBkMode", "SetTextColor"})
        if (calls.firstFailed.rfind(name, 0) == 0)
            return true;
    return from && calls.failed > 0;
}

void CheckLedger(const CalLedgerCounts& before, bool refused, Findings& f)
{
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    if (d.LiveBlocks() != 0 || d.LiveObjects() != 0 || d.LiveMenus() != 0 || d.releasedWhileInUse != 0 ||
        (d.dcsReleasedDirty != 0 && !refused) || d.failedReleases != 0) {
        std::ostringstream text;
        text << d;
        f.Add(kLeak, text.str());
    }
}

// ---- running -----------------------------------------------------------------

struct Totals {
    int scenarios = 0;
    long tried = 0;
    long crashes = 0;
    long problems[kProblems] = {};
};

Totals g_totals;
std::string g_current;  // "scenario, run" for the crash report
std::string g_figureLabel = "injected failures";

void PrintTotals()
{
    std::printf("== figure %s: %d scenarios, %ld failing calls tried, %ld crashes, %ld leaks, %ld broken "
                "records, %ld wrong answers, %ld hung\n",
        g_figureLabel.c_str(), g_totals.scenarios, g_totals.tried, g_totals.crashes, g_totals.problems[kLeak],
        g_totals.problems[kBroken], g_totals.problems[kWrong], g_totals.problems[kHang]);
    std::fflush(stdout);
}

struct RunResult {
    CalFaultCounts calls;
    Answer answer;
    Findings findings;
};

RunResult RunOnce(const Scenario& sc, long failAt, bool from, const Answer* clean)
{
    RunResult r;
    const long damagedBefore = CalGuardDamaged();
    const CalLedgerCounts before = CalLedgerSnapshot();
    {
        World w;
        Prepare(w, sc.tool);
        const Seen seen = Look(Record(w.tool));
        const size_t heard = w.parent->notifications.size();
        CalFaultArm(failAt, from);
        r.answer = sc.act(w);
        CalFaultDisarm();
        r.calls = CalFaultSnapshot();
        Findings& f = r.findings;
        if (r.answer.hung)
            f.Add(kHang, "a modal loop had to be closed by the deadline");
        if (clean != nullptr && r.answer.given && r.answer.value != clean->value &&
            r.answer.value != r.answer.neutral && (r.answer.fallback == 0 || r.answer.value != r.answer.fallback))
            f.Add(kWrong,
                "answered " + std::to_string(r.answer.value) + ", clean " + std::to_string(clean->value) +
                    ", neutral " + std::to_string(r.answer.neutral));
        const Seen now = Look(Record(w.tool));
        for (size_t i = heard; i < w.parent->notifications.size(); ++i)
            if (w.parent->notifications[i].message == CTN_SETTINGSCHANGED && Record(w.tool) != nullptr &&
                SameSettings(seen.settings, now.settings) &&
                std::memcmp(&seen.applied, &now.applied, sizeof now.applied) == 0)
                f.Add(kWrong, "CTN_SETTINGSCHANGED without a change");
        CheckRecord(w, f);
        CalGuardCheck();
        CheckRecovery(w, f);
        if (w.page != nullptr)
            DestroyWindow(w.page);
        w.parent.reset();
        CalPumpMessages();
    }
    CheckLedger(before, RefusedToPutBack(r.calls, from), r.findings);
    if (CalGuardCheck() != 0)
        r.findings.Add(kLeak, "a heap block of the library outlived its tool");
    if (CalGuardDamaged() != damagedBefore)
        r.findings.Add(kBroken, "bytes outside a record were written");
    return r;
}

// Adds a scenario's figures to the process's totals and prints its line.
void Report(const std::string& name, long k, long counted, long tried, const long (&mine)[kProblems], DWORD start)
{
    ++g_totals.scenarios;
    g_totals.tried += tried;
    for (int p = 0; p < kProblems; ++p)
        g_totals.problems[p] += mine[p];
    std::printf(
        "== %s: %ld calls could fail (%ld counted), %ld runs failed calls, %ld leaks, %ld broken, %ld "
        "wrong, %ld hung, %.1f s\n",
        name.c_str(), k, counted, tried, mine[kLeak], mine[kBroken], mine[kWrong], mine[kHang],
        (GetTickCount() - start) / 1000.0);
    std::fflush(stdout);
}

void Tally(
    const Scenario& sc, const RunResult& r, long failAt, bool from, long (&mine)[kProblems], int& shown)
{
    for (int p = 0; p < kProblems; ++p)
        mine[p] += r.findings.any[p] ? 1 : 0;
    for (const std::string& note : r.findings.notes)
        if (shown++ < 6)
            std::printf("   %s, failing %s%s: %s\n", sc.name.c_str(), from ? "from " : "",
                r.calls.firstFailed.empty() ? ("call " + std::to_string(failAt) + " (none reached)").c_str()
                                            : r.calls.firstFailed.c_str(),
                note.c_str());
}

void RunScenario(const Scenario& sc)
{
    const DWORD start = GetTickCount();
    long mine[kProblems] = {};
    int shown = 0;
    g_current = sc.name + ", clean run";
    const RunResult clean = RunOnce(sc, 0, false, nullptr);
    Tally(sc, clean, 0, false, mine, shown);
    const long k = clean.calls.failable;
    long tried = 0;
    auto run = [&](long at, bool from) {
        g_current =
            sc.name + (from ? ", every call failing from call " : ", failing call ") + std::to_string(at);
        const RunResult r = RunOnce(sc, at, from, &clean.answer);
        tried += r.calls.failed > 0 ? 1 : 0;
        Tally(sc, r, at, from, mine, shown);
    };
    for (long n = 1; n <= k; ++n)
        run(n, false);
    if (k > 0) {
        run(1, true);
        if (k > 1)
            run(k / 2 + 1, true);
    }
    Report(sc.name, k, clean.calls.calls, tried, mine, start);
}

// ---- loading: the entry point, EnumeratePanelTypes and InitCalToolType -------

// Each run maps the library afresh, routes its imports before its entry point
// runs and unloads it afterwards; the type's class is unregistered between
// runs so that every run starts alike.
RunResult LoadOnce(long failAt, bool from)
{
    RunResult r;
    const CalLedgerCounts before = CalLedgerSnapshot();
    Library lib;
    lib.module = MapAndRoute(false);
    if (lib.module == nullptr) {
        r.findings.Add(kBroken, "the library could not be mapped");
        return r;
    }
    CalFaultArm(failAt, from);
    lib.entered = CalCallEntry(lib.module, DLL_PROCESS_ATTACH) != FALSE;
    if (lib.entered)
        CalTestStartPlugin(lib);
    CalFaultDisarm();
    r.calls = CalFaultSnapshot();
    long kept = 0;  // the descriptor's bitmaps stay while the library is loaded
    if (lib.entered) {
        if (lib.create == nullptr || lib.info == nullptr)
            r.findings.Add(kWrong, "the type was not described");
        else {
            lib.init(&lib.info, 0);  // a host may initialise again; now calls succeed
            CalTestParent parent;
            RECT rect{0, 0, 160, 128};
            HWND tool = lib.create(parent.window, &rect, nullptr, 0, 0);
            if (tool == nullptr || CalToolFromWindow(tool) == nullptr)
                r.findings.Add(kBroken, "no tool after the type was initialised again");
            else
                DestroyWindow(tool);
            kept = (lib.info->image != nullptr ? 1 : 0) + (lib.info->mask != nullptr ? 1 : 0);
            lib.cleanup(0);
        }
        CalCallEntry(lib.module, DLL_PROCESS_DETACH);
    }
    UnregisterClassA("CalTool", GetModuleHandleA(nullptr));
    FreeLibrary(lib.module);
    const CalLedgerCounts d = CalLedgerSnapshot() - before;
    if (d.LiveObjects() != kept || d.LiveBlocks() != 0 || d.LiveMenus() != 0 || d.failedReleases != 0) {
        std::ostringstream text;
        text << d << " with " << kept << " bitmaps in the descriptor";
        r.findings.Add(kLeak, text.str());
    }
    return r;
}

void RunLoading()
{
    const DWORD start = GetTickCount();
    Scenario sc{"loading, EnumeratePanelTypes, InitCalToolType", {}, nullptr};
    long mine[kProblems] = {};
    int shown = 0;
    g_current = sc.name + ", clean run";
    const RunResult clean = LoadOnce(0, false);
    Tally(sc, clean, 0, false, mine, shown);
    const long k = clean.calls.failable;
    long tried = 0;
    auto run = [&](long at, bool from) {
        g_current =
            sc.name + (from ? ", every call failing from call " : ", failing call ") + std::to_string(at);
        const RunResult r = LoadOnce(at, from);
        tried += r.calls.failed > 0 ? 1 : 0;
        Tally(sc, r, at, from, mine, shown);
    };
    for (long n = 1; n <= k; ++n)
        run(n, false);
    if (k > 0) {
        run(1, true);
        if (k > 1)
            run(k / 2 + 1, true);
    }
    Report(sc.name, k, clean.calls.calls, tried, mine, start);
}

// ---- the program ---------------------------------------------------------------

bool g_loading = false;
int g_shard = 0;
int g_shards = 1;

void OnCrash(const std::string& what)
{
    ++g_totals.crashes;
    std::printf("   CRASH in %s: %s\n", g_current.c_str(), what.c_str());
    PrintTotals();
    std::printf("[  FAILED  ] the process crashed\n");
}

TEST(InjectedFailures, EveryCallOfEveryScenarioFailsInTurn)
{
    CalFaultCatchCrashes(OnCrash);
    if (g_loading) {
        RunLoading();
    } else {
        ASSERT_TRUE(Shared().entered && Shared().create != nullptr)
            << "library not loaded from " << g_calTestDllPath;
        const std::vector<Scenario> list = Scenarios();
        for (size_t i = static_cast<size_t>(g_shard); i < list.size(); i += static_cast<size_t>(g_shards))
            RunScenario(list[i]);
    }
    PrintTotals();
    EXPECT_TRUE(g_unknownImports.empty()) << "imports the fault table does not know: " << [] {
        std::string all;
        for (const std::string& name : g_unknownImports)
            all += name + " ";
        return all;
    }();
    EXPECT_GT(g_totals.tried, 0);
    for (int p = 0; p < kProblems; ++p)
        EXPECT_EQ(g_totals.problems[p], 0) << kProblemNames[p];
}

}  // namespace

// Arguments: --loading, or --shard=I/N (scenarios I, I+N, ...); the library's
// path last.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // a screen reader's reading is marshalled
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--loading") == 0)
            g_loading = true;
        else if (std::sscanf(argv[i], "--shard=%d/%d", &g_shard, &g_shards) == 2 && g_shards > 0)
            continue;
    }
    if (argc >= 2)
        g_calTestDllPath = CalTestWindowsPath(argv[argc - 1]);
    g_figureLabel = g_loading
        ? "injected failures, loading"
        : "injected failures, shard " + std::to_string(g_shard + 1) + " of " + std::to_string(g_shards);
    return RUN_ALL_TESTS();
}
