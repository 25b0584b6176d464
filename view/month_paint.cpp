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

// Today's cell: a sunken edge on the cell made one pixel taller, filled with
// the highlight colour unless the host's background is to show through. In a
// high-contrast scheme, or one whose highlight would swallow the text, the
// fill and the number take the selection colours, as a selected item does.
void DrawToday(CalTextFonts& fonts, const CalMonthLayout& layout, int day, bool fill, const CalViewColours& colours)
{
    HDC dc = fonts.dc;
    const bool selection = fill && CalTodayInSelectionColours(colours.highContrast, colours.today, colours.text);
    HBRUSH highlight = CreateSolidBrush(selection ? colours.selection : colours.today);
    RECT edge = ToRect(layout.todayEdge);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (highlight != nullptr && fill) {
        RECT inside = ToRect(layout.todayFill);
        FillRect(dc, &inside, highlight);
    }
    const COLORREF oldText = selection ? SetTextColor(dc, colours.selectionText) : CLR_INVALID;
    DrawNumber(fonts, day, kDayNumberMax, layout.todayNumber);
    if (oldText != CLR_INVALID)
        SetTextColor(dc, oldText);
    if (highlight != nullptr)
        DeleteObject(highlight);
}

// today is 0, or a day number that a shorter month may not have: then no
// day is marked.
void DrawDays(CalTextFonts& fonts, const CalMonthLayout& layout, int today, bool fillToday,
    const CalViewColours& colours)
{
    for (int d = 1; d <= layout.dayCount; ++d) {
        if (d == today)
            DrawToday(fonts, layout, d, fillToday, colours);
        else
            DrawNumber(fonts, d, kDayNumberMax, layout.day[d]);
    }
}

void DrawTitle(CalTextFonts& fonts, const CalMonthLayout& layout, WORD year, WORD month)
{
    CalText title;
    const int length = CalFormatTitle(year, month, title);
    DrawClipped(fonts, title, length, CAL_TITLE_MAX, layout.title, DT_SINGLELINE | DT_CENTER);
}

// Everything inside the frame, drawn into the off-screen surface dc, whose
// brush, font and text colour are already the view's.
void ComposeView(HDC dc, const RECT& client, HBRUSH face, const CalMonthView& view, CalTextFonts& fonts)
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
    DrawDays(fonts, layout, CalViewToday(view), !hostBackground, view.colours);
    DrawTitle(fonts, layout, view.year, view.month);
    CalEndTexts(fonts);
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

    CalTextFonts fonts;
    ComposeView(offscreen, client, face, view, fonts);

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
    DeleteObject(bitmap);
    if (font != nullptr)
        DeleteObject(font);
    if (face != nullptr)
        DeleteObject(face);
}
