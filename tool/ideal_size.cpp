#include "tool/ideal_size.h"

#include "tool/fit_size.h"
#include "view/month_text.h"
#include "view/text_font.h"

namespace {

constexpr uint32_t kSizeWithoutDc = 0x7800A0;  // 160 x 120
constexpr const wchar_t* kDigitRows[3] = {
    L"11 11 11 11 11 11 11 11", L"22 22 22 22 22 22 22 22", L"33 33 33 33 33 33 33 33"};

// False when the platform could not measure: r is then left as it was.
bool Measure(CalTextFonts& fonts, const wchar_t* text, int length, RECT& r, CalTextExtent& extent)
{
    if (CalDrawText(fonts, text, length, &r, DT_CALCRECT | DT_SINGLELINE) == 0)
        return false;
    extent = CalTextExtent{r.right, r.bottom};
    return true;
}

// The widest and tallest header any month shows: the header's texts are
// the same weekdays whatever the month, in another order.
bool MeasureHeader(CalTextFonts& fonts, WORD year, CalTextExtent (&headers)[7])
{
    CalWeekdayHeader header;
    CalWeekdayHeaders(year >= 1601 && year <= 9999 ? year : 2000, 1, header);
    for (int d = 0; d < 7; ++d) {
        RECT r{0, 0, 1000, 1000};
        headers[d] = CalTextExtent{0, 0};
        if (header.length[d] > 0 && !Measure(fonts, header.text[d], header.length[d], r, headers[d]))
            return false;
    }
    return true;
}

}  // namespace

uint32_t CalMeasureIdealSize(const CalMonthView& view)
{
    HWND window = view.window;
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return kSizeWithoutDc;
    HFONT font = CalCreateStoredFont(view.font);
    HGDIOBJ displaced = font != nullptr ? SelectObject(dc, font) : nullptr;
    CalTextFonts fonts;
    CalBeginTexts(fonts, dc, view.font);
    // Without the tool's font the measurement is made in the DC's own font;
    // a text the platform refuses to format or measure is no answer, and the
    // host is then given the size without a DC.
    bool measured = true;

    RECT r{0, 0, 0, 0};
    CalTextExtent months[12];
    for (WORD m = 1; m <= 12 && measured; ++m) {
        r.right = 1000;
        r.bottom = 1000;
        // Room for a 19-unit name and the year after it.
        CalText name;
        wchar_t text[32];
        measured = CalMonthName(m, name) > 0;
        const int length = wsprintfW(text, L"%s 9999", name);
        measured = measured && Measure(fonts, text, length, r, months[m - 1]);
    }
    // A single line's extent does not depend on the rectangle it starts from.
    CalTextExtent digitRows[3];
    for (int i = 0; i < 3 && measured; ++i)
        measured = Measure(fonts, kDigitRows[i], -1, r, digitRows[i]);
    CalTextExtent headers[7];
    measured = measured && MeasureHeader(fonts, view.year, headers);

    CalEndTexts(fonts);
    if (displaced != nullptr)
        SelectObject(dc, displaced);
    // The DC goes back before the font is deleted: whatever could not be
    // selected back leaves the DC with it.
    ReleaseDC(window, dc);
    CalFreeTexts(fonts);
    if (font != nullptr)
        DeleteObject(font);
    return measured ? CalWidenForHeader(CalCombineIdealSize(months, digitRows), headers) : kSizeWithoutDc;
}
