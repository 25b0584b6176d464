#include "view/month_text.h"

#include "calendar/calendar.h"

namespace {

// Length of the longest prefix of text within max bytes made of whole
// characters: it never ends in the lead byte of a double-byte character,
// not even one that the text itself leaves without its trail byte.
int WholeCharacters(const char* text, int max)
{
    int n = 0;
    while (text[n] != '\0') {
        const bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[n]));
        if (lead && text[n + 1] == '\0')
            break;
        const int step = lead ? 2 : 1;
        if (n + step > max)
            break;
        n += step;
    }
    return n;
}

int Formatted(WORD year, WORD month, WORD day, const char* picture, char (&out)[20])
{
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, picture, out, sizeof out);
    return n > 0 ? n - 1 : -1;  // the count includes the terminator
}

// A locale name such as a month or day name, "" when there is none.
void LocaleName(LCTYPE type, char (&name)[80])
{
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, name, sizeof name) == 0)
        name[0] = '\0';
}

// The formatter's text for the date, or else the locale name, cut to whole
// characters within out.
int FormattedOrName(WORD year, WORD month, WORD day, const char* picture, LCTYPE fallback, char (&out)[20])
{
    const int n = Formatted(year, month, day, picture, out);
    if (n >= 0)
        return n;
    char name[80];
    LocaleName(fallback, name);
    const int length = WholeCharacters(name, static_cast<int>(sizeof out) - 1);
    CopyMemory(out, name, length);
    out[length] = '\0';
    return length;
}

}  // namespace

int CalFormatTitle(WORD year, WORD month, char (&out)[20])
{
    const int n = Formatted(year, month, 1, "MMMM yyyy", out);
    if (n >= 0)
        return n;
    char name[80] = "";
    if (month >= 1 && month <= 12)
        LocaleName(LOCALE_SMONTHNAME1 + month - 1u, name);
    char title[100];
    wsprintfA(title, "%s %04d", name, year);
    const int length = WholeCharacters(title, CAL_TITLE_MAX);
    CopyMemory(out, title, length);
    out[length] = '\0';
    return length;
}

int CalWeekdayInitial(WORD year, WORD month, WORD day, char (&out)[20])
{
    if (Formatted(year, month, day, "dddd", out) < 0) {
        char name[80];
        LocaleName(LOCALE_SDAYNAME1 + static_cast<LCTYPE>(CalDayOfWeek(year, month, day)), name);
        lstrcpynA(out, name, sizeof out);
    }
    const int length = WholeCharacters(out, IsDBCSLeadByte(static_cast<BYTE>(out[0])) ? 2 : 1);
    out[length] = '\0';
    return length;
}

int CalWeekdayNameIn(const SYSTEMTIME& today, int weekday, char (&out)[20])
{
    // The first Sunday and the six days after it lie within the 13th, so
    // the dates are valid in every month.
    const int32_t sunday = CalFirstSunday(today.wDay, today.wDayOfWeek);
    const WORD day = static_cast<WORD>(sunday + weekday);
    // LOCALE_SDAYNAME1 is Monday and LOCALE_SDAYNAME7 Sunday.
    const LCTYPE name = LOCALE_SDAYNAME1 + static_cast<LCTYPE>((weekday + 6) % 7);
    return FormattedOrName(today.wYear, today.wMonth, day, "dddd", name, out);
}

int CalWeekdayName(int weekday, char (&out)[20])
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    return CalWeekdayNameIn(today, weekday, out);
}

int CalMonthName(WORD year, WORD month, char (&out)[20])
{
    // The name depends on the month alone: the 1st exists in every month,
    // and a year the formatter refuses is replaced by one it takes.
    const WORD formattable = year >= 1601 && year <= 9999 ? year : 2000;
    const LCTYPE name = LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month >= 1 && month <= 12 ? month - 1 : 0);
    return FormattedOrName(formattable, month, 1, "MMMM", name, out);
}
