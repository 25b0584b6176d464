// Today's mark and the selected day's in every colour scheme (the build
// runs this program in a prefix of its own, whose colours it may change):
// the selected day takes the selection colours; today alone keeps the
// highlight fill behind the button text in the standard scheme, and in a
// high-contrast scheme, under the system's high-contrast flag, and in a
// scheme whose highlight is as dark as its text, it is left unfilled and
// framed in the text colour, so that it never looks selected. Every mark
// and every number stands out from its cell by at least 3:1; the figures
// are printed. The separator stays in sight on black. Nothing is left
// behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "tests/win32/support/import_hooks.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "view/contrast.h"
#include "view/month_layout.h"

namespace {

constexpr int kWidth = 210;
constexpr int kHeight = 160;
constexpr int kIndexes[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_HIGHLIGHT,
    COLOR_HIGHLIGHTTEXT};
constexpr int kCount = sizeof kIndexes / sizeof kIndexes[0];

bool g_flag = false;  // what the library hears of the high-contrast flag
decltype(&SystemParametersInfoW) g_realSpi = nullptr;

BOOL WINAPI FlaggedSpi(UINT action, UINT size, void* data, UINT flags)
{
    const BOOL ok = g_realSpi(action, size, data, flags);
    if (ok && action == SPI_GETHIGHCONTRAST && g_flag)
        static_cast<HIGHCONTRASTW*>(data)->dwFlags |= HCF_HIGHCONTRASTON;
    return ok;
}

// The surface's 0x00RRGGBB against a COLORREF's 0x00BBGGRR.
COLORREF AsColorRef(DWORD pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

struct Scheme {
    const char* name;
    bool flag;
    COLORREF colours[kCount];  // for kIndexes; 0xFFFFFFFF: as the prefix has it
    bool selection;            // today unfilled and framed, never in the selection colours
};

constexpr COLORREF kKeep = 0xFFFFFFFF;
const Scheme kSchemes[] = {
    {"standard", false, {kKeep, kKeep, kKeep, kKeep, kKeep, kKeep}, false},
    {"high contrast black", false,
        {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255), RGB(128, 128, 128), RGB(26, 235, 255), RGB(0, 0, 0)},
        true},
    // Black on white with a white highlight reads well; the flag alone asks
    // for the selection colours.
    {"high contrast white, flag on", true,
        {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(55, 0, 110), RGB(255, 255, 255)},
        true},
    {"dark highlight behind dark text", false,
        {RGB(170, 170, 170), RGB(20, 20, 20), RGB(40, 40, 40), RGB(60, 60, 60), RGB(0, 60, 160), RGB(255, 255, 255)},
        true},
};

// The pixel of r that stands out most from ground, and by how much. The
// platform smooths small glyphs, so ink may never reach the text colour.
std::pair<COLORREF, double> Ink(const CalDibSurface& surface, const CalRect& r, COLORREF ground)
{
    std::pair<COLORREF, double> best{ground, 1.0};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = AsColorRef(surface.At(x, y));
            if (CalContrastRatio(c, ground) > best.second)
                best = {c, CalContrastRatio(c, ground)};
        }
    return best;
}

