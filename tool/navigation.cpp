#include "tool/navigation.h"

CalSpinnerPlacement CalPlaceSpinners(const CalRect& client)
{
    CalSpinnerPlacement p{};
    const int64_t w = int64_t{client.right} - client.left;
    const int64_t h = int64_t{client.bottom} - client.top;
    if (w <= 0 || h <= 0)
        return p;
    // Truncating division: a client narrower than 11 pixels gets spinners
    // 0 pixels wide rather than negative ones.
    p.place = true;
    p.width = static_cast<int32_t>((w - 4) / 7);
    p.height = static_cast<int32_t>((h - 4) / 8);
    p.monthX = client.left + 2;
    p.yearX = static_cast<int32_t>(int64_t{client.right} - p.width - 2);
    p.y = client.top + 2;
    return p;
}

CalSpinResult CalMonthSpinReport(CalShownMonth shown, int32_t spinDelta, uint32_t position)
{
    CalSpinResult r{shown, false, true};
    // The real spinner reports only 1..12; anything else would break the
    // month's range that every other part of the tool relies on.
    if (spinDelta == 0 || position < 1 || position > 12)
        return r;
    if (spinDelta < 0 && position > shown.month) {
        --r.shown.year;  // wrapped from January to December
        r.setYearSpinner = true;
    } else if (spinDelta > 0 && position < shown.month) {
        ++r.shown.year;  // wrapped from December to January
        r.setYearSpinner = true;
    }
    r.shown.month = static_cast<uint16_t>(position);
    return r;
}

CalSpinResult CalYearSpinReport(CalShownMonth shown, uint32_t position)
{
    CalSpinResult r{shown, false, false};
    if (position != shown.year) {
        r.shown.year = static_cast<uint16_t>(position);
        r.repaint = true;
    }
    return r;
}

CalKeyStep CalStepForKey(uint32_t key, bool control)
{
    switch (key) {
        case CAL_KEY_PAGE_DOWN:
            return control ? CalKeyStep::NextYear : CalKeyStep::NextMonth;
        case CAL_KEY_PAGE_UP:
            return control ? CalKeyStep::PreviousYear : CalKeyStep::PreviousMonth;
        case CAL_KEY_RIGHT:
            return CalKeyStep::NextMonth;
        case CAL_KEY_LEFT:
            return CalKeyStep::PreviousMonth;
        case CAL_KEY_HOME:
            return CalKeyStep::Today;
        default:
            return CalKeyStep::None;
    }
}

CalSpinResult CalStepMonth(CalShownMonth shown, int direction)
{
    // Where the wrapping month spinner lands, then its report as it sends it.
    const int sign = direction > 0 ? 1 : -1;
    const int month = shown.month >= 1 && shown.month <= 12 ? shown.month : 1;
    const auto position = static_cast<uint32_t>((month - 1 + sign + 12) % 12 + 1);
    return CalMonthSpinReport(CalShownMonth{shown.year, static_cast<uint16_t>(month)}, sign, position);
}

CalSpinResult CalStepYear(CalShownMonth shown, int direction)
{
    constexpr int kFirst = 1601;
    constexpr int kLast = 9999;
    const int year = shown.year + (direction > 0 ? 1 : -1);
    if (year < kFirst && year < shown.year)
        return CalSpinResult{shown, false, false};
    if (year > kLast && year > shown.year)
        return CalSpinResult{shown, false, false};
    CalSpinResult r{shown, true, true};
    r.shown.year = static_cast<uint16_t>(year);
    return r;
}
