// The sample host, MinimalHost.exe, end to end as its own process: a first
// start with the tools' defaults, an option changed through its properties
// sheet and stored at once, a restart that restores it, a broadcast that
// lays the tools out again, a settings file of the wrong size. Every module
// it loads comes from its own folder or the system's. Given the panel host
// of the same folder as well (the unpacked release archive), the same holds
// for the panel host, and both programs carry the project's version.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cal_version.h"
#include "plugin/caltool.h"
#include "resource.h"
#include "tests/win32/support/host_process.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/test_files.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/time_scale.h"

namespace {

std::string g_sampleExe;          // Windows paths
std::string g_panelHostExe;       // empty unless the folder holds a panel host to check too
constexpr int kSheetApply = 100;  // the sample sheet's Apply button
constexpr COLORREF kSampleBackground = RGB(0x2E, 0x6B, 0x5E);

std::string Folder(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string Lower(std::string s)
{
    CharLowerA(s.data());
    return s;
}

std::string SettingsPath()
{
    return g_sampleExe.substr(0, g_sampleExe.find_last_of('.')) + ".settings";
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// The children of parent of the given class, left to right.
std::vector<HWND> Children(HWND parent, const char* className)
{
    std::vector<HWND> all, found;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all) {
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        if (lstrcmpA(name, className) == 0)
            found.push_back(w);
    }
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return found;
}

// Waits until the process shows a top-level window of the class that has count
// children of the child class.
HWND WaitForWindow(HostProcess& process, const char* className, const char* childClass, size_t count)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000;) {
        HWND w = FindTopLevel(GetProcessId(process.process()), className);
        if (w != nullptr && Children(w, childClass).size() == count)
            return w;
        if (process.Wait(20) != STILL_ACTIVE)
            return nullptr;
    }
    return nullptr;
}

// Every module of the process is in its program's folder or the system's:
// the system folder, or the side-by-side store that a manifest asking for the
// common controls 6 loads them from.
void ExpectModulesFromFolderOrSystem(DWORD pid, const std::string& exe)
{
    char system[MAX_PATH], windowsFolder[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    const std::string own = Lower(Folder(exe)), windows = Lower(std::string(system) + "\\"),
                      sideBySide = Lower(std::string(windowsFolder) + "\\winsxs\\");
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    bool library = false;
    for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module)) {
        const std::string path = Lower(module.szExePath);
        const bool inOwn = path.rfind(own, 0) == 0 && path.find('\\', own.size()) == std::string::npos;
        const bool inSystem = path.rfind(windows, 0) == 0 || path.rfind(sideBySide, 0) == 0;
        EXPECT_TRUE(inOwn || inSystem) << exe << " loaded " << module.szExePath;
        library = library || path == own + "calendar.dll";
    }
    CloseHandle(snapshot);
    EXPECT_TRUE(library) << exe << " did not load the Calendar.dll beside it";
}

std::vector<BYTE> Block(const std::vector<BYTE>& file, size_t tool)
{
    return {file.begin() + tool * CAL_SETTINGS_SIZE, file.begin() + (tool + 1) * CAL_SETTINGS_SIZE};
}

// The share of the tool's on-screen pixels in colour, of those the tool
// itself shows (a point another window covers is not counted).
double ShareNow(HWND tool, COLORREF colour, int* shown, int* all)
{
    RECT r;
    GetWindowRect(tool, &r);
    HDC screen = GetDC(nullptr);
    int same = 0;
    *shown = *all = 0;
    for (int y = r.top + 4; y < r.bottom - 4; y += 3)
        for (int x = r.left + 4; x < r.right - 4; x += 3, ++*all) {
            HWND at = WindowFromPoint(POINT{x, y});
            if (at != tool && GetParent(at) != tool)
                continue;
            ++*shown;
            same += GetPixel(screen, x, y) == colour;
        }
    ReleaseDC(nullptr, screen);
    return *shown == 0 ? 0 : double(same) / *shown;
}

