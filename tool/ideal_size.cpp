#include "tool/ideal_size.h"

#include "tool/fit_size.h"
#include "tool/tool_settings.h"
#include "view/month_text.h"

namespace {

constexpr uint32_t kSizeWithoutDc = 0x7800A0;  // 160 x 120
constexpr const char* kDigitRows[3] = {
    "11 11 11 11 11 11 11 11", "22 22 22 22 22 22 22 22", "33 33 33 33 33 33 33 33"};

CalTextExtent Measure(HDC dc, const char* text, RECT& r)
{
    DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return CalTextExtent{r.right, r.bottom};
}

}  // namespace

uint32_t CalMeasureIdealSize(const CalToolState* state, HWND window)
{
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return kSizeWithoutDc;
    HFONT font = CalCreateStoredFont(state->settings.font);
    HGDIOBJ displaced = font != nullptr ? SelectObject(dc, font) : nullptr;

    RECT r{0, 0, 0, 0};
    CalTextExtent months[12];
    for (WORD m = 1; m <= 12; ++m) {
        r.right = 1000;
        r.bottom = 1000;
        // Room for a 19-byte name and the year after it.
        char name[20];
        char text[32];
        CalMonthName(state->shown.wYear, m, name);
        lstrcpyA(text, name);
        lstrcatA(text, " 9999");
        months[m - 1] = Measure(dc, text, r);
    }
    // A single line's extent does not depend on the rectangle it starts from.
    CalTextExtent digitRows[3];
    for (int i = 0; i < 3; ++i)
        digitRows[i] = Measure(dc, kDigitRows[i], r);

    if (font != nullptr) {
        SelectObject(dc, displaced);
        DeleteObject(font);
    }
    ReleaseDC(window, dc);
    return CalCombineIdealSize(months, digitRows);
}
