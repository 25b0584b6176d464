// Speed of the calendar tool under a real window system: full repaints of
// tool windows made by the built library, the painter into memory surfaces,
// the platform's own month calendar at the same sizes, and the least that a
// double-buffered paint costs, all measured interleaved in one run so that
// their ratios hold however loaded the machine is. Then the host's requests,
// creation, loading, and what ten idle tools cost.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "paint_profile.h"
#include "plugin/caltool.h"
#include "tests/win32/support/import_hooks.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_parent.h"
#include "tool/tool_settings.h"
#include "tool/tool_state.h"
#include "tool/tool_view.h"
#include "view/text_font.h"

namespace {

struct Options {
    int rounds = 41;
    double batchUs = 2000;  // each timed batch lasts at least this long
    int idleSeconds = 60;
    std::string dll;
    bool paintsOnly = false;  // the repaints at the two smaller sizes, nothing else
    bool mirrored = false;    // tools and the platform control in a mirrored panel
};

struct Size {
    int w;
    int h;
    int x;  // where its windows start on the panel
    int y;
};

// Three windows of each size side by side; creation and the idle tools
// below them. Everything stays on the virtual screen.
constexpr Size kSizes[] = {{160, 128, 1200, 1200}, {400, 300, 0, 1200}, {1600, 1200, 0, 0}};
constexpr int kPanelWidth = 4800;
constexpr int kPanelHeight = 2800;
constexpr int kSpareY = 1500;

std::string SizeName(const Size& s)
{
    return BenchFormat("%dx%d", s.w, s.h);
}

// ---- the panel: the parent of every window, answering background requests

HBRUSH g_panelBrush = nullptr;
long g_backgroundRequests = 0;

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CTN_PAINTBACKGROUND && lParam != 0) {
        // What a host does: its own background, behind the tool, into the
        // tool's surface.
        const auto* request = reinterpret_cast<const CalBackgroundRequest*>(lParam);
        FillRect(request->dc, &request->rect, g_panelBrush);
        ++g_backgroundRequests;
        return 0;
    }
    if (message >= WM_USER && message < WM_APP)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- the floor: a window whose paint makes the off-screen pair, copies it
// once and releases it, and nothing else

void FloorPaint(HDC dc, int w, int h)
{
    HDC offscreen = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ old = SelectObject(offscreen, bitmap);
    BitBlt(dc, 0, 0, w, h, offscreen, 0, 0, SRCCOPY);
    SelectObject(offscreen, old);
    DeleteObject(bitmap);
    DeleteDC(offscreen);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            RECT client;
            GetClientRect(window, &client);
            FloorPaint(dc, client.right, client.bottom);
            EndPaint(window, &ps);
            return 0;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterClasses()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "CalBenchPanel";
    RegisterClassA(&wc);
    wc.lpfnWndProc = FloorProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = "CalBenchFloor";
    RegisterClassA(&wc);
}

// ---- the library's BeginPaint and GetLocalTime, counted

using BeginPaintProc = HDC(WINAPI*)(HWND, LPPAINTSTRUCT);
using GetLocalTimeProc = void(WINAPI*)(LPSYSTEMTIME);
BeginPaintProc g_realBeginPaint = nullptr;
GetLocalTimeProc g_realGetLocalTime = nullptr;
long g_libraryPaints = 0;
long g_clockReads = 0;

HDC WINAPI CountedBeginPaint(HWND window, LPPAINTSTRUCT ps)
{
    ++g_libraryPaints;
    return g_realBeginPaint(window, ps);
}
void WINAPI CountedGetLocalTime(LPSYSTEMTIME time)
{
    ++g_clockReads;
    g_realGetLocalTime(time);
}

void CountLibraryCalls(HMODULE library, bool on)
{
    if (on) {
        g_realBeginPaint = reinterpret_cast<BeginPaintProc>(CalTestPatchImport(
            library, "user32.dll", "BeginPaint", reinterpret_cast<void*>(CountedBeginPaint)));
        g_realGetLocalTime = reinterpret_cast<GetLocalTimeProc>(CalTestPatchImport(
            library, "kernel32.dll", "GetLocalTime", reinterpret_cast<void*>(CountedGetLocalTime)));
    } else {
        if (g_realBeginPaint != nullptr)
            CalTestPatchImport(
                library, "user32.dll", "BeginPaint", reinterpret_cast<void*>(g_realBeginPaint));
        if (g_realGetLocalTime != nullptr)
            CalTestPatchImport(
                library, "kernel32.dll", "GetLocalTime", reinterpret_cast<void*>(g_realGetLocalTime));
    }
}

// ---- settings

CalToolSettings Settings(bool weekNumbers, bool background)
{
    CalToolSettings s;
    CalSetDefaultSettings(&s);
    s.weekNumbers = weekNumbers ? 1 : 0;
    s.useBackground = background ? 1 : 0;
    return s;
}

struct Variant {
    bool weekNumbers;
    bool background;
};
constexpr Variant kVariants[] = {{false, false}, {true, false}, {false, true}, {true, true}};

std::string VariantName(const Variant& v)
{
    return BenchFormat("wk%c bg%c", v.weekNumbers ? '+' : '-', v.background ? '+' : '-');
}

