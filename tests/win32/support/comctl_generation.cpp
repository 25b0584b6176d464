#include "tests/win32/support/comctl_generation.h"

#include <shlwapi.h>

#include "tests/win32/support/import_hooks.h"

CalComctlGeneration CalTestComctlGeneration(HMODULE library)
{
    CalComctlGeneration g;
    // The import table's slot holds where the loader bound the call: read it
    // by swapping it out and straight back.
    void* bound = CalTestPatchImport(library, "comctl32.dll", "InitCommonControlsEx", nullptr);
    CalTestPatchImport(library, "comctl32.dll", "InitCommonControlsEx", bound);
    if (bound == nullptr ||
        !GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(bound), &g.module))
        return g;
    char file[MAX_PATH] = "";
    GetModuleFileNameA(g.module, file, MAX_PATH);
    g.file = file;
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(g.module, "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (get != nullptr && get(&info) == S_OK) {
        g.major = info.dwMajorVersion;
        g.minor = info.dwMinorVersion;
    }
    std::string lower = g.file;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    g.fromAssembly6 = lower.find("microsoft.windows.common-controls_") != std::string::npos &&
        lower.find("_6.0.") != std::string::npos;
    g.generation = g.major >= 6 || g.fromAssembly6 ? 6 : static_cast<int>(g.major);
    return g;
}
