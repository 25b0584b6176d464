// The loader's entry notification.
#include "plugin/module.h"

// Records the module instance on process attach and ignores every other
// reason; it never makes loading fail.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_moduleInstance = instance;
    return TRUE;
}
