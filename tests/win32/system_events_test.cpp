// A calendar tool and the rest of the system: its spinners clipped out of
// its own paint, printing into a caller's surface as the screen shows it,
// and the broadcasts of a changed clock, locale or colour scheme.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "resource.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "tool/tool_state.h"

namespace {

using Pixels = std::vector<DWORD>;

// What draw(dc) puts into a surface of w x h, 0x00RRGGBB per pixel.
Pixels Capture(int w, int h, const std::function<void(HDC)>& draw)
{
    Pixels pixels = CalCapturePixels(w, h, draw);
    for (DWORD& px : pixels)
        px &= 0xFFFFFF;
    return pixels;
}

// What the screen shows of the window's client area after a repaint.
Pixels OnScreen(HWND window, int w, int h)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CalPumpMessages();
    return Capture(w, h, [&](HDC dc) {
        HDC from = GetDC(window);
        BitBlt(dc, 0, 0, w, h, from, 0, 0, SRCCOPY);
        ReleaseDC(window, from);
    });
}

Pixels Printed(HWND window, int w, int h, UINT message = WM_PRINTCLIENT, LPARAM flags = PRF_CLIENT)
{
    return Capture(w, h, [&](HDC dc) { SendMessageA(window, message, reinterpret_cast<WPARAM>(dc), flags); });
}

// Pixels that differ outside the rectangles given (the spinners).
int DifferencesOutside(const Pixels& a, const Pixels& b, int w, int h, const std::vector<RECT>& skip)
{
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool skipped = false;
            for (const RECT& r : skip)
                skipped = skipped || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            n += !skipped && a[static_cast<size_t>(y * w + x)] != b[static_cast<size_t>(y * w + x)] ? 1 : 0;
        }
    return n;
}

// Counts the paints that windows receive, by subclassing them.
struct PaintCounter {
    static inline std::vector<std::pair<HWND, WNDPROC>> procs;
    static inline std::vector<std::pair<HWND, int>> counts;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        WNDPROC next = nullptr;
        for (auto& [w, p] : procs)
            next = w == window ? p : next;
        if (message == WM_PAINT)
            for (auto& [w, c] : counts)
                c += w == window ? 1 : 0;
        return CallWindowProcA(next, window, message, wParam, lParam);
    }
    explicit PaintCounter(std::vector<HWND> windows)
    {
        for (HWND w : windows) {
            procs.emplace_back(w, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)));
            counts.emplace_back(w, 0);
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
        }
    }
    ~PaintCounter()
    {
        for (auto& [w, p] : procs)
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(p));
        procs.clear();
        counts.clear();
    }
    int Of(HWND window) const
    {
        for (auto& [w, c] : counts)
            if (w == window)
                return c;
        return -1;
    }
    void Reset()
    {
        for (auto& entry : counts)
            entry.second = 0;
    }
};

class SystemEvents : public CalToolTest {
protected:
    static constexpr int kW = 200;
    static constexpr int kH = 160;

    void SetUp() override
    {
        CalToolTest::SetUp();
        // A panel on top, in a corner the other programs' windows keep clear
        // of, so that what the screen shows is the tool's own.
        parent_ = std::make_unique<CalTestParent>(400, 300, 820, 680, CalPanelLayer::Topmost);
    }

    HWND Create(const CalToolSettings* settings = nullptr)
    {
        RECT r{10, 10, 10 + kW, 10 + kH};
        HWND tool = CalTestPlugin().create(parent_->window, &r, settings, 0, 0);
        UpdateWindow(tool);
        CalPumpMessages();
        parent_->notifications.clear();  // the marks of today's month, asked on creation
        return tool;
    }

    static std::vector<RECT> SpinnerRects(HWND tool)
    {
        std::vector<RECT> rects;
        const CalToolState* s = CalToolFromWindow(tool);
        for (HWND spinner : {s->monthSpin, s->yearSpin}) {
            RECT r;
            GetWindowRect(spinner, &r);
            MapWindowPoints(HWND_DESKTOP, tool, reinterpret_cast<POINT*>(&r), 2);
            rects.push_back(r);
        }
        return rects;
    }
};