// The share as the screen comes to show it: the sample's window is put on
// top, right of where the other tests' windows and menus open, and
// repainted. The sample paints and the display server shows it in their own
// time, which a busy run stretches: the screen is read again every tenth of
// a second until the share is on the wanted side of the bound, or five
// seconds have passed; the last reading is returned.
double ScreenShare(HWND top, HWND tool, COLORREF colour, bool above, double bound)
{
    CalTestPutOnTop(top, 660, 40);
    RedrawWindow(tool, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    int shown = 0, all = 0, readings = 0;
    double share = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < CalTestScaled(5000); Sleep(100)) {
        share = ShareNow(tool, colour, &shown, &all);
        ++readings;
        if (above ? share > bound : share < bound)
            break;
    }
    if (readings > 1)
        std::printf("   the screen needed %d readings, %.2f at last\n", readings, share);
    EXPECT_GT(shown, all / 2) << "the tool was mostly covered by other windows";
    return share;
}

void Click(HWND control)
{
    ASSERT_NE(control, nullptr);
    SendMessageA(control, BM_CLICK, 0, 0);
}

void ExpectAtIdealSizes(HWND main)
{
    for (HWND tool : Children(main, "CalTool")) {
        const DWORD ideal = static_cast<DWORD>(SendMessageA(tool, CTM_GETIDEALSIZE, 0, 0));
        RECT r;
        GetWindowRect(tool, &r);
        EXPECT_EQ(r.right - r.left, LONG(CalPackedWidth(ideal)));
        EXPECT_EQ(r.bottom - r.top, LONG(CalPackedHeight(ideal)));
    }
}

TEST(SampleHost, StartsFreshKeepsAnAppliedOptionAndRestoresItOnRestart)
{
    DeleteFileA(SettingsPath().c_str());
    g_hostExe = g_sampleExe;
    {
        HostProcess sample({});
        HWND main = WaitForWindow(sample, "MinimalHostWindow", "CalTool", 2);
        ASSERT_NE(main, nullptr) << sample.Errors();
        ExpectModulesFromFolderOrSystem(GetProcessId(sample.process()), g_sampleExe);
        std::vector<HWND> tools = Children(main, "CalTool");
        for (HWND tool : tools) {
            const HostBlock block = sample.LiveBlock(tool);
            EXPECT_EQ(BlockField(block, 0), 0) << "week numbers off by default";
            EXPECT_EQ(BlockField(block, 128), 0) << "the host's background off by default";
        }
        ExpectAtIdealSizes(main);
        const HostBlock untouched = sample.LiveBlock(tools[1]);

        // Properties of the first tool, from its own menu command: the sample opens its sheet.
        SendMessageA(tools[0], WM_COMMAND, MAKEWPARAM(IDM_PROPERTIES, 0), 0);
        HWND sheet = WaitForWindow(sample, "MinimalHostSheet", "#32770", 1);
        ASSERT_NE(sheet, nullptr) << "no sheet with the tool's page";
        HWND page = Children(sheet, "#32770")[0];
        Click(GetDlgItem(page, IDC_WEEKNUMBERS));
        Click(GetDlgItem(page, IDC_USEBACKGROUND));
        EXPECT_EQ(BlockField(sample.LiveBlock(tools[0]), 0), 0) << "changed before Apply";
        Click(GetDlgItem(sheet, kSheetApply));
        EXPECT_NE(BlockField(sample.LiveBlock(tools[0]), 0), 0) << "Apply did not reach the tool";

        // Stored at once, before the sample closes.
        const std::vector<BYTE> file = ReadBytes(SettingsPath());
        ASSERT_EQ(file.size(), 2u * CAL_SETTINGS_SIZE);
        const HostBlock live0 = sample.LiveBlock(tools[0]);
        EXPECT_EQ(Block(file, 0), std::vector<BYTE>(live0.begin(), live0.end()));
        EXPECT_EQ(Block(file, 1), std::vector<BYTE>(untouched.begin(), untouched.end()));

        Click(GetDlgItem(sheet, IDCANCEL));
        EXPECT_FALSE(IsWindow(sheet)) << "Close left the sheet open";
        EXPECT_GT(ScreenShare(main, tools[0], kSampleBackground, true, 0.5), 0.5)
            << "the sample's colour behind tool 0";
        EXPECT_LT(ScreenShare(main, tools[1], kSampleBackground, false, 0.05), 0.05)
            << "tool 1 asked for no background";

        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(sample.Wait(10000), 0u);
    }
    const std::vector<BYTE> stored = ReadBytes(SettingsPath());
    ASSERT_EQ(stored.size(), 2u * CAL_SETTINGS_SIZE);
    {
        HostProcess sample({});
        HWND main = WaitForWindow(sample, "MinimalHostWindow", "CalTool", 2);
        ASSERT_NE(main, nullptr) << sample.Errors();
        std::vector<HWND> tools = Children(main, "CalTool");
        for (size_t i = 0; i < 2; ++i) {
            const HostBlock live = sample.LiveBlock(tools[i]);
            EXPECT_EQ(std::vector<BYTE>(live.begin(), live.end()), Block(stored, i)) << "tool " << i;
        }
        // A settings broadcast reaches the tools and the sample lays them out again.
        MoveWindow(tools[0], 0, 0, 40, 30, TRUE);
        SendMessageA(main, WM_SETTINGCHANGE, 0, 0);
        ExpectAtIdealSizes(main);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(sample.Wait(10000), 0u);
    }
    EXPECT_EQ(ReadBytes(SettingsPath()), stored) << "a restart without changes changed the file";
}

