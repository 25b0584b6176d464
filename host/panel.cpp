#include "host/panel.h"

#include <algorithm>
#include <cstring>

#include "host/calendar_files.h"
#include "host/host_ids.h"
#include "host/panel_calendars.h"
#include "host/panel_layout.h"
#include "host/property_sheet.h"
#include "host/report.h"
#include "host/settings_store.h"
#include "host/tool_window.h"
#include "host/ui_font.h"

namespace {

constexpr char kPanelClass[] = "PanelHostWindow";
constexpr DWORD kPanelStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr COLORREF kHeaderColour = RGB(52, 72, 120);
constexpr COLORREF kStatusColour = RGB(232, 232, 226);
constexpr COLORREF kCurrentColour = RGB(40, 90, 200);
// Measures at 96 dots per inch, scaled with the panel's metrics.
constexpr int kMinClientWidth = 480;
constexpr int kMinClientHeight = 240;
constexpr int kMinTrackWidth = 200;
constexpr int kMinTrackHeight = 180;
constexpr int kOutlineOffset = 3;  // round the current tool
constexpr int kOutlineWidth = 2;
constexpr int kHeaderMargin = 8;  // before the first image, and after each name
constexpr int kImageSize = 16;    // the descriptor's image, drawn as it is
constexpr int kImageGap = 6;      // between an image and its name
constexpr int kTypeGap = 16;      // between one type and the next
constexpr int kStatusInset = 6;   // the status text's margin at either side
constexpr int kStatusInsetY = 2;  // and above and below
constexpr UINT kCloseRetryMs = 250;

HostPanel* PanelOf(HWND window)
{
    return reinterpret_cast<HostPanel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HostTool* FindTool(HostPanel* panel, HWND window)
{
    for (HostTool& tool : panel->tools)
        if (tool.window == window)
            return &tool;
    return nullptr;
}

RECT ClientRectOf(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

void InvalidateOutline(HostPanel* panel, HWND tool)
{
    if (tool == nullptr)
        return;
    RECT r = HostToolRect(tool, panel->window);
    const int reach = panel->metrics.Scale(kOutlineOffset) + 1;
    InflateRect(&r, reach, reach);
    InvalidateRect(panel->window, &r, FALSE);
}

void SetCurrent(HostPanel* panel, HWND tool)
{
    if (panel->current == tool)
        return;
    InvalidateOutline(panel, panel->current);
    panel->current = tool;
    InvalidateOutline(panel, tool);
}

HMENU BuildMenu(const HostPanel& panel)
{
    HMENU bar = CreateMenu();
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < panel.plugin->types.size(); ++i) {
        const std::string text = std::string("&Add ") + panel.plugin->types[i].info->name;
        AppendMenuA(menu, MF_STRING, IDM_HOST_ADD + i, text.c_str());
    }
    AppendMenuA(menu, MF_STRING, IDM_HOST_REMOVE, "&Remove Selected");
    AppendMenuA(menu, MF_STRING, IDM_HOST_PROPERTIES, "&Properties of Selected...");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_HOST_EXIT, "E&xit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "&Panel");
    return bar;
}

// The tool the menu acts on: the one last clicked, else the last one.
HWND MenuTarget(HostPanel* panel)
{
    if (panel->current != nullptr && FindTool(panel, panel->current) != nullptr)
        return panel->current;
    return panel->tools.empty() ? nullptr : panel->tools.back().window;
}

// The descriptor's 16x16 image, transparent where its mask is 1.
void DrawTypeImage(HDC dc, int x, int y, const CalToolTypeInfo& info)
{
    if (info.image == nullptr)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, info.image);
    // Where the mask is 1 the destination stays (ROP D), elsewhere the image is copied.
    const bool masked = info.mask != nullptr &&
        MaskBlt(dc, x, y, 16, 16, source, 0, 0, info.mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
    if (!masked)
        BitBlt(dc, x, y, 16, 16, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// A font of the panel's, or the system's interface font where it has none.
HGDIOBJ UiFont(HFONT font)
{
    return font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT);
}

// One text of the header strip in font, from x on, centred in the strip's
// height. Returns where it ends.
int DrawStripText(HDC dc, HGDIOBJ font, const char* text, int x, int width, int height)
{
    SelectObject(dc, font);
    RECT r{x, 0, width, height};
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CALCRECT);
    r.bottom = height;
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return r.right;
}

// The strip, the status line and the outline in the host's own colours, or
// in the system's where the user's scheme asks for them.
COLORREF HeaderColour(const HostPanel& panel)
{
    return panel.systemColours ? GetSysColor(COLOR_HIGHLIGHT) : kHeaderColour;
}

COLORREF HeaderTextColour(const HostPanel& panel)
{
    return panel.systemColours ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(255, 255, 255);
}

COLORREF StatusColour(const HostPanel& panel)
{
    return panel.systemColours ? GetSysColor(COLOR_BTNFACE) : kStatusColour;
}

COLORREF StatusTextColour(const HostPanel& panel)
{
    return panel.systemColours ? GetSysColor(COLOR_BTNTEXT) : RGB(0, 0, 0);
}

COLORREF CurrentColour(const HostPanel& panel)
{
    return panel.systemColours ? GetSysColor(COLOR_HIGHLIGHT) : kCurrentColour;
}

void PaintHeader(HostPanel* panel, HDC dc, int width)
{
    const HostMetrics& m = panel->metrics;
    const int height = m.headerHeight;
    RECT band{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(HeaderColour(*panel));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, HeaderTextColour(*panel));
    HGDIOBJ oldFont = SelectObject(dc, UiFont(panel->textFont));
    int x = m.Scale(kHeaderMargin);
    for (const HostPanelType& type : panel->plugin->types) {
        DrawTypeImage(dc, x, (height - kImageSize) / 2, *type.info);
        x += kImageSize + m.Scale(kImageGap);
        char name[sizeof type.info->name + 1] = "";
        char description[sizeof type.info->description + 1] = "";
        // Copied with a terminator of our own: a plug-in's fields may lack one.
        std::memcpy(name, type.info->name, sizeof type.info->name);
        std::memcpy(description, type.info->description, sizeof type.info->description);
        x = DrawStripText(dc, UiFont(panel->boldFont), name, x, width, height) + m.Scale(kHeaderMargin);
        x = DrawStripText(dc, UiFont(panel->textFont), description, x, width, height) + m.Scale(kTypeGap);
    }
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void OnPaint(HostPanel* panel)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(panel->window, &ps);
    const RECT client = ClientRectOf(panel->window);
    HostBackgroundPaint(panel->background, dc, ps.rcPaint, ps.rcPaint.left, ps.rcPaint.top);
    PaintHeader(panel, dc, client.right);
    RECT status{0, client.bottom - panel->metrics.statusHeight, client.right, client.bottom};
    FillRect(dc, &status, panel->statusBrush);
    if (panel->current != nullptr && panel->tools.size() > 1) {
        RECT r = HostToolRect(panel->current, panel->window);
        const int offset = panel->metrics.Scale(kOutlineOffset);
        InflateRect(&r, offset, offset);
        HBRUSH brush = CreateSolidBrush(CurrentColour(*panel));
        for (int i = panel->metrics.Scale(kOutlineWidth); i > 0; --i) {
            FrameRect(dc, &r, brush);
            InflateRect(&r, -1, -1);
        }
        DeleteObject(brush);
    }
    EndPaint(panel->window, &ps);
}

void OnSize(HostPanel* panel, int width, int height)
{
    const HostMetrics& m = panel->metrics;
    HostBackgroundResize(&panel->background, width, height, !panel->systemColours);
    const int insetX = m.Scale(kStatusInset);
    const int insetY = m.Scale(kStatusInsetY);
    if (panel->status != nullptr)
        MoveWindow(panel->status, insetX, height - m.statusHeight + insetY, std::max(width - 2 * insetX, 0),
            m.statusHeight - 2 * insetY, TRUE);
    HostLayoutTools(panel);
    InvalidateRect(panel->window, nullptr, FALSE);
}

// Paints the panel's background behind a tool into the tool's surface, taken
// at the tool's place in the panel so that the calendar looks transparent.
void OnPaintBackground(HostPanel* panel, const CalBackgroundRequest* request)
{
    if (request == nullptr || request->dc == nullptr)
        return;
    POINT origin{0, 0};
    MapWindowPoints(request->window, panel->window, &origin, 1);
    HostBackgroundPaint(panel->background, request->dc, request->rect, origin.x + request->rect.left,
        origin.y + request->rect.top);
}

void OnSettingsChanged(HostPanel* panel, HWND tool)
{
    if (FindTool(panel, tool) == nullptr)
        return;
    HostSheetToolChanged(panel->sheet.get(), tool);
    HostSavePanel(panel);
}

// The sheet, titled with the name of the tool's type.
void OpenSheet(HostPanel* panel, HWND tool)
{
    const HostTool* entry = FindTool(panel, tool);
    const char* name = entry != nullptr ? panel->plugin->types[entry->type].info->name : "Tool";
    HostOpenSheet(&panel->sheet, panel->window, panel->instance, tool,
        std::string(name, strnlen(name, sizeof(CalToolTypeInfo::name))), HostKeptCalendars(panel));
}

void OnShowProperties(HostPanel* panel, HWND tool)
{
    if (FindTool(panel, tool) == nullptr)
        return;
    SetCurrent(panel, tool);
    OpenSheet(panel, tool);
}

void OnCommand(HostPanel* panel, int id)
{
    if (id >= IDM_HOST_ADD && id < IDM_HOST_ADD + static_cast<int>(panel->plugin->types.size())) {
        if (HostAddTool(panel, static_cast<uint32_t>(id - IDM_HOST_ADD), nullptr, nullptr) != nullptr) {
            HostMakeRoom(panel);
            HostLayoutTools(panel);
            HostSavePanel(panel);
        }
    } else if (id == IDM_HOST_REMOVE) {
        if (HWND tool = MenuTarget(panel); tool != nullptr) {
            HostRemoveTool(panel, tool);
            HostSavePanel(panel);
        }
    } else if (id == IDM_HOST_PROPERTIES) {
        if (HWND tool = MenuTarget(panel); tool != nullptr)
            OpenSheet(panel, tool);
    } else if (id == IDM_HOST_EXIT) {
        HostClosePanel(panel);
    }
}

// A click on a tool makes it the one the menu acts on.
void OnParentNotify(HostPanel* panel, WPARAM wParam, LPARAM lParam)
{
    const UINT event = LOWORD(wParam);
    if (event != WM_LBUTTONDOWN && event != WM_RBUTTONDOWN)
        return;
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HWND child = ChildWindowFromPointEx(panel->window, p, CWP_SKIPINVISIBLE);
    if (FindTool(panel, child) != nullptr)
        SetCurrent(panel, child);
}

LRESULT OnColourStatic(HostPanel* panel, HDC dc)
{
    SetBkColor(dc, StatusColour(*panel));
    SetTextColor(dc, StatusTextColour(*panel));
    return reinterpret_cast<LRESULT>(panel->statusBrush);
}

// Chooses between the host's colours and the system's, and makes the status
// line's brush and the background to match.
void TakeColours(HostPanel* panel)
{
    panel->systemColours = HostUsesSystemColours();
    if (panel->statusBrush != nullptr)
        DeleteObject(panel->statusBrush);
    panel->statusBrush = CreateSolidBrush(StatusColour(*panel));
    if (panel->window != nullptr) {
        const RECT client = ClientRectOf(panel->window);
        HostBackgroundResize(&panel->background, client.right, client.bottom, !panel->systemColours);
    }
}

// System broadcasts reach only top-level windows: each tool hears them from
// here, and a new locale's longer month names may want more room.
void OnSystemBroadcast(HostPanel* panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const HostTool& tool : panel->tools)
        SendMessageA(tool.window, message, wParam, lParam);
    if (message == WM_SETTINGCHANGE || message == WM_TIMECHANGE) {
        HostMakeRoom(panel);
        HostLayoutTools(panel);
    }
    if (message == WM_SYSCOLORCHANGE) {
        // A scheme in which the stripes would swallow the calendars' text, or
        // back: the tools have remade their colours; now the panel and every
        // calendar that shows its background are painted again.
        TakeColours(panel);
        RedrawWindow(panel->window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

// The focus goes on to the tool last clicked, else the first one.
void OnSetFocus(HostPanel* panel)
{
    if (panel->tools.empty())
        return;
    const bool known = FindTool(panel, panel->current) != nullptr;
    SetFocus(known ? panel->current : panel->tools.front().window);
}

void OnMinMaxInfo(const HostPanel* panel, MINMAXINFO* info)
{
    info->ptMinTrackSize.x = panel->metrics.Scale(kMinTrackWidth);
    info->ptMinTrackSize.y = panel->metrics.Scale(kMinTrackHeight);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<HostPanel*>(create->lpCreateParams)->window = window;
    }
    HostPanel* panel = PanelOf(window);
    if (panel == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_SIZE:
            OnSize(panel, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers everything
        case WM_PAINT:
            OnPaint(panel);
            return 0;
        case WM_COMMAND:
            OnCommand(panel, LOWORD(wParam));
            return 0;
        case WM_PARENTNOTIFY:
            OnParentNotify(panel, wParam, lParam);
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnColourStatic(panel, reinterpret_cast<HDC>(wParam));
        case WM_GETMINMAXINFO:
            OnMinMaxInfo(panel, reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_TIMER:
            if (wParam == IDT_HOST_WATCH) {
                HostWatchCalendars(panel);
                return 0;
            }
            KillTimer(window, wParam);
            HostClosePanel(panel);
            return 0;
        case WM_CLOSE:
            HostClosePanel(panel);
            return 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_TIMECHANGE:
            OnSystemBroadcast(panel, message, wParam, lParam);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus(panel);
            return 0;
        case WM_ENDSESSION:
            if (wParam != 0)
                HostSavePanel(panel);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case CTN_SETTINGSCHANGED:
            OnSettingsChanged(panel, reinterpret_cast<HWND>(wParam));
            return 0;
        case CTN_SHOWPROPERTIES:
            OnShowProperties(panel, reinterpret_cast<HWND>(wParam));
            return 0;
        case CTN_PAINTBACKGROUND:
            OnPaintBackground(panel, reinterpret_cast<const CalBackgroundRequest*>(lParam));
            return 0;
        case SHEETN_REMAKETOOL:
            return reinterpret_cast<LRESULT>(HostReplaceTool(
                panel, reinterpret_cast<HWND>(wParam), reinterpret_cast<const CalToolSettings*>(lParam)));
        case SHEETN_SAVE:
            HostSavePanel(panel);
            return 0;
        case SHEETN_STATUS:
            HostSetStatus(panel, reinterpret_cast<const char*>(lParam));
            return 0;
        case SHEETN_CALENDARS:
            HostKeepCalendars(panel, *reinterpret_cast<const std::vector<std::wstring>*>(lParam));
            HostSavePanel(panel);
            return 0;
        case CTN_GETDAYMARKS:
            return HostAnswerDayMarks(panel, reinterpret_cast<CalDayMarks*>(lParam));
        case CTN_GETDAYTEXT:
            return HostAnswerDayText(panel, reinterpret_cast<CalDayText*>(lParam));
        case CTN_SELCHANGE:
        case CTN_SELECT:
            HostShowDay(panel, reinterpret_cast<HWND>(wParam), static_cast<DWORD>(lParam));
            return 0;
        case HOSTN_CALENDARSREAD:
            HostTakeCalendarReads(panel);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPanelClass(HINSTANCE instance)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, kPanelClass, &wc))
        return true;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.lpszClassName = kPanelClass;
    return RegisterClassA(&wc) != 0;
}

// A saved rectangle is used only when it is of a sane size and on a screen.
bool UsableRect(const HostRect32& r)
{
    const RECT rect{r.left, r.top, r.right, r.bottom};
    return r.right - r.left >= 150 && r.bottom - r.top >= 120 && r.right - r.left <= 16000 &&
        r.bottom - r.top <= 16000 && MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace

HostPanel::HostPanel() = default;

HostPanel::~HostPanel()
{
    calendars.reset();  // its reader ends before the rest goes
    HostBackgroundFree(&background);
    if (statusBrush != nullptr)
        DeleteObject(statusBrush);
    if (boldFont != nullptr)
        DeleteObject(boldFont);
    if (textFont != nullptr)
        DeleteObject(textFont);
}

bool HostCreatePanel(HostPanel* panel, const HostRect32* saved, int showState, int clientWidth,
    int clientHeight, DWORD exStyle)
{
    if (!RegisterPanelClass(panel->instance))
        return false;
    TakeColours(panel);
    panel->textFont = HostCreateUiFont(FW_NORMAL);
    panel->boldFont = HostCreateUiFont(FW_BOLD);

    HMENU menu = BuildMenu(*panel);
    RECT r{0, 0, std::max(clientWidth, 1), std::max(clientHeight, 1)};
    AdjustWindowRectEx(&r, kPanelStyle, TRUE, exStyle);
    const std::string title = std::string(panel->plugin->types.front().info->name) + " Panel";
    HWND window = CreateWindowExA(exStyle, kPanelClass, title.c_str(), kPanelStyle, CW_USEDEFAULT,
        CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, menu, panel->instance, panel);
    if (window == nullptr) {
        DestroyMenu(menu);
        return false;
    }
    // A window of the Unicode kind: event summaries are in every script.
    panel->status = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0,
        0, window, reinterpret_cast<HMENU>(IDC_HOST_STATUS), panel->instance, nullptr);
    SendMessageA(panel->status, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(panel->textFont)), 0);
    if (saved != nullptr && UsableRect(*saved)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        placement.showCmd = showState == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        placement.rcNormalPosition = RECT{saved->left, saved->top, saved->right, saved->bottom};
        SetWindowPlacement(window, &placement);
        ShowWindow(window, SW_HIDE);  // shown by the caller, once its tools are in
    }
    const RECT client = ClientRectOf(window);
    OnSize(panel, client.right, client.bottom);
    return true;
}

HWND HostAddTool(HostPanel* panel, uint32_t type, const CalToolSettings* block, const RECT* rect)
{
    if (type >= panel->plugin->types.size())
        return nullptr;
    const RECT client = ClientRectOf(panel->window);
    const HostGrid grid = HostChooseGrid(
        panel->metrics, static_cast<int32_t>(panel->tools.size() + 1), client.right, client.bottom);
    const HostRect32 cell = HostGridCell(panel->metrics, grid, static_cast<int32_t>(panel->tools.size()));
    RECT at = rect != nullptr ? *rect : RECT{cell.left, cell.top, cell.right, cell.bottom};
    HWND tool = panel->plugin->types[type].create(panel->window, &at, block, 0, 0);
    if (tool == nullptr) {
        HostSetStatus(panel,
            std::string("The plug-in could not create a ") + panel->plugin->types[type].info->name +
                " tool.");
        return nullptr;
    }
    if (rect == nullptr) {
        // A new tool starts at the size it prefers; the layout fits it later.
        const SIZE ideal = HostToolIdealSize(tool);
        SetWindowPos(tool, nullptr, at.left, at.top, static_cast<int>(ideal.cx), static_cast<int>(ideal.cy),
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    panel->tools.push_back({tool, type});
    return tool;
}

void HostMakeRoom(HostPanel* panel)
{
    const HostMetrics& m = panel->metrics;
    int32_t idealWidth = m.minToolWidth;
    int32_t idealHeight = m.minToolHeight;
    for (const HostTool& tool : panel->tools) {
        const SIZE ideal = HostToolIdealSize(tool.window);
        idealWidth = std::max(idealWidth, static_cast<int32_t>(ideal.cx));
        idealHeight = std::max(idealHeight, static_cast<int32_t>(ideal.cy));
    }
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
    HostCellForIdeal(idealWidth, idealHeight, &cellWidth, &cellHeight);
    const RECT client = ClientRectOf(panel->window);
    const HostGrid grid =
        HostChooseGrid(m, static_cast<int32_t>(panel->tools.size()), client.right, client.bottom);
    const int32_t minWidth = m.Scale(kMinClientWidth);
    const int32_t minHeight = m.Scale(kMinClientHeight);
    if (grid.cellWidth >= cellWidth && grid.cellHeight >= cellHeight && client.right >= minWidth &&
        client.bottom >= minHeight)
        return;
    int32_t width = 0;
    int32_t height = 0;
    HostClientSizeFor(m, static_cast<int32_t>(panel->tools.size()), cellWidth, cellHeight, &width, &height);
    width = std::max({width, static_cast<int32_t>(client.right), minWidth});
    height = std::max({height, static_cast<int32_t>(client.bottom), minHeight});
    RECT screen{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, kPanelStyle, TRUE, static_cast<DWORD>(GetWindowLongA(panel->window, GWL_EXSTYLE)));
    const int w = std::min(static_cast<int>(r.right - r.left), static_cast<int>(screen.right - screen.left));
    const int h = std::min(static_cast<int>(r.bottom - r.top), static_cast<int>(screen.bottom - screen.top));
    SetWindowPos(panel->window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostLayoutTools(HostPanel* panel)
{
    if (panel->tools.empty())
        return;
    const HostMetrics& m = panel->metrics;
    const RECT client = ClientRectOf(panel->window);
    const HostGrid grid =
        HostChooseGrid(m, static_cast<int32_t>(panel->tools.size()), client.right, client.bottom);
    for (size_t i = 0; i < panel->tools.size(); ++i) {
        const HostRect32 cell = HostGridCell(m, grid, static_cast<int32_t>(i));
        // The proposed width is the cell's; the height that follows must fit the cell too.
        CalFitRequest fit{
            m.minToolWidth, m.minToolHeight, grid.cellWidth, grid.cellHeight, 0, grid.cellWidth};
        const uint32_t size = static_cast<uint32_t>(
            SendMessageA(panel->tools[i].window, CTM_FITSIZE, 0, reinterpret_cast<LPARAM>(&fit)));
        const int w = static_cast<int>(CalPackedWidth(size));
        const int h = static_cast<int>(CalPackedHeight(size));
        SetWindowPos(panel->tools[i].window, nullptr, cell.left + std::max((grid.cellWidth - w) / 2, 0),
            cell.top + std::max((grid.cellHeight - h) / 2, 0), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(panel->window, nullptr, FALSE);
}

HWND HostReplaceTool(HostPanel* panel, HWND tool, const CalToolSettings* block)
{
    HostTool* entry = FindTool(panel, tool);
    if (entry == nullptr)
        return nullptr;
    const RECT r = HostToolRect(tool, panel->window);
    HWND fresh = panel->plugin->types[entry->type].create(panel->window, &r, block, 0, 0);
    if (fresh == nullptr)
        return nullptr;
    entry->window = fresh;
    if (panel->current == tool)
        panel->current = fresh;
    DestroyWindow(tool);
    return fresh;
}

void HostRemoveTool(HostPanel* panel, HWND tool)
{
    auto it = std::find_if(
        panel->tools.begin(), panel->tools.end(), [tool](const HostTool& t) { return t.window == tool; });
    if (it == panel->tools.end())
        return;
    // The page edits the tool's record: it goes first.
    if (panel->sheet != nullptr && panel->sheet->tool == tool) {
        HostSheetDropPending(panel->sheet.get());
        HostDestroySheet(&panel->sheet);
    }
    panel->tools.erase(it);
    if (panel->current == tool)
        panel->current = nullptr;
    DestroyWindow(tool);
    HostLayoutTools(panel);
}

namespace {

void Tell(HostPanel* panel, const std::string& text)
{
    HostWriteError("PanelHost: " + text);
    HostSetStatus(panel, text);
}

// Before a save: the settings folder made again if it has gone, and the
// lock taken if the host could not take it at start (a read-only folder).
// False when another host keeps the file now: this one stops saving.
bool KeepSettingsFile(HostPanel* panel, std::string* error)
{
    if (HostRemakeSettingsFolder(panel->settingsPath)) {
        Tell(panel, "The settings folder of " + panel->settingsPath + " had gone; it was made again.");
        HostReleaseSettingsLock(&panel->settingsLock);  // its file went with the folder
    }
    if (HostTakeSettingsLock(&panel->settingsLock, panel->settingsPath) != HostLockState::inUse)
        return true;
    *error = "another Panel Host keeps " + panel->settingsPath + " now, so this one saves nothing more";
    panel->settingsPath.clear();
    return false;
}

// The last chance to keep this session's changes: said once more on the
// way out and, to a user without a console, offered again until the save
// works or the user lets the changes go.
void SaveBeforeClosing(HostPanel* panel)
{
    while (!HostSavePanel(panel) && !panel->settingsPath.empty()) {
        const std::string text =
            "The panel closes without saving its latest settings: " + panel->lastSaveError + ".";
        if (HostWriteError("PanelHost: " + text) ||
            MessageBoxA(panel->window, text.c_str(), "Panel Host", MB_RETRYCANCEL | MB_ICONWARNING) !=
                IDRETRY)
            return;
    }
}

}  // namespace

bool HostSavePanel(HostPanel* panel)
{
    if (panel->settingsPath.empty())
        return true;
    HostSavedPanel saved;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(panel->window, &placement);
    const RECT& n = placement.rcNormalPosition;
    saved.window = {n.left, n.top, n.right, n.bottom};
    saved.showState = placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    for (const HostTool& tool : panel->tools) {
        HostSavedTool entry;
        CalToolSettings block;
        if (!HostFetchBlock(tool.window, &block))
            continue;  // a tool that hands out no block is not restored
        entry.type = tool.type;
        const RECT r = HostToolRect(tool.window, panel->window);
        entry.rect = {r.left, r.top, r.right, r.bottom};
        std::memcpy(entry.block.data(), &block, kHostBlockSize);
        saved.tools.push_back(entry);
    }
    for (const std::wstring& file : HostKeptCalendars(panel))
        saved.calendars.push_back(HostUtf8FromWide(file));
    std::string error;
    if (!KeepSettingsFile(panel, &error) || !HostSaveSettingsFile(panel->settingsPath, saved, &error)) {
        // Said once, not on every later save that fails the same way; every
        // later change tries again.
        if (error != panel->lastSaveError)
            Tell(panel,
                "The settings were not saved: " + error +
                    (panel->settingsPath.empty() ? "." : ". Saving is tried again at every change."));
        panel->lastSaveError = error;
        panel->failureStands = true;
        return false;
    }
    if (!panel->lastSaveError.empty())
        Tell(panel, "The settings are saved again in " + panel->settingsPath + ".");
    panel->lastSaveError.clear();
    panel->failureStands = false;
    return true;
}

void HostSetStatus(HostPanel* panel, const std::string& text)
{
    panel->dayShown = 0;
    panel->newsStands = false;
    if (panel->status != nullptr)
        SetWindowTextA(panel->status, (" " + text).c_str());
}

void HostSetStatusW(HostPanel* panel, const std::wstring& text)
{
    if (panel->status != nullptr)
        SetWindowTextW(panel->status, (L" " + text).c_str());
}

void HostClosePanel(HostPanel* panel)
{
    // A modal box (a font chooser, an About box) still uses a tool: close after it.
    const bool modal = !IsWindowEnabled(panel->window) ||
        (panel->sheet != nullptr && !IsWindowEnabled(panel->sheet->window));
    if (modal) {
        SetTimer(panel->window, IDT_HOST_CLOSE, kCloseRetryMs, nullptr);
        return;
    }
    if (panel->sheet != nullptr)
        HostSheetDropPending(panel->sheet.get());
    SaveBeforeClosing(panel);
    if (panel->sheet != nullptr)
        HostDestroySheet(&panel->sheet);
    for (const HostTool& tool : panel->tools)
        DestroyWindow(tool.window);
    panel->tools.clear();
    panel->current = nullptr;
    DestroyWindow(panel->window);
}
