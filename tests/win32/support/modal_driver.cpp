#include "tests/win32/support/modal_driver.h"
#include "tests/win32/support/time_scale.h"

#include <dlgs.h>

#include <string>

namespace {

CalModalScript* g_script = nullptr;
size_t g_nextStep = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_script == nullptr)
        return;
    // A step may itself run a nested modal loop that ticks again.
    static bool busy = false;
    if (busy || g_nextStep >= g_script->steps.size())
        return;
    busy = true;
    if (g_script->steps[g_nextStep]())
        ++g_nextStep;
    busy = false;
}

struct Search {
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    char name[64];
    if (!IsWindowVisible(window) || GetClassNameA(window, name, sizeof name) == 0 ||
        lstrcmpiA(name, s->className) != 0)
        return TRUE;
    if (s->title != nullptr) {
        char text[256];
        GetWindowTextA(window, text, sizeof text);
        if (lstrcmpA(text, s->title) != 0)
            return TRUE;
    }
    s->found = window;
    return FALSE;
}

// Closes what a failed script left open: menus first, then dialog boxes,
// innermost (most recently enumerated first) to outermost.
void CloseEverything()
{
    EndMenu();
    for (int i = 0; i < 8; ++i) {
        HWND dialog = CalTestFindWindow("#32770");
        if (dialog == nullptr)
            break;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

DWORD g_deadline = 0;
bool g_timedOut = false;

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    if (static_cast<LONG>(GetTickCount() - g_deadline) >= 0 && !g_timedOut) {
        g_timedOut = true;
        CloseEverything();
    }
}

}  // namespace

HWND CalTestFindWindow(const char* className, const char* title)
{
    Search s{className, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HMENU CalTestOpenMenu()
{
    HWND popup = CalTestFindWindow("#32768");
    return popup != nullptr ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
}

std::string CalTestMenuText(HMENU menu, int position)
{
    char text[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

bool CalModalScript::Run(const std::function<void()>& body)
{
    g_script = this;
    g_nextStep = 0;
    g_deadline = GetTickCount() + CalTestScaled(timeoutMs);
    g_timedOut = false;
    UINT_PTR tick = SetTimer(nullptr, 0, 30, Tick);
    UINT_PTR watchdog = SetTimer(nullptr, 0, 100, Watchdog);
    body();
    KillTimer(nullptr, tick);
    KillTimer(nullptr, watchdog);
    const bool done = g_nextStep >= steps.size();
    g_script = nullptr;
    timedOut = g_timedOut;
    return done && !g_timedOut;
}

std::string CalTestPickOtherFace(HWND chooser, const char* current)
{
    HWND names = GetDlgItem(chooser, cmb1);
    const LRESULT count = SendMessageA(names, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char face[LF_FACESIZE * 2] = "";
        if (SendMessageA(names, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) >= LF_FACESIZE)
            continue;
        SendMessageA(names, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
        // Vertical faces ("@...") are skipped: they are not a user's usual pick.
        if (face[0] == '@' || lstrcmpiA(face, current) == 0)
            continue;
        SendMessageA(names, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(names));
        return face;
    }
    return "";
}
