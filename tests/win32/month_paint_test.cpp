// The month view painted into a memory surface and read back pixel by pixel:
// the etched frame and separator, today's sunken mark, the host's background
// showing through, where text may fall, and that every paint releases all it
// makes. Glyphs depend on the installed fonts, so text is only located.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win32/support/figures.h"
#include "tests/win32/support/resource_ledger.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_parent.h"
#include "tool/day_marks.h"
#include "tool/tool_settings.h"
#include "tool/tool_state.h"
#include "tool/tool_view.h"
#include "view/month_layout.h"

namespace {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

constexpr DWORD kUnpainted = 0x123456;

// A 32-bit DIB section holds 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
DWORD Pixel(COLORREF c)
{
    return (DWORD{GetRValue(c)} << 16) | (DWORD{GetGValue(c)} << 8) | DWORD{GetBValue(c)};
}
DWORD Sys(int index)
{
    return Pixel(GetSysColor(index));
}

// The painter is linked into this program, so routing the program's own
// imports through the ledger counts every object the painter makes.
class LedgerEnvironment : public ::testing::Environment {
public:
    void SetUp() override { CalLedgerInstall(GetModuleHandleA(nullptr)); }
};
[[maybe_unused]] const auto* const g_ledger = ::testing::AddGlobalTestEnvironment(new LedgerEnvironment);

// A surface standing in for the paint DC, read directly, every pixel
// unpainted to begin with.
struct Surface : CalDibSurface {
    Surface(int w, int h)
        : CalDibSurface(w, h)
    {
        Fill(kUnpainted);
    }
};

CalToolState MakeState(HWND window, WORD year, WORD month, WORD day, WORD todayYear, WORD todayMonth)
{
    CalToolState state{};
    CalSetDefaultSettings(&state.settings);
    state.appliedFont = state.settings.font;
    state.window = window;
    state.shown.wYear = year;
    state.shown.wMonth = month;
    state.shown.wDay = day;
    state.todayYear = todayYear;
    state.todayMonth = todayMonth;
    return state;
}

CalLedgerCounts PaintCounted(const Surface& surface, const CalToolState& state)
{
    const CalLedgerCounts before = CalLedgerSnapshot();
    CalPaintMonth(state.window, surface.dc, &state);
    GdiFlush();
    return CalLedgerSnapshot() - before;
}

// A paint that made its surfaces and gave every one of them back intact.
AssertionResult Clean(const CalLedgerCounts& c)
{
    if (c.objectsMade == 0 || c.LiveObjects() != 0 || c.releasedWhileInUse != 0 || c.dcsReleasedDirty != 0 ||
        c.failedReleases != 0)
        return AssertionFailure() << c;
    return AssertionSuccess();
}

// Paints into a fresh surface of the given size, which must come out clean.
std::unique_ptr<Surface> Paint(const CalToolState& state, int w, int h)
{
    auto surface = std::make_unique<Surface>(w, h);
    EXPECT_TRUE(Clean(PaintCounted(*surface, state)));
    return surface;
}

bool Contains(const CalRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
bool InRing(const CalRect& r, int x, int y)  // the 2-pixel band along r's inside
{
    return Contains(r, x, y) && !Contains(CalRect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, x, y);
}

// A 2-pixel edge on r, corners aside: outer then inner line on the top and
// left, inner then outer on the bottom and right.
AssertionResult EdgeIs(const Surface& s, const CalRect& r, DWORD outerTopLeft, DWORD innerTopLeft,
    DWORD innerBottomRight, DWORD outerBottomRight)
{
    for (int x = r.left + 2; x < r.right - 2; ++x)
        if (s.At(x, r.top) != outerTopLeft || s.At(x, r.top + 1) != innerTopLeft ||
            s.At(x, r.bottom - 2) != innerBottomRight || s.At(x, r.bottom - 1) != outerBottomRight)
            return AssertionFailure() << "edge broken at x " << x;
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
        if (s.At(r.left, y) != outerTopLeft || s.At(r.left + 1, y) != innerTopLeft ||
            s.At(r.right - 2, y) != innerBottomRight || s.At(r.right - 1, y) != outerBottomRight)
            return AssertionFailure() << "edge broken at y " << y;
    return AssertionSuccess();
}

// A painted view read against the geometry it follows. Edge pixels (frame,
// separator lines, today's ring) are checked exactly; every other pixel is
// either the ground it was painted on or ink of some text.
struct View {
    const Surface& s;
    CalMonthLayout l;
    DWORD ground;      // the face colour, or the host's where it shows through
    bool todayFilled;  // today's cell carries the highlight fill

    View(const Surface& surface, const CalToolState& state, COLORREF host)
        : s(surface)
    {
        RECT client;
        GetClientRect(state.window, &client);
        const bool today = state.todayYear == state.shown.wYear && state.todayMonth == state.shown.wMonth;
        l = CalComputeMonthLayout(CalLayoutInput{client.right, client.bottom, state.settings.weekNumbers,
            state.settings.firstDay, state.shown.wYear, state.shown.wMonth, today ? state.shown.wDay : 0});
        ground = state.settings.useBackground != 0 ? Pixel(host) : Sys(COLOR_BTNFACE);
        todayFilled = l.hasToday && state.settings.useBackground == 0;
    }

    bool Edge(int x, int y) const
    {
        const CalRect& sep = l.separator;
        const bool top = Contains(CalRect{sep.left, sep.top, sep.right, sep.top + 2}, x, y);
        const bool left = (l.separatorSides & CAL_SIDE_LEFT) != 0 &&
            Contains(CalRect{sep.left, sep.top, sep.left + 2, sep.bottom}, x, y);
        return InRing(l.frame, x, y) || top || left || (l.hasToday && InRing(l.todayEdge, x, y));
    }
    DWORD Ground(int x, int y) const
    {
        return todayFilled && Contains(l.todayFill, x, y) ? Sys(COLOR_BTNHIGHLIGHT) : ground;
    }
    bool Ink(int x, int y) const { return !Edge(x, y) && s.At(x, y) != Ground(x, y); }

    // Ink pixels inside r, with their bounding box.
    int InkIn(const CalRect& r, CalRect* box = nullptr) const
    {
        int n = 0;
        CalRect b{r.right, r.bottom, r.left, r.top};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Ink(x, y)) {
                    ++n;
                    b = CalRect{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1),
                        std::max(b.bottom, y + 1)};
                }
        if (box != nullptr)
            *box = b;
        return n;
    }

