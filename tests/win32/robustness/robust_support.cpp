#include "robust_support.h"

#include <cstdio>

#include "import_hooks.h"
#include "modal_driver.h"

namespace {

constexpr int kCaptureMax = 1024;  // widest and tallest frame kept

decltype(&BitBlt) g_realBitBlt = nullptr;
long g_transfers = 0;
bool g_armed = false;
CalFrame g_frame;

// One surface for every capture, made once, so that capturing itself makes
// and releases no graphics objects between two counts.
HDC g_captureDc = nullptr;
DWORD* g_captureBits = nullptr;

void MakeCaptureSurface()
{
    BITMAPINFO info{};
    info.bmiHeader =
        BITMAPINFOHEADER{sizeof info.bmiHeader, kCaptureMax, -kCaptureMax, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    g_captureDc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(g_captureDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(g_captureDc, bitmap);
    g_captureBits = static_cast<DWORD*>(bits);
}

BOOL WINAPI CountingBitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
{
    const BOOL ok = g_realBitBlt(dst, x, y, w, h, src, sx, sy, rop);
    ++g_transfers;
    if (g_armed && g_captureBits != nullptr && w > 0 && h > 0 && w <= kCaptureMax && h <= kCaptureMax) {
        // The source is the library's composed surface: what the window gets.
        g_realBitBlt(g_captureDc, 0, 0, w, h, src, sx, sy, SRCCOPY);
        GdiFlush();
        g_frame.width = w;
        g_frame.height = h;
        g_frame.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col)
                g_frame.pixels[static_cast<size_t>(row * w + col)] =
                    g_captureBits[row * kCaptureMax + col] & 0xFFFFFFu;
    }
    return ok;
}

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
            for (int i = 0; i < look.days && i < 32; ++i)
                look.markedDays |= Marked(days, i) ? 1u << i : 0u;
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

void CalCaptureInstall(HMODULE module)
{
    if (g_realBitBlt != nullptr)
        return;
    MakeCaptureSurface();
    g_realBitBlt = reinterpret_cast<decltype(&BitBlt)>(
        CalTestPatchImport(module, "gdi32.dll", "BitBlt", reinterpret_cast<void*>(CountingBitBlt)));
}

long CalCaptureTransfers()
{
    return g_transfers;
}

CalFrame CalCapturePaint(HWND tool)
{
    g_frame = CalFrame{};
    g_armed = true;
    InvalidateRect(tool, nullptr, FALSE);
    UpdateWindow(tool);
    g_armed = false;
    return g_frame;
}

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

CalHeapTotals CalProcessHeapTotals()
{
    CalHeapTotals t;
    HANDLE heap = GetProcessHeap();
    if (!HeapLock(heap))
        return t;
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heap, &e)) {
        if ((e.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) {
            ++t.blocks;
            t.bytes += e.cbData;
        }
    }
    t.walked = GetLastError() == ERROR_NO_MORE_ITEMS;
    HeapUnlock(heap);
    return t;
}

std::vector<DWORD> CalGraphicsTable()
{
    std::vector<DWORD> types(0x10000);
    for (ULONG_PTR index = 1; index < types.size(); ++index)
        types[index] = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
    return types;
}

long CalLiveGraphicsObjects()
{
    long live = 0;
    for (DWORD type : CalGraphicsTable())
        live += type != 0 ? 1 : 0;
    return live;
}

void CalPrintFigure(const char* name, long long value, const char* unit)
{
    std::printf("== figure %s: %lld%s\n", name, value, unit);
    std::fflush(stdout);
}
