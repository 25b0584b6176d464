// Loading a plug-in library the way the protocol asks: by path, its panel
// types from EnumeratePanelTypes, their entry points by the names it hands
// out, each type initialised once before its first tool is created.
#ifndef PANELHOST_PLUGIN_HOST_H
#define PANELHOST_PLUGIN_HOST_H

#include <string>
#include <vector>

#include "plugin/caltool.h"

struct HostPanelType {
    CalInitToolTypeProc init = nullptr;
    CalToolCreateProc create = nullptr;
    CalToolCleanupProc cleanup = nullptr;
    const CalToolTypeInfo* info = nullptr;  // the plug-in's descriptor: name, description, image, mask
};

struct HostPlugin {
    HMODULE module = nullptr;
    std::string path;
    std::vector<HostPanelType> types;
};

// Loads the library at path and initialises every panel type it offers.
// On failure says why in *error, in plain words, and leaves nothing loaded.
bool HostLoadPlugin(const std::string& path, HINSTANCE hostInstance, HostPlugin* plugin, std::string* error);

// Calls every type's clean-up entry point, once the last tool is gone.
void HostCleanupPlugin(HostPlugin* plugin);

// Calendar.dll in the folder of this program.
std::string HostDefaultPluginPath();

// The platform's text for an error code, without the trailing line break.
std::string HostErrorText(DWORD code);

#endif