    // Text in the text colour, smoothed or not: every ink pixel of r lies
    // between the ground and the text colour in each channel, and the
    // strongest goes at least half way to the text colour. How far the
    // smoothing goes depends on the face, so no exact shade is asked for.
    AssertionResult InkIsTextColoured(const CalRect& r) const
    {
        const DWORD text = Sys(COLOR_BTNTEXT);
        double strongest = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (!Ink(x, y))
                    continue;
                const DWORD p = s.At(x, y), g = Ground(x, y);
                for (int shift : {16, 8, 0}) {
                    const int pc = (p >> shift) & 0xFF, gc = (g >> shift) & 0xFF, tc = (text >> shift) & 0xFF;
                    if (pc < std::min(gc, tc) - 8 || pc > std::max(gc, tc) + 8)
                        return AssertionFailure() << "pixel " << std::hex << p << " at (" << std::dec << x
                                                  << ", " << y << ") is no shade between the ground and the text colour";
                    if (std::abs(tc - gc) > 32)
                        strongest = std::max(strongest, double(pc - gc) / (tc - gc));
                }
            }
        if (strongest < 0.5)
            return AssertionFailure() << "the text's strongest pixel goes " << strongest << " of the way to the text colour";
        return AssertionSuccess();
    }
    CalRect TitleBand() const
    {
        return CalRect{l.inner.left, l.inner.top, l.inner.right, l.inner.top + l.rowHeight};
    }

    AssertionResult FrameIsEtched() const
    {
        const DWORD shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
        return EdgeIs(s, l.frame, shadow, light, shadow, light);
    }
    AssertionResult TodayIsSunken() const
    {
        return EdgeIs(s, l.todayEdge, Sys(COLOR_BTNSHADOW), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT),
            Sys(COLOR_BTNHIGHLIGHT));
    }

    // An etched line along the separator's top and, with week numbers, its
    // left; without them its left column is plain ground.
    AssertionResult SeparatorIsEtched() const
    {
        const DWORD shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
        const CalRect& sep = l.separator;
        for (int x = sep.left + 2; x < sep.right - 1; ++x)
            if (s.At(x, sep.top) != shadow || s.At(x, sep.top + 1) != light)
                return AssertionFailure() << "separator top at x " << x;
        const bool left = (l.separatorSides & CAL_SIDE_LEFT) != 0;
        for (int y = sep.top + 2; y < sep.bottom; ++y)
            if (left ? s.At(sep.left, y) != shadow || s.At(sep.left + 1, y) != light
                     : s.At(sep.left, y) != ground)
                return AssertionFailure()
                    << "separator left at y " << y << (left ? " not etched" : " etched");
        return AssertionSuccess();
    }

    // Inside the frame, only the cells that hold text differ from the ground.
    AssertionResult InkOnlyInTextCells() const
    {
        std::vector<CalRect> cells{TitleBand()};
        cells.insert(cells.end(), l.header, l.header + 7);
        cells.insert(cells.end(), l.day + 1, l.day + 1 + l.dayCount);
        for (int t = 0; t < l.rowCount; ++t)
            if (l.week[t].drawn)
                cells.push_back(l.week[t].rect);
        const auto inCell = [&cells](int x, int y) {
            return std::any_of(
                cells.begin(), cells.end(), [x, y](const CalRect& r) { return Contains(r, x, y); });
        };
        for (int y = l.face.top; y < l.face.bottom; ++y)
            for (int x = l.face.left; x < l.face.right; ++x)
                if (Ink(x, y) && !inCell(x, y))
                    return AssertionFailure() << "stray pixel " << std::hex << s.At(x, y) << " at ("
                                              << std::dec << x << ", " << y << ")";
        return AssertionSuccess();
    }

    // The title (in the text colour), every initial, every day and every
    // shown week number has ink, a week number left out has none, and day
    // numbers sit centred in their cells.
    AssertionResult TextCellsAreFilled() const
    {
        if (InkIn(TitleBand()) == 0)
            return AssertionFailure() << "no title";
        if (AssertionResult coloured = InkIsTextColoured(TitleBand()); !coloured)
            return AssertionFailure() << "title: " << coloured.message();
        for (int c = 0; c < 7; ++c)
            if (InkIn(l.header[c]) == 0)
                return AssertionFailure() << "no initial in column " << c;
        for (int t = 0; t < l.rowCount; ++t)
            if ((InkIn(l.week[t].rect) != 0) != l.week[t].drawn)
                return AssertionFailure() << "week row " << t << (l.week[t].drawn ? " blank" : " numbered");
        for (int d = 1; d <= l.dayCount; ++d) {
            const CalRect& cell = l.day[d];
            CalRect ink;
            if (InkIn(cell, &ink) == 0)
                return AssertionFailure() << "day " << d << " blank";
            // Side bearings and the descent put the ink a little off centre.
            const int dx = (ink.left - cell.left) - (cell.right - ink.right);
            const int dy = (ink.top - cell.top) - (cell.bottom - ink.bottom);
            if (dx < -3 || dx > 3 || dy < -4 || dy > 4)
                return AssertionFailure() << "day " << d << " off centre by (" << dx << ", " << dy << ")";
        }
        return AssertionSuccess();
    }
};