TEST_F(SystemEvents, TheSpinnersAreClippedOutAndPaintOnlyThemselves)
{
    HWND tool = Create();
    const CalToolState* s = CalToolFromWindow(tool);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(tool, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u)
        << "WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN";

    // A repaint of the month leaves the spinners alone; without the clipping
    // (the style as it was) they were painted over and painted again.
    PaintCounter paints({tool, s->monthSpin, s->yearSpin});
    InvalidateRect(tool, nullptr, FALSE);
    UpdateWindow(tool);
    EXPECT_EQ(paints.Of(tool), 1);
    EXPECT_EQ(paints.Of(s->monthSpin), 0);
    EXPECT_EQ(paints.Of(s->yearSpin), 0);
    const Pixels clipped = OnScreen(tool, kW, kH);

    const LONG style = GetWindowLongA(tool, GWL_STYLE);
    SetWindowLongA(tool, GWL_STYLE, style & ~WS_CLIPCHILDREN);
    paints.Reset();
    InvalidateRect(tool, nullptr, FALSE);
    UpdateWindow(tool);
    EXPECT_EQ(paints.Of(tool), 1);
    EXPECT_EQ(paints.Of(s->monthSpin) + paints.Of(s->yearSpin), 2) << "the old style repainted both";
    const Pixels unclipped = OnScreen(tool, kW, kH);
    SetWindowLongA(tool, GWL_STYLE, style);

    // The month itself is the same, pixel for pixel, either way.
    EXPECT_EQ(DifferencesOutside(clipped, unclipped, kW, kH, SpinnerRects(tool)), 0);
    EXPECT_EQ(DifferencesOutside(clipped, unclipped, kW, kH, {}), 0)
        << "and so are the spinners, once painted";
}

TEST_F(SystemEvents, PrintingShowsWhatARepaintShowsAndAsksForTheBackgroundLikeAPaint)
{
    for (const LONG background : {0, 1}) {
        for (const LONG weekNumbers : {0, 1}) {
            HWND tool = Create();
            CalToolState* s = CalToolFromWindow(tool);
            s->settings.useBackground = background;
            s->settings.weekNumbers = weekNumbers;
            const Pixels screen = OnScreen(tool, kW, kH);
            parent_->notifications.clear();
            const Pixels printed = Printed(tool, kW, kH);
            EXPECT_EQ(parent_->Received(CTN_PAINTBACKGROUND).size(), background != 0 ? 1u : 0u);
            EXPECT_EQ(DifferencesOutside(screen, printed, kW, kH, SpinnerRects(tool)), 0)
                << "background " << background << " week numbers " << weekNumbers;

            // WM_PRINT with the client asked for, as PrintWindow and
            // thumbnails send it, prints the same.
            const Pixels viaPrint = Printed(tool, kW, kH, WM_PRINT, PRF_CLIENT);
            EXPECT_EQ(DifferencesOutside(printed, viaPrint, kW, kH, {}), 0);
            const Pixels viaPrintWindow = Capture(kW, kH, [&](HDC dc) { PrintWindow(tool, dc, 0); });
            EXPECT_EQ(DifferencesOutside(printed, viaPrintWindow, kW, kH, SpinnerRects(tool)), 0);
            DestroyWindow(tool);
        }
    }
    EXPECT_TRUE(parent_->Received(CTN_SETTINGSCHANGED).empty());
}

TEST_F(SystemEvents, EachBroadcastRepaintsOnceAndChangesNoSetting)
{
    HWND tool = Create();
    const CalToolState* s = CalToolFromWindow(tool);
    PaintCounter paints({tool});
    for (UINT message : {WM_SETTINGCHANGE, WM_SYSCOLORCHANGE, WM_TIMECHANGE}) {
        paints.Reset();
        const CalToolSettings before = s->settings;
        EXPECT_EQ(SendMessageA(tool, message, 0, 0), 0);
        EXPECT_TRUE(CalNeedsPaint(tool)) << message;
        UpdateWindow(tool);
        CalPumpMessages();
        EXPECT_EQ(paints.Of(tool), 1) << message;
        EXPECT_EQ(std::memcmp(&before, &s->settings, sizeof before), 0);
    }
    EXPECT_TRUE(parent_->notifications.empty());
}

TEST_F(SystemEvents, AChangedClockReturnsToTheNewTodayAtOnce)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    HWND tool = Create();
    CalToolState* s = CalToolFromWindow(tool);
    auto browse = [&](WORD year, WORD month) {
        s->shown.wYear = year;
        s->shown.wMonth = month;
        SendMessageA(s->yearSpin, UDM_SETPOS, 0, year);
    };

    // The clock has not moved: browsing stays where it is.
    browse(2001, 3);
    SendMessageA(tool, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(s->shown.wYear, 2001);
    EXPECT_EQ(s->shown.wMonth, 3);

    // Across midnight (the record last saw yesterday): back to the new today.
    s->shown.wDay = static_cast<WORD>(today.wDay % 28 + 1);
    SendMessageA(tool, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(s->shown.wYear, today.wYear);
    EXPECT_EQ(s->shown.wMonth, today.wMonth);
    EXPECT_EQ(s->shown.wDay, today.wDay);
    EXPECT_EQ(CalSpinnerPosition(s->yearSpin), today.wYear);

    // The same day number in another month, which the day check cannot see.
    browse(2001, 3);
    s->todayMonth = static_cast<WORD>(today.wMonth % 12 + 1);
    SendMessageA(tool, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(s->shown.wYear, today.wYear);
    EXPECT_EQ(s->shown.wMonth, today.wMonth);
    EXPECT_EQ(s->todayMonth, today.wMonth);
    EXPECT_TRUE(parent_->notifications.empty());
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
