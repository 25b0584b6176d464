// Today's mark in every colour scheme (the build runs this program in a
// prefix of its own, whose colours it may change): in the standard scheme
// it keeps the highlight fill behind the button text; in a high-contrast
// scheme, under the system's high-contrast flag, and in a scheme whose
// highlight is as dark as its text, the fill and the number take the
// selection colours, and the number stands out from its fill by at least
// 3:1. The separator stays in sight on black. Nothing is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
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
    bool selection;            // today in the selection colours
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

TEST_F(HighContrast, TodaysNumberStandsOutInEveryScheme)
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
        SendMessageA(tool, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc), PRF_CLIENT);
        GdiFlush();

        const COLORREF fill = AsColorRef(surface.At(l.todayFill.left, l.todayFill.top));
        EXPECT_EQ(fill, GetSysColor(scheme.selection ? COLOR_HIGHLIGHT : COLOR_BTNHIGHLIGHT));
        // Today's number stands out from its fill, in the colour expected:
        // its ink lies nearer that colour than the fill does.
        const COLORREF text = GetSysColor(scheme.selection ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
        const auto [ink, ratio] = Ink(surface, l.todayNumber, fill);
        EXPECT_GE(ratio, kCalLeastContrast);
        EXPECT_LT(CalContrastRatio(ink, text), CalContrastRatio(fill, text));
        // Every other number keeps the button text, which stands out from the face.
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        EXPECT_GE(Ink(surface, l.day[state->shown.wDay == 1 ? 2 : 1], face).second, kCalLeastContrast);
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
