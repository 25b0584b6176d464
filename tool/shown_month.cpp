#include "tool/shown_month.h"

#include <windows.h>
#include <commctrl.h>

#include "tool/accessible.h"
#include "tool/day_marks.h"

CalShownMonth CalShownMonthOf(const CalToolState* state)
{
    return CalShownMonth{state->shown.wYear, state->shown.wMonth};
}

void CalSetSpinnerPosition(HWND spinner, WORD position)
{
    SendMessageA(spinner, UDM_SETPOS, 0, MAKELPARAM(position, 0));
}

void CalResetToToday(CalToolState* state)
{
    GetLocalTime(&state->shown);
    CalSetSpinnerPosition(state->monthSpin, state->shown.wMonth);
    CalSetSpinnerPosition(state->yearSpin, state->shown.wYear);
    state->todayMonth = state->shown.wMonth;
    state->todayYear = state->shown.wYear;
}

bool CalReturnToToday(CalToolState* state)
{
    const CalShownMonth before = CalShownMonthOf(state);
    CalResetToToday(state);
    if (state->shown.wYear != before.year || state->shown.wMonth != before.month)
        CalAnnounceShownMonth(state->window);
    return CalAskDayMarks(state);
}

bool CalShowStep(CalToolState* state, const CalSpinResult& step, bool moveMonthSpinner)
{
    const bool changed = step.shown.year != state->shown.wYear || step.shown.month != state->shown.wMonth;
    state->shown.wYear = step.shown.year;
    state->shown.wMonth = step.shown.month;
    if (moveMonthSpinner)
        CalSetSpinnerPosition(state->monthSpin, step.shown.month);
    if (step.setYearSpinner)
        CalSetSpinnerPosition(state->yearSpin, step.shown.year);
    if (step.repaint)
        InvalidateRect(state->window, nullptr, FALSE);
    if (changed)
        CalAnnounceShownMonth(state->window);
    return CalAskDayMarks(state);
}