class MonthPaintTest : public ::testing::Test {
protected:
    CalTestParent parent{440, 340};

    HWND Child(int w, int h)
    {
        return CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, w, h, parent.window, nullptr,
            GetModuleHandleA(nullptr), nullptr);
    }
};

TEST_F(MonthPaintTest, FrameSeparatorAndTextLieWhereTheGeometryPutsThem)
{
    const int sizes[][2] = {{160, 128}, {200, 160}, {400, 300}};
    const WORD months[][2] = {{2024, 3}, {2021, 2}, {2023, 10}};
    for (const auto& size : sizes) {
        HWND child = Child(size[0], size[1]);
        for (const auto& month : months)
            for (LONG weekNumbers : {0, 1})
                for (LONG firstDay : {0, 1, 2, 3, 4, 5, 6, 9, -3}) {
                    SCOPED_TRACE(testing::Message()
                        << size[0] << "x" << size[1] << " " << month[0] << "-" << month[1] << " week numbers "
                        << weekNumbers << " first day " << firstDay);
                    CalToolState state = MakeState(child, month[0], month[1], 1, 1999, 1);
                    state.settings.weekNumbers = weekNumbers;
                    state.settings.firstDay = firstDay;
                    // A surface larger than the window: nothing lands beyond the client area.
                    const auto surface = Paint(state, size[0] + 8, size[1] + 8);
                    const View v(*surface, state, parent.background);
                    EXPECT_TRUE(v.FrameIsEtched());
                    EXPECT_TRUE(v.SeparatorIsEtched());
                    EXPECT_TRUE(v.InkOnlyInTextCells());
                    EXPECT_TRUE(v.TextCellsAreFilled());
                    EXPECT_EQ(surface->At(size[0], size[1]), kUnpainted);
                    EXPECT_EQ(surface->At(size[0] + 7, 0), kUnpainted);
                    EXPECT_EQ(surface->At(0, size[1] + 7), kUnpainted);
                }
    }
}