// ---- one paint benchmark case

struct Case {
    std::string name;
    std::function<void()> prepare;  // untimed, before every batch
    std::function<void()> op;       // one paint
    HWND window = nullptr;          // for window cases: painted and checked
    BenchSurface* surface = nullptr;
    std::vector<BenchPaintCounter*> counters;  // the window's, then its children's
    int batch = 1;
    std::vector<double> perOp;
    std::vector<double> ownPaintUs;    // inside the window's own WM_PAINT
    std::vector<double> childPaintUs;  // inside its children's WM_PAINT
    long ops = 0;
    long paints = 0;
    long backgroundRequests = 0;
    double painted = 0;
};

void Verify(Case& c)
{
    if (c.prepare)
        c.prepare();
    if (c.window != nullptr) {
        BenchPoisonWindow(c.window);
        c.op();
        c.painted = BenchPaintedShare(c.window);
    } else {
        c.surface->Fill(kBenchPoisonPixel);
        c.op();
        const double total = static_cast<double>(c.surface->width) * c.surface->height;
        c.painted = (total - static_cast<double>(c.surface->Count(kBenchPoisonPixel))) / total;
    }
}

void Calibrate(Case& c, double batchUs)
{
    if (c.prepare)
        c.prepare();
    c.op();  // warm
    const double start = BenchNowUs();
    c.op();
    const double once = BenchNowUs() - start;
    const double n = once > 0 ? batchUs / once : 100;
    c.batch = n < 1 ? 1 : n > 200 ? 200 : static_cast<int>(n + 0.5);
}

void RunBatch(Case& c)
{
    if (c.prepare)
        c.prepare();
    CalPumpMessages();
    std::vector<long> paints0;
    std::vector<double> us0;
    for (auto* k : c.counters) {
        paints0.push_back(k->paints);
        us0.push_back(k->paintUs);
    }
    const long requests0 = g_backgroundRequests;
    const double start = BenchNowUs();
    for (int i = 0; i < c.batch; ++i)
        c.op();
    const double elapsed = BenchNowUs() - start;
    c.perOp.push_back(elapsed / c.batch);
    c.ops += c.batch;
    c.backgroundRequests += g_backgroundRequests - requests0;
    if (!c.counters.empty()) {
        c.paints += c.counters[0]->paints - paints0[0];
        c.ownPaintUs.push_back((c.counters[0]->paintUs - us0[0]) / c.batch);
        double children = 0;
        for (std::size_t k = 1; k < c.counters.size(); ++k)
            children += c.counters[k]->paintUs - us0[k];
        c.childPaintUs.push_back(children / c.batch);
    }
}

std::string Checked(const Case& c)
{
    std::string note;
    if (!c.counters.empty())
        note += BenchFormat("WM_PAINT %ld/%ld", c.paints, c.ops);
    else
        note += BenchFormat("%ld paints", c.ops);
    note += BenchFormat(", %.1f%% of pixels painted", c.painted * 100);
    if (c.backgroundRequests != 0)
        note += BenchFormat(", %ld background requests", c.backgroundRequests);
    return note;
}

// The median over rounds of a ratio taken within each round.
double RoundRatio(const Case& a, const Case& b)
{
    std::vector<double> r;
    for (std::size_t i = 0; i < a.perOp.size() && i < b.perOp.size(); ++i)
        r.push_back(a.perOp[i] / b.perOp[i]);
    return BenchMedian(r);
}

void RatioRow(const std::string& group, const std::string& what, double ratio, double target)
{
    if (target > 0)
        BenchRow(group, what, BenchFormat("%.3f", ratio),
            BenchFormat("target <= %.2f: %s", target, ratio <= target ? "MEETS" : "MISSES"));
    else
        BenchRow(group, what, BenchFormat("%.3f", ratio), "for information");
}

// ---- what the spinners and the platform's text calls cost by themselves

// The spinners are the platform's up-down controls; their repaint, alone,
// and the two scroll arrows they draw, into memory at their size.
void BenchSpinnerCosts(HWND tool, const std::string& sz)
{
    HWND spin = GetWindow(tool, GW_CHILD);
    if (spin == nullptr)
        return;
    RECT r;
    GetClientRect(spin, &r);
    BenchSurface surface(r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1);
    std::vector<double> repaint;
    std::vector<double> arrows;
    constexpr int kBatch = 5;
    for (int round = 0; round < 15; ++round) {
        double start = BenchNowUs();
        for (int i = 0; i < kBatch; ++i) {
            InvalidateRect(spin, nullptr, TRUE);
            UpdateWindow(spin);
        }
        repaint.push_back((BenchNowUs() - start) / kBatch);
        start = BenchNowUs();
        for (int i = 0; i < kBatch; ++i) {
            RECT left{0, 0, r.right / 2, r.bottom};
            RECT right{r.right / 2, 0, r.right, r.bottom};
            DrawFrameControl(surface.dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT);
            DrawFrameControl(surface.dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT);
        }
        arrows.push_back((BenchNowUs() - start) / kBatch);
    }
    const std::string group = "spinner " + sz;
    BenchRow(group, BenchFormat("one spinner (%ld x %ld) repainted alone", r.right, r.bottom),
        BenchMicros(BenchMedian(repaint)), "the platform's up-down control; 15 rounds x 5");
    BenchRow(group, "DrawFrameControl, two scroll arrows at its size, into memory",
        BenchMicros(BenchMedian(arrows)), "15 rounds x 5");
}

