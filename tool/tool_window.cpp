// The window procedure of a calendar tool: its own life (resizing, painting,
// destruction), navigation with the spinners, the double click and the day
// check, the context menu and its commands, and the host's requests.
#include "tool/tool_window.h"

#include <windows.h>
#include <commctrl.h>

#include "dialogs/properties_page.h"
#include "plugin/cal_protocol.h"
#include "resource.h"
#include "tool/commands.h"
#include "tool/context_menu.h"
#include "tool/host_requests.h"
#include "tool/ideal_size.h"
#include "tool/navigation.h"
#include "view/month_paint.h"

namespace {

void Invalidate(HWND window)
{
    // The painter covers the whole client area, so nothing is erased first.
    InvalidateRect(window, nullptr, FALSE);
}

CalShownMonth ShownMonth(const CalToolState* state)
{
    return CalShownMonth{state->shown.wYear, state->shown.wMonth};
}

LRESULT OnSize(const CalToolState* state)
{
    if (state != nullptr)
        CalLayOutSpinners(state);
    return 0;
}

LRESULT OnPaint(HWND window, const CalToolState* state)
{
    // When the region cannot be read or painting cannot begin, the default
    // handling still validates it: a paint message must never repeat.
    if (!GetUpdateRect(window, nullptr, FALSE))
        return DefWindowProcA(window, WM_PAINT, 0, 0);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (dc == nullptr)
        return DefWindowProcA(window, WM_PAINT, 0, 0);
    // Without a record (only while the window is being created) the update
    // region is still validated, so that no paint message repeats.
    if (state != nullptr)
        CalPaintMonth(window, dc, state);
    EndPaint(window, &ps);
    return 0;
}

LRESULT OnDestroy(HWND window, CalToolState* state)
{
    KillTimer(window, IDT_DAYCHECK);
    SetWindowLongPtrA(window, 0, 0);
    if (state != nullptr) {
        CalPageForget(state);
        HeapFree(GetProcessHeap(), 0, state);
    }
    return 0;
}

LRESULT OnNotify(CalToolState* state, WPARAM controlId, LPARAM lParam)
{
    // Only the month spinner's announced step matters; the step is always
    // allowed, and other controls' notifications are ignored.
    if (state != nullptr && controlId == IDC_MONTHSPIN && lParam != 0)
        state->spinDelta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
    return 0;
}

LRESULT OnHScroll(CalToolState* state, WPARAM wParam, LPARAM lParam)
{
    if (state == nullptr)
        return 0;
    const uint32_t position = HIWORD(wParam);
    const bool fromMonthSpin = reinterpret_cast<HWND>(lParam) == state->monthSpin;
    const CalSpinResult r = fromMonthSpin ? CalMonthSpinReport(ShownMonth(state), state->spinDelta, position)
                                          : CalYearSpinReport(ShownMonth(state), position);
    state->shown.wYear = r.shown.year;
    state->shown.wMonth = r.shown.month;
    if (r.setYearSpinner)
        CalSetSpinnerPosition(state->yearSpin, r.shown.year);
    if (r.repaint)
        Invalidate(state->window);
    return 0;
}

LRESULT OnDoubleClick(CalToolState* state)
{
    if (state != nullptr) {
        CalResetToToday(state);
        Invalidate(state->window);
    }
    return 0;
}

LRESULT OnTimer(CalToolState* state)
{
    if (state == nullptr)
        return 0;
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (CalDayChanged(state->shown.wDay, now.wDay)) {
        CalResetToToday(state);
        Invalidate(state->window);
    }
    return 0;
}

LRESULT OnContextMenu(const CalToolState* state, LPARAM point)
{
    // Not passed on: the system raises no WM_CONTEXTMENU for the tool.
    if (state != nullptr)
        CalShowContextMenu(state, point);
    return 0;
}

LRESULT OnCommand(CalToolState* state, WPARAM wParam)
{
    if (state != nullptr)
        CalRunCommand(state, LOWORD(wParam));
    return 0;
}

LRESULT OnGetIdealSize(HWND window, const CalToolState* state)
{
    return static_cast<LRESULT>(
        state != nullptr ? CalMeasureIdealSize(state, window) : CalPackSize(160, 120));
}

}  // namespace

void CalLayOutSpinners(const CalToolState* state)
{
    RECT client;
    if (!GetClientRect(state->window, &client))
        return;
    const CalSpinnerPlacement p =
        CalPlaceSpinners(CalRect{client.left, client.top, client.right, client.bottom});
    if (!p.place)
        return;
    SetWindowPos(state->monthSpin, nullptr, p.monthX, p.y, p.width, p.height, SWP_NOZORDER);
    SetWindowPos(state->yearSpin, nullptr, p.yearX, p.y, p.width, p.height, SWP_NOZORDER);
}

LRESULT CALLBACK CalToolWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CalToolState* state = CalToolFromWindow(window);
    // One line per message: the procedure is the table of contents.
    // clang-format off
    switch (message) {
    case WM_DESTROY: return OnDestroy(window, state);
    case WM_SIZE: return OnSize(state);
    case WM_PAINT: return OnPaint(window, state);
    case WM_ERASEBKGND: return -1;  // the paint covers the whole client area
    case WM_NOTIFY: return OnNotify(state, wParam, lParam);
    case WM_TIMER: return OnTimer(state);
    case WM_HSCROLL: return OnHScroll(state, wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(state);
    case WM_RBUTTONUP: return OnContextMenu(state, lParam);
    case WM_COMMAND: return OnCommand(state, wParam);
    case CTM_GETSETTINGS: return CalGetSettings(state, lParam);
    case CTM_SETSETTINGS: return CalSetSettings(state, wParam, lParam);
    case CTM_CREATEPAGE: return CalCreatePage(state, wParam, lParam);
    case CTM_GETIDEALSIZE: return OnGetIdealSize(window, state);
    case CTM_FITSIZE: case CTM_FITSIZE2: case CTM_FITSIZE3: return CalFitRequestedSize(lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
    // clang-format on
}
