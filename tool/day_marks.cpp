#include "tool/day_marks.h"


namespace {

// As many records as there are months from 1601 to 9999: a longer array
// repeats months or is no array at all, and is not read.
constexpr WPARAM kMostRecords = (9999 - 1601 + 1) * 12;

}  // namespace

bool CalMakeDayMarks(CalToolState* state)
{
    state->marks =
        static_cast<CalDayMarkStore*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CalDayMarkStore)));
    return state->marks != nullptr;
}

void CalFreeDayMarks(CalToolState* state)
{
    if (state->marks != nullptr)
        HeapFree(GetProcessHeap(), 0, state->marks);
    state->marks = nullptr;
}

bool CalAskDayMarks(CalToolState* state)
{
    CalDayMarkStore* store = state->marks;
    const LONG year = state->shown.wYear;
    const LONG month = state->shown.wMonth;
    if (store == nullptr || store->asking || !CalMarkableMonth(year, month) ||
        CalFindMarks(store->months, year, month) != nullptr)
        return true;
    HWND window = state->window;
    CalDayMarks asked{year, month, 0};
    store->asking = true;
    const LRESULT answered = SendMessageA(
        GetParent(window), CTN_GETDAYMARKS, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&asked));
    if (!IsWindow(window) || CalToolFromWindow(window) != state)
        return false;  // destroyed while the host answered: the store has gone with it
    store->asking = false;
    CalKeepMarks(store->months, year, month, answered != 0 ? asked.days : 0);
    if (CalShownDayMarks(state) != 0)
        InvalidateRect(window, nullptr, FALSE);
    return true;
}

DWORD CalShownDayMarks(const CalToolState* state)
{
    if (state->marks == nullptr)
        return 0;
    const CalMarkedMonth* kept = CalFindMarks(state->marks->months, state->shown.wYear, state->shown.wMonth);
    return kept != nullptr ? kept->days : 0;
}

LRESULT CalSetDayMarks(CalToolState* state, WPARAM count, LPARAM lParam)
{
    const auto* records = reinterpret_cast<const CalDayMarks*>(lParam);
    if (state == nullptr || state->marks == nullptr || (count != 0 && records == nullptr) || count > kMostRecords)
        return 0;
    if (count == 0)
        CalForgetMarks(state->marks->months);
    for (WPARAM i = 0; i < count; ++i) {
        const CalDayMarks r = records[i];  // read once: the host's array may change under a reader
        CalKeepMarks(state->marks->months, r.year, r.month, r.days);
    }
    InvalidateRect(state->window, nullptr, FALSE);
    // Among many months the shown one may have given way to later ones.
    CalAskDayMarks(state);
    return 1;
}
