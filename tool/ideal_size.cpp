#include "tool/ideal_size.h"

#include "tool/fit_size.h"
#include "tool/tool_settings.h"
#include "view/month_text.h"

namespace {

constexpr uint32_t kSizeWithoutDc = 0x7800A0;  // 160 x 120
constexpr const char* kDigitRows[3] = {
    "11 11 11 11 11 11 11 11", "22 22 22 22 22 22 22 22", "33 33 33 33 33 33 33 33"};

// False when the platform could not measure: r is then left as it was.
bool Measure(HDC dc, const char* text, RECT& r, CalTextExtent& extent)
{
    if (DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE) == 0)
        return false;
    extent = CalTextExtent{r.right, r.bottom};
    return true;
}

}  // namespace

uint32_t CalMeasureIdealSize(const CalToolState* state, HWND window)
{
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return kSizeWithoutDc;
    HFONT font = CalCreateStoredFont(state->settings.font);
    HGDIOBJ displaced = font != nullptr ? SelectObject(dc, font) : nullptr;
    // Without the tool's font the measurement is made in the DC's own font;
    // a text the platform refuses to format or measure is no answer, and the
    // host is then given the size without a DC.
    bool measured = true;

    RECT r{0, 0, 0, 0};
    CalTextExtent months[12];
    for (WORD m = 1; m <= 12 && measured; ++m) {
        r.right = 1000;
        r.bottom = 1000;
        // Room for a 19-byte name and the year after it.
        char name[20];
        char text[32];
        measured = CalMonthName(state->shown.wYear, m, name) > 0;
        lstrcpyA(text, name);
        lstrcatA(text, " 9999");
        measured = measured && Measure(dc, text, r, months[m - 1]);
    }
    // A single line's extent does not depend on the rectangle it starts from.
    CalTextExtent digitRows[3];
    for (int i = 0; i < 3 && measured; ++i)
        measured = Measure(dc, kDigitRows[i], r, digitRows[i]);

    if (displaced != nullptr)
        SelectObject(dc, displaced);
    // The DC goes back before the font is deleted: whatever could not be
    // selected back leaves the DC with it.
    ReleaseDC(window, dc);
    if (font != nullptr)
        DeleteObject(font);
    return measured ? CalCombineIdealSize(months, digitRows) : kSizeWithoutDc;
}
