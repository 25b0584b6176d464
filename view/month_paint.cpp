#include "view/month_paint.h"

#include "view/contrast.h"
#include "view/month_layout.h"
#include "view/month_text.h"
#include "view/text_font.h"

namespace {

constexpr UINT kCentred = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
constexpr int kWeekNumberMax = 3;
constexpr int kDayNumberMax = 4;

RECT ToRect(const CalRect& r)
{
    return RECT{r.left, r.top, r.right, r.bottom};
}

void DrawClipped(CalTextFonts& fonts, const wchar_t* text, int length, int max, const CalRect& cell, UINT flags)
{
    RECT r = ToRect(cell);
    CalDrawText(fonts, text, length < max ? length : max, &r, flags);
}

void DrawNumber(CalTextFonts& fonts, int number, int max, const CalRect& cell)
{
    wchar_t text[16];
    DrawClipped(fonts, text, wsprintfW(text, L"%d", number), max, cell, kCentred);
}

void DrawWeekNumbers(CalTextFonts& fonts, const CalMonthLayout& layout)
{
    for (int t = 0; t < layout.rowCount; ++t)
        if (layout.week[t].drawn)
            DrawNumber(fonts, layout.week[t].number, kWeekNumberMax, layout.week[t].rect);
}

void DrawSeparator(HDC dc, const CalMonthLayout& layout)
{
    RECT r = ToRect(layout.separator);
    const UINT sides = (layout.separatorSides & CAL_SIDE_LEFT) != 0 ? BF_LEFT | BF_TOP : BF_TOP;
    DrawEdge(dc, &r, EDGE_ETCHED, sides);
}

void DrawHeader(CalTextFonts& fonts, const CalMonthLayout& layout, WORD year, WORD month)
{
    // Days 1 to 7 of the shown month head the seven columns between them.
    CalWeekdayHeader header;
    CalWeekdayHeaders(year, month, header);
    for (WORD d = 1; d <= 7; ++d) {
        const int length = header.length[d - 1];
        DrawClipped(fonts, header.text[d - 1], length, length, layout.header[CalHeaderColumn(layout, d)], kCentred);
    }
}

// How the days are drawn: today and the selected day (0, or a day number
// that a shorter month may not have: then none), and the looks of both.
struct DayLook {
    int today;
    int selected;
    CalDayLook todayLook;
    CalDayLook selectedLook;
    COLORREF textColour;  // the scheme's, for an outline
};

DayLook LookOfDays(const CalMonthView& view, bool faceFilled)
{
    const CalViewColours& c = view.colours;
    // Over the host's background nothing but the selection is filled.
    const CalDayScheme scheme{c.face, c.text, c.today, c.edge, c.selection, c.selectionText, c.highContrast};
    DayLook look{CalViewToday(view), view.selectedDay, {}, {}, c.text};
    look.todayLook = CalLookOfDay(scheme, true, look.today == look.selected);
    look.todayLook.filled = look.todayLook.filled && (faceFilled || look.today == look.selected);
    look.selectedLook = CalLookOfDay(scheme, false, true);
    return look;
}

// Fills and frames take the surface's own colour brush: no brush is made
// for them, and none can fail to be. The surface is the painter's own.
void Fill(HDC dc, const CalRect& cell, COLORREF colour)
{
    SetDCBrushColor(dc, colour);
    RECT r = ToRect(cell);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Frame(HDC dc, const CalRect& cell, COLORREF colour)
{
    SetDCBrushColor(dc, colour);
    RECT r = ToRect(cell);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Today's cell behind its number: a sunken edge on the cell made one pixel
// taller, filled as its look says; the selected day's cell filled with the
// selection colour, and outlined where that colour needs it.
void DrawDayCell(HDC dc, const CalMonthLayout& layout, int day, const DayLook& look)
{
    if (day != look.today) {
        Fill(dc, layout.day[day], look.selectedLook.fill);
        if (look.selectedLook.outlined)
            Frame(dc, layout.day[day], look.textColour);
        return;
    }
    RECT edge = ToRect(layout.todayEdge);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (look.todayLook.filled)
        Fill(dc, layout.todayFill, look.todayLook.fill);
    if (look.todayLook.framed)
        Frame(dc, layout.todayFill, look.todayLook.text);
}

CalRect Shifted(const CalRect& r, int dx)
{
    return CalRect{r.left + dx, r.top, r.right + dx, r.bottom};
}

// The numbers of the days in days, bit n - 1 for day n, in fonts, each in
// the order of the month and moved dx pixels along the row; the cells of
// today and of the selected day go in their turn when cells says so.
void DrawDays(CalTextFonts& fonts, const CalMonthLayout& layout, DWORD days, const DayLook& look, bool cells,
    int dx = 0)
{
    for (int d = 1; d <= layout.dayCount; ++d) {
        if (cells && (d == look.today || d == look.selected))
            DrawDayCell(fonts.dc, layout, d, look);
        if (((days >> (d - 1)) & 1u) == 0)
            continue;
        const CalRect& cell = d == look.today ? layout.todayNumber : layout.day[d];
        const bool own = d == look.today || d == look.selected;
        const COLORREF colour = d == look.today ? look.todayLook.text : look.selectedLook.text;
        const COLORREF oldText = own ? SetTextColor(fonts.dc, colour) : CLR_INVALID;
        DrawNumber(fonts, d, kDayNumberMax, Shifted(cell, dx));
        if (oldText != CLR_INVALID)
            SetTextColor(fonts.dc, oldText);
    }
}

// The marked days, in the bold font selected for them. Without it (no
// resources) they are drawn in the regular weight rather than not at all.
// Where the tool's font is bold already, few faces have a heavier weight:
// the numbers are struck twice, a pixel apart, so that they still stand out.
void DrawMarkedDays(HDC dc, const CalMonthLayout& layout, const CalMonthView& view, const DayLook& look,
    CalBoldTexts& bold)
{
    HGDIOBJ old = bold.font != nullptr ? SelectObject(dc, bold.font) : nullptr;
    CalBeginTexts(bold.texts, dc, bold.stored);
    DrawDays(bold.texts, layout, view.markedDays, look, false);
    if (view.font.lfWeight >= FW_BOLD)
        DrawDays(bold.texts, layout, view.markedDays, look, false, 1);
    CalEndTexts(bold.texts);
    if (old != nullptr)
        SelectObject(dc, old);
}

void DrawTitle(CalTextFonts& fonts, const CalMonthLayout& layout, WORD year, WORD month)
{
    CalText title;
    const int length = CalFormatTitle(year, month, title);
    DrawClipped(fonts, title, length, CAL_TITLE_MAX, layout.title, DT_SINGLELINE | DT_CENTER);
}

// Everything inside the frame, drawn into the off-screen surface dc, whose
// brush, font and text colour are already the view's. Returns where it all
// lies, for the focus mark.
CalMonthLayout ComposeView(
    HDC dc, const RECT& client, HBRUSH face, const CalMonthView& view, CalTextFonts& fonts, CalBoldTexts& bold)
{
    const bool hostBackground = view.hostBackground != nullptr;
    if (hostBackground)
        view.hostBackground(view.window, &client, dc);

    RECT r = client;
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT | BF_ADJUST);
    if (!hostBackground)
        FillRect(dc, &r, face);
    const int oldMode = SetBkMode(dc, TRANSPARENT);

    const CalMonthLayout layout = CalViewLayout(view, client.right, client.bottom);
    CalBeginTexts(fonts, dc, view.font);
    if (view.weekNumbers != 0)
        DrawWeekNumbers(fonts, layout);
    DrawSeparator(dc, layout);
    DrawHeader(fonts, layout, view.year, view.month);
    const DayLook look = LookOfDays(view, !hostBackground);
    DrawDays(fonts, layout, ~view.markedDays, look, true);
    DrawTitle(fonts, layout, view.year, view.month);
    CalEndTexts(fonts);
    if (view.markedDays != 0)
        DrawMarkedDays(dc, layout, view, look, bold);
    SetBkMode(dc, oldMode);
    return layout;
}

// The focus mark shows while the tool has the keyboard focus, unless the
// keyboard cues are hidden (the window's UI state), as standard controls do.
bool ShowsFocusMark(HWND window)
{
    if (GetFocus() != window)
        return false;
    return (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

// On the selected day while its month is shown, just inside its cell (or
// inside today's edge): else a dotted line round the face, just inside the
// frame, where the one-pixel band between the frame and the inner rectangle
// holds nothing else. It is an inversion, drawn with the surface's own
// colours put back, so it comes out the same over any fill and over the
// host's background.
void DrawFocusMark(HDC dc, const RECT& client, const CalMonthView& view, const CalMonthLayout& layout)
{
    const int day = view.selectedDay;
    RECT mark = client;
    if (day >= 1 && day <= layout.dayCount) {
        mark = ToRect(day == CalViewToday(view) ? layout.todayFill : layout.day[day]);
        InflateRect(&mark, -1, -1);
    } else {
        InflateRect(&mark, -2, -2);
    }
    DrawFocusRect(dc, &mark);
}

}  // namespace

void CalPaintView(HDC dc, const CalMonthView& view)
{
    HWND window = view.window;
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return;  // nothing to show, and no zero-sized bitmap to make

    // Without an off-screen surface nothing is drawn: the window keeps what
    // it showed rather than a half-drawn month.
    HDC offscreen = CreateCompatibleDC(dc);
    HBITMAP bitmap = offscreen != nullptr ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
    if (bitmap == nullptr) {
        if (offscreen != nullptr)
            DeleteDC(offscreen);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(offscreen, bitmap);
    if (oldBitmap == nullptr) {
        DeleteDC(offscreen);
        DeleteObject(bitmap);
        return;
    }
    // A mirrored window (a right-to-left host) gets a mirrored surface, so
    // that the transfer keeps the picture as drawn: columns run from the
    // right, texts read normally. A surface takes a layout only once its
    // bitmap is selected.
    const DWORD layout = GetLayout(dc);
    if (layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0)
        SetLayout(offscreen, layout);

    HBRUSH face = CreateSolidBrush(view.colours.face);
    HGDIOBJ oldBrush = SelectObject(offscreen, face);
    const COLORREF oldTextColor = SetTextColor(offscreen, view.colours.text);
    HFONT font = CalCreateStoredFont(view.font);
    HGDIOBJ oldFont = font != nullptr ? SelectObject(offscreen, font) : nullptr;
    // Made and released as the regular font is, and only for a month with marks.
    CalBoldTexts bold{};
    bold.stored = CalBoldFont(view.font);
    bold.font = view.markedDays != 0 ? CalCreateStoredFont(bold.stored) : nullptr;

    CalTextFonts fonts;
    const CalMonthLayout shown = ComposeView(offscreen, client, face, view, fonts, bold);

    if (oldTextColor != CLR_INVALID)
        SetTextColor(offscreen, oldTextColor);
    SelectObject(offscreen, oldBrush);
    if (oldFont != nullptr)
        SelectObject(offscreen, oldFont);
    if (ShowsFocusMark(window))
        DrawFocusMark(offscreen, client, view, shown);

    // The whole client area in one transfer, whatever the update region.
    GetClientRect(window, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, offscreen, 0, 0, SRCCOPY);

    SelectObject(offscreen, oldBitmap);
    // The surface goes before the objects: a selection that could not be
    // undone is let go with it, and every object is then free to delete.
    DeleteDC(offscreen);
    CalFreeTexts(fonts);
    CalFreeTexts(bold.texts);
    DeleteObject(bitmap);
    if (font != nullptr)
        DeleteObject(font);
    if (bold.font != nullptr)
        DeleteObject(bold.font);
    if (face != nullptr)
        DeleteObject(face);
}
