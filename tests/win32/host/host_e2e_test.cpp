// The panel host end to end: PanelHost.exe started as its own process with a
// settings file of the test's, driven through the tools' own commands, its
// property sheet and its menu, killed while it saves, started on damaged
// files and on things that are not plug-ins, and asked for its picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/background_pattern.h"
#include "host/host_ids.h"
#include "host/panel_layout.h"
#include "host/screenshot.h"
#include "host/settings_format.h"
#include "resource.h"
#include "tests/win32/support/host_expectations.h"
#include "tests/win32/support/host_process.h"
#include "tests/win32/support/plugin_loader.h"
#include "tests/win32/support/png_decode.h"
#include "tests/win32/support/test_files.h"
#include "tests/win32/support/test_parent.h"
#include "tests/win32/support/time_scale.h"
#include "tool/tool_state.h"

namespace {

int g_killRuns = 30;  // --kill-runs=N: host starts killed while they save

HostDecodeResult DecodeFile(const std::string& path)
{
    const std::vector<BYTE> bytes = ReadBytes(path);
    return HostDecodeSettings(bytes.data(), bytes.size());
}

constexpr size_t kWeekNumbers = 0, kFirstDay = 4, kFont = 68, kUseBackground = 128;

// The font the tool paints with, from its record in the host.
std::vector<BYTE> AppliedFont(const HostProcess& host, HWND tool)
{
    return host.ReadRecord(tool, offsetof(CalToolState, appliedFont), sizeof(LOGFONTA));
}

void Command(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void Click(HWND control)
{
    ASSERT_NE(control, nullptr);
    SendMessageA(control, BM_CLICK, 0, 0);
}

HWND PageOf(HWND sheet)
{
    return FindWindowExA(sheet, nullptr, "#32770", nullptr);
}

TEST(HostFile, EncodesAndNamesEveryKindOfDamage)
{
    HostSavedPanel panel;
    panel.window = {10, 20, 410, 320};
    for (uint32_t t = 0; t < 3; ++t) {
        HostSavedTool tool;
        tool.rect = {int32_t(t) * 100, 40, int32_t(t) * 100 + 90, 108};
        for (size_t i = 0; i < tool.block.size(); ++i)
            tool.block[i] = static_cast<uint8_t>(i * 7 + t);
        panel.tools.push_back(tool);
    }
    // A panel without calendar files is written as the first version was,
    // and one with them in the second; both come back whole, and no damage
    // to either goes unseen.
    HostSavedPanel withFiles = panel;
    withFiles.calendars = {"C:\\Users\\me\\Holidays.ics", "Z:\\tmp\\F\xC3\xBCr mich.ics"};
    for (const HostSavedPanel* p : {&panel, &withFiles}) {
        const std::vector<uint8_t> encoded = HostEncodeSettings(*p);
        EXPECT_EQ(encoded[8], p->calendars.empty() ? 1 : 2);
        const HostDecodeResult back = HostDecodeSettings(encoded.data(), encoded.size());
        ASSERT_EQ(back.status, HostFileStatus::ok);
        EXPECT_EQ(back.panel.calendars, p->calendars);
        EXPECT_EQ(HostEncodeSettings(back.panel), encoded);
        for (size_t n = 0; n < encoded.size(); ++n)
            EXPECT_NE(HostDecodeSettings(encoded.data(), n).status, HostFileStatus::ok) << "cut to " << n;
        for (size_t i = 0; i < encoded.size(); ++i)
            for (int bit : {0x01, 0x80}) {
                std::vector<uint8_t> bad = encoded;
                bad[i] = static_cast<uint8_t>(bad[i] ^ bit);
                EXPECT_NE(HostDecodeSettings(bad.data(), bad.size()).status, HostFileStatus::ok) << "byte " << i;
            }
    }
    // Only what reads back is written: no empty path.
    HostSavedPanel emptyPath = panel;
    emptyPath.calendars = {""};
    const std::vector<uint8_t> noFiles = HostEncodeSettings(emptyPath);
    EXPECT_EQ(HostDecodeSettings(noFiles.data(), noFiles.size()).status, HostFileStatus::ok);

    const std::vector<uint8_t> good = HostEncodeSettings(panel);
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_EQ(HostDecodeSettings(longer.data(), longer.size()).status, HostFileStatus::damaged);
    EXPECT_EQ(HostDecodeSettings(good.data(), 0).status, HostFileStatus::empty);
    EXPECT_EQ(HostDecodeSettings(good.data(), good.size() / 2).status, HostFileStatus::truncated);
    const std::string text = "[panel]\r\ntools=2\r\n";
    EXPECT_EQ(HostDecodeSettings(reinterpret_cast<const uint8_t*>(text.data()), text.size()).status,
        HostFileStatus::foreign);
    std::vector<uint8_t> newer = good;
    newer[8] = 3;
    EXPECT_EQ(HostDecodeSettings(newer.data(), newer.size()).status, HostFileStatus::newer);
}

TEST(HostRun, OptionsReachTheFileAndASecondStartRestoresThem)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    const HostBlock defaults = DefaultBlock();
    std::vector<HostBlock> expected;
    HostDecodeResult saved;
    {
        HostProcess host({"--settings", path, g_pluginDll});
        ASSERT_TRUE(host.WaitForTools(2)) << host.Errors();
        std::vector<HWND> tools = host.Tools();
        for (HWND t : tools)
            EXPECT_EQ(host.LiveBlock(t), defaults);
        ExpectFileMatchesLive(host, ReadBytes(path));  // a first start leaves a file at once

        // The tools' own commands, as their context menu sends them.
        Command(tools[0], IDM_WEEKNUMBERS);
        Command(tools[0], IDC_USEBACKGROUND);
        Command(tools[1], IDM_FIRSTDAY0 + 1);
        EXPECT_EQ(BlockField(host.LiveBlock(tools[0]), kWeekNumbers), 1);
        EXPECT_EQ(BlockField(host.LiveBlock(tools[0]), kUseBackground), 1);
        EXPECT_EQ(BlockField(host.LiveBlock(tools[1]), kFirstDay), 1);
        ExpectFileMatchesLive(host, ReadBytes(path));

        // The panel's menu: two more tools, then the last one removed.
        Command(host.panel(), IDM_HOST_ADD);
        Command(host.panel(), IDM_HOST_ADD);
        ASSERT_TRUE(host.WaitForTools(4));
        Command(host.panel(), IDM_HOST_REMOVE);
        ASSERT_TRUE(host.WaitForTools(3));
        tools = host.Tools();
        ExpectFileMatchesLive(host, ReadBytes(path));

        // The sheet: Apply, then Cancel hands back the block it opened with.
        const HostBlock opened = host.LiveBlock(tools[1]);
        Command(tools[1], IDM_PROPERTIES);
        HWND sheet = host.Sheet();
        ASSERT_NE(sheet, nullptr);
        HWND page = PageOf(sheet);
        Click(GetDlgItem(page, IDC_WEEKNUMBERS));
        Click(GetDlgItem(sheet, IDC_SHEET_APPLY));
        EXPECT_EQ(BlockField(host.LiveBlock(tools[1]), kWeekNumbers), 1);
        ExpectFileMatchesLive(host, ReadBytes(path));
        Click(GetDlgItem(page, IDC_FIRSTDAY0 + 5));
        Click(GetDlgItem(sheet, IDCANCEL));
        EXPECT_FALSE(IsWindow(page));
        EXPECT_FALSE(IsWindow(sheet));
        EXPECT_EQ(host.LiveBlock(tools[1]), opened);
        ExpectFileMatchesLive(host, ReadBytes(path));

        // Opened from the panel's menu, for the tool last used; OK applies and closes.
        Command(host.panel(), IDM_HOST_PROPERTIES);
        sheet = host.Sheet();
        ASSERT_NE(sheet, nullptr);
        page = PageOf(sheet);
        Click(GetDlgItem(page, IDC_USEBACKGROUND));
        Click(GetDlgItem(page, IDC_FIRSTDAY0 + 6));
        Click(GetDlgItem(sheet, IDOK));
        EXPECT_FALSE(IsWindow(sheet));
        EXPECT_EQ(BlockField(host.LiveBlock(tools[1]), kUseBackground), 1);
        EXPECT_EQ(BlockField(host.LiveBlock(tools[1]), kFirstDay), 6);
        ExpectFileMatchesLive(host, ReadBytes(path));

        // A font applied through the page, then cancelled: the tool paints
        // with its block's font again, not with the cancelled one.
        const HostBlock plain = host.LiveBlock(tools[0]);
        const std::vector<BYTE> plainFont(plain.begin() + kFont, plain.begin() + kFont + sizeof(LOGFONTA));
        Command(tools[0], IDM_PROPERTIES);
        sheet = host.Sheet();
        ASSERT_NE(sheet, nullptr);
        HostBlock bigger = plain;
        bigger[kFont] = 0xEC;  // lfHeight -20
        host.SetBlock(tools[0], bigger);
        Click(GetDlgItem(sheet, IDC_SHEET_APPLY));
        EXPECT_NE(AppliedFont(host, tools[0]), plainFont);
        ExpectFileMatchesLive(host, ReadBytes(path));
        Click(GetDlgItem(sheet, IDCANCEL));
        ASSERT_TRUE(host.WaitForTools(3));
        tools = host.Tools();
        EXPECT_EQ(host.LiveBlock(tools[0]), plain);
        EXPECT_EQ(AppliedFont(host, tools[0]), plainFont);
        ExpectFileMatchesLive(host, ReadBytes(path));

        for (HWND t : tools)
            expected.push_back(host.LiveBlock(t));
        PostMessageA(host.panel(), WM_CLOSE, 0, 0);
        EXPECT_EQ(host.Wait(), 0u);
        EXPECT_EQ(host.Errors(), "");
        saved = DecodeFile(path);
        ASSERT_EQ(saved.status, HostFileStatus::ok);
        ASSERT_EQ(saved.panel.tools.size(), 3u);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(saved.panel.tools[i].block, expected[i]);
    }
    HostProcess host({"--settings", path, g_pluginDll});
    ASSERT_TRUE(host.WaitForTools(3)) << host.Errors();
    std::vector<HWND> tools = host.Tools();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(host.LiveBlock(tools[i]), expected[i]) << "tool " << i;
        RECT r;
        GetWindowRect(tools[i], &r);
        MapWindowPoints(nullptr, host.panel(), reinterpret_cast<POINT*>(&r), 2);
        const HostRect32& s = saved.panel.tools[i].rect;
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
            (std::vector<LONG>{s.left, s.top, s.right, s.bottom}));
    }
    RECT w;
    GetWindowRect(host.panel(), &w);
    EXPECT_EQ((std::vector<LONG>{w.left, w.top, w.right, w.bottom}),
        (std::vector<LONG>{saved.panel.window.left, saved.panel.window.top, saved.panel.window.right,
            saved.panel.window.bottom}));

    // Removing a tool whose page is open, and closing with a page open: the
    // page goes with its tool, and nothing crashes.
    Command(tools[2], IDM_PROPERTIES);
    HWND page = PageOf(host.Sheet());
    ASSERT_NE(page, nullptr);
    Command(host.panel(), IDM_HOST_REMOVE);
    ASSERT_TRUE(host.WaitForTools(2));
    EXPECT_FALSE(IsWindow(page));
    EXPECT_FALSE(IsWindow(tools[2]));
    Command(tools[0], IDM_PROPERTIES);
    HWND sheet = host.Sheet();
    ASSERT_NE(PageOf(sheet), nullptr);
    // A close asked for while a tool's modal box runs waits for the box.
    PostMessageA(tools[1], WM_COMMAND, IDC_ABOUT, 0);
    HWND about = nullptr;
    for (int i = 0; i < 500 && about == nullptr; ++i, Sleep(10))
        about = host.Sheet(sheet);
    ASSERT_NE(about, nullptr);
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(600), STILL_ACTIVE);
    EXPECT_TRUE(IsWindow(tools[1]));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(host.Wait(), 0u);
    const HostDecodeResult last = DecodeFile(path);
    ASSERT_EQ(last.status, HostFileStatus::ok);
    ASSERT_EQ(last.panel.tools.size(), 2u);
    EXPECT_EQ(last.panel.tools[0].block, expected[0]);
    EXPECT_EQ(last.panel.tools[1].block, expected[1]);
}

