#include "tests/win32/support/plugin_loader.h"

#include <algorithm>

std::string g_calTestDllPath;

std::string CalTestWindowsPath(std::string path)
{
    if (path.starts_with('/')) {
        path.insert(0, "Z:");
        std::replace(path.begin(), path.end(), '/', '\\');
    }
    return path;
}

const CalLoadedPlugin& CalTestPlugin()
{
    static const CalLoadedPlugin plugin = [] {
        CalLoadedPlugin p;
        p.module = LoadLibraryA(g_calTestDllPath.c_str());
        if (p.module == nullptr)
            return p;
        p.enumerate = reinterpret_cast<CalEnumeratePanelTypesProc>(
            reinterpret_cast<void*>(GetProcAddress(p.module, "EnumeratePanelTypes")));
        char names[3][32] = {};
        if (p.enumerate == nullptr ||
            p.enumerate(names[0], names[1], names[2], GetModuleHandleA(nullptr), 0) != 1)
            return p;
        auto resolve = [&](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(p.module, name));
        };
        p.init = reinterpret_cast<CalInitToolTypeProc>(resolve(names[0]));
        p.create = reinterpret_cast<CalToolCreateProc>(resolve(names[1]));
        p.cleanup = reinterpret_cast<CalToolCleanupProc>(resolve(names[2]));
        if (p.init != nullptr)
            p.init(&p.info, 0);
        return p;
    }();
    return plugin;
}
