// The tool on screens of 96, 120, 144 and 192 dots per inch (the build runs
// this program in a prefix of each density). A tool made without a block
// writes, measures and places its spinners a density's worth larger than on
// a standard screen, and hands that font back in its block; a tool made
// with the block of a standard screen draws exactly what it draws there. The
// run at 96 dots per inch leaves its picture of the second tool for the
// others to compare with. Nothing of the library's is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_main.h"
#include "tests/win32/support/tool_record.h"
#include "tests/win32/support/tool_test.h"
#include "view/month_layout.h"

namespace {

std::string g_standardPicture;  // the 96-dpi run writes it, the others read it

struct Figures {
    SIZE ideal{};
    SIZE spinner{};   // the month spinner at the ideal size
    int titleInk = 0; // the height of the title's ink at the ideal size
};

SIZE IdealSize(HWND tool)
{
    const auto packed = static_cast<DWORD>(SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0));
    return SIZE{LOWORD(packed), HIWORD(packed)};
}

// The tool at its ideal size: that size, its spinner, and the rows of the
// title band (the layout's first row) that hold ink.
Figures Measure(HWND tool)
{
    Figures f;
    f.ideal = IdealSize(tool);
    SetWindowPos(tool, nullptr, 0, 0, f.ideal.cx, f.ideal.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    RECT spin{};
    GetWindowRect(CalToolFromWindow(tool)->monthSpin, &spin);
    f.spinner = SIZE{spin.right - spin.left, spin.bottom - spin.top};
    const std::vector<DWORD> pixels = CalPrintedPixels(tool);
    const DWORD face = GetSysColor(COLOR_BTNFACE);
    const DWORD ground = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    const int rowHeight = (f.ideal.cy - 6) / 8;
    int top = -1;
    int bottom = -1;
    for (int y = 3; y < 3 + rowHeight; ++y)
        for (int x = 3; x < f.ideal.cx - 3; ++x)
            if ((pixels[static_cast<size_t>(y * f.ideal.cx + x)] & 0xFFFFFF) != ground) {
                top = top < 0 ? y : top;
                bottom = y;
            }
    f.titleInk = top < 0 ? 0 : bottom - top + 1;
    return f;
}

class DenseDisplay : public CalToolTest {};

TEST_F(DenseDisplay, NewToolScalesWithTheScreenAndAStandardBlockDrawsAsBefore)
{
    const UINT dpi = static_cast<UINT>(CalScreenDpi());
    const double scale = dpi / 96.0;
    // The default font in the screen's units: 9 pixels at 96 dots per inch.
    const struct { UINT dpi; LONG height; } kHeights[] = {{96, -9}, {120, -11}, {144, -14}, {192, -18}};
    LONG expected = 0;
    for (const auto& h : kHeights)
        expected = h.dpi == dpi ? h.height : expected;
    ASSERT_NE(expected, 0) << "no figures for a screen of " << dpi << " dots per inch";

    const CalLoadedPlugin& plugin = CalTestPlugin();
    const RECT at{0, 0, 160, 120};
    const CalToolSettings standardBlock = CalArialSettings();
    HWND fresh = plugin.create(parent_->window, &at, nullptr, 0, 0);
    HWND standard = plugin.create(parent_->window, &at, &standardBlock, 0, 0);
    ASSERT_TRUE(fresh != nullptr && standard != nullptr);

    CalToolSettings* block = nullptr;
    SendMessageA(fresh, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->font.lfHeight, expected);
    EXPECT_STREQ(block->font.lfFaceName, "Arial");
    SendMessageA(standard, CTM_GETSETTINGS, 0, reinterpret_cast<LPARAM>(&block));
    EXPECT_TRUE(CalSameBytes(*block, standardBlock)) << "a host's block is kept as it came";

    // The fresh tool against the standard one scaled: the title's ink within
    // a pixel. The ideal size follows the font's line height and advances,
    // which round to whole pixels differently at each size (measured: 94 x
    // 104 at 96 dpi, 117 x 120 at 120, 156 x 152 at 144, 195 x 192 at 192),
    // so it and the spinners, a seventh and an eighth of it, are held within
    // an eighth.
    const Figures f = Measure(fresh);
    const Figures s = Measure(standard);
    SCOPED_TRACE(testing::Message() << dpi << " dpi: ideal " << f.ideal.cx << "x" << f.ideal.cy << " against "
                                    << s.ideal.cx << "x" << s.ideal.cy << ", title ink " << f.titleInk << " against "
                                    << s.titleInk);
    ASSERT_GT(s.titleInk, 0);
    EXPECT_LE(std::abs(f.titleInk - s.titleInk * scale), 1.0);
    const auto within = [scale](LONG scaled, LONG unscaled) {
        return std::abs(scaled - unscaled * scale) <= unscaled * scale / 8 + 1;
    };
    EXPECT_TRUE(within(f.ideal.cx, s.ideal.cx) && within(f.ideal.cy, s.ideal.cy));
    EXPECT_TRUE(within(f.spinner.cx, s.spinner.cx) && within(f.spinner.cy, s.spinner.cy))
        << "spinner " << f.spinner.cx << "x" << f.spinner.cy << " against " << s.spinner.cx << "x" << s.spinner.cy;

    // The standard block's month, March 2024 (no today in it), pixel for pixel.
    CalShowMonth(standard, 2024, 3);
    SetWindowPos(standard, nullptr, 0, 0, 160, 128, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    std::vector<DWORD> picture = CalPrintedPixels(standard);
    picture.push_back(static_cast<DWORD>(s.ideal.cx) << 16 | static_cast<DWORD>(s.ideal.cy));
    const size_t bytes = picture.size() * sizeof picture[0];
    if (dpi == 96) {
        // Nothing changes on a standard screen: the fresh tool is the standard one.
        CalShowMonth(fresh, 2024, 3);
        SetWindowPos(fresh, nullptr, 0, 0, 160, 128, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        EXPECT_EQ(CalPrintedPixels(fresh), std::vector<DWORD>(picture.begin(), picture.end() - 1));
        std::FILE* out = std::fopen(g_standardPicture.c_str(), "wb");
        ASSERT_NE(out, nullptr) << g_standardPicture;
        EXPECT_EQ(std::fwrite(picture.data(), 1, bytes, out), bytes);
        std::fclose(out);
    } else {
        std::vector<DWORD> before(picture.size());
        std::FILE* in = std::fopen(g_standardPicture.c_str(), "rb");
        ASSERT_NE(in, nullptr) << g_standardPicture << ": the 96-dpi run leaves it";
        EXPECT_EQ(std::fread(before.data(), 1, bytes, in), bytes);
        std::fclose(in);
        EXPECT_TRUE(before == picture) << "the standard block is drawn, and measured, as on a standard screen";
    }
    DestroyWindow(fresh);
    DestroyWindow(standard);
}

}  // namespace

int main(int argc, char** argv)
{
    // dense_display_test PICTURE Calendar.dll
    if (argc >= 3)
        g_standardPicture = CalTestWindowsPath(argv[argc - 2]);
    return CalTestMain(argc, argv);
}
