// A tool of the built library as the user sees it on the screen, under each
// generation of the common controls: this program (built plain) paints one,
// its twin (built with the common controls 6 manifest) paints another in a
// process of its own, and the two pictures are compared pixel by pixel.
// The calendar is the library's own drawing and must not differ; only the
// spinners, which the common controls draw, may.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/win32/support/comctl_generation.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/screen_capture.h"
#include "tests/win32/support/test_parent.h"

namespace {

std::string g_twinExe;

struct Picture {
    int32_t width = 0, height = 0;
    int32_t comctlMajor = 0;     // the generation the library got
    std::vector<RECT> spinners;  // in the picture's coordinates
    std::vector<uint32_t> pixels;

    bool InSpinner(int x, int y) const
    {
        for (const RECT& r : spinners)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                return true;
        return false;
    }
};

BOOL CALLBACK CollectSpinner(HWND window, LPARAM param)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, UPDOWN_CLASSA) == 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// A tool with its defaults, painted and read back from the screen.
Picture Paint()
{
    Picture p;
    p.comctlMajor = CalTestComctlGeneration(CalTestPlugin().module).generation;
    SetCursorPos(0, 0);  // no spinner under the mouse, hot or not
    // Read back from the screen: in a corner no other test's window goes to,
    // and above them all, so that a parallel run cannot cover it.
    CalTestParent parent(300, 240, 40, 740, CalPanelLayer::Topmost);
    RECT r{10, 10, 250, 190};
    HWND tool = CalTestPlugin().create(parent.window, &r, nullptr, 0, 0);
    if (tool == nullptr)
        return p;
    UpdateWindow(parent.window);
    CalPumpMessages(300);
    RECT screen;
    GetWindowRect(tool, &screen);
    p.width = screen.right - screen.left;
    p.height = screen.bottom - screen.top;
    std::vector<HWND> spinners;
    EnumChildWindows(tool, CollectSpinner, reinterpret_cast<LPARAM>(&spinners));
    for (HWND s : spinners) {
        RECT sr;
        GetWindowRect(s, &sr);
        OffsetRect(&sr, -screen.left, -screen.top);
        p.spinners.push_back(sr);
    }
    const std::vector<DWORD> shown = CalScreenPixels(screen);
    p.pixels.assign(shown.begin(), shown.end());
    DestroyWindow(tool);
    return p;
}

bool Save(const Picture& p, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    const int32_t head[4] = {p.width, p.height, p.comctlMajor, int32_t(p.spinners.size())};
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    out.write(
        reinterpret_cast<const char*>(p.spinners.data()), std::streamsize(p.spinners.size() * sizeof(RECT)));
    out.write(reinterpret_cast<const char*>(p.pixels.data()), std::streamsize(p.pixels.size() * 4));
    return out.good();
}

bool Load(const std::string& path, Picture* p)
{
    std::ifstream in(path, std::ios::binary);
    int32_t head[4] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head) || head[0] <= 0 || head[1] <= 0 || head[3] < 0 ||
        head[3] > 8)
        return false;
    p->width = head[0];
    p->height = head[1];
    p->comctlMajor = head[2];
    p->spinners.resize(size_t(head[3]));
    p->pixels.resize(size_t(p->width) * size_t(p->height));
    in.read(reinterpret_cast<char*>(p->spinners.data()), std::streamsize(p->spinners.size() * sizeof(RECT)));
    in.read(reinterpret_cast<char*>(p->pixels.data()), std::streamsize(p->pixels.size() * 4));
    return bool(in);
}

// The twin's picture: it runs with its manifest in a process of its own.
bool PaintInTwin(Picture* p)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "comctl6-picture-" + std::to_string(GetCurrentProcessId());
    std::string line = "\"" + g_twinExe + "\" --picture \"" + file + "\" \"" + g_calTestDllPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    const bool ended = WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const bool ok = ended && Load(file, p);
    DeleteFileA(file.c_str());
    return ok;
}

TEST(CommonControlsPicture, OnlyTheSpinnersMayDifferBetweenTheGenerations)
{
    const Picture plain = Paint();
    Picture themed;
    ASSERT_TRUE(PaintInTwin(&themed)) << g_twinExe;
    EXPECT_EQ(plain.comctlMajor, CAL_TEST_COMCTL_MAJOR);
    EXPECT_EQ(themed.comctlMajor, 6);
    ASSERT_EQ(plain.width, themed.width);
    ASSERT_EQ(plain.height, themed.height);
    ASSERT_EQ(plain.spinners.size(), 2u);
    ASSERT_EQ(themed.spinners.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_TRUE(EqualRect(&plain.spinners[i], &themed.spinners[i])) << "spinner " << i << " moved";
    int spinnerPixels = 0, inside = 0, outside = 0;
    for (int y = 0; y < plain.height; ++y)
        for (int x = 0; x < plain.width; ++x) {
            const bool spinner = plain.InSpinner(x, y);
            const bool differs =
                (plain.pixels[size_t(y) * plain.width + x] ^ themed.pixels[size_t(y) * plain.width + x]) &
                0xFFFFFF;
            spinnerPixels += spinner;
            inside += spinner && differs;
            outside += !spinner && differs;
        }
    std::printf("== figure tool picture, common controls %d against %d: %d of %d pixels differ, %d of the "
                "spinners' %d, %d elsewhere\n",
        plain.comctlMajor, themed.comctlMajor, inside + outside, plain.width * plain.height, inside,
        spinnerPixels, outside);
    EXPECT_EQ(outside, 0) << "the calendar itself is drawn differently";
}

}  // namespace

int main(int argc, char** argv)
{
    // The twin: paint, write the picture, end.
    if (argc == 4 && std::strcmp(argv[1], "--picture") == 0) {
        g_calTestDllPath = CalTestWindowsPath(argv[3]);
        return Save(Paint(), argv[2]) ? 0 : 1;
    }
    testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: comctl_picture_test TWIN.exe Calendar.dll\n");
        return 2;
    }
    g_twinExe = CalTestWindowsPath(argv[1]);
    g_calTestDllPath = CalTestWindowsPath(argv[2]);
    return RUN_ALL_TESTS();
}
