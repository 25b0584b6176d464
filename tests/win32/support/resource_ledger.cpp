#include "tests/win32/support/resource_ledger.h"

#include <map>
#include <set>

#include "tests/win32/support/import_hooks.h"

namespace {

struct DcState {
    COLORREF textColor;
    int bkMode;
};

// The platform's own functions, resolved by name: a module that routes its
// imports through the ledger may be the one the ledger is linked into.
template <typename F> F Real(const char* dll, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}
const auto realCreateCompatibleDC = Real<decltype(&CreateCompatibleDC)>("gdi32.dll", "CreateCompatibleDC");
const auto realCreateCompatibleBitmap =
    Real<decltype(&CreateCompatibleBitmap)>("gdi32.dll", "CreateCompatibleBitmap");
const auto realCreateSolidBrush = Real<decltype(&CreateSolidBrush)>("gdi32.dll", "CreateSolidBrush");
const auto realCreateFontIndirectA = Real<decltype(&CreateFontIndirectA)>("gdi32.dll", "CreateFontIndirectA");
const auto realDeleteDC = Real<decltype(&DeleteDC)>("gdi32.dll", "DeleteDC");
const auto realDeleteObject = Real<decltype(&DeleteObject)>("gdi32.dll", "DeleteObject");
const auto realLoadBitmapA = Real<decltype(&LoadBitmapA)>("user32.dll", "LoadBitmapA");
const auto realGetDC = Real<decltype(&GetDC)>("user32.dll", "GetDC");
const auto realReleaseDC = Real<decltype(&ReleaseDC)>("user32.dll", "ReleaseDC");
const auto realRegisterClassA = Real<decltype(&RegisterClassA)>("user32.dll", "RegisterClassA");
const auto realCreatePopupMenu = Real<decltype(&CreatePopupMenu)>("user32.dll", "CreatePopupMenu");
const auto realDestroyMenu = Real<decltype(&DestroyMenu)>("user32.dll", "DestroyMenu");
const auto realHeapAlloc = Real<decltype(&HeapAlloc)>("kernel32.dll", "HeapAlloc");
const auto realHeapFree = Real<decltype(&HeapFree)>("kernel32.dll", "HeapFree");

CalLedgerCounts g_counts{};
std::set<HGDIOBJ> g_live;            // objects the module made and has not released
std::map<HDC, DcState> g_memoryDcs;  // memory DCs the module made, with their initial state
std::set<HMENU> g_liveMenus;         // menus the module made and has not destroyed

void Made(HGDIOBJ object)
{
    if (object != nullptr && g_live.insert(object).second)
        ++g_counts.objectsMade;
}

bool SelectedSomewhere(HGDIOBJ object)
{
    const DWORD type = GetObjectType(object);
    for (const auto& [dc, state] : g_memoryDcs)
        if (GetCurrentObject(dc, type) == object)
            return true;
    return false;
}

void Released(HGDIOBJ object, BOOL ok)
{
    if (!ok)
        ++g_counts.failedReleases;
    if (g_live.erase(object) != 0 && ok)
        ++g_counts.objectsReleased;
}

// A function that makes an object: the object is counted as the module's.
template <const auto* Real, typename R, typename... A> R WINAPI LedgerMake(A... args)
{
    R made = (*Real)(args...);
    Made(made);
    return made;
}

HDC WINAPI LedgerCreateCompatibleDC(HDC dc)
{
    HDC made = realCreateCompatibleDC(dc);
    if (made != nullptr) {
        g_memoryDcs[made] = DcState{GetTextColor(made), GetBkMode(made)};
        Made(made);
    }
    return made;
}

int WINAPI LedgerReleaseDC(HWND window, HDC dc)
{
    const int ok = realReleaseDC(window, dc);
    Released(dc, ok);
    return ok;
}

BOOL WINAPI LedgerDeleteDC(HDC dc)
{
    auto it = g_memoryDcs.find(dc);
    if (it != g_memoryDcs.end()) {
        bool dirty = GetTextColor(dc) != it->second.textColor || GetBkMode(dc) != it->second.bkMode;
        for (DWORD type : {OBJ_BITMAP, OBJ_BRUSH, OBJ_FONT})
            dirty = dirty || g_live.count(GetCurrentObject(dc, type)) != 0;
        g_counts.dcsReleasedDirty += dirty ? 1 : 0;
        g_memoryDcs.erase(it);
    }
    const BOOL ok = realDeleteDC(dc);
    Released(dc, ok);
    return ok;
}

BOOL WINAPI LedgerDeleteObject(HGDIOBJ object)
{
    if (g_live.count(object) != 0 && SelectedSomewhere(object))
        ++g_counts.releasedWhileInUse;
    const BOOL ok = realDeleteObject(object);
    Released(object, ok);
    return ok;
}

LPVOID WINAPI LedgerHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes)
{
    LPVOID block = realHeapAlloc(heap, flags, bytes);
    g_counts.heapAllocated += block != nullptr ? 1 : 0;
    return block;
}

