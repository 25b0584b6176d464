// The panel host's picture on other screens, each run in a prefix of its
// own: on a denser screen the panel grows with the density, every calendar
// gets at least the size it prefers and no text of the host's is cut off; in
// a high-contrast scheme the panel shows the system's colours, not its stripes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "host/background_pattern.h"
#include "host/panel_layout.h"
#include "host/screenshot.h"
#include "tests/win32/support/host_process.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/png_decode.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_files.h"

namespace {

// The screen this run's prefix was made for: its density, and whether its
// scheme is the high-contrast one (white button text).
const int g_dpi = CalScreenDpi();
const bool g_contrast = GetSysColor(COLOR_BTNTEXT) == RGB(255, 255, 255);

struct ShotTool {
    int x, y, w, h, idealWidth, idealHeight;
};

struct Shot {
    PngImage png;
    std::vector<ShotTool> tools;
};

// The host's picture mode: what it printed and the picture it wrote.
void TakeShot(Shot* shot)
{
    TempFolder dir;
    const std::string file = dir.Path("panel.png");
    HostProcess host({"--screenshot", file, g_pluginDll});
    ASSERT_EQ(host.Wait(30000), 0u) << host.Errors();
    const std::string out = host.Output();
    for (size_t at = out.find("tool "); at != std::string::npos; at = out.find("tool ", at + 1)) {
        ShotTool t{};
        int index = 0;
        ASSERT_EQ(std::sscanf(out.c_str() + at, "tool %d %d %d %d %d ideal %d %d", &index, &t.x, &t.y, &t.w,
                      &t.h, &t.idealWidth, &t.idealHeight),
            7)
            << out;
        shot->tools.push_back(t);
    }
    ASSERT_EQ(shot->tools.size(), 4u) << out;
    std::string error;
    ASSERT_TRUE(PngDecode(ReadBytes(file), &shot->png, &error)) << error;
}

uint32_t Rgb(COLORREF c)
{
    return uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c);
}


// Where the ink lies in a band of rows, against the band's colour.
struct InkSpan {
    int pixels = 0;
    int top = -1, bottom = -1, right = -1;  // the rows and last column holding ink
    int lines = 0;                          // runs of rows with ink, parted by empty rows
};

InkSpan InkIn(const PngImage& png, int top, int bottom, uint32_t ground)
{
    InkSpan s;
    bool before = false;
    for (int y = top; y < bottom; ++y) {
        bool row = false;
        for (int x = 0; x < int(png.width); ++x)
            if (PngIsInk(png.Pixel(x, y), ground)) {
                row = true;
                ++s.pixels;
                s.right = std::max(s.right, x);
            }
        if (row) {
            s.top = s.top < 0 ? y : s.top;
            s.bottom = y;
            s.lines += !before;
        }
        before = row;
    }
    return s;
}

// Rows from the top (or up from the bottom) that share the first one's colour at x.
int BandHeight(const PngImage& png, int x, bool fromBottom)
{
    const int h = int(png.height);
    const uint32_t colour = png.Pixel(x, fromBottom ? h - 1 : 0);
    int n = 0;
    while (n < h && png.Pixel(x, fromBottom ? h - 1 - n : n) == colour)
        ++n;
    return n;
}

void ExpectEveryToolAtLeastItsIdealSize(const Shot& shot)
{
    for (size_t i = 0; i < shot.tools.size(); ++i) {
        const ShotTool& t = shot.tools[i];
        EXPECT_GT(t.idealWidth, 0) << "tool " << i;
        EXPECT_GE(t.w, t.idealWidth) << "tool " << i;
        EXPECT_GE(t.h, t.idealHeight) << "tool " << i;
        EXPECT_LE(t.x + t.w, int(shot.png.width)) << "tool " << i;
        EXPECT_LE(t.y + t.h, int(shot.png.height)) << "tool " << i;
    }
}

// The picture mode's status line, as the host shows it.
const char kStatus[] =
    " Sample calendars: defaults; week numbers, Monday first; panel background; another font.";

// How wide the status text is in the host's font, the system's interface
// font, which follows the screen's density in this process as in the host.
int StatusTextWidth()
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, kStatus, int(std::strlen(kStatus)), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return int(size.cx);
}

