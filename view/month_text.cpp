#include "view/month_text.h"

#include "calendar/calendar.h"
#include "view/text_units.h"

static_assert(sizeof(wchar_t) == 2, "the platform's texts are UTF-16");

namespace {

// Copies at most max units of whole characters of text into out and
// terminates it. Returns the length copied.
int CopyWhole(const wchar_t* text, int length, int max, CalText& out)
{
    const int n = CalWholePrefix(text, length, max < CAL_TITLE_MAX ? max : CAL_TITLE_MAX);
    CopyMemory(out, text, n * sizeof(wchar_t));
    out[n] = L'\0';
    return n;
}

// The formatter's text for the date and picture into text, or -1.
int Formatted(WORD year, WORD month, WORD day, const wchar_t* picture, wchar_t (&text)[80])
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, picture, text, 80);
    return n > 0 ? n - 1 : -1;  // the count includes the terminator
}

// A locale text such as a month or day name, -1 when there is none.
int LocaleText(LCTYPE type, wchar_t (&text)[80])
{
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80);
    return n > 0 ? n - 1 : -1;
}

// The full name of the weekday of the date, from the formatter, or else
// from the locale's names; "" when neither has one.
int FullWeekdayName(WORD year, WORD month, WORD day, wchar_t (&name)[80])
{
    int n = Formatted(year, month, day, L"dddd", name);
    if (n < 0)  // LOCALE_SDAYNAME1 is Monday, as CalDayOfWeek counts
        n = LocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>(CalDayOfWeek(year, month, day)), name);
    if (n < 0) {
        name[0] = L'\0';
        n = 0;
    }
    return n;
}

}  // namespace

int CalMonthName(WORD month, CalText& out)
{
    wchar_t name[80];
    int n = -1;
    if (month >= 1 && month <= 12) {
        n = LocaleText(LOCALE_SMONTHNAME1 + month - 1u, name);
        // The formatter gives the same name for a month without a day.
        if (n < 0)
            n = Formatted(2000, month, 1, L"MMMM", name);
    }
    return n < 0 ? CopyWhole(L"", 0, 0, out) : CopyWhole(name, n, CAL_TITLE_MAX, out);
}

int CalFormatTitle(WORD year, WORD month, CalText& out)
{
    // The formatter may decline the name in "MMMM yyyy" (the genitive, as
    // before a day); the title names the month alone, so it is joined here
    // from the name and the formatter's year.
    CalText name;
    CalMonthName(month, name);
    wchar_t yearText[80];
    int yearLength = Formatted(year, month >= 1 && month <= 12 ? month : 1, 1, L"yyyy", yearText);
    if (yearLength < 0)
        yearLength = wsprintfW(yearText, L"%04d", year);
    wchar_t title[100];
    const int length = wsprintfW(title, L"%s %s", name, yearText);
    return CopyWhole(title, length, CAL_TITLE_MAX, out);
}

void CalWeekdayHeaders(WORD year, WORD month, CalWeekdayHeader& out)
{
    const wchar_t* initials[7];
    for (WORD d = 1; d <= 7; ++d) {
        wchar_t name[80];
        const int n = FullWeekdayName(year, month, d, name);
        out.length[d - 1] = CopyWhole(name, n, CalFirstCharacter(name, n), out.text[d - 1]);
        initials[d - 1] = out.text[d - 1];
    }
    out.shortest = CalDistinctTexts(initials, out.length) < CAL_DISTINCT_INITIALS;
    if (!out.shortest)
        return;
    for (WORD d = 1; d <= 7; ++d) {
        wchar_t name[80];
        // LOCALE_SSHORTESTDAYNAME1 is Monday, as CalDayOfWeek counts.
        const int n = LocaleText(LOCALE_SSHORTESTDAYNAME1 + static_cast<LCTYPE>(CalDayOfWeek(year, month, d)), name);
        if (n > 0)  // a locale without them keeps its initials
            out.length[d - 1] = CopyWhole(name, n, CAL_TITLE_MAX, out.text[d - 1]);
    }
}

int CalWeekdayNameIn(const SYSTEMTIME& today, int weekday, CalText& out)
{
    // The first Sunday and the six days after it lie within the 13th, so
    // the dates are valid in every month.
    const int32_t sunday = CalFirstSunday(today.wDay, today.wDayOfWeek);
    const WORD day = static_cast<WORD>(sunday + weekday);
    wchar_t name[80];
    const int n = FullWeekdayName(today.wYear, today.wMonth, day, name);
    return CopyWhole(name, n, CAL_TITLE_MAX, out);
}

int CalWeekdayName(int weekday, CalText& out)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    return CalWeekdayNameIn(today, weekday, out);
}

int CalLongDate(WORD year, WORD month, WORD day, wchar_t* out, int capacity)
{
    if (capacity <= 0)
        return 0;
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    date.wDayOfWeek = static_cast<WORD>((CalDayOfWeek(year, month, day) + 1) % 7);  // from Monday = 0
    wchar_t text[128];
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &date, nullptr, text, 128) - 1;
    if (n < 0) {
        CalText title;
        CalFormatTitle(year, month, title);
        n = wsprintfW(text, L"%u %s", day, title);
    }
    n = CalWholePrefix(text, n, capacity - 1);
    CopyMemory(out, text, n * sizeof(wchar_t));
    out[n] = L'\0';
    return n;
}
