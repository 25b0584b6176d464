// The exported entry points through which a host discovers the panel type,
// registers the tool window class and receives the type's descriptor.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "plugin/module.h"
#include "resource.h"
#include "tool/tool_window.h"

namespace {

void RegisterToolClass()
{
    // The spinners' class comes with the common controls; make sure it is
    // registered before the first tool creates its spinners.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = CalToolWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = sizeof(LONG);  // word 0: the CalToolState
    wc.hInstance = g_hostInstance;
    wc.hIcon = nullptr;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = CAL_TOOL_CLASS;
    g_classAtom = RegisterClassA(&wc);  // 0 on failure: the next call tries again
    // A host that freed the library and loaded it again still holds the
    // class of the earlier load, whose window procedure is gone with it:
    // replace it. Unregistering fails while a window of it is left, and
    // then no tool is made rather than one that calls into freed code.
    if (g_classAtom == 0 && GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
        UnregisterClassA(CAL_TOOL_CLASS, g_hostInstance) != FALSE)
        g_classAtom = RegisterClassA(&wc);
}

// Loads a bitmap once; a handle already handed to the host stays valid, and
// a failed load is retried on the next call.
void LoadOnce(HBITMAP* bitmap, int id)
{
    if (*bitmap == nullptr)
        *bitmap = LoadBitmapA(g_moduleInstance, MAKEINTRESOURCEA(id));
}

// The host's buffers carry no length; a missing one is skipped rather than
// written through.
void CopyName(char* buffer, const char* name)
{
    if (buffer != nullptr)
        std::strcpy(buffer, name);
}

}  // namespace

extern "C" LONG CALTOOLAPI EnumeratePanelTypes(
    char* initName, char* createName, char* cleanupName, HINSTANCE hostInstance, LPARAM /*unused*/)
{
    g_hostInstance = hostInstance;
    if (g_typesEnumerated != 0)
        return 0;
    CopyName(initName, "InitCalToolType");
    CopyName(createName, "CalToolCreate");
    CopyName(cleanupName, "CalToolCleanup");
    ++g_typesEnumerated;
    return 1;
}

extern "C" void CALTOOLAPI InitCalToolType(CalToolTypeInfo** infoOut, LPARAM /*unused*/)
{
    if (g_classAtom == 0)
        RegisterToolClass();
    LoadStringA(g_moduleInstance, IDS_TOOLNAME, g_toolTypeInfo.name, sizeof g_toolTypeInfo.name);
    LoadStringA(
        g_moduleInstance, IDS_TOOLDESC, g_toolTypeInfo.description, sizeof g_toolTypeInfo.description);
    LoadOnce(&g_toolTypeInfo.image, IDB_TOOLIMAGE);
    LoadOnce(&g_toolTypeInfo.mask, IDB_TOOLMASK);
    if (infoOut != nullptr)
        *infoOut = &g_toolTypeInfo;
}

extern "C" void CALTOOLAPI CalToolCleanup(LPARAM /*unused*/)
{
    // The class stays registered and the bitmaps stay loaded while the
    // library is: handles the host holds must stay valid.
}
