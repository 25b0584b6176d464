#include "host/plugin_host.h"

namespace {

// More than any plug-in describes; stops a library that never returns 0.
constexpr int kMaxTypes = 16;
// Generous name buffers: the protocol passes no length.
constexpr size_t kNameSize = 64;

template <typename T> T Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool Fail(HostPlugin* plugin, std::string* error, std::string text)
{
    if (plugin->module != nullptr)
        FreeLibrary(plugin->module);
    plugin->module = nullptr;
    plugin->types.clear();
    *error = std::move(text);
    return false;
}

}  // namespace

std::string HostErrorText(DWORD code)
{
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
        sizeof text, nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(code) : s + " (error " + std::to_string(code) + ")";
}

std::string HostDefaultPluginPath()
{
    char path[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n < MAX_PATH ? n : 0);
    const size_t slash = s.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : s.substr(0, slash + 1)) + "Calendar.dll";
}

bool HostLoadPlugin(const std::string& path, HINSTANCE hostInstance, HostPlugin* plugin, std::string* error)
{
    plugin->path = path;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Fail(plugin, error, "the plug-in " + path + " does not exist");
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Fail(plugin, error, "the plug-in " + path + " is a folder, not a library");
    plugin->module = LoadLibraryA(path.c_str());
    if (plugin->module == nullptr)
        return Fail(plugin, error,
            "the plug-in " + path + " could not be loaded as a library: " + HostErrorText(GetLastError()));
    auto enumerate = Resolve<CalEnumeratePanelTypesProc>(plugin->module, "EnumeratePanelTypes");
    if (enumerate == nullptr)
        return Fail(plugin, error, path + " is not a panel plug-in: it does not export EnumeratePanelTypes");

    for (int i = 0; i < kMaxTypes; ++i) {
        char names[3][kNameSize] = {};
        if (enumerate(names[0], names[1], names[2], hostInstance, 0) == 0)
            break;
        for (auto& name : names)
            name[kNameSize - 1] = '\0';
        HostPanelType type;
        type.init = Resolve<CalInitToolTypeProc>(plugin->module, names[0]);
        type.create = Resolve<CalToolCreateProc>(plugin->module, names[1]);
        type.cleanup = Resolve<CalToolCleanupProc>(plugin->module, names[2]);
        if (type.init == nullptr || type.create == nullptr)
            return Fail(plugin, error,
                path + " names the entry point \"" + names[type.init == nullptr ? 0 : 1] +
                    "\", which it does not export");
        CalToolTypeInfo* info = nullptr;
        type.init(&info, 0);
        if (info == nullptr)
            return Fail(plugin, error, path + " handed out no description of its panel type");
        type.info = info;
        plugin->types.push_back(type);
    }
    if (plugin->types.empty())
        return Fail(plugin, error, path + " is a panel plug-in that offers no panel type");
    return true;
}

void HostCleanupPlugin(HostPlugin* plugin)
{
    // The library stays loaded: its window class and bitmaps live as long as it does.
    for (const HostPanelType& type : plugin->types)
        if (type.cleanup != nullptr)
            type.cleanup(0);
}
