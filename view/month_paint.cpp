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

// Today's cell behind its number: a sunken edge on the cell made one pixel
// taller, filled with the highlight colour unless the host's background is to
// show through. In a high-contrast scheme, or one whose highlight would
// swallow the text, the fill and the number take the selection colours, as a
// selected item does: the result says so.
bool DrawTodayCell(HDC dc, const CalMonthLayout& layout, bool fill, const CalViewColours& colours)
{
    const bool selection = fill && CalTodayInSelectionColours(colours.highContrast, colours.today, colours.text);
    HBRUSH highlight = CreateSolidBrush(selection ? colours.selection : colours.today);
    RECT edge = ToRect(layout.todayEdge);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (highlight != nullptr && fill) {
        RECT inside = ToRect(layout.todayFill);
        FillRect(dc, &inside, highlight);
    }
    if (highlight != nullptr)
        DeleteObject(highlight);
    return selection;
}

// How the days are drawn: today (0, or a day number that a shorter month may
// not have: then no day is today), whether today's cell is filled, and, once
// the cell is drawn, whether its number takes the selection colour.
struct DayLook {
    int today;
    bool fillToday;
    const CalViewColours& colours;
    bool todaySelected;
};

CalRect Shifted(const CalRect& r, int dx)
{
    return CalRect{r.left + dx, r.top, r.right + dx, r.bottom};
}

// The numbers of the days in days, bit n - 1 for day n, in fonts, each in
// the order of the month and moved dx pixels along the row; today's cell
// goes in its turn when cells says so.
void DrawDays(CalTextFonts& fonts, const CalMonthLayout& layout, DWORD days, DayLook& look, bool cells, int dx = 0)
{
    for (int d = 1; d <= layout.dayCount; ++d) {
        if (cells && d == look.today)
            look.todaySelected = DrawTodayCell(fonts.dc, layout, look.fillToday, look.colours);
        if (((days >> (d - 1)) & 1u) == 0)
            continue;
        if (d != look.today) {
            DrawNumber(fonts, d, kDayNumberMax, Shifted(layout.day[d], dx));
            continue;
        }
        const COLORREF oldText =
            look.todaySelected ? SetTextColor(fonts.dc, look.colours.selectionText) : CLR_INVALID;
        DrawNumber(fonts, d, kDayNumberMax, Shifted(layout.todayNumber, dx));
        if (oldText != CLR_INVALID)
            SetTextColor(fonts.dc, oldText);
    }
}

// The marked days, in the bold font selected for them. Without it (no
// resources) they are drawn in the regular weight rather than not at all.
// Where the tool's font is bold already, few faces have a heavier weight:
// the numbers are struck twice, a pixel apart, so that they still stand out.
void DrawMarkedDays(HDC dc, const CalMonthLayout& layout, const CalMonthView& view, DayLook& look,
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
// brush, font and text colour are already the view's.
void ComposeView(
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
    DayLook look{CalViewToday(view), !hostBackground, view.colours, false};
    DrawDays(fonts, layout, ~view.markedDays, look, true);
    DrawTitle(fonts, layout, view.year, view.month);
    CalEndTexts(fonts);
    if (view.markedDays != 0)
        DrawMarkedDays(dc, layout, view, look, bold);
    SetBkMode(dc, oldMode);
}

// The focus mark shows while the tool has the keyboard focus, unless the
// keyboard cues are hidden (the window's UI state), as standard controls do.
bool ShowsFocusMark(HWND window)
{
    if (GetFocus() != window)
        return false;
    return (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

// A dotted line round the face, just inside the frame: the one-pixel band
// between the frame and the inner rectangle holds nothing else. It is an
// inversion, drawn with the surface's own colours put back, so it comes out
// the same over the face and over the host's background.
void DrawFocusMark(HDC dc, const RECT& client)
{
    RECT face = client;
    InflateRect(&face, -2, -2);
    DrawFocusRect(dc, &face);
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
    ComposeView(offscreen, client, face, view, fonts, bold);

    if (oldTextColor != CLR_INVALID)
        SetTextColor(offscreen, oldTextColor);
    SelectObject(offscreen, oldBrush);
    if (oldFont != nullptr)
        SelectObject(offscreen, oldFont);
    if (ShowsFocusMark(window))
        DrawFocusMark(offscreen, client);

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
