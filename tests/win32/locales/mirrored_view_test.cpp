// A tool in a mirrored (right-to-left) panel beside the same tool in an
// ordinary one, both read from the screen: every header, day and week-number
// cell of the mirrored tool stands at the mirrored place and holds the same
// pixels as the ordinary tool's cell, not flipped, so its texts read
// normally. The screen reader's object places and finds each day where the
// mirrored tool shows it.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "view/month_layout.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;
// March 2024 holds no today, so no cell carries today's mark; and no tool
// here takes the focus, so none shows the focus mark.
constexpr int kYear = 2024;
constexpr int kMonth = 3;

struct Shown {
    HWND tool = nullptr;
    RECT screen{};              // the tool's client area on the screen
    std::vector<DWORD> pixels;  // what the screen shows there, row by row
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y * kWidth + x)] & 0xFFFFFFu; }
};

struct Cell {
    const char* kind;
    int index;
    CalRect rect;
};

std::vector<Cell> Cells(const CalMonthLayout& l)
{
    std::vector<Cell> cells;
    for (int c = 0; c < 7; ++c)
        cells.push_back({"header column", c, l.header[c]});
    for (int d = 1; d <= l.dayCount; ++d)
        cells.push_back({"day", d, l.day[d]});
    for (int t = 0; t < l.rowCount; ++t)
        if (l.week[t].drawn)
            cells.push_back({"week row", t, l.week[t].rect});
    return cells;
}

// The separator's etched lines are geometry, not text: mirrored, they
// change sides with everything else and so stand flipped. They are left out
// of the comparison of the cells they cross.
bool OnSeparator(const CalMonthLayout& l, int x, int y)
{
    const CalRect& s = l.separator;
    const bool across = (y == s.top || y == s.top + 1) && x >= s.left && x < s.right;
    const bool down = (l.separatorSides & CAL_SIDE_LEFT) != 0 && (x == s.left || x == s.left + 1) &&
        y >= s.top && y < s.bottom;
    return across || down;
}

// Pixels of cell r that differ between the ordinary tool and the mirrored
// one, whose cell stands at kWidth - r.right, moved dx pixels within it. The
// platform centres a text in a mirrored surface with the opposite rounding,
// so an odd pixel left over puts it one pixel to the other side: a
// difference of dx = -1 or +1 is that, not a flipped or misplaced text.
long Differing(
    const Shown& ordinary, const Shown& mirrored, const CalMonthLayout& l, const CalRect& r, int dx)
{
    const int width = r.right - r.left;
    long n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int i = 0; i < width; ++i) {
            // The mirrored tool's screen pixel kWidth - r.right + j is its
            // own client pixel r.right - 1 - j.
            const int j = i + dx;
            if (j < 0 || j >= width || OnSeparator(l, r.left + i, y) || OnSeparator(l, r.right - 1 - j, y))
                continue;
            n += ordinary.At(r.left + i, y) != mirrored.At(kWidth - r.right + j, y) ? 1 : 0;
        }
    return n;
}

// A cell's rectangle on the screen: where the ordinary tool shows it, or
// the mirrored one (client x runs from the right).
RECT OnScreen(const Shown& s, const CalRect& r, bool mirrored)
{
    const LONG left = mirrored ? kWidth - r.right : r.left;
    return RECT{s.screen.left + left, s.screen.top + r.top, s.screen.left + left + (r.right - r.left),
        s.screen.top + r.bottom};
}

LONG DayAt(IAccessible* a, POINT p)
{
    VARIANT v;
    VariantInit(&v);
    a->accHitTest(p.x, p.y, &v);
    return v.vt == VT_I4 ? v.lVal : -1;
}

struct Case {
    const char* what;
    LONG weekNumbers;
    LONG firstDay;
};
const Case kCases[] = {{"week numbers, Monday first", 1, 1}, {"no week numbers, Sunday first", 0, 0}};

class MirroredView : public CalToolTest {
protected:
    // Side by side, above every other window, clear of other tests' screen reads.
    std::unique_ptr<CalTestParent> mirroredParent_ =
        std::make_unique<CalTestParent>(kWidth + 20, kHeight + 20, 680, 400, CalPanelLayer::Topmost);