TEST_F(MonthPaintTest, TodayIsSunkenAndHighlightedOnlyInItsMonthAndOverTheFace)
{
    HWND child = Child(200, 160);
    // The first, a middle and the last day: the first and the last week row.
    for (WORD day : {WORD{1}, WORD{15}, WORD{31}})
        for (LONG useBackground : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "day " << day << " host background " << useBackground);
            CalToolState state = MakeState(child, 2024, 3, day, 2024, 3);
            state.settings.useBackground = useBackground;
            const auto surface = Paint(state, 200, 160);
            const View v(*surface, state, parent.background);
            ASSERT_TRUE(v.l.hasToday);
            EXPECT_TRUE(v.TodayIsSunken());
            EXPECT_TRUE(v.InkOnlyInTextCells());
            EXPECT_TRUE(v.TextCellsAreFilled());
            // The fill reaches the edge's inner lines, or is left out over the host's background.
            const CalRect& fill = v.l.todayFill;
            const DWORD expected = useBackground != 0 ? Pixel(parent.background) : Sys(COLOR_BTNHIGHLIGHT);
            EXPECT_EQ(surface->At(fill.left, fill.top), expected);
            EXPECT_EQ(surface->At(fill.right - 1, fill.bottom - 1), expected);
        }

    // April shown while today is in March, and March a year later: no mark.
    for (const CalToolState& state :
        {MakeState(child, 2024, 4, 15, 2024, 3), MakeState(child, 2025, 3, 15, 2024, 3)}) {
        const auto surface = Paint(state, 200, 160);
        const View v(*surface, state, parent.background);
        ASSERT_FALSE(v.l.hasToday);
        EXPECT_TRUE(v.InkOnlyInTextCells());
        int marked = 0;
        for (int y = v.l.separator.top + 2; y < v.l.face.bottom; ++y)
            for (int x = v.l.face.left; x < v.l.face.right; ++x)
                marked += surface->At(x, y) == Sys(COLOR_BTNHIGHLIGHT) ? 1 : 0;
        EXPECT_EQ(marked, 0) << state.shown.wYear << "-" << state.shown.wMonth;
    }
}

TEST_F(MonthPaintTest, HostBackgroundIsAskedForOncePerPaintAndShowsThrough)
{
    HWND child = Child(160, 128);
    BITMAP asked{};
    parent.onNotification = [&asked](const CalRecordedNotification& n) {
        // Still inside the paint: the surface the host paints must be off-screen, of the client's size.
        HDC dc;
        std::memcpy(&dc, n.request.data() + offsetof(CalBackgroundRequest, dc), sizeof dc);
        if (n.message == CTN_PAINTBACKGROUND && GetObjectType(dc) == OBJ_MEMDC)
            GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof asked, &asked);
    };
    CalToolState state = MakeState(child, 2024, 3, 15, 2024, 3);
    state.settings.weekNumbers = 1;
    state.settings.useBackground = 1;
    Surface surface(160, 128);
    for (size_t paint = 1; paint <= 2; ++paint) {
        ASSERT_TRUE(Clean(PaintCounted(surface, state)));
        ASSERT_EQ(parent.Received(CTN_PAINTBACKGROUND).size(), paint);
    }
    const CalRecordedNotification n = parent.Received(CTN_PAINTBACKGROUND).back();
    CalBackgroundRequest request;
    std::memcpy(&request, n.request.data(), sizeof request);
    EXPECT_NE(n.lParam, 0);
    EXPECT_EQ(request.window, child);
    EXPECT_NE(request.dc, nullptr);
    EXPECT_NE(request.dc, surface.dc);
    EXPECT_EQ(std::pair(asked.bmWidth, asked.bmHeight), std::pair(LONG{160}, LONG{128}));
    const RECT client{0, 0, 160, 128};
    EXPECT_TRUE(EqualRect(&request.rect, &client));
    EXPECT_EQ(request.reserved[0] | request.reserved[1] | request.reserved[2], 0u);

    // The host's colour is the ground; the frame and the lines are drawn over it.
    const View v(surface, state, parent.background);
    EXPECT_EQ(surface.At(2, 2), Pixel(parent.background));
    EXPECT_EQ(surface.At(157, 125), Pixel(parent.background));
    EXPECT_TRUE(v.FrameIsEtched());
    EXPECT_TRUE(v.SeparatorIsEtched());
    EXPECT_TRUE(v.TodayIsSunken());
    EXPECT_TRUE(v.InkOnlyInTextCells());
    EXPECT_TRUE(v.TextCellsAreFilled());

    // Without the option the host is not asked and the face is the ground.
    state.settings.useBackground = 0;
    parent.notifications.clear();
    ASSERT_TRUE(Clean(PaintCounted(surface, state)));
    EXPECT_TRUE(parent.notifications.empty());
    EXPECT_EQ(surface.At(2, 2), Sys(COLOR_BTNFACE));
    EXPECT_TRUE(View(surface, state, parent.background).InkOnlyInTextCells());
}

