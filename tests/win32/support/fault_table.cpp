#include "tests/win32/support/fault_table.h"

#include <cstring>

namespace {

constexpr DWORD kNull = 0;
constexpr DWORD kNoMemory = ERROR_NOT_ENOUGH_MEMORY;
constexpr DWORD kNoResources = ERROR_NO_SYSTEM_RESOURCES;
constexpr DWORD kBadWindow = ERROR_INVALID_WINDOW_HANDLE;

constexpr CalFaultKind F = CalFaultKind::Fails;
constexpr CalFaultKind V = CalFaultKind::Void;
constexpr CalFaultKind P = CalFaultKind::Pure;
constexpr CalFaultKind R = CalFaultKind::Releases;
constexpr CalFaultKind A = CalFaultKind::Answer;
constexpr CalFaultKind D = CalFaultKind::Data;

// Arguments are counted in bytes, four per argument (every argument of these
// functions is 32 bits). The failure values are the documented ones.
constexpr CalFaultEntry kTable[] = {
    // comctl32, comdlg32
    {"CreateUpDownControl", 48, F, kNull, kNoResources},
    {"InitCommonControlsEx", 4, F, FALSE, kNoResources},
    {"ChooseFontA", 4, F, FALSE, kNoMemory},
    // gdi32
    {"BitBlt", 36, F, FALSE, kNoResources},
    {"CreateCompatibleBitmap", 12, F, kNull, kNoResources},
    {"CreateCompatibleDC", 4, F, kNull, kNoResources},
    {"CreateFontIndirectA", 4, F, kNull, kNoResources},
    {"CreateSolidBrush", 4, F, kNull, kNoResources},
    {"DeleteDC", 4, R, FALSE, 0},
    {"DeleteObject", 4, R, FALSE, 0},
    {"EnumFontFamiliesExA", 20, A, 0, 0},  // the last callback's answer; no failure of its own
    {"ExtTextOutW", 32, F, FALSE, kNoResources},
    {"GetDeviceCaps", 8, F, 0, ERROR_INVALID_HANDLE},
    {"GetGlyphIndicesW", 20, F, GDI_ERROR, kNoResources},
    {"GetTextExtentPoint32W", 16, F, FALSE, kNoResources},
    {"GetTextMetricsW", 8, F, FALSE, kNoResources},
    {"GetLayout", 4, F, GDI_ERROR, ERROR_INVALID_HANDLE},
    {"GetObjectA", 12, F, 0, ERROR_INVALID_HANDLE},
    {"GetStockObject", 4, F, kNull, kNoResources},
    {"SelectObject", 8, F, kNull, kNoResources},  // HGDI_ERROR is for regions only
    {"SetBkMode", 8, F, 0, kNoResources},
    {"SetDCBrushColor", 8, F, CLR_INVALID, kNoResources},
    {"SetLayout", 8, F, GDI_ERROR, ERROR_INVALID_HANDLE},
    {"SetTextAlign", 8, F, GDI_ERROR, kNoResources},
    {"SetTextColor", 8, F, CLR_INVALID, kNoResources},
    {"TranslateCharsetInfo", 12, F, FALSE, ERROR_INVALID_PARAMETER},
    // kernel32
    {"AcquireSRWLockExclusive", 4, V, 0, 0},
    {"DeleteCriticalSection", 4, V, 0, 0},
    {"EnterCriticalSection", 4, V, 0, 0},
    {"FreeLibrary", 4, R, FALSE, 0},
    {"GetCurrentProcessId", 0, A, 0, 0},
    {"GetDateFormatW", 24, F, 0, ERROR_INVALID_PARAMETER},
    {"GetLastError", 0, A, 0, 0},
    {"GetLocalTime", 4, V, 0, 0},
    {"GetLocaleInfoW", 16, F, 0, ERROR_INVALID_PARAMETER},
    {"GetModuleHandleA", 4, F, kNull, ERROR_MOD_NOT_FOUND},
    {"GetProcAddress", 8, F, kNull, ERROR_PROC_NOT_FOUND},
    {"GetProcessHeap", 0, A, 0, 0},  // the heap made with the process: fixed for its life
    {"HeapAlloc", 12, F, kNull, kNoMemory},
    {"HeapFree", 12, R, FALSE, 0},
    {"InitializeCriticalSection", 4, V, 0, 0},
    {"LeaveCriticalSection", 4, V, 0, 0},
    {"LoadLibraryA", 4, F, kNull, ERROR_MOD_NOT_FOUND},
    {"MulDiv", 12, P, 0, 0},  // fails only for a zero divisor
    {"ReleaseSRWLockExclusive", 4, V, 0, 0},
    {"Sleep", 4, V, 0, 0},
    {"TlsGetValue", 4, F, kNull, ERROR_INVALID_PARAMETER},
    {"VirtualProtect", 16, F, FALSE, ERROR_ACCESS_DENIED},
    {"VirtualQuery", 12, F, 0, ERROR_INVALID_PARAMETER},
    {"lstrcatW", 8, P, 0, 0},
    {"lstrcpyW", 8, P, 0, 0},
    {"lstrcpynW", 12, P, 0, 0},
    {"lstrlenW", 4, P, 0, 0},
    // msvcrt (__cdecl: the caller removes the arguments)
    {"_amsg_exit", 0, V, 0, 0},
    {"_initterm", 0, V, 0, 0},
    {"_iob", 0, D, 0, 0},
    {"_lock", 0, V, 0, 0},
    {"_unlock", 0, V, 0, 0},
    {"abort", 0, V, 0, 0},
    {"calloc", 0, F, kNull, kNoMemory},
    {"free", 0, R, 0, 0},
    {"fwrite", 0, F, 0, ERROR_WRITE_FAULT},
    {"malloc", 0, F, kNull, kNoMemory},
    {"memcmp", 0, P, 0, 0},
    {"memcpy", 0, P, 0, 0},
    {"memmove", 0, P, 0, 0},
    {"memset", 0, P, 0, 0},
    {"realloc", 0, F, kNull, kNoMemory},
    {"strcpy", 0, P, 0, 0},
    {"strcmp", 0, P, 0, 0},
    {"strlen", 0, P, 0, 0},
    {"strncmp", 0, P, 0, 0},
    {"strncpy", 0, P, 0, 0},
    {"vfprintf", 0, F, static_cast<DWORD>(-1), ERROR_WRITE_FAULT},
    // ole32, oleacc, oleaut32 (results are HRESULTs where not handles)
    {"CoDisconnectObject", 8, F, static_cast<DWORD>(E_OUTOFMEMORY), kNoMemory},
    {"CreateStdAccessibleObject", 16, F, static_cast<DWORD>(E_OUTOFMEMORY), kNoMemory},
    {"LresultFromObject", 12, F, static_cast<DWORD>(E_OUTOFMEMORY), kNoMemory},
    {"SysAllocString", 4, F, kNull, kNoMemory},
    {"VariantInit", 4, V, 0, 0},
    // user32
    {"AppendMenuW", 16, F, FALSE, kNoResources},
    {"BeginPaint", 8, F, kNull, kNoResources},
    {"CheckMenuRadioItem", 20, F, FALSE, ERROR_MENU_ITEM_NOT_FOUND},
    {"ClientToScreen", 8, F, FALSE, kBadWindow},
    {"CreateDialogParamW", 20, F, kNull, kNoResources},
    {"CreatePopupMenu", 0, F, kNull, kNoResources},
    {"CreateWindowExA", 48, F, kNull, kNoResources},
    {"CreateWindowExW", 48, F, kNull, kNoResources},
    {"DefWindowProcA", 16, A, 0, 0},
    {"DestroyMenu", 4, R, FALSE, 0},
    {"DestroyWindow", 4, R, FALSE, 0},
    {"DialogBoxParamW", 20, F, static_cast<DWORD>(-1), kNoResources},
    {"DrawEdge", 16, F, FALSE, kNoResources},
    {"DrawFocusRect", 8, F, FALSE, kNoResources},
    {"DrawTextW", 20, F, 0, kNoResources},
    {"EndDialog", 8, R, FALSE, 0},
    {"EndPaint", 8, R, TRUE, 0},
    {"FillRect", 12, F, 0, kNoResources},
    {"FrameRect", 12, F, 0, kNoResources},
    {"GetClientRect", 8, F, FALSE, kBadWindow},
    {"GetClassLongA", 8, F, 0, kBadWindow},
    {"GetDC", 4, F, kNull, kNoResources},
    {"GetDlgItem", 8, F, kNull, ERROR_CONTROL_ID_NOT_FOUND},
    {"GetFocus", 0, A, 0, 0},  // no window of this thread focused: null, not a failure
    {"GetKeyState", 4, A, 0, 0},
    {"GetMessageTime", 0, A, 0, 0},
    {"GetParent", 4, F, kNull, kBadWindow},
    {"GetSysColor", 4, P, 0, 0},  // a colour for every index; no failure value
    {"GetUpdateRect", 12, F, FALSE, kBadWindow},
    {"GetWindowLongA", 8, A, 0, 0},  // a window's own extra bytes: no failure but a bad handle
    {"GetWindowThreadProcessId", 8, F, 0, kBadWindow},
    {"InflateRect", 12, P, 0, 0},
    {"InvalidateRect", 12, F, FALSE, kNoResources},
    {"IsWindow", 4, A, 0, 0},
    {"IsWindowVisible", 4, A, 0, 0},
    {"KillTimer", 8, R, FALSE, 0},
    {"LoadBitmapA", 8, F, kNull, ERROR_RESOURCE_DATA_NOT_FOUND},
    {"LoadCursorA", 8, F, kNull, ERROR_RESOURCE_DATA_NOT_FOUND},
    {"LoadStringA", 16, F, 0, ERROR_RESOURCE_DATA_NOT_FOUND},
    {"LoadStringW", 16, F, 0, ERROR_RESOURCE_DATA_NOT_FOUND},
    {"MapWindowPoints", 16, F, 0, kBadWindow},  // 0 is also a valid offset: the last error tells
    {"NotifyWinEvent", 16, V, 0, 0},
    {"PostMessageW", 16, F, FALSE, ERROR_NOT_ENOUGH_QUOTA},  // a full message queue
    {"PtInRect", 12, P, 0, 0},
    {"RedrawWindow", 16, F, FALSE, kNoResources},
    {"RegisterClassA", 4, F, 0, kNoResources},
    {"ReleaseDC", 8, R, 0, 0},
    {"ScreenToClient", 8, F, FALSE, kBadWindow},
    {"SendDlgItemMessageA", 20, A, 0, 0},
    {"SendMessageA", 16, A, 0, 0},  // to a window of this thread: a call of its procedure
    {"SendMessageW", 16, A, 0, 0},
    {"SetDlgItemTextW", 12, F, FALSE, kNoMemory},
    {"SetFocus", 4, F, kNull, kBadWindow},
    {"SetTimer", 16, F, 0, kNoResources},
    {"SetWindowLongA", 12, A, 0, 0},
    {"SetWindowPos", 28, F, FALSE, kNoResources},
    {"SystemParametersInfoW", 16, F, FALSE, ERROR_INVALID_PARAMETER},
    {"TrackPopupMenuEx", 24, F, FALSE, kNoResources},
    {"UnregisterClassA", 8, F, FALSE, ERROR_CLASS_HAS_WINDOWS},
    {"wsprintfW", 0, P, 0, 0},
};

}  // namespace

const CalFaultEntry* CalFaultFind(const char* name)
{
    for (const CalFaultEntry& entry : kTable)
        if (std::strcmp(entry.name, name) == 0)
            return &entry;
    return nullptr;
}
