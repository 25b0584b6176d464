// The panel host: loads a panel plug-in, shows its tools in a panel window
// and keeps their settings from one run to the next.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/calendar_files.h"
#include "host/command_line.h"
#include "host/panel.h"
#include "host/panel_calendars.h"
#include "host/panel_layout.h"
#include "host/plugin_host.h"
#include "host/property_sheet.h"
#include "host/reading_layout.h"
#include "host/report.h"
#include "host/tool_focus.h"
#include "host/screenshot.h"
#include "host/settings_lock.h"
#include "host/settings_store.h"

namespace {

constexpr int kDefaultTools = 2;        // what a first start shows
constexpr int kDefaultCellWidth = 160;  // at 96 dots per inch
constexpr int kDefaultCellHeight = 120;
constexpr int kExitSettingsInUse = 4;

// Restores the saved tools, or places the default ones; says what happened.
void PopulatePanel(HostPanel* panel, const HostLoadOutcome& loaded)
{
    size_t skipped = 0;
    for (const HostSavedTool& saved : loaded.panel.tools) {
        if (saved.type >= panel->plugin->types.size()) {
            ++skipped;
            continue;
        }
        CalToolSettings block;
        std::memcpy(&block, saved.block.data(), sizeof block);
        const RECT r{saved.rect.left, saved.rect.top, saved.rect.right, saved.rect.bottom};
        HostAddTool(panel, saved.type, &block, &r);
    }
    if (!loaded.loaded) {
        for (int i = 0; i < kDefaultTools; ++i)
            HostAddTool(panel, 0, nullptr, nullptr);
        HostMakeRoom(panel);
    }
    HostLayoutTools(panel);
    if (!loaded.problem.empty()) {
        HostWriteError("PanelHost: " + loaded.problem);
        HostSetStatus(panel, loaded.problem);
        panel->failureStands = !loaded.writable;  // nothing is saved this run: that stays in sight
    } else if (skipped != 0) {
        HostSetStatus(
            panel, std::to_string(skipped) + " saved tools are of a type this plug-in no longer offers.");
    } else if (loaded.loaded) {
        HostSetStatus(panel, "Settings: " + panel->settingsPath);
    } else {
        HostSetStatus(panel, "No saved settings yet; they will be kept in " + panel->settingsPath);
    }
}

std::vector<std::wstring> NamedCalendars(const HostOptions& options)
{
    std::vector<std::wstring> named;
    for (const std::string& path : options.calendars)
        named.push_back(HostWideFromAnsi(path));
    return named;
}

int RunPanel(HostPlugin* plugin, HINSTANCE instance, const std::string& settingsPath,
    const std::vector<std::wstring>& namedCalendars)
{
    HostPanel panel;
    // Before reading: a second host must neither set the first one's file
    // aside nor save over it. It refuses to start rather than run without
    // saving, since changes made in a panel that cannot keep them would be lost.
    if (HostTakeSettingsLock(&panel.settingsLock, settingsPath) == HostLockState::inUse) {
        HostReportFatal("another Panel Host is already using the settings file " + settingsPath +
            ". Close that one first, or start this one with --settings and a file of its own.");
        HostCleanupPlugin(plugin);
        return kExitSettingsInUse;
    }
    const HostLoadOutcome loaded = HostLoadSettingsFile(settingsPath);
    // The tools' accessible objects, which the status line reads, are COM objects.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    panel.instance = instance;
    panel.plugin = plugin;
    panel.settingsPath = loaded.writable ? settingsPath : std::string();
    int32_t width = 0;
    int32_t height = 0;
    HostClientSizeFor(panel.metrics, kDefaultTools, panel.metrics.Scale(kDefaultCellWidth),
        panel.metrics.Scale(kDefaultCellHeight), &width, &height);
    if (!HostCreatePanel(&panel, loaded.loaded ? &loaded.panel.window : nullptr, loaded.panel.showState,
            width, height, 0)) {
        HostReportFatal("the panel window could not be created");
        return 1;
    }
    PopulatePanel(&panel, loaded);
    std::vector<std::wstring> kept;
    for (const std::string& path : loaded.panel.calendars)
        kept.push_back(HostWideFromUtf8(path));
    if (!kept.empty() || !namedCalendars.empty())
        HostStartCalendars(&panel, kept, namedCalendars);
    ShowWindow(panel.window,
        loaded.loaded && loaded.panel.showState == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(panel.window);
    HostSavePanel(&panel);  // a fresh or repaired start leaves a good file at once

    HostFollowToolFocus(&panel);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (panel.sheet != nullptr && IsDialogMessageA(panel.sheet->window, &msg))
            continue;
        if (HostHandleTabKey(&panel, msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    HostStopFollowingToolFocus();
    HostCleanupPlugin(plugin);
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // No system dialog for a library that cannot be loaded: the host says it itself.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HostFollowReadingLayout();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const HostOptions options = HostParseCommandLine(args);
    if (!options.error.empty()) {
        HostReportFatal(options.error + "\n" + kHostUsage);
        return 2;
    }
    if (options.help) {
        if (!HostWriteOutput(kHostUsage))
            MessageBoxA(nullptr, kHostUsage, "Panel Host", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HostPlugin plugin;
    std::string error;
    if (!HostLoadPlugin(
            options.plugin.empty() ? HostDefaultPluginPath() : options.plugin, instance, &plugin, &error)) {
        HostReportFatal(error + ".");
        return 3;
    }
    if (!options.screenshot.empty())
        return HostRunScreenshot(&plugin, instance, options.screenshot, NamedCalendars(options));
    return RunPanel(&plugin, instance, options.settings.empty() ? HostDefaultSettingsPath() : options.settings,
        NamedCalendars(options));
}
