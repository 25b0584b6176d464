// The window procedure of a calendar tool: its own life (resizing, painting,
// destruction), navigation with the spinners, the selected day moved by the
// mouse and the keys, the days' tooltip, the double click and the day check,
// the context menu and its commands, and the host's requests.
#include "tool/tool_window.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "dialogs/properties_page.h"
#include "plugin/cal_protocol.h"
#include "resource.h"
#include "tool/accessible.h"
#include "tool/commands.h"
#include "tool/context_menu.h"
#include "tool/day_cells.h"
#include "tool/day_marks.h"
#include "tool/day_tip.h"
#include "tool/host_requests.h"
#include "tool/ideal_size.h"
#include "tool/navigation.h"
#include "tool/selection.h"
#include "tool/shown_month.h"
#include "tool/tool_view.h"

namespace {

void Invalidate(HWND window)
{
    // The painter covers the whole client area, so nothing is erased first.
    InvalidateRect(window, nullptr, FALSE);
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
    CalDisconnectAccessibles(window);
    SetWindowLongPtrA(window, 0, 0);
    if (state != nullptr) {
        CalPageForget(state);
        CalFreeDayTip(state);
        CalFreeDayMarks(state);
        HeapFree(GetProcessHeap(), 0, state);
    }
    return 0;
}

LRESULT OnNotify(CalToolState* state, WPARAM controlId, LPARAM lParam)
{
    // The month spinner's announced step (always allowed) and the tooltip's
    // questions for a day's text matter; other notifications are ignored.
    if (state == nullptr || lParam == 0 || CalAnswerDayTip(state, lParam))
        return 0;
    if (controlId == IDC_MONTHSPIN)
        state->spinDelta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
    return 0;
}

// The tooltip is a wide-character window: it asks for the days' texts in
// wide characters.
LRESULT OnNotifyFormat(HWND window, WPARAM from, LPARAM command)
{
    if (command == NF_QUERY)
        return NFR_UNICODE;
    return DefWindowProcA(window, WM_NOTIFYFORMAT, from, command);
}

LRESULT OnHScroll(CalToolState* state, WPARAM wParam, LPARAM lParam)
{
    if (state == nullptr)
        return 0;
    const uint32_t position = HIWORD(wParam);
    const bool fromMonthSpin = reinterpret_cast<HWND>(lParam) == state->monthSpin;
    CalShowStep(state,
        fromMonthSpin ? CalMonthSpinReport(CalShownMonthOf(state), state->spinDelta, position)
                      : CalYearSpinReport(CalShownMonthOf(state), position),
        false);
    return 0;
}

LRESULT OnDoubleClick(CalToolState* state)
{
    if (state != nullptr)
        CalSelectToday(state);
    return 0;
}

SYSTEMTIME Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

LRESULT OnTimer(CalToolState* state)
{
    if (state == nullptr)
        return 0;
    if (CalDayChanged(state->shown.wDay, Now().wDay)) {
        const CalDate oldToday = CalRecordToday(state);
        CalResetToToday(state);
        Invalidate(state->window);
        CalAnnounceShownMonth(state->window);
        if (CalAskDayMarks(state))
            CalFollowNewDay(state, oldToday);
    }
    return 0;
}

LRESULT OnRightButtonUp(const CalToolState* state, LPARAM point)
{
    // Not passed on: the system raises no WM_CONTEXTMENU for the tool.
    if (state != nullptr)
        CalShowContextMenu(state, point);
    return 0;
}

// Shift+F10 and the menu key arrive here with the point -1, -1 (from the
// default handling of the keys); a host may send a real screen point. Never
// passed on, so the host hears no WM_CONTEXTMENU from the tool.
LRESULT OnContextMenu(const CalToolState* state, LPARAM lParam)
{
    if (state == nullptr)
        return 0;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1)
        at = CalKeyboardMenuPoint(state);
    CalShowContextMenuAt(state, at);
    return 0;
}

// A click on a day selects it and picks it.
LRESULT OnLeftButtonDown(HWND window, CalToolState* state, WPARAM keys, LPARAM point)
{
    SetFocus(window);
    if (state == nullptr || CalToolFromWindow(window) != state)
        return 0;
    CalTrackDayTip(state, WM_LBUTTONDOWN, keys, point);
    // Client coordinates, as the layout's: a mirrored window's run from the right.
    const int32_t day = CalDayAtPoint(CalToolLayout(state), GET_X_LPARAM(point), GET_Y_LPARAM(point));
    const CalDate date{state->shown.wYear, state->shown.wMonth, day};
    if (day != 0 && CalSelectableDate(date) && CalSelect(state, date))
        CalPickSelection(state);
    return 0;
}

LRESULT OnMouse(HWND window, CalToolState* state, UINT message, WPARAM keys, LPARAM point)
{
    if (state != nullptr)
        CalTrackDayTip(state, message, keys, point);
    return DefWindowProcA(window, message, keys, point);
}

LRESULT OnKeyDown(HWND window, CalToolState* state, WPARAM key, LPARAM lParam)
{
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const CalKeyStep step = CalStepForKey(static_cast<uint32_t>(key), control);
    switch (state != nullptr ? step.action : CalKeyAction::None) {
        case CalKeyAction::Move:
            CalSelect(state, CalMoveDate(CalSelectedDate(state), step.move));
            return 0;
        case CalKeyAction::Today:
            return OnDoubleClick(state);
        case CalKeyAction::Pick:
            CalPickSelection(state);
            return 0;
        case CalKeyAction::None:
            break;
    }
    // Every other key goes on: the default handling turns Shift+F10 and the
    // menu key into WM_CONTEXTMENU.
    return DefWindowProcA(window, WM_KEYDOWN, key, lParam);
}

// The menu key opens the menu when it is released, with the point -1, -1,
// as the platform's default handling does on some systems and not on others.
LRESULT OnKeyUp(HWND window, const CalToolState* state, WPARAM key, LPARAM lParam)
{
    if (key != VK_APPS)
        return DefWindowProcA(window, WM_KEYUP, key, lParam);
    if (state != nullptr)
        SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(-1, -1));
    return 0;
}

// The focus mark comes and goes with the focus; screen readers hear of it.
LRESULT OnFocusChanged(HWND window, const CalToolState* state, bool gained)
{
    if (state == nullptr)
        return 0;
    Invalidate(window);
    if (gained)
        CalAnnounceFocus(window);
    return 0;
}

LRESULT OnUpdateUiState(HWND window, const CalToolState* state, WPARAM wParam, LPARAM lParam)
{
    // The default handling keeps the state; a change shows in the focus mark.
    DefWindowProcA(window, WM_UPDATEUISTATE, wParam, lParam);
    if (state != nullptr && GetFocus() == window)
        Invalidate(window);
    return 0;
}

// Printing and capture: the month exactly as a repaint shows it, into the
// caller's device context.
LRESULT OnPrintClient(HWND window, const CalToolState* state, WPARAM dc)
{
    if (state != nullptr && dc != 0)
        CalPaintMonth(window, reinterpret_cast<HDC>(dc), state);
    return 0;
}

// The clock was set: today may be another day, which the view then shows at
// once rather than at the next day check.
LRESULT OnTimeChange(CalToolState* state)
{
    if (state == nullptr)
        return 0;
    const SYSTEMTIME now = Now();
    Invalidate(state->window);
    if (now.wDay != state->shown.wDay || now.wMonth != state->todayMonth || now.wYear != state->todayYear) {
        const CalDate oldToday = CalRecordToday(state);
        if (CalReturnToToday(state))
            CalFollowNewDay(state, oldToday);
    }
    return 0;
}

// New locale names or colours: everything is drawn again, the spinners too.
LRESULT OnSystemChange(const CalToolState* state, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (state == nullptr)
        return 0;
    if (message == WM_SYSCOLORCHANGE) {
        // The common controls take their colours afresh from this message.
        SendMessageA(state->monthSpin, message, wParam, lParam);
        SendMessageA(state->yearSpin, message, wParam, lParam);
    }
    RedrawWindow(state->window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}

LRESULT OnCommand(CalToolState* state, WPARAM wParam)
{
    if (state != nullptr)
        CalRunCommand(state, LOWORD(wParam));
    return 0;
}

// Measured in the font the user chose, which the view may not show yet.
LRESULT OnGetIdealSize(HWND window, const CalToolState* state)
{
    if (state == nullptr)
        return static_cast<LRESULT>(CalPackSize(160, 120));
    CalMonthView view = CalToolView(state);
    view.window = window;
    view.font = state->settings.font;
    return static_cast<LRESULT>(CalMeasureIdealSize(view));
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
    case WM_NOTIFYFORMAT: return OnNotifyFormat(window, wParam, lParam);
    case WM_TIMER: return OnTimer(state);
    case WM_HSCROLL: return OnHScroll(state, wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(state);
    case WM_LBUTTONDOWN: return OnLeftButtonDown(window, state, wParam, lParam);
    case WM_MOUSEMOVE: case WM_LBUTTONUP: case WM_RBUTTONDOWN: return OnMouse(window, state, message, wParam, lParam);
    case WM_RBUTTONUP: return OnRightButtonUp(state, lParam);
    case WM_CONTEXTMENU: return OnContextMenu(state, lParam);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: return OnKeyDown(window, state, wParam, lParam);
    case WM_KEYUP: return OnKeyUp(window, state, wParam, lParam);
    case WM_SETFOCUS: return OnFocusChanged(window, state, true);
    case WM_KILLFOCUS: return OnFocusChanged(window, state, false);
    case WM_UPDATEUISTATE: return OnUpdateUiState(window, state, wParam, lParam);
    case WM_PRINTCLIENT: return OnPrintClient(window, state, wParam);
    case WM_TIMECHANGE: return OnTimeChange(state);
    case WM_SETTINGCHANGE: case WM_SYSCOLORCHANGE: return OnSystemChange(state, message, wParam, lParam);
    case WM_COMMAND: return OnCommand(state, wParam);
    case WM_GETOBJECT: return CalAnswerGetObject(window, wParam, lParam);
    case CTM_GETSETTINGS: return CalGetSettings(state, lParam);
    case CTM_SETSETTINGS: return CalSetSettings(state, wParam, lParam);
    case CTM_CREATEPAGE: return CalCreatePage(state, wParam, lParam);
    case CTM_GETIDEALSIZE: return OnGetIdealSize(window, state);
    case CTM_FITSIZE: case CTM_FITSIZE2: case CTM_FITSIZE3: return CalFitRequestedSize(lParam);
    case CTM_SETDAYMARKS: return CalSetDayMarks(state, wParam, lParam);
    case CTM_GETSELECTION: return CalGetSelection(state);
    case CTM_SETSELECTION: return CalSetSelection(state, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
    // clang-format on
}