TEST(HostRun, AKillWhileSavingLeavesTheOldOrANewGoodFile)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    HostSavedPanel start;
    start.tools.resize(2);
    start.tools[0].block = start.tools[1].block = DefaultBlock();
    ASSERT_TRUE(WriteBytes(path, HostEncodeSettings(start)));
    int runs = 0, changed = 0;
    std::vector<BYTE> before = ReadBytes(path);
    for (int i = 0; i < g_killRuns; ++i) {
        HostProcess host({"--settings", path, g_pluginDll});
        ASSERT_TRUE(host.WaitForTools(2)) << host.Errors();
        const std::vector<HWND> tools = host.Tools();
        // Every command saves: a burst keeps the host saving when the kill lands.
        for (int k = 0; k < 80; ++k) {
            const int ids[] = {IDM_WEEKNUMBERS, IDC_USEBACKGROUND, IDM_FIRSTDAY0 + k % 7};
            PostMessageA(tools[k % 2], WM_COMMAND, ids[k % 3], 0);
        }
        Sleep(CalTestScaled(static_cast<DWORD>(i * 67 % 260)));
        host.Kill();
        ++runs;
        const HostDecodeResult file = DecodeFile(path);
        ASSERT_EQ(file.status, HostFileStatus::ok) << "run " << i << ": " << file.detail;
        EXPECT_EQ(file.panel.tools.size(), 2u);
        const std::vector<BYTE> after = ReadBytes(path);
        changed += after != before;
        before = after;
        EXPECT_FALSE(FileExists(path + ".damaged-1"));
    }
    std::printf("== figure host kills during saves: %d runs, %d left a new file, %d the old one\n", runs,
        changed, runs - changed);
    EXPECT_GT(changed, 0) << "no kill came after a save";
}