TEST_F(MonthPaintTest, PaintLeavesTheRecordUntouched)
{
    HWND child = Child(200, 160);
    // Every byte the paint has no business with carries a pattern.
    CalToolState state;
    std::memset(&state, 0x5A, sizeof state);
    CalSetDefaultSettings(&state.settings);
    state.settings.weekNumbers = 1;
    state.appliedFont = state.settings.font;
    state.window = child;
    state.shown = SYSTEMTIME{2024, 3, 5, 15, 10, 20, 30, 400};
    state.todayYear = 2024;
    state.todayMonth = 3;
    CalDayMarkStore store{};
    CalKeepMarks(store.months, 2024, 3, 1u << 19);
    state.marks = &store;
    const CalDayMarkStore marks = store;
    for (LONG useBackground : {0, 1}) {
        state.settings.useBackground = useBackground;
        unsigned char before[sizeof state];
        std::memcpy(before, &state, sizeof state);
        Paint(state, 200, 160);
        EXPECT_EQ(std::memcmp(before, &state, sizeof state), 0) << "host background " << useBackground;
        EXPECT_EQ(std::memcmp(&marks, &store, sizeof store), 0) << "the marks are only read";
    }
}

TEST_F(MonthPaintTest, EmptyWindowPaintsNothingAndMakesNothing)
{
    for (const auto& size : {std::pair{0, 0}, std::pair{0, 60}, std::pair{60, 0}}) {
        HWND child = Child(size.first, size.second);
        CalToolState state = MakeState(child, 2024, 3, 15, 2024, 3);
        state.settings.useBackground = 1;
        Surface surface(64, 64);
        parent.notifications.clear();
        EXPECT_EQ(PaintCounted(surface, state).objectsMade, 0) << size.first << "x" << size.second;
        EXPECT_TRUE(parent.notifications.empty());
        EXPECT_EQ(std::count(surface.bits, surface.bits + 64 * 64, kUnpainted), 64 * 64);
        DestroyWindow(child);
    }
}

// A page that may not be read, right after a record: a read of it is
// counted and then allowed, so that the paint goes on and the test reports.
struct Guard {
    BYTE* page = nullptr;
    SIZE_T size = 0;
    LONG reads = 0;
};
Guard g_guard;

