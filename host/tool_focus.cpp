#include "host/tool_focus.h"

#include <string>

#include "host/panel_calendars.h"
#include "host/tool_window.h"

namespace {

HostPanel* g_followed = nullptr;
HWINEVENTHOOK g_hook = nullptr;

// The index of the tool that holds window (the tool itself or a child of it).
int ToolIndexOf(const HostPanel* panel, HWND window)
{
    for (size_t i = 0; i < panel->tools.size(); ++i) {
        HWND tool = panel->tools[i].window;
        if (window == tool || IsChild(tool, window))
            return static_cast<int>(i);
    }
    return -1;
}

void DescribeFocus(HostPanel* panel, HWND tool)
{
    const int index = ToolIndexOf(panel, tool);
    // A failure on the line stays there until the save that mends it: the
    // user would otherwise lose it at the next click or Tab.
    if (index < 0 || panel->failureStands)
        return;
    // With calendar files, the tool's selected day and its events say more.
    if (HostShowSelectedDay(panel, tool))
        return;
    std::string text = "Calendar " + std::to_string(index + 1) + " of " + std::to_string(panel->tools.size());
    const std::string name = HostToolAccessibleName(panel->tools[static_cast<size_t>(index)].window);
    text += name.empty() ? " has the focus." : " has the focus: " + name + ".";
    HostSetStatus(panel, text);
}

// Out-of-context events arrive through this thread's message loop.
void CALLBACK OnToolEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (g_followed == nullptr || window == nullptr || object != OBJID_CLIENT || child != CHILDID_SELF)
        return;
    const int index = ToolIndexOf(g_followed, window);
    if (index < 0 || g_followed->tools[static_cast<size_t>(index)].window != window)
        return;
    // A name change matters only for the tool that has the focus.
    if (event == EVENT_OBJECT_FOCUS || GetFocus() == window)
        DescribeFocus(g_followed, window);
}

}  // namespace

bool HostHandleTabKey(HostPanel* panel, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || panel->tools.empty())
        return false;
    if (msg.hwnd != panel->window && !IsChild(panel->window, msg.hwnd))
        return false;
    const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const int count = static_cast<int>(panel->tools.size());
    const int at = ToolIndexOf(panel, GetFocus());
    const int next = at < 0 ? (back ? count - 1 : 0) : (at + (back ? count - 1 : 1)) % count;
    HWND tool = panel->tools[static_cast<size_t>(next)].window;
    SetFocus(tool);
    panel->current = tool;
    InvalidateRect(panel->window, nullptr, FALSE);
    DescribeFocus(panel, tool);
    return true;
}

void HostFollowToolFocus(HostPanel* panel)
{
    g_followed = panel;
    if (g_hook == nullptr)
        g_hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, OnToolEvent,
            GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
}

void HostStopFollowingToolFocus()
{
    if (g_hook != nullptr)
        UnhookWinEvent(g_hook);
    g_hook = nullptr;
    g_followed = nullptr;
}
