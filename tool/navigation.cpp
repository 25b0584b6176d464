#include "tool/navigation.h"

#include "calendar/calendar.h"

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

bool CalSelectableDate(const CalDate& date)
{
    return date.year >= CAL_FIRST_YEAR && date.year <= CAL_LAST_YEAR && date.day >= 1 &&
        date.day <= CalMonthLength(date.year, date.month);
}

namespace {

// A few days either way, across month and year ends.
CalDate ByDays(CalDate d, int32_t days)
{
    d.day += days;
    while (d.day < 1) {
        if (--d.month < 1) {
            d.month = 12;
            --d.year;
        }
        d.day += CalMonthLength(d.year, d.month);
    }
    while (d.day > CalMonthLength(d.year, d.month)) {
        d.day -= CalMonthLength(d.year, d.month);
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

CalDate ByMonths(const CalDate& date, int32_t months)
{
    const int32_t index = date.year * 12 + (date.month - 1) + months;
    CalDate to{index / 12, index % 12 + 1, date.day};
    const int32_t length = CalMonthLength(to.year, to.month);
    to.day = to.day < length ? to.day : length;
    return to;
}

}  // namespace

CalDate CalMoveDate(const CalDate& date, CalDateMove move)
{
    if (!CalSelectableDate(date))
        return date;
    CalDate to = date;
    switch (move) {
        case CalDateMove::DayBack: to = ByDays(date, -1); break;
        case CalDateMove::DayOn: to = ByDays(date, 1); break;
        case CalDateMove::WeekBack: to = ByDays(date, -7); break;
        case CalDateMove::WeekOn: to = ByDays(date, 7); break;
        case CalDateMove::MonthBack: to = ByMonths(date, -1); break;
        case CalDateMove::MonthOn: to = ByMonths(date, 1); break;
        case CalDateMove::YearBack: to = ByMonths(date, -12); break;
        case CalDateMove::YearOn: to = ByMonths(date, 12); break;
    }
    return CalSelectableDate(to) ? to : date;
}

CalKeyStep CalStepForKey(uint32_t key, bool control)
{
    const auto move = [](CalDateMove m) { return CalKeyStep{CalKeyAction::Move, m}; };
    switch (key) {
        case CAL_KEY_LEFT: return move(CalDateMove::DayBack);
        case CAL_KEY_RIGHT: return move(CalDateMove::DayOn);
        case CAL_KEY_UP: return move(CalDateMove::WeekBack);
        case CAL_KEY_DOWN: return move(CalDateMove::WeekOn);
        case CAL_KEY_PAGE_UP: return move(control ? CalDateMove::YearBack : CalDateMove::MonthBack);
        case CAL_KEY_PAGE_DOWN: return move(control ? CalDateMove::YearOn : CalDateMove::MonthOn);
        case CAL_KEY_HOME: return CalKeyStep{CalKeyAction::Today, CalDateMove::DayOn};
        case CAL_KEY_RETURN:
        case CAL_KEY_SPACE: return CalKeyStep{CalKeyAction::Pick, CalDateMove::DayOn};
        default: return CalKeyStep{CalKeyAction::None, CalDateMove::DayOn};
    }
}
