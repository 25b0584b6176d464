/* MinimalHost: the smallest complete host of Calendar.dll, to be read from top
   to bottom beside docs/hosting.md. Two calendars in a window, their settings
   blocks kept in MinimalHost.settings beside the program, a background colour
   painted when a calendar asks for it, a few days marked in every month it
   shows, and a calendar's properties page in a small sheet with Apply. Plain C: it needs caltool.h, cal_protocol.h and the
   system's DLLs. Build: see README.md beside this file. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "caltool.h"

#define TOOL_COUNT 2
#define GAP 12
#define IDC_SHEET_APPLY 100
#define BACKGROUND_COLOUR RGB(0x2E, 0x6B, 0x5E)

/* GetProcAddress's result, through the one pointer type that converts to any other. */
typedef void (*AnyProc)(void);
#define RESOLVE(type, library, name) ((type)(AnyProc)GetProcAddress(library, name))

static CalToolCreateProc g_create;
static HWND g_main, g_tools[TOOL_COUNT];
static HWND g_sheet, g_page; /* the one open properties sheet and its page */
static char g_settingsPath[MAX_PATH];

/* ---- Loading: the library beside the program, the entry points by name. ---- */

static BOOL LoadCalendar(HINSTANCE instance)
{
    char path[MAX_PATH], initName[32], createName[32], cleanupName[32];
    CalToolTypeInfo* info = NULL;
    char* slash;
    HMODULE library;
    CalEnumeratePanelTypesProc enumerate;
    CalInitToolTypeProc initType;

    /* Load by full path, so that no other folder's Calendar.dll is found. */
    GetModuleFileNameA(NULL, path, sizeof path);
    slash = strrchr(path, '\\');
    if (slash == NULL || (size_t)(slash + 1 - path) + sizeof "Calendar.dll" > sizeof path)
        return FALSE;
    strcpy(slash + 1, "Calendar.dll");
    library = LoadLibraryA(path);
    if (library == NULL)
        return FALSE;
    enumerate = RESOLVE(CalEnumeratePanelTypesProc, library, "EnumeratePanelTypes");
    /* The first call names the type's three entry points and returns 1. */
    if (enumerate == NULL || enumerate(initName, createName, cleanupName, instance, 0) != 1)
        return FALSE;
    initType = RESOLVE(CalInitToolTypeProc, library, initName);
    g_create = RESOLVE(CalToolCreateProc, library, createName);
    if (initType == NULL || g_create == NULL)
        return FALSE;
    initType(&info, 0); /* registers the tool window class; info names the type */
    return info != NULL;
}

/* ---- Settings: the blocks, opaque, stored verbatim in one file. ---- */

