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
