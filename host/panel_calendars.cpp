#include "host/panel_calendars.h"

#include <algorithm>
#include <cstring>

#include "host/calendar_files.h"
#include "host/day_summary.h"
#include "host/host_ids.h"
#include "host/report.h"

namespace {

constexpr UINT kWatchMs = 1000;  // a file changed on disk is read again within two looks
constexpr size_t kTipLines = 8;

bool HasCalendars(const HostPanel* panel)
{
    return panel->calendars != nullptr && !panel->calendars->Empty();
}

bool ValidDate(int32_t year, int32_t month, int32_t day)
{
    static const int32_t kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < kHostFirstYear || year > kHostLastYear || month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day <= 28 || leap;
}

std::u16string U16(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}

std::wstring Wide(const std::u16string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::u16string LongDate(DWORD date)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(CalDateYear(date));
    st.wMonth = static_cast<WORD>(CalDateMonth(date));
    st.wDay = static_cast<WORD>(CalDateDay(date));
    wchar_t text[128] = L"";
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, text, 128) == 0)
        return u"";
    return U16(text);
}

std::u16string LocalTime(int32_t minute)
{
    SYSTEMTIME st{};
    st.wHour = static_cast<WORD>(minute / 60 % 24);
    st.wMinute = static_cast<WORD>(minute % 60);
    wchar_t text[64] = L"";
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, text, 64) == 0)
        return u"";
    return U16(text);
}

// Times in the locale's way; widths as the status line's font draws them.
HostSummaryFormat StatusFormat(HDC dc)
{
    HostSummaryFormat f;
    f.time = LocalTime;
    f.width = [dc](const std::u16string& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
            &size);
        return static_cast<int32_t>(size.cx);
    };
    return f;
}

void ShowDayLine(HostPanel* panel, DWORD date)
{
    const int32_t year = CalDateYear(date);
    const int32_t month = CalDateMonth(date);
    const int32_t day = CalDateDay(date);
    if (!ValidDate(year, month, day))
        return;
    panel->dayShown = date;
    if (panel->failureStands)
        return;  // a failure to save stays in sight until a save mends it
    std::vector<HostDayEvent> events;
    if (!panel->calendars->DayEvents(year, month, day, &events)) {
        HostSetStatusW(panel, Wide(LongDate(date)) + L": reading the calendars\u2026");
        return;
    }
    RECT r{};
    GetClientRect(panel->status, &r);
    HDC dc = GetDC(panel->status);
    HGDIOBJ old = SelectObject(dc, panel->textFont != nullptr ? panel->textFont : GetStockObject(DEFAULT_GUI_FONT));
    const HostSummaryFormat format = StatusFormat(dc);
    // The line begins with a space, as every status text does.
    const int32_t room = std::max<int32_t>(r.right - format.width(u"  "), 0);
    const std::u16string line = HostDayLine(LongDate(date), events, format, room);
    SelectObject(dc, old);
    ReleaseDC(panel->status, dc);
    HostSetStatusW(panel, Wide(line));
}

std::wstring FileName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Count(size_t events)
{
    return std::to_wstring(events) + (events == 1 ? L" event" : L" events");
}

// One line for what the reads found: the first file with a problem, named
// with it, or else what was read.
void ShowNews(HostPanel* panel, const std::vector<HostCalendarNews>& news)
{
    size_t problems = 0;
    const HostCalendarNews* first = nullptr;
    size_t events = 0;
    for (const HostCalendarNews& n : news) {
        events += n.events;
        if (n.problem.empty())
            continue;
        HostWriteError("PanelHost: " + HostUtf8FromWide(n.path) + ": " + n.problem);
        if (problems++ == 0)
            first = &n;
    }
    if (panel->failureStands)
        return;
    std::wstring text;
    if (first != nullptr) {
        std::wstring problem = HostWideFromUtf8(first->problem);
        while (!problem.empty() && problem.back() == L'.')
            problem.pop_back();
        text = FileName(first->path) + L": " + problem + L". " +
            (first->events == 0        ? std::wstring(L"Nothing of it is marked.")
                    : first->events == 1 ? std::wstring(L"1 event of it is marked.")
                                         : std::to_wstring(first->events) + L" events of it are marked.");
        if (problems > 1)
            text += L" " + std::to_wstring(problems - 1) + L" more files have problems too.";
    } else if (news.size() == 1) {
        text = FileName(news.front().path) + L": " + Count(events) + L" read.";
    } else {
        text = std::to_wstring(news.size()) + L" calendar files: " + Count(events) + L" read.";
    }
    HostSetStatusW(panel, text);
    panel->dayShown = 0;
    // A bad file stays in sight until the user moves to a day: a calendar
    // taking the focus (as one does when the panel starts) does not hide it.
    panel->newsStands = first != nullptr;
}