TEST(HostRun, ABadSettingsFileIsKeptAsideAndDefaultsAreShown)
{
    TempFolder dir;
    const std::string path = dir.Path("panel.settings");
    HostSavedPanel panel;
    panel.tools.resize(1);
    panel.tools[0].rect = {10, 38, 170, 158};
    std::vector<uint8_t> damaged = HostEncodeSettings(panel);
    damaged[40] ^= 0x10;
    std::vector<uint8_t> truncated = HostEncodeSettings(panel);
    truncated.resize(60);
    const std::string text = "<settings tools=\"2\"/>";
    const struct {
        std::vector<uint8_t> bytes;
        const char* words;
    } cases[] = {{damaged, "damaged"}, {truncated, "truncated"}, {{}, "empty"},
        {std::vector<uint8_t>(text.begin(), text.end()), "not a panel settings file"}};
    const HostBlock defaults = DefaultBlock();
    int n = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        HostProcess host({"--settings", path, g_pluginDll});
        ASSERT_TRUE(host.WaitForTools(2)) << c.words << ": " << host.Errors();
        for (HWND t : host.Tools())
            EXPECT_EQ(host.LiveBlock(t), defaults);
        const std::string aside = path + ".damaged-" + std::to_string(++n);  // never one over another
        EXPECT_NE(host.StatusText().find(aside), std::string::npos) << host.StatusText();
        PostMessageA(host.panel(), WM_CLOSE, 0, 0);
        EXPECT_EQ(host.Wait(), 0u);
        const std::string errors = host.Errors();
        EXPECT_NE(errors.find(c.words), std::string::npos) << errors;
        EXPECT_NE(errors.find(aside), std::string::npos) << errors;
        EXPECT_EQ(ReadBytes(aside), c.bytes) << aside;
        EXPECT_EQ(DecodeFile(path).status, HostFileStatus::ok) << "a good file replaces the bad one";
    }
}

