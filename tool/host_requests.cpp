#include "tool/host_requests.h"

#include <cstring>

#include "dialogs/properties_page.h"
#include "plugin/module.h"
#include "resource.h"
#include "tool/fit_size.h"

// A request that carries no address, or that reaches a window without a
// record (while it is being created), gets 0; nothing is read or written.

LRESULT CalGetSettings(CalToolState* state, LPARAM lParam)
{
    auto* out = reinterpret_cast<CalToolSettings**>(lParam);
    if (state == nullptr || out == nullptr)
        return 0;
    *out = &state->settings;
    return sizeof(CalToolSettings);
}

LRESULT CalSetSettings(CalToolState* state, WPARAM size, LPARAM lParam)
{
    const auto* block = reinterpret_cast<const CalToolSettings*>(lParam);
    if (state == nullptr || block == nullptr)
        return 0;
    if (size == sizeof(CalToolSettings))
        std::memcpy(&state->settings, block, sizeof state->settings);
    // Shown at the next paint; the host is not told of what it did itself.
    if (g_pageWindow != nullptr && g_pageState == state)
        CalPageShowSettings(g_pageWindow, state->settings);
    return 0;
}

LRESULT CalCreatePage(CalToolState* state, WPARAM parent, LPARAM lParam)
{
    if (state == nullptr)
        return 0;
    // The page reads its first state from g_pageState while it is created.
    g_pageState = state;
    HWND page = CreateDialogParamW(
        g_moduleInstance, MAKEINTRESOURCEW(IDD_PROPERTIES), reinterpret_cast<HWND>(parent), CalPageProc, 0);
    if (page != nullptr)
        SetWindowPos(page, nullptr, LOWORD(lParam), HIWORD(lParam), 0, 0, SWP_NOSIZE);
    g_pageWindow = page;
    return reinterpret_cast<LRESULT>(page);
}

LRESULT CalFitRequestedSize(LPARAM lParam)
{
    const auto* request = reinterpret_cast<const CalFitRequest*>(lParam);
    if (request == nullptr)
        return 0;
    return static_cast<LRESULT>(CalFitSize(*request));
}