// A day number drawn the painter's way, and the same text by other calls,
// on an off-screen surface with the view's font: what one text call costs.
void BenchTextCosts(const BenchSurface& target, const CalToolState& state, const std::string& sz)
{
    HDC dc = CreateCompatibleDC(target.dc);
    HBITMAP bitmap = CreateCompatibleBitmap(target.dc, target.width, target.height);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT font = CalCreateStoredFont(state.appliedFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT cell{40, 40, 62, 55};
    const UINT centred = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    struct Way {
        const char* name;
        std::function<void()> draw;
    };
    const Way ways[] = {
        {"DrawTextW \"15\", centred, clipped", [&] { DrawTextW(dc, L"15", 2, &cell, centred); }},
        {"DrawTextW \"15\", centred, DT_NOCLIP", [&] { DrawTextW(dc, L"15", 2, &cell, centred | DT_NOCLIP); }},
        {"GetTextExtentPoint32W + ExtTextOutW \"15\", where DrawTextW centres it (as the painter)",
            [&] {
                SIZE size;
                GetTextExtentPoint32W(dc, L"15", 2, &size);
                ExtTextOutW(dc, (cell.left + cell.right - size.cx) / 2, (cell.top + cell.bottom) / 2 - size.cy / 2,
                    ETO_CLIPPED, &cell, L"15", 2, nullptr);
            }},
        {"ExtTextOutW \"15\", clipped to the cell",
            [&] { ExtTextOutW(dc, cell.left, cell.top, ETO_CLIPPED, &cell, L"15", 2, nullptr); }},
    };
    std::vector<std::vector<double>> figures(std::size(ways));
    constexpr int kBatch = 50;
    for (int round = 0; round < 15; ++round)
        for (std::size_t k = 0; k < std::size(ways); ++k) {
            const double start = BenchNowUs();
            for (int i = 0; i < kBatch; ++i)
                ways[k].draw();
            figures[k].push_back((BenchNowUs() - start) / kBatch);
        }
    for (std::size_t k = 0; k < std::size(ways); ++k)
        BenchRow("text calls " + sz, ways[k].name, BenchMicros(BenchMedian(figures[k])), "15 rounds x 50");
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// A fresh off-screen bitmap is given its memory when it is first drawn
// into: its first fill costs more than any later one. Measured with the
// window's own device context, as a repaint makes it.
void BenchFreshBitmap(HWND window, int w, int h, const std::string& sz)
{
    HDC windowDc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    RECT all{0, 0, w, h};
    std::vector<double> make, first, second, release;
    for (int round = 0; round < 15; ++round) {
        double t0 = BenchNowUs();
        HDC dc = CreateCompatibleDC(windowDc);
        HBITMAP bitmap = CreateCompatibleBitmap(windowDc, w, h);
        HGDIOBJ old = SelectObject(dc, bitmap);
        double t1 = BenchNowUs();
        FillRect(dc, &all, brush);
        double t2 = BenchNowUs();
        FillRect(dc, &all, brush);
        double t3 = BenchNowUs();
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        double t4 = BenchNowUs();
        make.push_back(t1 - t0);
        first.push_back(t2 - t1);
        second.push_back(t3 - t2);
        release.push_back(t4 - t3);
    }
    DeleteObject(brush);
    ReleaseDC(window, windowDc);
    const std::string group = "fresh bitmap " + sz;
    BenchRow(group, "CreateCompatibleDC + CreateCompatibleBitmap + select", BenchMicros(BenchMedian(make)),
        "15 rounds");
    BenchRow(group, "first FillRect of all of it", BenchMicros(BenchMedian(first)), "15 rounds");
    BenchRow(group, "second FillRect of all of it", BenchMicros(BenchMedian(second)), "15 rounds");
    BenchRow(group, "select back, DeleteObject, DeleteDC", BenchMicros(BenchMedian(release)), "15 rounds");
}

// ---- the paint benchmarks of one size

struct SizeWindows {
    HWND tool = nullptr;
    HWND control = nullptr;
    HWND floor = nullptr;
    HWND markedTool = nullptr;     // ten marked days and a selection
    HWND markedControl = nullptr;  // the same ten days in bold (MCS_DAYSTATE)
};

// The ten days marked in both, and the tool's selected day.
constexpr DWORD kTenDays = 1u << 2 | 1u << 4 | 1u << 7 | 1u << 10 | 1u << 13 | 1u << 16 | 1u << 19 | 1u << 22 |
    1u << 25 | 1u << 27;
constexpr int kSelectedDay = 12;

// The tool below the others, showing today's month with the ten days marked
// and the 12th selected; the platform's control beside it, its every shown
// month with the same ten days in bold.
void MarkTenDays(SizeWindows& w)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    const CalDayMarks marks{today.wYear, today.wMonth, kTenDays};
    SendMessageA(w.markedTool, CTM_SETDAYMARKS, 1, reinterpret_cast<LPARAM>(&marks));
    SendMessageA(w.markedTool, CTM_SETSELECTION, 0,
        static_cast<LPARAM>(CalPackDate(today.wYear, today.wMonth, kSelectedDay)));
    SYSTEMTIME range[2];
    const auto months = static_cast<int>(SendMessageA(w.markedControl, MCM_GETMONTHRANGE, GMR_DAYSTATE,
        reinterpret_cast<LPARAM>(range)));
    std::vector<MONTHDAYSTATE> states(static_cast<std::size_t>(months > 0 ? months : 1), kTenDays);
    SendMessageA(w.markedControl, MCM_SETDAYSTATE, static_cast<WPARAM>(months), reinterpret_cast<LPARAM>(states.data()));
}

struct PaintContext {
    HWND window;
    HDC dc;
    const CalToolState* state;
};
void PaintInto(void* p)
{
    auto* c = static_cast<PaintContext*>(p);
    CalPaintMonth(c->window, c->dc, c->state);
}

CalToolState MemoryState(HWND window, const CalToolSettings& settings)
{
    CalToolState state{};
    state.settings = settings;
    state.appliedFont = settings.font;
    state.window = window;
    GetLocalTime(&state.shown);
    state.todayMonth = state.shown.wMonth;
    state.todayYear = state.shown.wYear;
    return state;
}

SizeWindows CreateSizeWindows(const CalLoadedPlugin& plugin, HWND panel, const Size& s)
{
    SizeWindows w;
    const CalToolSettings initial = Settings(false, false);
    RECT r{s.x, s.y, s.x + s.w, s.y + s.h};
    w.tool = plugin.create(panel, &r, &initial, 0, 0);
    w.control = CreateWindowExA(0, MONTHCAL_CLASSA, "", WS_CHILD | WS_VISIBLE | MCS_WEEKNUMBERS, s.x + s.w,
        s.y, s.w, s.h, panel, nullptr, GetModuleHandleA(nullptr), nullptr);
    w.floor = CreateWindowExA(0, "CalBenchFloor", "", WS_CHILD | WS_VISIBLE, s.x + 2 * s.w, s.y, s.w, s.h,
        panel, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT below{s.x, s.y + s.h, s.x + s.w, s.y + 2 * s.h};
    w.markedTool = plugin.create(panel, &below, &initial, 0, 0);
    w.markedControl = CreateWindowExA(0, MONTHCAL_CLASSA, "", WS_CHILD | WS_VISIBLE | MCS_WEEKNUMBERS | MCS_DAYSTATE,
        s.x + s.w, s.y + s.h, s.w, s.h, panel, nullptr, GetModuleHandleA(nullptr), nullptr);
    MarkTenDays(w);
    UpdateWindow(panel);
    BenchPumpFor(200);
    return w;
}

void DestroySizeWindows(const SizeWindows& w)
{
    DestroyWindow(w.tool);
    DestroyWindow(w.control);
    DestroyWindow(w.floor);
    DestroyWindow(w.markedTool);
    DestroyWindow(w.markedControl);
    CalPumpMessages();
}

// One variant each: its settings block, and a record painted into memory.
struct VariantStates {
    CalToolSettings settings[4];
    CalToolState states[4];
};

VariantStates MakeVariantStates(HWND tool)
{
    VariantStates v;
    for (int i = 0; i < 4; ++i) {
        v.settings[i] = Settings(kVariants[i].weekNumbers, kVariants[i].background);
        v.states[i] = MemoryState(tool, v.settings[i]);
    }
    return v;
}

// A window invalidated whole and updated: a full repaint, as the user sees it.
Case WindowRepaintCase(const std::string& name, HWND window, std::vector<BenchPaintCounter*> counters)
{
    Case c;
    c.name = name;
    c.op = [window] {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    };
    c.window = window;
    c.counters = std::move(counters);
    return c;
}

Case MemoryCase(const std::string& name, BenchSurface& surface, std::function<void()> op)
{
    Case c;
    c.name = name;
    c.op = std::move(op);
    c.surface = &surface;
    return c;
}

// 0-3: the tool window repainted, 4-7: the painter into memory, then the
// platform's control and the floor, each on a window and into memory, then
// the marked tool and the marked control, repainted.
constexpr std::size_t kControlWindow = 8, kControlMemory = 9, kFloorWindow = 10, kFloorMemory = 11,
                      kMarkedTool = 12, kMarkedControl = 13;

std::vector<Case> PaintCases(const SizeWindows& w, VariantStates& v, BenchSurface& surface, const Size& s)
{
    std::vector<BenchPaintCounter*> toolCounters{BenchCountPaints(w.tool)};
    for (HWND child = GetWindow(w.tool, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        toolCounters.push_back(BenchCountPaints(child));

    std::vector<Case> cases;
    for (int i = 0; i < 4; ++i) {
        Case c = WindowRepaintCase("tool window repaint, " + VariantName(kVariants[i]), w.tool, toolCounters);
        CalToolSettings* block = &v.settings[i];
        HWND tool = w.tool;
        c.prepare = [tool, block] {
            SendMessageA(tool, CTM_SETSETTINGS, CAL_SETTINGS_SIZE, reinterpret_cast<LPARAM>(block));
        };
        cases.push_back(c);
    }
    for (int i = 0; i < 4; ++i) {
        const CalToolState* state = &v.states[i];
        HWND tool = w.tool;
        HDC dc = surface.dc;
        cases.push_back(MemoryCase("CalPaintMonth into memory, " + VariantName(kVariants[i]), surface,
            [tool, dc, state] { CalPaintMonth(tool, dc, state); }));
    }
    cases.push_back(WindowRepaintCase(
        "platform control repaint (week numbers)", w.control, {BenchCountPaints(w.control)}));
    HWND control = w.control;
    HDC dc = surface.dc;
    cases.push_back(MemoryCase("platform control WM_PRINTCLIENT into memory", surface, [control, dc] {
        SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    }));
    cases.push_back(WindowRepaintCase(
        "floor window repaint (make, one copy, release)", w.floor, {BenchCountPaints(w.floor)}));
    const int width = s.w;
    const int height = s.h;
    cases.push_back(MemoryCase("floor into memory (make, one copy, release)", surface,
        [dc, width, height] { FloorPaint(dc, width, height); }));
    std::vector<BenchPaintCounter*> markedCounters{BenchCountPaints(w.markedTool)};
    for (HWND child = GetWindow(w.markedTool, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        markedCounters.push_back(BenchCountPaints(child));
    cases.push_back(WindowRepaintCase("tool window repaint, ten marked days and a selection, wk- bg-",
        w.markedTool, markedCounters));
    cases.push_back(WindowRepaintCase("platform control repaint, ten days bold (week numbers, MCS_DAYSTATE)",
        w.markedControl, {BenchCountPaints(w.markedControl)}));
    return cases;
}

void TimeCases(std::vector<Case>& cases, const Options& o)
{
    for (Case& c : cases) {
        Verify(c);
        Calibrate(c, o.batchUs);
    }
    // Round-robin: every round times one batch of every case, so that load
    // falls on all of them alike.
    for (int round = 0; round < o.rounds; ++round)
        for (Case& c : cases)
            RunBatch(c);
}

// Every case's time, then the tool's against the platform's control and the
// floor, the targets' misses noted in missed.
void ReportPaints(
    const std::vector<Case>& cases, const Options& o, const std::string& sz, std::vector<std::string>& missed)
{
    const std::string group = "paint " + sz;
    for (const Case& c : cases)
        BenchRow(group, c.name, BenchMicros(BenchMedian(c.perOp)),
            BenchFormat("%s; %d rounds x %d", Checked(c).c_str(), o.rounds, c.batch));
    for (int v = 0; v < 4; ++v) {
        const std::string vn = VariantName(kVariants[v]);
        const double toPlatform = RoundRatio(cases[v], cases[kControlWindow]);
        const double toFloor = RoundRatio(cases[v], cases[kFloorWindow]);
        RatioRow(group, "repaint / platform control repaint, " + vn, toPlatform, 0.3);
        RatioRow(group, "repaint / floor repaint, " + vn, toFloor, 2.5);
        if (toPlatform > 0.3)
            missed.push_back(sz + " " + vn + " vs platform");
        if (toFloor > 2.5)
            missed.push_back(sz + " " + vn + " vs floor");
    }
    const double marked = RoundRatio(cases[kMarkedTool], cases[kMarkedControl]);
    RatioRow(group, "marked repaint / marked platform control repaint, ten days, a selection", marked, 0.3);
    if (marked > 0.3)
        missed.push_back(sz + " marked vs marked platform control");
    for (int v = 0; v < 4; ++v) {
        const std::string vn = VariantName(kVariants[v]);
        RatioRow(group, "memory paint / platform control WM_PRINTCLIENT, " + vn,
            RoundRatio(cases[4 + v], cases[kControlMemory]), 0);
        RatioRow(group, "memory paint / floor into memory, " + vn,
            RoundRatio(cases[4 + v], cases[kFloorMemory]), 0);
    }
}

// What a tool window's repaint is made of beyond the painter, split within
// each round.
void ReportRepaintSplit(const std::vector<Case>& cases, const std::string& sz)
{
    const std::string split = "repaint split " + sz;
    for (int v = 0; v < 4; ++v) {
        const Case& c = cases[v];
        std::vector<double> rest;
        for (std::size_t i = 0; i < c.perOp.size(); ++i)
            rest.push_back(c.perOp[i] - c.ownPaintUs[i] - c.childPaintUs[i]);
        const double total = BenchMedian(c.perOp);
        const double parts[3] = {BenchMedian(c.ownPaintUs), BenchMedian(c.childPaintUs), BenchMedian(rest)};
        const char* names[3] = {"tool's WM_PAINT (BeginPaint, CalPaintMonth, EndPaint)",
            "the two spinners' WM_PAINT", "InvalidateRect, UpdateWindow, dispatch"};
        for (int k = 0; k < 3; ++k)
            BenchRow(split, std::string(names[k]) + ", " + VariantName(kVariants[v]), BenchMicros(parts[k]),
                BenchFormat("%.0f%% of the repaint", 100 * parts[k] / total));
    }
}

// Where the painter's own time goes, step by step, with week numbers, on the
// face colour and on the host's background.
void BenchPainterSteps(
    const Options& o, HWND tool, const BenchSurface& surface, const VariantStates& v, const Size& s)
{
    BenchProfileStart();
    const int profiled = o.rounds < 15 ? 15 : o.rounds;
    for (int i : {1, 3}) {
        PaintContext context{tool, surface.dc, &v.states[i]};
        std::vector<std::vector<double>> steps(STEP_COUNT);
        std::vector<double> totals;
        BenchStepFigures last{};
        for (int n = 0; n < profiled; ++n) {
            const double start = BenchNowUs();
            last = BenchProfile(s.w, kVariants[i].weekNumbers, PaintInto, &context);
            totals.push_back(BenchNowUs() - start);
            for (int k = 0; k < STEP_COUNT; ++k)
                steps[static_cast<std::size_t>(k)].push_back(last.us[static_cast<std::size_t>(k)]);
        }
        const std::string pg = "profile " + SizeName(s) + " " + VariantName(kVariants[i]);
        const double total = BenchMedian(totals);
        double booked = 0;
        for (int k = 0; k < STEP_COUNT; ++k) {
            const auto step = static_cast<std::size_t>(k);
            if (last.calls[step] == 0)
                continue;
            const double m = BenchMedian(steps[step]);
            booked += m;
            BenchRow(pg, BenchStepName(k), BenchMicros(m),
                BenchFormat("%.1f%%, %ld calls", 100 * m / total, last.calls[step]));
        }
        BenchRow(pg, "the painter's own code and the timing", BenchMicros(total - booked),
            BenchFormat("%.1f%%", 100 * (total - booked) / total));
        BenchRow(
            pg, "CalPaintMonth, timed step by step", BenchMicros(total), BenchFormat("%d paints", profiled));
    }
    BenchProfileStop();
}

void BenchSize(const Options& o, const CalLoadedPlugin& plugin, HWND panel, const Size& s,
    std::vector<std::string>& missed)
{
    const std::string sz = SizeName(s);
    const SizeWindows w = CreateSizeWindows(plugin, panel, s);
    BenchSurface surface(s.w, s.h);
    VariantStates variants = MakeVariantStates(w.tool);

    std::vector<Case> cases = PaintCases(w, variants, surface, s);
    TimeCases(cases, o);
    ReportPaints(cases, o, sz, missed);
    if (!o.paintsOnly) {
        ReportRepaintSplit(cases, sz);
        BenchSpinnerCosts(w.tool, sz);
        BenchTextCosts(surface, variants.states[0], sz);
        BenchFreshBitmap(w.tool, s.w, s.h, sz);
        BenchPainterSteps(o, w.tool, surface, variants, s);
    }
    DestroySizeWindows(w);
}

// ---- the host's requests, creation

void BenchRequests(const Options& o, const CalLoadedPlugin& plugin, HWND panel)
{
    const CalToolSettings settings = Settings(false, false);
    RECT r{1700, kSpareY, 1860, kSpareY + 128};
    HWND tool = plugin.create(panel, &r, &settings, 0, 0);
    UpdateWindow(tool);
    CalPumpMessages();

    std::vector<double> ideal;
    std::vector<double> fit;
    LRESULT idealResult = 0;
    LRESULT fitResult = 0;
    CalFitRequest request{40, 30, 1000, 1000, 1, 120};
    constexpr int kBatch = 20;
    for (int round = 0; round < o.rounds; ++round) {
        double start = BenchNowUs();
        for (int i = 0; i < kBatch; ++i)
            idealResult = SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0);
        ideal.push_back((BenchNowUs() - start) / kBatch);
        start = BenchNowUs();
        for (int i = 0; i < kBatch * 50; ++i)
            fitResult = SendMessageA(tool, CTM_FITSIZE, 0, reinterpret_cast<LPARAM>(&request));
        fit.push_back((BenchNowUs() - start) / (kBatch * 50));
    }
    const auto idealPacked = static_cast<uint32_t>(idealResult);
    const auto fitPacked = static_cast<uint32_t>(fitResult);
    BenchRow("requests", "CTM_GETIDEALSIZE", BenchMicros(BenchMedian(ideal)),
        BenchFormat("answered %u x %u; %d rounds x %d", CalPackedWidth(idealPacked),
            CalPackedHeight(idealPacked), o.rounds, kBatch));
    BenchRow("requests", "CTM_FITSIZE (SendMessageA)", BenchMicros(BenchMedian(fit)),
        BenchFormat("answered %u x %u for height 120; %d rounds x %d", CalPackedWidth(fitPacked),
            CalPackedHeight(fitPacked), o.rounds, kBatch * 50));
    DestroyWindow(tool);
    CalPumpMessages();

    // Creation to the first paint, interleaved over the sizes.
    CountLibraryCalls(plugin.module, true);
    std::vector<std::vector<double>> created(std::size(kSizes));
    std::vector<long> firstPaints(std::size(kSizes));
    for (int round = 0; round < o.rounds; ++round) {
        for (std::size_t k = 0; k < std::size(kSizes); ++k) {
            const Size& s = kSizes[k];
            RECT at{0, kSpareY, s.w, kSpareY + s.h};
            CalPumpMessages();
            const long paints0 = g_libraryPaints;
            const double start = BenchNowUs();
            HWND w = plugin.create(panel, &at, &settings, 0, 0);
            UpdateWindow(w);
            created[k].push_back(BenchNowUs() - start);
            firstPaints[k] += g_libraryPaints - paints0;
            DestroyWindow(w);
        }
    }
    CountLibraryCalls(plugin.module, false);
    for (std::size_t k = 0; k < std::size(kSizes); ++k)
        BenchRow("requests", "CalToolCreate + first paint, " + SizeName(kSizes[k]) + ", wk- bg-",
            BenchMicros(BenchMedian(created[k])),
            BenchFormat("%ld paints in %d creations", firstPaints[k], o.rounds));
    CalPumpMessages();
}

// ---- loading

struct LoadFigures {
    double us = 0;
    bool ok = false;
};

// LoadLibrary, the enumeration, the entry points resolved by name and the
// type initialised: what a host does before its first tool. The library is
// freed and its class unregistered afterwards, so that the next load starts
// as this one did.
LoadFigures LoadFresh(const std::string& path)
{
    LoadFigures f;
    HINSTANCE self = GetModuleHandleA(nullptr);
    const double start = BenchNowUs();
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr)
        return f;
    auto enumerate = reinterpret_cast<CalEnumeratePanelTypesProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "EnumeratePanelTypes")));
    char names[3][32] = {};
    CalToolTypeInfo* info = nullptr;
    if (enumerate != nullptr && enumerate(names[0], names[1], names[2], self, 0) == 1) {
        auto init =
            reinterpret_cast<CalInitToolTypeProc>(reinterpret_cast<void*>(GetProcAddress(module, names[0])));
        const bool resolved =
            GetProcAddress(module, names[1]) != nullptr && GetProcAddress(module, names[2]) != nullptr;
        if (init != nullptr && resolved)
            init(&info, 0);
    }
    f.us = BenchNowUs() - start;
    WNDCLASSA wc;
    f.ok = info != nullptr && info->name[0] != '\0' && info->image != nullptr &&
        GetClassInfoA(self, "CalTool", &wc) != 0;
    HBITMAP image = info != nullptr ? info->image : nullptr;
    HBITMAP mask = info != nullptr ? info->mask : nullptr;
    FreeLibrary(module);
    UnregisterClassA("CalTool", self);
    if (image != nullptr)
        DeleteObject(image);
    if (mask != nullptr)
        DeleteObject(mask);
    return f;
}

void BenchLoading(const Options& o)
{
    const LoadFigures first = LoadFresh(o.dll);
    BenchRow("loading", "first load in this process (LoadLibrary, enumerate, init)", BenchMicros(first.us),
        first.ok ? "type registered and described" : "FAILED");
    std::vector<double> again;
    int ok = 0;
    for (int i = 0; i < o.rounds; ++i) {
        const LoadFigures f = LoadFresh(o.dll);
        again.push_back(f.us);
        ok += f.ok ? 1 : 0;
    }
    BenchRow("loading", "load after FreeLibrary and UnregisterClass (same steps)",
        BenchMicros(BenchMedian(again)),
        BenchFormat("%d/%d registered and described; the common controls stay loaded", ok, o.rounds));
}

// ---- idle

void BenchIdle(const Options& o, const CalLoadedPlugin& plugin, HWND panel)
{
    const CalToolSettings settings = Settings(true, false);
    std::vector<HWND> tools;
    for (int i = 0; i < 10; ++i) {
        RECT r{1700 + 160 * i, kSpareY, 1860 + 160 * i, kSpareY + 128};
        tools.push_back(plugin.create(panel, &r, &settings, 0, 0));
        UpdateWindow(tools.back());
    }
    BenchPumpFor(500);

    CountLibraryCalls(plugin.module, true);
    SYSTEMTIME before;
    GetLocalTime(&before);
    const long paints0 = g_libraryPaints;
    const long reads0 = g_clockReads;
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel0, &user0);
    const double start = BenchNowUs();
    BenchPumpFor(static_cast<DWORD>(o.idleSeconds) * 1000u);
    const double wall = BenchNowUs() - start;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel1, &user1);
    const long paints = g_libraryPaints - paints0;
    const long reads = g_clockReads - reads0;
    CountLibraryCalls(plugin.module, false);
    SYSTEMTIME after;
    GetLocalTime(&after);

    auto us = [](const FILETIME& a, const FILETIME& b) {
        const auto value = [](const FILETIME& t) {
            return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return static_cast<double>(value(b) - value(a)) / 10.0;
    };
    const double cpu = us(kernel0, kernel1) + us(user0, user1);
    const std::string what = BenchFormat("10 tools, %.1f s", wall / 1e6);
    BenchRow("idle", what + ": paints", BenchFormat("%ld", paints),
        after.wDay != before.wDay ? "the day changed meanwhile" : "the day did not change: expect 0");
    BenchRow("idle", what + ": day checks (clock reads)", BenchFormat("%ld", reads),
        BenchFormat("every 2 s per tool: about %d", 10 * o.idleSeconds / 2));
    BenchRow("idle", what + ": process CPU time", BenchMicros(cpu),
        BenchFormat("%.4f%% of one core (user %s, kernel %s)", 100 * cpu / wall,
            BenchMicros(us(user0, user1)).c_str(), BenchMicros(us(kernel0, kernel1)).c_str()));

    // That the clock above sees work at all, and how finely: a busy loop
    // measured the same way, and the smallest step the clock takes.
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel0, &user0);
    const double spin = BenchNowUs();
    volatile unsigned sink = 0;
    while (BenchNowUs() - spin < 200000)
        sink = sink + 1;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel1, &user1);
    const double busy = us(kernel0, kernel1) + us(user0, user1);
    double step = 0;
    for (int tries = 0; tries < 3 && step <= 0; ++tries) {
        FILETIME k0, u0, k1, u1;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &k0, &u0);
        const double deadline = BenchNowUs() + 100000;
        do {
            sink = sink + 1;
            GetProcessTimes(GetCurrentProcess(), &created, &exited, &k1, &u1);
            step = us(k0, k1) + us(u0, u1);
        } while (step <= 0 && BenchNowUs() < deadline);
    }
    BenchRow("idle", "check of the CPU clock: 200 ms busy loop", BenchMicros(busy),
        BenchFormat(
            "about 200 ms when the core is ours; the clock moves in steps of %s", BenchMicros(step).c_str()));
    for (HWND t : tools)
        DestroyWindow(t);
    CalPumpMessages();
}

