// Loads Calendar.dll the way a host does: by path, its entry points by
// name, in the calling order the library expects.
#ifndef CALENDAR_TESTS_PLUGIN_LOADER_H
#define CALENDAR_TESTS_PLUGIN_LOADER_H

#include <string>

#include "plugin/caltool.h"

// The path of the library under test, set by the test program from its
// command line; a Unix path (as the build passes it) is read on Wine's Z: drive.
extern std::string g_calTestDllPath;

struct CalLoadedPlugin {
    HMODULE module = nullptr;
    CalEnumeratePanelTypesProc enumerate = nullptr;
    CalInitToolTypeProc init = nullptr;
    CalToolCreateProc create = nullptr;
    CalToolCleanupProc cleanup = nullptr;
    CalToolTypeInfo* info = nullptr;
};

// Loads the library (once per process), enumerates its panel type with this
// program's instance, resolves the named entry points and initialises the
// type. Returns the same record on every call.
const CalLoadedPlugin& CalTestPlugin();

// For a library already in memory (plugin.module), what CalTestPlugin does
// after loading it: enumerates its panel type with this program's instance,
// resolves the three names it gives and initialises the type. The entry
// points that could not be had stay null.
void CalTestStartPlugin(CalLoadedPlugin& plugin);

// An export of the module by name, as the type F; null when it has none.
template <typename F> F CalTestExport(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A Windows path for a path as the build passes it.
std::string CalTestWindowsPath(std::string path);

#endif
