#include "tool/selection.h"

#include "tool/accessible.h"
#include "tool/day_tip.h"
#include "tool/shown_month.h"

namespace {

DWORD Packed(const CalDate& d)
{
    return CalPackDate(d.year, d.month, d.day);
}

bool StillStands(HWND window, const CalToolState* state)
{
    return IsWindow(window) && CalToolFromWindow(window) == state;
}

}  // namespace

CalDate CalSelectedDate(const CalToolState* state)
{
    return CalDate{CalDateYear(state->selected), CalDateMonth(state->selected), CalDateDay(state->selected)};
}

int32_t CalShownSelection(const CalToolState* state)
{
    const CalDate d = CalSelectedDate(state);
    return d.year == state->shown.wYear && d.month == state->shown.wMonth ? d.day : 0;
}

CalDate CalRecordToday(const CalToolState* state)
{
    return CalDate{state->todayYear, state->todayMonth, state->shown.wDay};
}

bool CalSelect(CalToolState* state, const CalDate& date)
{
    if (!CalSelectableDate(date))
        return true;  // a move from no selection at all (a record not yet made)
    HWND window = state->window;
    const bool moved = Packed(date) != state->selected;
    state->selected = Packed(date);
    // The view follows the selection; the month spinner is moved with it.
    const bool otherYear = date.year != state->shown.wYear;
    CalSpinResult show{{static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month)}, otherYear, true};
    if (!CalShowStep(state, show, true))
        return false;
    if (!moved)
        return true;
    CalHideDayTip(state);
    CalAnnounceSelection(window, date.day);
    SendMessageA(GetParent(window), CTN_SELCHANGE, reinterpret_cast<WPARAM>(window), state->selected);
    return StillStands(window, state);
}

void CalPickSelection(const CalToolState* state)
{
    SendMessageA(GetParent(state->window), CTN_SELECT, reinterpret_cast<WPARAM>(state->window), state->selected);
}

bool CalSelectToday(CalToolState* state)
{
    InvalidateRect(state->window, nullptr, FALSE);
    if (!CalReturnToToday(state))
        return false;
    return CalSelect(state, CalRecordToday(state));
}

bool CalFollowNewDay(CalToolState* state, const CalDate& oldToday)
{
    if (!(CalSelectedDate(state) == oldToday))
        return true;
    return CalSelect(state, CalRecordToday(state));
}

LRESULT CalGetSelection(const CalToolState* state)
{
    return state != nullptr ? static_cast<LRESULT>(state->selected) : 0;
}

LRESULT CalSetSelection(CalToolState* state, LPARAM date)
{
    const auto packed = static_cast<DWORD>(date);
    const CalDate d{CalDateYear(packed), CalDateMonth(packed), CalDateDay(packed)};
    if (state == nullptr || !CalSelectableDate(d))
        return 0;
    CalSelect(state, d);
    return 1;
}