BOOL WINAPI LedgerHeapFree(HANDLE heap, DWORD flags, LPVOID block)
{
    const BOOL ok = realHeapFree(heap, flags, block);
    g_counts.heapFreed += ok && block != nullptr ? 1 : 0;
    return ok;
}

HMENU WINAPI LedgerCreatePopupMenu()
{
    HMENU menu = realCreatePopupMenu();
    if (menu != nullptr && g_liveMenus.insert(menu).second)
        ++g_counts.menusMade;
    return menu;
}

BOOL WINAPI LedgerDestroyMenu(HMENU menu)
{
    const BOOL ok = realDestroyMenu(menu);
    if (ok && g_liveMenus.erase(menu) != 0)
        ++g_counts.menusDestroyed;
    return ok;
}

ATOM WINAPI LedgerRegisterClassA(const WNDCLASSA* wc)
{
    ++g_counts.classesRegistered;
    return realRegisterClassA(wc);
}

}  // namespace

void CalLedgerInstall(HMODULE module)
{
    const struct {
        const char* dll;
        const char* name;
        void* wrapper;
    } hooks[] = {
        {"gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(LedgerCreateCompatibleDC)},
        {"gdi32.dll", "CreateCompatibleBitmap",
            reinterpret_cast<void*>(LedgerMake<&realCreateCompatibleBitmap, HBITMAP, HDC, int, int>)},
        {"gdi32.dll", "CreateSolidBrush",
            reinterpret_cast<void*>(LedgerMake<&realCreateSolidBrush, HBRUSH, COLORREF>)},
        {"gdi32.dll", "CreateFontIndirectA",
            reinterpret_cast<void*>(LedgerMake<&realCreateFontIndirectA, HFONT, const LOGFONTA*>)},
        {"gdi32.dll", "DeleteDC", reinterpret_cast<void*>(LedgerDeleteDC)},
        {"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(LedgerDeleteObject)},
        {"user32.dll", "LoadBitmapA",
            reinterpret_cast<void*>(LedgerMake<&realLoadBitmapA, HBITMAP, HINSTANCE, LPCSTR>)},
        {"user32.dll", "GetDC", reinterpret_cast<void*>(LedgerMake<&realGetDC, HDC, HWND>)},
        {"user32.dll", "ReleaseDC", reinterpret_cast<void*>(LedgerReleaseDC)},
        {"user32.dll", "RegisterClassA", reinterpret_cast<void*>(LedgerRegisterClassA)},
        {"user32.dll", "CreatePopupMenu", reinterpret_cast<void*>(LedgerCreatePopupMenu)},
        {"user32.dll", "DestroyMenu", reinterpret_cast<void*>(LedgerDestroyMenu)},
        {"kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(LedgerHeapAlloc)},
        {"kernel32.dll", "HeapFree", reinterpret_cast<void*>(LedgerHeapFree)},
    };
    for (const auto& h : hooks)
        CalTestPatchImport(module, h.dll, h.name, h.wrapper);
}

CalLedgerCounts CalLedgerSnapshot()
{
    return g_counts;
}

CalLedgerCounts operator-(const CalLedgerCounts& a, const CalLedgerCounts& b)
{
    return CalLedgerCounts{a.objectsMade - b.objectsMade, a.objectsReleased - b.objectsReleased,
        a.heapAllocated - b.heapAllocated, a.heapFreed - b.heapFreed,
        a.releasedWhileInUse - b.releasedWhileInUse, a.dcsReleasedDirty - b.dcsReleasedDirty,
        a.failedReleases - b.failedReleases, a.classesRegistered - b.classesRegistered,
        a.menusMade - b.menusMade, a.menusDestroyed - b.menusDestroyed};
}

std::ostream& operator<<(std::ostream& os, const CalLedgerCounts& c)
{
    return os << "{made " << c.objectsMade << ", released " << c.objectsReleased << ", heap +"
              << c.heapAllocated << " -" << c.heapFreed << ", released in use " << c.releasedWhileInUse
              << ", dirty DCs " << c.dcsReleasedDirty << ", failed releases " << c.failedReleases
              << ", classes registered " << c.classesRegistered << ", menus +" << c.menusMade << " -"
              << c.menusDestroyed << "}";
}