    void SetUp() override
    {
        parent_ =
            std::make_unique<CalTestParent>(kWidth + 20, kHeight + 20, 360, 400, CalPanelLayer::Topmost);
        SetWindowLongPtrA(mirroredParent_->window, GWL_EXSTYLE,
            GetWindowLongPtrA(mirroredParent_->window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
        CalToolTest::SetUp();
    }

    void TearDown() override
    {
        mirroredParent_.reset();
        CalToolTest::TearDown();
    }

    // A tool with the case's settings, showing March 2024 (stepped there with
    // the keys, its selection then put in February), painted and read from
    // the screen.
    static Shown Show(HWND parent, const Case& c)
    {
        Shown s;
        RECT r{10, 10, 10 + kWidth, 10 + kHeight};
        s.tool = CalTestPlugin().create(parent, &r, nullptr, 0, 0);
        CalToolSettings* block = nullptr;
        SendMessageA(s.tool, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block));
        CalToolSettings settings = *block;
        settings.weekNumbers = c.weekNumbers;
        settings.firstDay = c.firstDay;
        SendMessageA(s.tool, CTM_SETSETTINGS, sizeof settings, reinterpret_cast<LPARAM>(&settings));
        CalKeyToMonth(s.tool, kYear, kMonth);
        // The keys took the selection there too; left in the month before,
        // every cell compared is an ordinary one (the number of a selected
        // day may sit a pixel apart from its mirrored fill).
        SendMessageA(s.tool, CTM_SETSELECTION, 0, static_cast<LPARAM>(CalPackDate(kYear, kMonth - 1, 1)));
        CalShowMonth(s.tool, kYear, kMonth);
        RedrawWindow(s.tool, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        CalPumpMessages(300);
        GetWindowRect(s.tool, &s.screen);
        s.pixels = CalScreenPixels(s.screen);
        return s;
    }
};

TEST_F(MirroredView, EveryCellStandsMirroredAndReadsAsInTheOrdinaryTool)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    ASSERT_FALSE(today.wYear == kYear && today.wMonth == kMonth) << "the month shown must hold no today";
    const COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
    const DWORD face =
        static_cast<DWORD>(GetRValue(faceColour)) << 16 | GetGValue(faceColour) << 8 | GetBValue(faceColour);
    for (const Case& c : kCases) {
        const Shown ordinary = Show(parent_->window, c);
        const Shown mirrored = Show(mirroredParent_->window, c);
        ASSERT_NE(GetWindowLongPtrA(mirrored.tool, GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0) << "inherited";
        ASSERT_NE(GetFocus(), ordinary.tool);
        ASSERT_NE(GetFocus(), mirrored.tool);
        const CalMonthLayout layout = CalComputeMonthLayout(
            CalLayoutInput{kWidth, kHeight, c.weekNumbers, c.firstDay, kYear, kMonth, 0});
        for (const Cell& cell : Cells(layout)) {
            const long shifted[3] = {Differing(ordinary, mirrored, layout, cell.rect, -1),
                Differing(ordinary, mirrored, layout, cell.rect, 0),
                Differing(ordinary, mirrored, layout, cell.rect, 1)};
            EXPECT_EQ(std::min({shifted[0], shifted[1], shifted[2]}), 0)
                << c.what << ", " << cell.kind << " " << cell.index
                << ": pixels differing, moved -1, 0, +1: " << shifted[0] << ", " << shifted[1] << ", "
                << shifted[2];
            long ink = 0;
            for (int y = cell.rect.top; y < cell.rect.bottom; ++y)
                for (int x = cell.rect.left; x < cell.rect.right; ++x)
                    ink += !OnSeparator(layout, x, y) && ordinary.At(x, y) != face ? 1 : 0;
            EXPECT_GT(ink, 0) << c.what << ", " << cell.kind << " " << cell.index << " shows nothing";
        }

        // The screen reader's days, in both tools.
        for (const Shown* s : {&ordinary, &mirrored}) {
            const bool isMirrored = s == &mirrored;
            IAccessible* a = nullptr;
            ASSERT_EQ(AccessibleObjectFromWindow(
                          s->tool, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&a)),
                S_OK);
            for (LONG d = 1; d <= layout.dayCount; ++d) {
                const RECT want = OnScreen(*s, layout.day[d], isMirrored);
                VARIANT child;
                VariantInit(&child);
                child.vt = VT_I4;
                child.lVal = d;
                LONG x = 0, y = 0, w = 0, h = 0;
                EXPECT_EQ(a->accLocation(&x, &y, &w, &h, child), S_OK);
                EXPECT_TRUE(x == want.left && y == want.top && w == want.right - want.left &&
                    h == want.bottom - want.top)
                    << c.what << (isMirrored ? ", mirrored" : ", ordinary") << ", day " << d << ": at " << x
                    << "," << y << " " << w << "x" << h << ", shown at " << want.left << "," << want.top;
                const POINT centre{(want.left + want.right) / 2, (want.top + want.bottom) / 2};
                EXPECT_EQ(DayAt(a, centre), d) << c.what << (isMirrored ? ", mirrored" : ", ordinary");
            }
            a->Release();
        }
        DestroyWindow(ordinary.tool);
        DestroyWindow(mirrored.tool);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMainWithCom(argc, argv);
}