LONG CALLBACK CountGuardRead(EXCEPTION_POINTERS* e)
{
    const EXCEPTION_RECORD& r = *e->ExceptionRecord;
    const auto* address =
        r.NumberParameters >= 2 ? reinterpret_cast<const BYTE*>(r.ExceptionInformation[1]) : nullptr;
    if (r.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || address < g_guard.page ||
        address >= g_guard.page + g_guard.size)
        return EXCEPTION_CONTINUE_SEARCH;
    ++g_guard.reads;
    DWORD old;
    VirtualProtect(g_guard.page, g_guard.size, PAGE_READONLY, &old);  // zeros: a terminator
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Marked days are drawn in the bold weight of the font: the same number
// carries more ink marked than unmarked, in every face and size and on
// today's cell too, while every other day keeps its ink exactly; the bold
// font goes as the regular one does.
TEST_F(MonthPaintTest, MarkedDaysCarryMoreInkThanTheSameNumbersUnmarked)
{
    HWND child = Child(240, 190);
    const DWORD marked = 1u << (8 - 1) | 1u << (15 - 1) | 1u << (28 - 1) | 1u << (31 - 1);
    long inkPlain[2] = {}, inkBold[2] = {};  // of a regular font, of a bold one
    for (const char* face : {"Arial", "Tahoma", "Courier New", "Times New Roman", "MS Sans Serif", ""})
        for (LONG height : {-9, -13, -22})
            for (LONG weight : {FW_NORMAL, FW_BOLD})
                for (LONG useBackground : {0, 1}) {
                    SCOPED_TRACE(testing::Message() << "'" << face << "' " << height << " weight " << weight
                                                    << " background " << useBackground);
                    CalToolState state = MakeState(child, 2024, 3, 15, 2024, 3);
                    std::strcpy(state.appliedFont.lfFaceName, face);
                    state.appliedFont.lfHeight = height;
                    state.appliedFont.lfWeight = weight;
                    state.settings.useBackground = useBackground;
                    const auto plain = Paint(state, 240, 190);
                    CalDayMarkStore store{};
                    CalKeepMarks(store.months, 2024, 3, marked | 1u << 31);  // and a day March lacks
                    state.marks = &store;
                    const auto bold = Paint(state, 240, 190);
                    const View p(*plain, state, parent.background), b(*bold, state, parent.background);
                    EXPECT_TRUE(b.InkOnlyInTextCells());
                    for (int d = 1; d <= b.l.dayCount; ++d) {
                        const int before = p.InkIn(p.l.day[d]), after = b.InkIn(b.l.day[d]);
                        if ((marked >> (d - 1) & 1u) != 0) {
                            EXPECT_GT(after, before) << "day " << d;
                            inkPlain[weight == FW_BOLD] += before;
                            inkBold[weight == FW_BOLD] += after;
                        } else {
                            EXPECT_EQ(after, before) << "day " << d;
                        }
                    }
                    EXPECT_EQ(p.InkIn(p.TitleBand()), b.InkIn(b.TitleBand()));
                }
    CalPrintFigure("ink of marked days drawn unmarked, regular font", inkPlain[0], " pixels");
    CalPrintFigure("ink of the same days drawn marked, regular font", inkBold[0], " pixels");
    CalPrintFigure("ink of marked days drawn unmarked, bold font", inkPlain[1], " pixels");
    CalPrintFigure("ink of the same days drawn marked, bold font", inkBold[1], " pixels");
}

TEST_F(MonthPaintTest, PaintsWithTheAppliedFontEvenWithAnUnterminatedFaceName)
{
    HWND child = Child(200, 160);
    // The record ends where the guarded page begins, its face name 32 bytes without a terminator.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    auto* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    g_guard = Guard{pages + info.dwPageSize, info.dwPageSize, 0};
    DWORD oldProtect;
    ASSERT_TRUE(VirtualProtect(g_guard.page, g_guard.size, PAGE_NOACCESS, &oldProtect));
    PVOID handler = AddVectoredExceptionHandler(1, CountGuardRead);
    static_assert(offsetof(CalToolState, appliedFont) + sizeof(LOGFONTA) == sizeof(CalToolState));
    auto* state = new (g_guard.page - sizeof(CalToolState)) CalToolState{};
    *state = MakeState(child, 2024, 3, 15, 2024, 3);
    std::memset(state->appliedFont.lfFaceName, 'A', LF_FACESIZE);
    {
        const auto surface = Paint(*state, 200, 160);
        const View v(*surface, *state, parent.background);
        EXPECT_TRUE(v.FrameIsEtched());
        EXPECT_TRUE(v.TodayIsSunken());
        EXPECT_TRUE(v.TextCellsAreFilled());
    }
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(g_guard.reads, 0) << "read past the record";

    // The applied font, not the stored choice, sizes the text.
    std::strcpy(state->appliedFont.lfFaceName, "Arial");
    CalRect title[2];
    for (int i = 0; i < 2; ++i) {
        state->appliedFont.lfHeight = i == 0 ? -9 : -16;
        const auto surface = Paint(*state, 200, 160);
        const View v(*surface, *state, parent.background);
        ASSERT_GT(v.InkIn(v.TitleBand(), &title[i]), 0);
    }
    EXPECT_GT(title[1].right - title[1].left, title[0].right - title[0].left + 10);
    EXPECT_GT(title[1].bottom - title[1].top, title[0].bottom - title[0].top);
    VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace
