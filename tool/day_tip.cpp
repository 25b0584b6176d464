#include "tool/day_tip.h"

#include <commctrl.h>

#include "calendar/calendar.h"
#include "plugin/module.h"
#include "tool/day_text.h"
#include "tool/tool_view.h"
#include "view/month_text.h"

// One tool of the tooltip per day of the month, its rectangle the day's
// cell (empty past the month's last day), so that the tooltip itself sees
// the mouse pass from one day to the next.
struct CalDayTip {
    HWND window;
    bool asking;  // the tooltip waits for a day's text: the host is asked
    CalRect cell[32];
    wchar_t text[160 + CAL_DAY_TEXT_CAPACITY];
};

namespace {

// Wide enough for a long date; longer host texts wrap.
constexpr int kTipWidth = 320;

TTTOOLINFOW DayTool(HWND tool, UINT_PTR day)
{
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;  // every generation of the common controls takes it
    info.hwnd = tool;
    info.uId = day;
    info.lpszText = LPSTR_TEXTCALLBACKW;
    return info;
}

CalDayTip* MakeTip(HWND tool)
{
    auto* tip = static_cast<CalDayTip*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CalDayTip)));
    if (tip == nullptr)
        return nullptr;
    tip->window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, tool, nullptr, g_hostInstance, nullptr);
    if (tip->window == nullptr) {
        HeapFree(GetProcessHeap(), 0, tip);
        return nullptr;
    }
    for (UINT_PTR day = 1; day <= 31; ++day) {
        TTTOOLINFOW info = DayTool(tool, day);
        SendMessageW(tip->window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(tip->window, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    return tip;
}

// Moves every day's tool to where its cell lies now.
void PlaceTools(const CalToolState* state, CalDayTip* tip)
{
    const CalMonthLayout layout = CalToolLayout(state);
    for (int day = 1; day <= 31; ++day) {
        const CalRect cell = day <= layout.dayCount ? layout.day[day] : CalRect{};
        if (cell == tip->cell[day])
            continue;
        tip->cell[day] = cell;
        TTTOOLINFOW info = DayTool(state->window, static_cast<UINT_PTR>(day));
        info.rect = RECT{cell.left, cell.top, cell.right, cell.bottom};
        SendMessageW(tip->window, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

}  // namespace

void CalTrackDayTip(CalToolState* state, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (state->tip == nullptr)
        state->tip = MakeTip(state->window);
    if (state->tip == nullptr)
        return;
    PlaceTools(state, state->tip);
    MSG relayed{state->window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageW(state->tip->window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool CalAnswerDayTip(CalToolState* state, LPARAM notification)
{
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(notification);
    CalDayTip* tip = state->tip;
    if (tip == nullptr || info->hdr.hwndFrom != tip->window || info->hdr.code != TTN_GETDISPINFOW)
        return false;
    const auto day = static_cast<WORD>(info->hdr.idFrom);
    const WORD year = state->shown.wYear;
    const WORD month = state->shown.wMonth;
    HWND window = state->window;
    static wchar_t kNothing[] = L"";
    info->lpszText = kNothing;
    info->hinst = nullptr;
    if (day > CalMonthLength(year, month))
        return true;  // past the month's end: a tool that never shows
    wchar_t hostText[CAL_DAY_TEXT_CAPACITY];
    tip->asking = true;
    const int hosts = CalAskDayText(window, CalPackDate(year, month, day), hostText, CAL_DAY_TEXT_CAPACITY);
    if (!IsWindow(window) || CalToolFromWindow(window) != state)
        return true;  // the host destroyed the tool meanwhile, and the record with it
    tip->asking = false;
    int n = CalLongDate(year, month, day, tip->text, 160);
    if (hosts > 0) {
        lstrcpyW(tip->text + n, L"\r\n");
        lstrcpyW(tip->text + n + 2, hostText);
    }
    info->lpszText = tip->text;
    return true;
}

void CalHideDayTip(const CalToolState* state)
{
    if (state->tip != nullptr)
        SendMessageW(state->tip->window, TTM_POP, 0, 0);
}

void CalFreeDayTip(CalToolState* state)
{
    CalDayTip* tip = state->tip;
    if (tip == nullptr)
        return;
    // Its owner is the tool's top-level window, which may have destroyed it
    // already, owned windows first. A tooltip still waiting for the text the
    // host was asked for goes once it has its answer.
    if (IsWindow(tip->window) && tip->asking)
        PostMessageW(tip->window, WM_CLOSE, 0, 0);
    else if (IsWindow(tip->window))
        DestroyWindow(tip->window);
    HeapFree(GetProcessHeap(), 0, tip);
    state->tip = nullptr;
}