TEST(HostRun, WhatIsNotAPluginIsSaidAndEndsTheHost)
{
    TempFolder dir;
    const std::string text = dir.Path("notes.dll");
    WriteBytes(text, {'h', 'e', 'l', 'l', 'o', '\n'});
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    const struct {
        std::string path;
        const char* words;
    } cases[] = {{dir.Path("missing.dll"), "does not exist"}, {text, "could not be loaded"},
        {std::string(system) + "\\version.dll", "does not export EnumeratePanelTypes"}};
    for (const auto& c : cases) {
        HostProcess host({"--settings", dir.Path("panel.settings"), c.path});
        const DWORD code = host.Wait(10000);
        EXPECT_NE(code, 0u) << c.path;
        EXPECT_LT(code, 256u) << "ended by a fault: " << std::hex << code;
        const std::string errors = host.Errors();
        EXPECT_NE(errors.find(c.words), std::string::npos) << errors;
        EXPECT_NE(errors.find(c.path), std::string::npos) << errors;
    }
    EXPECT_FALSE(FileExists(dir.Path("panel.settings")));
}

struct ShotTool {
    int x, y, w, h;
};

uint32_t Rgb(COLORREF c)
{
    return uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c);
}

// What a tool's pixel shows where nothing is drawn on it: the face colour,
// or the panel's own picture at that place behind the tool that shows it.
uint32_t Ground(const PngImage& png, const ShotTool& t, bool panelBehind, int x, int y)
{
    if (!panelBehind)
        return Rgb(GetSysColor(COLOR_BTNFACE));
    const HostRgb c = HostPatternColour(t.x + x, t.y + y, int(png.width), int(png.height));
    return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}


