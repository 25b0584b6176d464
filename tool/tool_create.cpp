// Creating a tool window with its record and spinners, pointed at today's
// month.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "plugin/module.h"
#include "resource.h"
#include "tool/day_marks.h"
#include "tool/screen_density.h"
#include "tool/shown_month.h"
#include "tool/tool_settings.h"
#include "tool/tool_state.h"
#include "tool/tool_window.h"

namespace {

// The spinners are clipped out of the tool's own paint: the month's one
// transfer leaves them alone, and they paint themselves once.
constexpr DWORD kToolStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kMonthSpinStyle = WS_CHILD | WS_VISIBLE | UDS_HORZ | UDS_WRAP;
constexpr DWORD kYearSpinStyle = WS_CHILD | WS_VISIBLE | UDS_HORZ;
constexpr UINT kDayCheckMs = 2000;

HWND CreateSpinner(HWND tool, DWORD style, int id, int lower, int upper)
{
    return CreateUpDownControl(style, 0, 0, 1, 1, tool, id, g_hostInstance, nullptr, upper, lower, 1);
}

}  // namespace

extern "C" HWND CALTOOLAPI CalToolCreate(
    HWND parent, const RECT* rect, const CalToolSettings* settings, LPARAM /*unused1*/, LPARAM /*unused2*/)
{
    // No rectangle at all is read as an empty one, not through a null pointer.
    const RECT r = rect != nullptr ? *rect : RECT{};

    auto* state =
        static_cast<CalToolState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CalToolState)));
    if (state == nullptr)
        return nullptr;
    if (!CalMakeDayMarks(state)) {
        HeapFree(GetProcessHeap(), 0, state);
        return nullptr;
    }
    if (settings != nullptr)
        std::memcpy(&state->settings, settings, sizeof state->settings);  // taken as stored
    else
        CalSetDefaultSettings(&state->settings);

    HWND window = CreateWindowExA(0, CAL_TOOL_CLASS, "", kToolStyle, r.left, r.top, r.right - r.left,
        r.bottom - r.top, parent, nullptr, g_hostInstance, nullptr);
    if (window == nullptr) {
        CalFreeDayMarks(state);
        HeapFree(GetProcessHeap(), 0, state);
        return nullptr;
    }
    state->window = window;
    // A new tool's text is as large on a dense screen as on a standard one;
    // a block from the host is in the units it was made in, and kept.
    if (settings == nullptr)
        state->settings.font.lfHeight = CalDefaultFontHeight(CalWindowDpi(window));
    state->appliedFont = state->settings.font;
    state->monthSpin = CreateSpinner(window, kMonthSpinStyle, IDC_MONTHSPIN, 1, 12);
    state->yearSpin = CreateSpinner(window, kYearSpinStyle, IDC_YEARSPIN, 1601, 9999);
    CalResetToToday(state);
    state->selected = CalPackDate(state->shown.wYear, state->shown.wMonth, state->shown.wDay);  // today
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state));
    // The WM_SIZE of the creation came before the record: place the spinners
    // now, so that a tool created at its final size can be navigated.
    CalLayOutSpinners(state);
    SetTimer(window, IDT_DAYCHECK, kDayCheckMs, nullptr);
    // The first month's marks; a host that destroys the tool meanwhile gets none.
    return CalAskDayMarks(state) ? window : nullptr;
}