static BOOL LoadBlocks(CalToolSettings blocks[TOOL_COUNT])
{
    DWORD got = 0;
    BOOL ok;
    HANDLE file = CreateFileA(g_settingsPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    /* One block per tool and nothing else; any other size means "start afresh". */
    ok = GetFileSize(file, NULL) == TOOL_COUNT * CAL_SETTINGS_SIZE &&
        ReadFile(file, blocks, TOOL_COUNT * CAL_SETTINGS_SIZE, &got, NULL) &&
        got == TOOL_COUNT * CAL_SETTINGS_SIZE;
    CloseHandle(file);
    return ok;
}

static void SaveBlocks(void)
{
    char temporary[MAX_PATH + 4];
    BYTE bytes[TOOL_COUNT * CAL_SETTINGS_SIZE];
    DWORD written = 0;
    HANDLE file;
    BOOL ok;
    int i;

    for (i = 0; i < TOOL_COUNT; ++i) {
        CalToolSettings* live = NULL; /* the tool stores the address of its live block here */
        if (SendMessageA(g_tools[i], CTM_GETSETTINGS, 0, (LPARAM)&live) != CAL_SETTINGS_SIZE || live == NULL)
            return;
        memcpy(bytes + i * CAL_SETTINGS_SIZE, live, CAL_SETTINGS_SIZE);
    }
    /* A whole new file, then a rename: a crash never leaves half a file. */
    wsprintfA(temporary, "%s.new", g_settingsPath);
    file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    ok = WriteFile(file, bytes, sizeof bytes, &written, NULL) && written == sizeof bytes;
    CloseHandle(file);
    if (ok)
        MoveFileExA(temporary, g_settingsPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    else
        DeleteFileA(temporary);
}

/* ---- Layout: each tool at its preferred size, side by side. ---- */

static void LayoutTools(void)
{
    int x = GAP, i;
    for (i = 0; i < TOOL_COUNT; ++i) {
        const DWORD size = (DWORD)SendMessageA(g_tools[i], CTM_GETIDEALSIZE, 0, 0);
        const int width = (int)CalPackedWidth(size), height = (int)CalPackedHeight(size);
        MoveWindow(g_tools[i], x, GAP, width, height, TRUE);
        x += width + GAP;
    }
}

/* ---- The properties sheet: the tool's page above an Apply and a Close button. ---- */

static void CloseSheet(void)
{
    /* The page goes first, with its sheet, and always before the tool it edits. */
    if (g_sheet != NULL)
        DestroyWindow(g_sheet);
    g_sheet = g_page = NULL;
}

static void ShowSheet(HWND tool)
{
    RECT page, frame = {0, 0, 0, 0};
    int width, height;
    CloseSheet(); /* the library keeps one page open at a time */
    g_sheet = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, "MinimalHostSheet",
        "Calendar properties", WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
        g_main, NULL, GetModuleHandleA(NULL), NULL);
    if (g_sheet == NULL)
        return;
    g_page = (HWND)SendMessageA(tool, CTM_CREATEPAGE, (WPARAM)g_sheet, MAKELPARAM(0, 0));
    if (g_page == NULL) {
        CloseSheet();
        return;
    }
    GetWindowRect(g_page, &page);
    width = page.right - page.left;
    height = page.bottom - page.top + 40;
    CreateWindowA("BUTTON", "&Apply", WS_CHILD | WS_VISIBLE | WS_TABSTOP, width - 170, height - 32, 75, 24,
        g_sheet, (HMENU)IDC_SHEET_APPLY, NULL, NULL);
    CreateWindowA("BUTTON", "Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP, width - 85, height - 32, 75, 24,
        g_sheet, (HMENU)IDCANCEL, NULL, NULL);
    frame.right = width;
    frame.bottom = height;
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    SetWindowPos(
        g_sheet, NULL, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(g_sheet, SW_SHOW);
}

static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SHEET_APPLY && g_page != NULL) {
        /* The page writes its choices into the tool, which then sends CTN_SETTINGSCHANGED. */
        SendMessageA(g_page, WM_COMMAND, CAL_PAGE_APPLY_COMMAND, 0);
        return 0;
    }
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        CloseSheet();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

/* ---- Marked days: fixed holidays, and the 15th of every month, each with
   the text its tooltip shows. ---- */

static const struct {
    LONG month, day;
    const WCHAR* text;
} g_holidays[] = {{1, 1, L"New Year's Day"}, {5, 1, L"May Day"}, {12, 25, L"Christmas Day"},
    {12, 26, L"Boxing Day"}};

static DWORD MarkedDays(LONG month)
{
    DWORD days = 1u << (15 - 1);
    size_t i;
    for (i = 0; i < sizeof g_holidays / sizeof g_holidays[0]; ++i)
        if (g_holidays[i].month == month)
            days |= 1u << (g_holidays[i].day - 1);
    return days;
}

/* The text of a marked day, or NULL. */
static const WCHAR* DayText(DWORD date)
{
    size_t i;
    if (CalDateDay(date) == 15)
        return L"Mid-month";
    for (i = 0; i < sizeof g_holidays / sizeof g_holidays[0]; ++i)
        if (g_holidays[i].month == CalDateMonth(date) && g_holidays[i].day == CalDateDay(date))
            return g_holidays[i].text;
    return NULL;
}

/* Every selection heard, on the standard output (when the host's is
   redirected: it is a windowed program). */
static void PrintDate(const char* what, HWND tool, DWORD date)
{
    printf("%s %p %04ld-%02ld-%02ld\n", what, (void*)tool, (long)CalDateYear(date), (long)CalDateMonth(date),
        (long)CalDateDay(date));
    fflush(stdout);
}

/* ---- The main window: the tools' parent, so it receives their notifications. ---- */

static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    int i;
    switch (message) {
        case CTN_SETTINGSCHANGED: /* the block is already updated: store it now */
            SaveBlocks();
            return 0;
        case CTN_SHOWPROPERTIES:
            ShowSheet((HWND)wParam);
            return 0;
        case CTN_GETDAYMARKS: { /* a month about to be shown: year and month are set */
            CalDayMarks* marks = (CalDayMarks*)lParam;
            marks->days = MarkedDays(marks->month);
            return 1;
        }
        case CTN_SELCHANGE: /* the selection moved, by any means */
            PrintDate("selected", (HWND)wParam, (DWORD)lParam);
            return 0;
        case CTN_SELECT: /* the user picked the selected day */
            PrintDate("picked", (HWND)wParam, (DWORD)lParam);
            return 0;
        case CTN_GETDAYTEXT: { /* at most capacity - 1 characters and a 0 */
            CalDayText* asked = (CalDayText*)lParam;
            const WCHAR* text = DayText(asked->date);
            if (text == NULL || asked->capacity < 1)
                return 0;
            lstrcpynW(asked->text, text, asked->capacity);
            return 1;
        }
        case CTN_PAINTBACKGROUND: {
            /* Paint all of rect; select nothing into dc, so everything stays as found. */
            const CalBackgroundRequest* request = (const CalBackgroundRequest*)lParam;
            HBRUSH brush = CreateSolidBrush(BACKGROUND_COLOUR);
            FillRect(request->dc, &request->rect, brush);
            DeleteObject(brush);
            return 0;
        }
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_TIMECHANGE: /* tools are child windows: only a host hears these broadcasts */
            for (i = 0; i < TOOL_COUNT; ++i)
                SendMessageA(g_tools[i], message, wParam, lParam);
            LayoutTools(); /* a new font or metric may change the preferred size */
            return 0;
        case WM_CLOSE:
            CloseSheet();
            SaveBlocks();
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSA mainClass = {0}, sheetClass = {0};
    CalToolSettings blocks[TOOL_COUNT];
    BOOL saved;
    MSG msg;
    char* dot;
    int i;
    (void)previous;
    (void)commandLine;

    /* MinimalHost.settings, beside MinimalHost.exe. */
    GetModuleFileNameA(NULL, g_settingsPath, MAX_PATH - 16);
    dot = strrchr(g_settingsPath, '.');
    strcpy(dot != NULL ? dot : g_settingsPath + strlen(g_settingsPath), ".settings");
    if (!LoadCalendar(instance)) {
        MessageBoxA(NULL, "Calendar.dll could not be loaded from this program's folder.", "MinimalHost",
            MB_ICONERROR);
        return 1;
    }

    mainClass.lpfnWndProc = MainProc;
    mainClass.hInstance = instance;
    mainClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    mainClass.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    mainClass.lpszClassName = "MinimalHostWindow";
    sheetClass.lpfnWndProc = SheetProc;
    sheetClass.hInstance = instance;
    sheetClass.hCursor = mainClass.hCursor;
    sheetClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    sheetClass.lpszClassName = "MinimalHostSheet";
    if (!RegisterClassA(&mainClass) || !RegisterClassA(&sheetClass))
        return 1;
    g_main = CreateWindowA("MinimalHostWindow", "Minimal host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
        CW_USEDEFAULT, 480, 260, NULL, NULL, instance, NULL);
    if (g_main == NULL)
        return 1;

    /* Saved blocks when there are any, otherwise the tools' defaults (NULL). */
    saved = LoadBlocks(blocks);
    for (i = 0; i < TOOL_COUNT; ++i) {
        RECT r = {GAP, GAP, GAP + 160, GAP + 120}; /* replaced by LayoutTools */
        g_tools[i] = g_create(g_main, &r, saved ? &blocks[i] : NULL, 0, 0);
        if (g_tools[i] == NULL)
            return 1;
    }
    LayoutTools();
    ShowWindow(g_main, show);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (g_sheet != NULL && IsDialogMessageA(g_sheet, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
