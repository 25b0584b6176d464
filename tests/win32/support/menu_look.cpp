#include "tests/win32/support/menu_look.h"

#include "tests/win32/support/modal_driver.h"

namespace {

// The menu closer: the menu loop tells its owner once, when it first waits
// for input, that it is idle; by then the popup is on screen.
CalMenuLook* g_look = nullptr;
HHOOK g_hook = nullptr;

bool Marked(HMENU menu, int position)
{
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}

LRESULT CALLBACK WatchMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_look != nullptr && m->message == WM_ENTERIDLE && m->wParam == MSGF_MENU &&
        !g_look->opened) {
        HMENU menu = CalTestOpenMenu();
        if (menu != nullptr) {
            CalMenuLook& look = *g_look;
            look.opened = true;
            look.items = GetMenuItemCount(menu);
            look.weekNumbersChecked = Marked(menu, 1);
            look.backgroundChecked = Marked(menu, 2);
            HMENU days = GetSubMenu(menu, 0);
            look.days = days != nullptr ? GetMenuItemCount(days) : 0;
            for (int i = 0; i < look.days && i < 32; ++i) {
                look.markedDays |= Marked(days, i) ? 1u << i : 0u;
                wchar_t name[100] = L"";
                GetMenuStringW(days, static_cast<UINT>(i), name, 100, MF_BYPOSITION);
                look.dayNames.push_back(name);
            }
        }
        EndMenu();
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void CALLBACK MenuWatchdog(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}

}  // namespace

CalMenuLook CalOpenAndCloseMenu(HWND tool)
{
    CalMenuLook look;
    g_look = &look;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchMenu, nullptr, GetCurrentThreadId());
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 2000, MenuWatchdog);
    SendMessageA(tool, WM_RBUTTONUP, 0, MAKELPARAM(30, 20));
    KillTimer(nullptr, watchdog);
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_look = nullptr;
    return look;
}
