#include "host/screenshot.h"

#include <cstring>
#include <vector>

#include "host/calendar_files.h"
#include "host/panel.h"
#include "host/panel_calendars.h"
#include "host/png_encoder.h"
#include "host/report.h"
#include "host/tool_window.h"

namespace {

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

// The panel's client area as it is on the screen, children included, as 32-bit rows.
bool Capture(HWND window, int width, int height, std::vector<uint32_t>* bgrx)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return false;
    HDC screen = GetDCEx(window, nullptr, DCX_CACHE);  // not clipped to the panel's own pixels
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // A mirrored panel is copied into a mirrored surface, so that the
    // picture shows what the screen shows rather than its mirror image.
    const DWORD layout = GetLayout(screen);
    if (layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0)
        SetLayout(memory, layout);
    const bool ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    bgrx->assign(px, px + size_t(width) * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    DeleteObject(bitmap);
    return ok;
}

bool WriteFileWhole(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = HostErrorText(GetLastError());
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
        written == bytes.size();
    if (!ok)
        *error = HostErrorText(GetLastError());
    CloseHandle(file);
    return ok;
}

constexpr DWORD kReadingMs = 20000;  // the longest the picture waits for its calendar files

// The calendar files read, then the first tool's selection on its first
// marked day from today on (else today, as it is), so that the status line
// lists that day's events.
void ShowCalendars(HostPanel* panel, const std::vector<std::wstring>& calendars)
{
    HostStartCalendars(panel, {}, calendars);
    const DWORD start = GetTickCount();
    while (panel->calendars->Reading() && GetTickCount() - start < kReadingMs)
        Pump(50);
    Pump(100);
    HWND first = panel->tools.front().window;
    const DWORD today = static_cast<DWORD>(SendMessageW(first, CTM_GETSELECTION, 0, 0));
    CalDayMarks marks{CalDateYear(today), CalDateMonth(today), 0};
    HostAnswerDayMarks(panel, &marks);
    for (int32_t day = CalDateDay(today); day <= 31; ++day) {
        if ((marks.days >> (day - 1) & 1u) != 0) {
            SendMessageW(first, CTM_SETSELECTION, 0, CalPackDate(marks.year, marks.month, day));
            break;
        }
    }
    HostShowSelectedDay(panel, first);
}

}  // namespace

int HostRunScreenshot(HostPlugin* plugin, HINSTANCE instance, const std::string& file,
    const std::vector<std::wstring>& calendars)
{
    HostPanel panel;
    panel.instance = instance;
    panel.plugin = plugin;  // no settings path: nothing is read or saved
    if (!HostCreatePanel(&panel, nullptr, SW_SHOWNORMAL, panel.metrics.Scale(kHostShotWidth),
            panel.metrics.Scale(kHostShotHeight), WS_EX_TOPMOST)) {
        HostReportFatal("the panel window could not be created");
        return 1;
    }
    SetWindowPos(panel.window, HWND_TOPMOST, 16, 16, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);

    // The samples start from the tool's own defaults and change one option each.
    HWND first = HostAddTool(&panel, 0, nullptr, nullptr);
    CalToolSettings base{};
    if (first == nullptr || !HostFetchBlock(first, &base)) {
        HostReportFatal("the plug-in created no tool to picture");
        DestroyWindow(panel.window);
        return 1;
    }
    CalToolSettings weeks = base;
    weeks.weekNumbers = 1;
    weeks.firstDay = 1;
    CalToolSettings background = base;
    background.useBackground = 1;
    CalToolSettings font = base;
    font.font.lfHeight = -panel.metrics.Scale(15);  // pixels: as large on any screen
    font.font.lfWeight = FW_BOLD;
    font.font.lfItalic = 1;
    std::strcpy(font.font.lfFaceName, "Tahoma");
    const char* names[] = {"defaults", "week numbers, Monday first", "panel background", "another font"};
    for (const CalToolSettings* block : {&weeks, &background, &font})
        HostAddTool(&panel, 0, block, nullptr);
    HostMakeRoom(&panel);
    HostLayoutTools(&panel);
    HostSetStatus(&panel,
        "Sample calendars: " + std::string(names[0]) + "; " + names[1] + "; " + names[2] + "; " + names[3] +
            ".");

    ShowWindow(panel.window, SW_SHOWNOACTIVATE);
    UpdateWindow(panel.window);
    Pump(300);
    if (!calendars.empty())
        ShowCalendars(&panel, calendars);
    RedrawWindow(panel.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(200);

    RECT client{};
    GetClientRect(panel.window, &client);
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> png;
    std::string error = "the panel could not be captured";
    bool ok = Capture(panel.window, client.right, client.bottom, &pixels);
    if (ok) {
        ok = HostEncodePng(
            pixels.data(), static_cast<UINT>(client.right), static_cast<UINT>(client.bottom), &png, &error);
        if (!ok)
            error = "the picture could not be encoded: " + error;
    }
    if (ok) {
        ok = WriteFileWhole(file, png, &error);
        if (!ok)
            error = "the picture could not be written to " + file + ": " + error;
    }
    for (size_t i = 0; ok && i < panel.tools.size(); ++i) {
        const RECT r = HostToolRect(panel.tools[i].window, panel.window);
        const SIZE ideal = HostToolIdealSize(panel.tools[i].window);
        HostWriteOutput("tool " + std::to_string(i) + " " + std::to_string(r.left) + " " +
            std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
            std::to_string(r.bottom - r.top) + " ideal " + std::to_string(ideal.cx) + " " +
            std::to_string(ideal.cy) + ": " + (i < 4 ? names[i] : ""));
    }
    if (ok)
        HostWriteOutput(
            "picture " + file + " " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    else
        HostReportFatal(error);
    for (const HostTool& tool : panel.tools)
        DestroyWindow(tool.window);
    panel.tools.clear();
    DestroyWindow(panel.window);
    return ok ? 0 : 1;
}