Options ParseOptions(int argc, char** argv)
{
    Options o;
    if (const char* idle = std::getenv("CAL_BENCH_IDLE_SECONDS"))
        o.idleSeconds = std::atoi(idle);
    if (const char* rounds = std::getenv("CAL_BENCH_ROUNDS"))
        o.rounds = std::atoi(rounds);
    o.dll = CAL_BENCH_DLL;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--idle-seconds=", 0) == 0)
            o.idleSeconds = std::atoi(a.c_str() + 15);
        else if (a.rfind("--rounds=", 0) == 0)
            o.rounds = std::atoi(a.c_str() + 9);
        else if (a == "--paints-only")
            o.paintsOnly = true;
        else if (a == "--mirrored")
            o.mirrored = true;
        else
            o.dll = a;
    }
    if (o.rounds < 3)
        o.rounds = 3;
    if (o.idleSeconds < 1)
        o.idleSeconds = 1;
    o.dll = CalTestWindowsPath(o.dll);
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options o = ParseOptions(argc, argv);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    RegisterClasses();
    g_panelBrush = CreateSolidBrush(RGB(0x20, 0x90, 0x40));

    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    BenchRow("setup", "screen", BenchFormat("%d x %d", screenW, screenH),
        screenW >= kPanelWidth && screenH >= kPanelHeight ? "every window lies on it"
                                                          : "TOO SMALL: some windows lie off the screen");

    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = L"";
    GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
    char localeName[LOCALE_NAME_MAX_LENGTH] = "";
    WideCharToMultiByte(CP_UTF8, 0, locale, -1, localeName, sizeof localeName, nullptr, nullptr);
    BenchRow("setup", "user's locale", localeName,
        o.mirrored ? "every window mirrored (right to left)" : "left to right");

    // Before anything else loads the library, so that the first load is one.
    if (!o.paintsOnly)
        BenchLoading(o);

    g_calTestDllPath = o.dll;
    const CalLoadedPlugin& plugin = CalTestPlugin();
    if (plugin.create == nullptr) {
        std::fprintf(stderr, "calendar_bench: cannot load %s\n", o.dll.c_str());
        return 1;
    }
    HWND panel = CreateWindowExA(o.mirrored ? WS_EX_LAYOUTRTL : 0, "CalBenchPanel", "bench panel",
        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
        0, 0, kPanelWidth, kPanelHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(panel);
    BenchPumpFor(300);

    std::vector<std::string> missed;
    long sizes = 0;
    for (const Size& s : kSizes) {
        if (o.paintsOnly && s.w > 400)
            continue;
        BenchSize(o, plugin, panel, s, missed);
        ++sizes;
    }
    if (!o.paintsOnly) {
        BenchRequests(o, plugin, panel);
        BenchIdle(o, plugin, panel);
    }

    // Four combinations of options a size, each against the platform and the floor.
    long platform = 0;
    for (const std::string& m : missed)
        platform += m.ends_with("vs platform") ? 1 : 0;
    BenchRow("summary", "targets missed", BenchFormat("%zu of %ld", missed.size(), 8 * sizes),
        missed.empty() ? "every target met"
                       : BenchFormat("%ld of %ld against the platform control, %ld of %ld against the floor",
                             platform, 4 * sizes, static_cast<long>(missed.size()) - platform, 4 * sizes));
    DestroyWindow(panel);
    return 0;
}