TEST(SampleHost, StartsAfreshFromAFileOfTheWrongSize)
{
    const std::vector<BYTE> damaged(CAL_SETTINGS_SIZE + 7, 0x5A);
    ASSERT_TRUE(WriteBytes(SettingsPath(), damaged));
    g_hostExe = g_sampleExe;
    HostProcess sample({});
    HWND main = WaitForWindow(sample, "MinimalHostWindow", "CalTool", 2);
    ASSERT_NE(main, nullptr) << sample.Errors();
    for (HWND tool : Children(main, "CalTool"))
        EXPECT_EQ(BlockField(sample.LiveBlock(tool), 4), 0) << "a block taken from the damaged file";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(sample.Wait(10000), 0u);
    EXPECT_EQ(ReadBytes(SettingsPath()).size(), 2u * CAL_SETTINGS_SIZE) << "not replaced on closing";
    DeleteFileA(SettingsPath().c_str());
}

// The unpacked release archive: the panel host runs from the folder too.
TEST(ReleaseFolder, PanelHostLoadsOnlyFromItsFolderAndTheSystem)
{
    if (g_panelHostExe.empty())
        GTEST_SKIP() << "no panel host given";
    TempFolder dir;
    g_hostExe = g_panelHostExe;
    HostProcess host({"--settings", dir.Path("panel.settings")});
    ASSERT_TRUE(host.WaitForTools(2)) << host.Errors();
    ExpectModulesFromFolderOrSystem(GetProcessId(host.process()), g_panelHostExe);
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(10000), 0u);
}

TEST(ReleaseFolder, BothProgramsCarryTheProjectsVersion)
{
    if (g_panelHostExe.empty())
        GTEST_SKIP() << "no panel host given";
    for (const std::string& file :
        {Folder(g_panelHostExe) + "PanelHost.exe", Folder(g_panelHostExe) + "Calendar.dll"}) {
        DWORD handle = 0;
        std::vector<BYTE> info(GetFileVersionInfoSizeA(file.c_str(), &handle));
        ASSERT_FALSE(info.empty()) << file << " has no version resource";
        ASSERT_TRUE(GetFileVersionInfoA(file.c_str(), 0, DWORD(info.size()), info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        char* text = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
        EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(CAL_VERSION_MINOR, CAL_VERSION_MAJOR))) << file;
        EXPECT_EQ(fixed->dwFileVersionLS, DWORD(MAKELONG(CAL_VERSION_TWEAK, CAL_VERSION_PATCH))) << file;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductVersion",
            reinterpret_cast<void**>(&text), &len));
        EXPECT_STREQ(text, CAL_VERSION_RESOURCE_TEXT) << file;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: sample_host_test MinimalHost.exe [PanelHost.exe]\n");
        return 2;
    }
    g_sampleExe = CalTestWindowsPath(argv[1]);
    if (argc >= 3)
        g_panelHostExe = CalTestWindowsPath(argv[2]);
    const int result = RUN_ALL_TESTS();
    // Once in a run of the whole suite this process died by a segmentation
    // fault after every test had passed and the summary was printed: in the
    // platform's exit path, since nothing of the library is loaded here. The
    // results are out, so the process ends without that path.
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