class HighContrast : public CalToolTest {
protected:
    COLORREF saved_[kCount]{};
    void SetUp() override
    {
        CalToolTest::SetUp();
        static const bool routed = [] {
            g_realSpi = reinterpret_cast<decltype(&SystemParametersInfoW)>(CalTestPatchImport(CalTestPlugin().module,
                "user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(FlaggedSpi)));
            return g_realSpi != nullptr;
        }();
        ASSERT_TRUE(routed);
        for (int i = 0; i < kCount; ++i)
            saved_[i] = GetSysColor(kIndexes[i]);
    }
    void TearDown() override
    {
        g_flag = false;
        SetSysColors(kCount, kIndexes, saved_);
        CalToolTest::TearDown();
    }
};

TEST_F(HighContrast, TodayAndTheSelectedDayStandOutAndApartInEveryScheme)
{
    for (const Scheme& scheme : kSchemes) {
        SCOPED_TRACE(scheme.name);
        COLORREF colours[kCount];
        for (int i = 0; i < kCount; ++i)
            colours[i] = scheme.colours[i] == kKeep ? saved_[i] : scheme.colours[i];
        ASSERT_TRUE(SetSysColors(kCount, kIndexes, colours));
        g_flag = scheme.flag;

        const CalToolSettings block = CalArialSettings(1);
        const RECT at{0, 0, kWidth, kHeight};
        HWND tool = CalTestPlugin().create(parent_->window, &at, &block, 0, 0);
        ASSERT_NE(tool, nullptr);
        const CalToolState* state = CalToolFromWindow(tool);
        CalLayoutInput in{};
        in.width = kWidth;
        in.height = kHeight;
        in.weekNumbers = 1;
        in.year = state->shown.wYear;
        in.month = state->shown.wMonth;
        in.todayDay = state->shown.wDay;
        const CalMonthLayout l = CalComputeMonthLayout(in);
        CalDibSurface surface(kWidth, kHeight);

        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const auto pixel = [&](int x, int y) { return AsColorRef(surface.At(x, y)); };
        const auto print = [&] {
            SendMessageA(tool, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc), PRF_CLIENT);
            GdiFlush();
        };
        // Today's mark against what lies inside it: the frame, or the edge's dark inner line.
        const auto todaysMark = [&](COLORREF inside) {
            const COLORREF frame = pixel(l.todayFill.left, (l.todayFill.top + l.todayFill.bottom) / 2);
            const COLORREF edge = pixel(l.todayEdge.left + 1, (l.todayFill.top + l.todayFill.bottom) / 2);
            return std::max(CalContrastRatio(frame, inside), CalContrastRatio(edge, inside));
        };

        // Another day selected: today in its own look.
        const int other = state->shown.wDay == 1 ? 2 : 1;
        SendMessageA(tool, CTM_SETSELECTION, 0,
            static_cast<LPARAM>(CalPackDate(state->shown.wYear, state->shown.wMonth, other)));
        print();
        const COLORREF fill = pixel(l.todayFill.left + 1, l.todayFill.top + 1);
        EXPECT_EQ(fill, scheme.selection ? face : GetSysColor(COLOR_BTNHIGHLIGHT));
        // Today's number stands out from its fill, in the colour expected:
        // its ink lies nearer that colour than the fill does.
        const COLORREF text = GetSysColor(COLOR_BTNTEXT);
        const auto [ink, ratio] = Ink(surface, l.todayNumber, fill);
        EXPECT_GE(ratio, kCalLeastContrast);
        EXPECT_LT(CalContrastRatio(ink, text), CalContrastRatio(fill, text));
        const double todayMark = todaysMark(fill);
        EXPECT_GE(todayMark, kCalLeastContrast);
        // The selected day: the selection colour, or the outline round it,
        // against the face; its number against the selection colour.
        const CalRect& cell = l.day[other];
        const COLORREF selected = pixel(cell.left + 1, cell.top + 1);
        EXPECT_EQ(selected, GetSysColor(COLOR_HIGHLIGHT));
        const double selectedMark =
            std::max(CalContrastRatio(selected, face), CalContrastRatio(pixel(cell.left, cell.top), face));
        const double selectedNumber = Ink(surface, cell, selected).second;
        EXPECT_GE(selectedMark, kCalLeastContrast);
        EXPECT_GE(selectedNumber, kCalLeastContrast);

        // Today selected: the selection colours inside today's mark.
        SendMessageA(tool, CTM_SETSELECTION, 0,
            static_cast<LPARAM>(CalPackDate(state->shown.wYear, state->shown.wMonth, state->shown.wDay)));
        print();
        const COLORREF both = pixel(l.todayFill.left + 1, l.todayFill.top + 1);
        EXPECT_EQ(both, GetSysColor(COLOR_HIGHLIGHT));
        const double bothNumber = Ink(surface, l.todayNumber, both).second;
        const double bothMark = todaysMark(both);
        EXPECT_GE(bothNumber, kCalLeastContrast);
        EXPECT_GE(bothMark, kCalLeastContrast);
        std::printf("%-32s today: number %5.2f mark %5.2f | selected: fill on face %5.2f number %5.2f | "
                    "both: number %5.2f mark %5.2f | face %06lx highlight %06lx text %06lx\n",
            scheme.name, ratio, todayMark, selectedMark, selectedNumber, bothNumber, bothMark, face,
            GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT));
        // Every other number keeps the button text, which stands out from the face.
        EXPECT_GE(Ink(surface, l.day[other], face).second, kCalLeastContrast);
        // The separator's top line (etched: shadow, then highlight) stays in sight.
        const int x = (l.separator.left + l.separator.right) / 2;
        EXPECT_GE(std::max(CalContrastRatio(AsColorRef(surface.At(x, l.separator.top)), face),
                      CalContrastRatio(AsColorRef(surface.At(x, l.separator.top + 1)), face)),
            scheme.selection ? kCalLeastContrast : 1.5);
        DestroyWindow(tool);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return CalTestMain(argc, argv);
}
