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

void CalTestStartPlugin(CalLoadedPlugin& p)
{
    p.enumerate = CalTestExport<CalEnumeratePanelTypesProc>(p.module, "EnumeratePanelTypes");
    char names[3][32] = {};
    if (p.enumerate == nullptr ||
        p.enumerate(names[0], names[1], names[2], GetModuleHandleA(nullptr), 0) != 1)
        return;
    p.init = CalTestExport<CalInitToolTypeProc>(p.module, names[0]);
    p.create = CalTestExport<CalToolCreateProc>(p.module, names[1]);
    p.cleanup = CalTestExport<CalToolCleanupProc>(p.module, names[2]);
    if (p.init != nullptr)
        p.init(&p.info, 0);
}

const CalLoadedPlugin& CalTestPlugin()
{
    static const CalLoadedPlugin plugin = [] {
        CalLoadedPlugin p;
        p.module = LoadLibraryA(g_calTestDllPath.c_str());
        if (p.module != nullptr)
            CalTestStartPlugin(p);
        return p;
    }();
    return plugin;
}