// Rows (of the rectangle, relative to a tool) holding ink, and all ink pixels.
int InkRows(const PngImage& png, const ShotTool& t, bool panelBehind, int left, int top, int right, int bottom,
    int* pixels)
{
    int rows = 0;
    *pixels = 0;
    for (int y = top; y < bottom; ++y) {
        int inRow = 0;
        for (int x = left; x < right; ++x)
            inRow += PngIsInk(png.Pixel(t.x + x, t.y + y), Ground(png, t, panelBehind, x, y));
        rows += inRow > 0;
        *pixels += inRow;
    }
    return rows;
}

// Share of a tool's face equal to the panel's background at (dx, dy) from it.
double BackgroundShare(const PngImage& png, const ShotTool& t, int dx, int dy)
{
    int same = 0, all = 0;
    for (int y = 3; y < t.h - 3; ++y)
        for (int x = 3; x < t.w - 3; ++x, ++all) {
            const HostRgb c = HostPatternColour(dx + x, dy + y, int(png.width), int(png.height));
            same += png.Pixel(t.x + x, t.y + y) == (uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
        }
    return double(same) / all;
}

TEST(HostRun, ThePictureShowsTheCalendarsAndTheirOptions)
{
    TempFolder dir;
    const std::string appData = dir.Path("appdata");
    CreateDirectoryA(appData.c_str(), nullptr);
    const std::string file = dir.Path("panel.png");
    SetEnvironmentVariableA("APPDATA", appData.c_str());
    HostProcess host({"--screenshot", file, g_pluginDll});
    ASSERT_EQ(host.Wait(30000), 0u) << host.Errors();
    std::vector<ShotTool> tools;
    const std::string out = host.Output();
    for (size_t at = out.find("tool "); at != std::string::npos; at = out.find("tool ", at + 1)) {
        ShotTool t{};
        int index = 0;
        ASSERT_EQ(std::sscanf(out.c_str() + at, "tool %d %d %d %d %d", &index, &t.x, &t.y, &t.w, &t.h), 5);
        tools.push_back(t);
    }
    ASSERT_EQ(tools.size(), 4u) << out;
    PngImage png;
    std::string error;
    const std::vector<BYTE> bytes = ReadBytes(file);
    EXPECT_LT(bytes.size(), 100u * 1024) << "the picture is not compressed";
    ASSERT_TRUE(PngDecode(bytes, &png, &error)) << error;
    ASSERT_EQ(png.width, uint32_t(kHostShotWidth));
    ASSERT_EQ(png.height, uint32_t(kHostShotHeight));
    EXPECT_TRUE(RemoveDirectoryA(appData.c_str())) << "the picture mode wrote settings";

    const uint32_t shadowRgb = Rgb(GetSysColor(COLOR_BTNSHADOW));
    int titleRows[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        const ShotTool& t = tools[i];
        EXPECT_EQ(png.Pixel(t.x, t.y), shadowRgb)
            << "the etched frame of tool " << i << " where it was placed";
        const int row = (t.h - 6) / 8;
        int pixels = 0;
        const bool panelBehind = i == 2;
        titleRows[i] = InkRows(png, t, panelBehind, t.w / 4, 3, t.w * 3 / 4, 3 + row, &pixels);
        EXPECT_GT(pixels, 10) << "title of tool " << i;
        // Only the week-number tool has the etched line right of its first column.
        const int column = 3 + (t.w - 6) / 7 - 1;
        int line = 0;
        for (int y = 3 + 2 * row; y < t.h - 4; ++y)
            line += png.Pixel(t.x + column, t.y + y) == shadowRgb;
        const double share = double(line) / (t.h - 7 - 2 * row);
        if (i == 1)
            EXPECT_GT(share, 0.9);
        else
            EXPECT_LT(share, 0.2) << "tool " << i;
        // Above the week numbers the header is empty; elsewhere column 0 has its initial.
        InkRows(png, t, panelBehind, 3, 3 + row, column, 3 + 2 * row, &pixels);
        EXPECT_EQ(pixels > 0, i != 1) << "header cell of column 0, tool " << i;
        if (i == 1) {
            InkRows(png, t, panelBehind, 3, 3 + 2 * row, column, t.h - 3, &pixels);
            EXPECT_GT(pixels, 20) << "week numbers";
        }
    }
    EXPECT_GT(titleRows[3], titleRows[0]) << "the larger font's title is taller";
    // The type's image in the header strip at (8, 6): its masked corners let
    // the strip show through, its leaves do not.
    const uint32_t strip = png.Pixel(2, 2);
    EXPECT_EQ(png.Pixel(8 + 13, 6 + 2), strip);
    EXPECT_EQ(png.Pixel(8 + 2, 6 + 13), strip);
    EXPECT_NE(png.Pixel(8 + 0, 6 + 0), strip);
    EXPECT_NE(png.Pixel(8 + 8, 6 + 8), strip);
    // The panel's own background, and the same picture behind the calendar
    // whose background option is on, aligned to the calendar's place.
    for (int y = kHostHeaderHeight; y < kHostShotHeight - kHostStatusHeight; ++y) {
        const HostRgb c = HostPatternColour(2, y, kHostShotWidth, kHostShotHeight);
        ASSERT_EQ(png.Pixel(2, y), uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b) << "y " << y;
    }
    EXPECT_GT(BackgroundShare(png, tools[2], tools[2].x, tools[2].y), 0.6);
    EXPECT_LT(BackgroundShare(png, tools[2], 0, 0), 0.3) << "not aligned to the panel";
    for (size_t i : {0u, 1u, 3u})
        EXPECT_LT(BackgroundShare(png, tools[i], tools[i].x, tools[i].y), 0.05) << "tool " << i;
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc >= 2 && std::strncmp(argv[1], "--kill-runs=", 12) == 0) {
        g_killRuns = std::atoi(argv[1] + 12);
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: host_e2e_test PanelHost.exe Calendar.dll\n");
        return 2;
    }
    g_hostExe = CalTestWindowsPath(argv[1]);
    g_pluginDll = CalTestWindowsPath(argv[2]);
    g_calTestDllPath = g_pluginDll;
    return RUN_ALL_TESTS();
}