HostTool* ToolOf(HostPanel* panel, HWND window)
{
    for (HostTool& tool : panel->tools)
        if (tool.window == window)
            return &tool;
    return nullptr;
}

}  // namespace

void HostStartCalendars(HostPanel* panel, const std::vector<std::wstring>& kept,
    const std::vector<std::wstring>& named)
{
    panel->namedCalendars = named;
    if (panel->calendars == nullptr)
        panel->calendars = std::make_unique<HostCalendarFiles>(panel->window);
    panel->calendars->SetFiles(kept, named);
    SetTimer(panel->window, IDT_HOST_WATCH, kWatchMs, nullptr);
}

void HostKeepCalendars(HostPanel* panel, const std::vector<std::wstring>& kept)
{
    HostStartCalendars(panel, kept, panel->namedCalendars);
    // The tools forget what the dropped files marked at once; the new files mark as they are read.
    for (const HostTool& tool : panel->tools)
        SendMessageW(tool.window, CTM_SETDAYMARKS, 0, 0);
}

std::vector<std::wstring> HostKeptCalendars(const HostPanel* panel)
{
    return panel->calendars != nullptr ? panel->calendars->Kept() : std::vector<std::wstring>{};
}

LRESULT HostAnswerDayMarks(HostPanel* panel, CalDayMarks* marks)
{
    if (marks == nullptr || !HasCalendars(panel) || !ValidDate(marks->year, marks->month, 1))
        return 0;
    uint32_t days = 0;
    if (!panel->calendars->MonthMarks(marks->year, marks->month, &days))
        return 0;  // asked again once the read under way has ended
    marks->days = days;
    return 1;
}

LRESULT HostAnswerDayText(HostPanel* panel, CalDayText* text)
{
    if (text == nullptr || text->text == nullptr || text->capacity <= 0 || !HasCalendars(panel))
        return 0;
    const int32_t year = CalDateYear(text->date);
    const int32_t month = CalDateMonth(text->date);
    const int32_t day = CalDateDay(text->date);
    std::vector<HostDayEvent> events;
    if (!ValidDate(year, month, day) || !panel->calendars->DayEvents(year, month, day, &events))
        return 0;
    HostSummaryFormat format;
    format.time = LocalTime;
    const std::u16string tip = HostDayTip(events, format, kTipLines, static_cast<size_t>(text->capacity));
    if (tip.empty())
        return 0;
    std::memcpy(text->text, tip.data(), tip.size() * sizeof(WCHAR));
    text->text[tip.size()] = L'\0';
    return 1;
}

void HostShowDay(HostPanel* panel, HWND tool, DWORD date)
{
    if (!HasCalendars(panel) || ToolOf(panel, tool) == nullptr)
        return;
    panel->dayTool = tool;
    panel->newsStands = false;
    ShowDayLine(panel, date);
}

bool HostShowSelectedDay(HostPanel* panel, HWND tool)
{
    if (!HasCalendars(panel) || ToolOf(panel, tool) == nullptr)
        return false;
    if (panel->newsStands)
        return true;
    const DWORD date = static_cast<DWORD>(SendMessageW(tool, CTM_GETSELECTION, 0, 0));
    if (!ValidDate(CalDateYear(date), CalDateMonth(date), CalDateDay(date)))
        return false;  // a tool that knows no selection
    HostShowDay(panel, tool, date);
    return true;
}

void HostTakeCalendarReads(HostPanel* panel)
{
    if (panel->calendars == nullptr)
        return;
    const HostCalendarUpdate update = panel->calendars->TakeFinished();
    if (update.refresh) {
        // A count of 0: every tool forgets its marks and asks for what it shows.
        for (const HostTool& tool : panel->tools)
            SendMessageW(tool.window, CTM_SETDAYMARKS, 0, 0);
    }
    if (!update.news.empty())
        ShowNews(panel, update.news);
    else if (update.refresh && panel->dayShown != 0 && ToolOf(panel, panel->dayTool) != nullptr)
        ShowDayLine(panel, panel->dayShown);
}

void HostWatchCalendars(HostPanel* panel)
{
    if (panel->calendars != nullptr)
        panel->calendars->Poll();
}