TEST(HostScreens, OnADenserScreenThePictureGrowsAndNothingIsCutOff)
{
    if (g_contrast)
        GTEST_SKIP() << "a run in the high-contrast scheme";
    Shot shot;
    ASSERT_NO_FATAL_FAILURE(TakeShot(&shot));
    const PngImage& png = shot.png;
    const HostMetrics m = HostMetricsFor(g_dpi);
    std::printf("== figure host picture at %d dpi: %ux%u (%d x %d at 96 dpi)\n", g_dpi, png.width, png.height,
        kHostShotWidth, kHostShotHeight);
    for (const ShotTool& t : shot.tools)
        std::printf("== figure host tool at %d dpi: %dx%d, ideal %dx%d\n", g_dpi, t.w, t.h, t.idealWidth,
            t.idealHeight);
    // As large as the density asks, and larger only by what the calendars need.
    EXPECT_GE(int(png.width), m.Scale(kHostShotWidth));
    EXPECT_GE(int(png.height), m.Scale(kHostShotHeight));
    EXPECT_LE(int(png.width), m.Scale(kHostShotWidth) * 5 / 4);
    EXPECT_LE(int(png.height), m.Scale(kHostShotHeight) * 5 / 4);
    ExpectEveryToolAtLeastItsIdealSize(shot);

    // The header strip, its names drawn on one line each: whole when their
    // ink keeps clear of the strip's edges.
    const int strip = BandHeight(png, 1, false);
    EXPECT_NEAR(strip, m.headerHeight, 1);
    const InkSpan header = InkIn(png, 0, strip, png.Pixel(1, 0));
    EXPECT_GT(header.pixels, 200);
    EXPECT_GT(header.top, 1) << "the names reach the strip's top";
    EXPECT_LT(header.bottom, strip - 2) << "the names reach the strip's bottom";
    EXPECT_LT(header.right, int(png.width) - m.Scale(16)) << "the names reach the panel's edge";

    // The status line: one line of ink, clear of the band's edges, ending
    // where the whole text ends. A text that wrapped would have lost a word
    // to a line below, whether or not that line still showed.
    const int band = BandHeight(png, 1, true);
    EXPECT_NEAR(band, m.statusHeight, 1);
    const int bandTop = int(png.height) - band;
    const InkSpan status = InkIn(png, bandTop, int(png.height), png.Pixel(1, int(png.height) - 1));
    EXPECT_EQ(status.lines, 1);
    EXPECT_GT(status.top, bandTop + 1);
    EXPECT_LT(status.bottom, int(png.height) - 2);
    const int textEnd = m.Scale(6) + StatusTextWidth();
    std::printf(
        "== figure host status line at %d dpi: ink ends at %d, the whole text at %d, the line at %d\n", g_dpi,
        status.right, textEnd, int(png.width) - m.Scale(6));
    EXPECT_NEAR(status.right, textEnd, m.Scale(4));
    EXPECT_LT(textEnd, int(png.width) - m.Scale(6));
}

TEST(HostScreens, AHighContrastSchemeGetsTheSystemsColoursNotTheStripes)
{
    if (!g_contrast)
        GTEST_SKIP() << "a run in the standard scheme";
    Shot shot;
    ASSERT_NO_FATAL_FAILURE(TakeShot(&shot));
    const PngImage& png = shot.png;
    const HostMetrics m = HostMetricsFor(g_dpi);
    ExpectEveryToolAtLeastItsIdealSize(shot);

    std::set<uint32_t> stripes;
    for (int y = 0; y < int(png.height); ++y)
        for (int x = 0; x < int(png.width); ++x) {
            const HostRgb c = HostPatternColour(x, y, int(png.width), int(png.height));
            stripes.insert(uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
        }
    int striped = 0;
    for (int y = 0; y < int(png.height); ++y)
        for (int x = 0; x < int(png.width); ++x)
            striped += stripes.count(png.Pixel(x, y)) != 0;
    EXPECT_EQ(striped, 0) << "pixels in the stripes' colours";

    // The panel's ground, round and between the calendars, is the window colour.
    const uint32_t window = Rgb(GetSysColor(COLOR_WINDOW));
    for (int y = m.headerHeight; y < int(png.height) - m.statusHeight; ++y) {
        ASSERT_EQ(png.Pixel(2, y), window) << "y " << y;
        ASSERT_EQ(png.Pixel(int(png.width) / 2, y), window) << "y " << y;
    }
    // The strip and the status line in the system's colours, their text in
    // the colour that goes with each.
    auto count = [&png](int top, int bottom, uint32_t rgb) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < int(png.width); ++x)
                n += png.Pixel(x, y) == rgb;
        return n;
    };
    EXPECT_EQ(png.Pixel(1, 1), Rgb(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_GT(count(0, m.headerHeight, Rgb(GetSysColor(COLOR_HIGHLIGHTTEXT))), 40);
    const int statusTop = int(png.height) - m.statusHeight;
    EXPECT_EQ(png.Pixel(1, int(png.height) - 1), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_GT(count(statusTop, int(png.height), Rgb(GetSysColor(COLOR_BTNTEXT))), 40);
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: host_screens_test PanelHost.exe Calendar.dll\n");
        return 2;
    }
    g_hostExe = CalTestWindowsPath(argv[1]);
    g_pluginDll = CalTestWindowsPath(argv[2]);
    g_calTestDllPath = g_pluginDll;
    return RUN_ALL_TESTS();
}
