#include "tool/context_menu.h"

#include "dialogs/labels.h"
#include "resource.h"
#include "tool/tool_view.h"
#include "view/month_text.h"

namespace {

// A string item: at most 99 characters, or 96 and then "..." for an item
// that opens a dialog.
void AppendText(HMENU menu, UINT flags, UINT_PTR id, UINT stringId, const wchar_t* fallback, bool dots)
{
    wchar_t text[100];
    CalLoadLabel(stringId, dots ? 96 : 99, fallback, dots ? L"..." : L"", text);
    AppendMenuW(menu, MF_STRING | flags, id, text);
}

void FillWeekdays(HMENU weekdays, LONG firstDay)
{
    for (int i = 0; i < 7; ++i) {
        CalText name;
        CalWeekdayName(i, name);
        AppendMenuW(weekdays, MF_STRING, IDM_FIRSTDAY0 + i, name);
    }
    // A first day outside 0..6 names no item, and no item is marked.
    const UINT marked = IDM_FIRSTDAY0 + static_cast<UINT>(firstDay);  // unsigned: any stored value is safe
    CheckMenuRadioItem(weekdays, IDM_FIRSTDAY0, IDM_FIRSTDAY0 + 6, marked, MF_BYCOMMAND);
}

}  // namespace

void CalShowContextMenu(const CalToolState* state, LPARAM point)
{
    POINT at{static_cast<LONG>(LOWORD(point)), static_cast<LONG>(HIWORD(point))};
    ClientToScreen(state->window, &at);
    CalShowContextMenuAt(state, at);
}

POINT CalKeyboardMenuPoint(const CalToolState* state)
{
    const CalMonthLayout layout = CalToolLayout(state);
    POINT at{layout.title.left, layout.title.top + layout.rowHeight};
    ClientToScreen(state->window, &at);
    return at;
}

void CalShowContextMenuAt(const CalToolState* state, POINT at)
{
    const CalToolSettings& s = state->settings;
    HMENU menu = CreatePopupMenu();
    HMENU weekdays = CreatePopupMenu();
    FillWeekdays(weekdays, s.firstDay);

    AppendText(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(weekdays), IDS_FIRSTDAY, L"First Week Day", false);
    AppendText(
        menu, s.weekNumbers != 0 ? MF_CHECKED : 0, IDM_WEEKNUMBERS, IDS_WEEKNUMBERS, L"Week Numbers", false);
    AppendText(
        menu, s.useBackground != 0 ? MF_CHECKED : 0, IDC_USEBACKGROUND, IDS_USEBACKGROUND, nullptr, false);
    AppendText(menu, 0, IDM_SELECTFONT, IDS_SELECTFONT, L"Select Font", true);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendText(menu, 0, IDC_ABOUT, IDS_ABOUT, nullptr, true);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendText(menu, 0, IDM_PROPERTIES, IDS_PROPERTIES, nullptr, true);

    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, at.x, at.y, state->window, nullptr);
    // The submenu goes first; destroying the main menu afterwards finds it
    // already gone.
    DestroyMenu(weekdays);
    DestroyMenu(menu);
}
