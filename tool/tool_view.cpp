#include "tool/tool_view.h"

#include "tool/background_request.h"
#include "tool/day_marks.h"
#include "tool/selection.h"
#include "view/month_paint.h"

namespace {

bool HighContrastOn()
{
    HIGHCONTRASTW scheme{};
    scheme.cbSize = sizeof scheme;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof scheme, &scheme, 0) &&
        (scheme.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

CalViewColours SystemColours()
{
    CalViewColours colours{};
    colours.face = GetSysColor(COLOR_BTNFACE);
    colours.text = GetSysColor(COLOR_BTNTEXT);
    colours.today = GetSysColor(COLOR_BTNHIGHLIGHT);
    colours.edge = GetSysColor(COLOR_3DDKSHADOW);
    colours.selection = GetSysColor(COLOR_HIGHLIGHT);
    colours.selectionText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    colours.highContrast = HighContrastOn();
    return colours;
}

}  // namespace

CalMonthView CalToolView(const CalToolState* state)
{
    const CalToolSettings& settings = state->settings;
    CalMonthView view{};
    view.window = state->window;
    view.year = state->shown.wYear;
    view.month = state->shown.wMonth;
    view.todayYear = state->todayYear;
    view.todayMonth = state->todayMonth;
    view.todayDay = state->shown.wDay;  // the record keeps today's day there
    view.weekNumbers = settings.weekNumbers;
    view.firstDay = settings.firstDay;
    view.font = state->appliedFont;
    view.hostBackground = settings.useBackground != 0 ? CalRequestBackground : nullptr;
    view.markedDays = CalShownDayMarks(state);
    view.selectedDay = static_cast<WORD>(CalShownSelection(state));
    return view;
}

CalMonthLayout CalToolLayout(const CalToolState* state)
{
    RECT client{};
    GetClientRect(state->window, &client);
    return CalViewLayout(CalToolView(state), client.right, client.bottom);
}

void CalPaintMonth(HWND window, HDC dc, const CalToolState* state)
{
    CalMonthView view = CalToolView(state);
    view.window = window;
    view.colours = SystemColours();
    CalPaintView(dc, view);
}
