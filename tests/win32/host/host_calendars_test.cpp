// The panel host's calendar files, end to end: PanelHost.exe reads files
// named on its command line and kept in its settings, marks the days of
// their events in every calendar, reads a file again when it changes, and
// names a bad file and what is wrong with it while it keeps running.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_ids.h"
#include "host/settings_format.h"
#include "plugin/caltool.h"
#include "tests/win32/support/host_process.h"
#include "tests/win32/support/test_files.h"

namespace {

constexpr char kHead[] = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Panel Host tests//EN\r\n";
constexpr char kTail[] = "END:VCALENDAR\r\n";

bool WriteText(const std::string& path, const std::string& text)
{
    return WriteBytes(path, std::vector<BYTE>(text.begin(), text.end()));
}

std::string Calendar(const std::string& body)
{
    return kHead + body + kTail;
}

// A day of March 2021 in the platform's local time zone, for a UTC time.
int LocalDay(int day, int hour, int minute)
{
    SYSTEMTIME utc{2021, 3, 0, static_cast<WORD>(day), static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
    SYSTEMTIME local{};
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local.wMonth == 3 ? local.wDay : local.wMonth < 3 ? 0 : 32;
}

// What a UTC interval of March 2021 marks in local time: every day from its
// start's to that of its last minute.
uint32_t Touched(int fromDay, int fromHour, int fromMinute, int toDay, int toHour, int toMinute)
{
    uint32_t days = 0;
    const int first = LocalDay(fromDay, fromHour, fromMinute);
    const int last = toHour == 0 && toMinute == 0 ? LocalDay(toDay - 1, 23, 59)
                                                  : LocalDay(toDay, toHour, toMinute - (toMinute > 0 ? 1 : 0));
    for (int d = std::max(first, 1); d <= std::min(last, 31); ++d)
        days |= 1u << (d - 1);
    return days;
}

uint32_t Dates(std::initializer_list<int> days)
{
    uint32_t bits = 0;
    for (int d : days)
        bits |= 1u << (d - 1);
    return bits;
}

// A read that found nothing wrong: "NAME: N events read."
bool ReadWhole(const std::string& status)
{
    return status.ends_with(" events read.") || status.ends_with(" event read.");
}

// The host answers; a host that hangs fails this within two seconds.
bool Responsive(const HostProcess& host)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(host.panel(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

// A read of file has ended and said so: "NAME: ..." on the status line,
// other than before.
std::string NextRead(const HostProcess& host, const std::string& name, const std::string& before,
    DWORD timeoutMs = 15000)
{
    std::string seen;
    CalWaitFor(
        [&] {
            seen = host.StatusText();
            return seen != before && seen.find(" " + name + ": ") == 0;
        },
        timeoutMs);
    return seen;
}

const std::string kZone =
    "BEGIN:VTIMEZONE\r\nTZID:Test/Central\r\n"
    "BEGIN:STANDARD\r\nDTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
    "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
    "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

std::string Event(const std::string& uid, const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20210101T000000Z\r\nSUMMARY:" + uid + "\r\n" + lines +
        "END:VEVENT\r\n";
}

}  // namespace

TEST(HostCalendars, EachKindOfEventMarksItsDaysAndAChangedFileIsReadAgain)
{
    TempFolder folder;
    const std::string file = folder.Path("cal.ics");
    const std::string empty = Calendar("");
    ASSERT_TRUE(WriteText(file, empty));
    HostProcess host({"--settings", folder.Path("panel.settings"), "--calendar", file, g_pluginDll});
    ASSERT_TRUE(host.WaitForTools(2)) << host.Errors();
    const HWND tool = host.Tools()[0];
    ASSERT_NE(SendMessageA(tool, CTM_SETSELECTION, 0, CalPackDate(2021, 3, 15)), 0);

    const struct {
        const char* what;
        std::string events;
        uint32_t marks;
    } cases[] = {
        {"all day, the end date not included",
            Event("a", "DTSTART;VALUE=DATE:20210305\r\nDTEND;VALUE=DATE:20210307\r\n"), Dates({5, 6})},
        {"timed, across midnight", Event("b", "DTSTART:20210310T220000Z\r\nDTEND:20210311T020000Z\r\n"),
            Touched(10, 22, 0, 11, 2, 0)},
        {"daily at 01:30 of a zone whose summer time begins on the 28th",
            kZone +
                Event("c",
                    "DTSTART;TZID=Test/Central:20210327T013000\r\nDURATION:PT30M\r\n"
                    "RRULE:FREQ=DAILY;COUNT=3\r\n"),
            Touched(27, 0, 30, 27, 1, 0) | Touched(28, 0, 30, 28, 1, 0) | Touched(28, 23, 30, 29, 0, 0)},
        {"weekly, with an exception, an added date and a moved instance",
            Event("d",
                "DTSTART:20210301T120000Z\r\nDTEND:20210301T130000Z\r\nRRULE:FREQ=WEEKLY;COUNT=5\r\n"
                "EXDATE:20210308T120000Z\r\nRDATE:20210312T120000Z\r\n") +
                Event("d",
                    "RECURRENCE-ID:20210315T120000Z\r\nDTSTART:20210317T120000Z\r\nDTEND:20210317T130000Z\r\n"),
            Touched(1, 12, 0, 1, 13, 0) | Touched(12, 12, 0, 12, 13, 0) | Touched(17, 12, 0, 17, 13, 0) |
                Touched(22, 12, 0, 22, 13, 0) | Touched(29, 12, 0, 29, 13, 0)},
        {"cancelled, and a cancelled instance",
            Event("e", "STATUS:CANCELLED\r\nDTSTART;VALUE=DATE:20210320\r\n") +
                Event("f", "DTSTART:20210302T120000Z\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY;COUNT=2\r\n") +
                Event("f", "RECURRENCE-ID:20210309T120000Z\r\nSTATUS:CANCELLED\r\nDTSTART:20210309T120000Z\r\n"
                           "DURATION:PT1H\r\n"),
            Touched(2, 12, 0, 2, 13, 0)},
        {"several days long", Event("g", "DTSTART:20210324T090000Z\r\nDTEND:20210326T170000Z\r\n"),
            Touched(24, 9, 0, 26, 17, 0)},
    };
    std::string status = host.StatusText();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Each case follows an empty file, so that its read is told from the last.
        ASSERT_TRUE(WriteText(file, empty));
        status = host.WaitForStatus("cal.ics: 0 events read.");
        ASSERT_NE(status, "") << host.StatusText();
        ASSERT_TRUE(WriteText(file, Calendar(c.events)));
        const std::string read = NextRead(host, "cal.ics", status);
        EXPECT_TRUE(ReadWhole(read)) << read;
        EXPECT_EQ(host.MarksOf(tool, 2021, 3), int64_t{c.marks}) << read;
        status = read;
    }
    // A day in the middle of the last event: the day's line names it, with
    // no time, since it began the day before.
    ASSERT_NE(SendMessageA(tool, CTM_SETSELECTION, 0, CalPackDate(2021, 3, 25)), 0);
    EXPECT_EQ(host.StatusText(), " Thursday, March 25, 2021: g");
    ASSERT_NE(SendMessageA(tool, CTM_SETSELECTION, 0, CalPackDate(2021, 3, 27)), 0);
    EXPECT_EQ(host.StatusText(), " Saturday, March 27, 2021: no events");
    EXPECT_TRUE(Responsive(host));
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
}

TEST(HostCalendars, ABadFileIsNamedWithWhatIsWrongAndLosesNothing)
{
    TempFolder folder;
    const std::string settings = folder.Path("panel.settings");
    const std::string file = folder.Path("bad.ics");
    HostProcess host({"--settings", settings, "--calendar", file, g_pluginDll});
    ASSERT_TRUE(host.WaitForTools(2)) << host.Errors();
    const HWND tool = host.Tools()[0];
    // Said at start, and not hidden by the calendar that takes the focus.
    EXPECT_NE(host.WaitForStatus("bad.ics: not found. Nothing of it is marked."), "") << host.StatusText();
    ASSERT_NE(SendMessageA(tool, CTM_SETSELECTION, 0, CalPackDate(2021, 3, 15)), 0);
    std::string status = host.StatusText();
    EXPECT_NE(status.find("2021: no events"), std::string::npos) << status;

    const std::string good = Calendar(Event("one", "DTSTART;VALUE=DATE:20210303\r\n") +
        Event("two", "DTSTART;VALUE=DATE:20210304\r\n"));
    const uint32_t goodMarks = Dates({3, 4});
    std::string endless = Calendar(Event("daily", "DTSTART;VALUE=DATE:20000101\r\nRRULE:FREQ=DAILY\r\n"));
    const struct {
        const char* what;
        std::string text;
        uint32_t marks;
        bool problem;
    } cases[] = {
        {"a good file", good, goodMarks, false},
        {"text that is not a calendar", "Dear all,\r\nthe meeting moves to Friday.\r\n", 0, true},
        {"a calendar cut off in an event", good.substr(0, good.find("UID:two") + 5), Dates({3}), true},
        {"a line that cannot be read",
            Calendar(Event("x", "this is no property\r\nDTSTART;VALUE=DATE:20210305\r\n")), Dates({5}), true},
        {"a summary that is not UTF-8", Calendar(Event("z\xFF\xFE", "DTSTART;VALUE=DATE:20210306\r\n")),
            Dates({6}), true},
        {"a rule without end", endless, 0x7FFFFFFFu, false},
        {"a rule that never matches",
            Calendar(Event("never", "DTSTART;VALUE=DATE:20210101\r\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30\r\n") +
                Event("once", "DTSTART;VALUE=DATE:20210307\r\n")),
            Dates({7}), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteText(file, c.text));
        const std::string read = NextRead(host, "bad.ics", status);
        ASSERT_NE(read, "") << host.StatusText();
        EXPECT_EQ(!ReadWhole(read), c.problem) << read;
        EXPECT_TRUE(Responsive(host));
        EXPECT_EQ(host.MarksOf(tool, 2021, 3), int64_t{c.marks}) << read;
        status = read;
    }

    // A file locked by another program: said, and read once it is let go.
    ASSERT_TRUE(WriteText(file, good));
    status = NextRead(host, "bad.ics", status);
    HANDLE locked = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    SetFilePointer(locked, 0, nullptr, FILE_END);
    WriteFile(locked, "\r\n", 2, &put, nullptr);  // a change the host sees, and cannot read
    status = NextRead(host, "bad.ics", status);
    EXPECT_NE(status.find("locked"), std::string::npos) << status;
    EXPECT_EQ(host.MarksOf(tool, 2021, 3), int64_t{goodMarks});
    CloseHandle(locked);
    status = NextRead(host, "bad.ics", status);
    EXPECT_NE(status.find("2 events read."), std::string::npos) << status;

    // A file that goes away keeps its marks until it comes back.
    ASSERT_TRUE(DeleteFileA(file.c_str()));
    status = NextRead(host, "bad.ics", status);
    EXPECT_NE(status.find("not found"), std::string::npos) << status;
    EXPECT_EQ(host.MarksOf(tool, 2021, 3), int64_t{goodMarks});

    // 100,000 events: read on the side, the panel answering all along.
    std::string many = kHead;
    for (int i = 0; i < 100000; ++i) {
        char event[160];
        std::snprintf(event, sizeof event,
            "BEGIN:VEVENT\r\nUID:e%d\r\nDTSTAMP:20210101T000000Z\r\nSUMMARY:e%d\r\n"
            "DTSTART;VALUE=DATE:%04d%02d%02d\r\nEND:VEVENT\r\n",
            i, i, 2000 + i % 40, 1 + i / 40 % 12, 1 + i / 480 % 28);
        many += event;
    }
    many += kTail;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(WriteText(file, many));
    int answers = 0;
    bool answered = true;
    CalWaitFor(
        [&] {
            answered = answered && Responsive(host);
            ++answers;
            status = host.StatusText();
            return status.find("bad.ics: 100000 events read.") != std::string::npos;
        },
        120000);
    EXPECT_NE(status.find("100000 events read."), std::string::npos) << status;
    EXPECT_TRUE(answered);
    std::printf("100,000 events (%zu bytes) read in %lu ms; the panel answered %d times meanwhile\n",
        many.size(), GetTickCount() - start, answers);

    // Nothing of the files reaches the settings: they were named on the command line.
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(30000), 0u);
    const std::vector<BYTE> bytes = ReadBytes(settings);
    const HostDecodeResult saved = HostDecodeSettings(bytes.data(), bytes.size());
    ASSERT_EQ(saved.status, HostFileStatus::ok);
    EXPECT_EQ(saved.panel.tools.size(), 2u);
    EXPECT_TRUE(saved.panel.calendars.empty());
}

TEST(HostCalendars, TheSheetKeepsTheListOfFiles)
{
    TempFolder folder;
    const std::string settings = folder.Path("panel.settings");
    const std::string file = folder.Path("kept.ics");
    SYSTEMTIME today{};
    GetLocalTime(&today);
    char date[16];
    std::snprintf(date, sizeof date, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    ASSERT_TRUE(WriteText(file, Calendar(Event("today", std::string("DTSTART;VALUE=DATE:") + date + "\r\n"))));
    {
        HostSavedPanel panel;  // a panel of one tool that keeps the file
        panel.window = {40, 40, 640, 480};
        panel.tools.push_back(HostSavedTool{});
        const HostBlock block = DefaultBlock();
        std::copy(block.begin(), block.end(), panel.tools[0].block.begin());
        panel.tools[0].rect = {10, 40, 210, 190};
        panel.calendars = {file};
        const std::vector<uint8_t> bytes = HostEncodeSettings(panel);
        ASSERT_TRUE(WriteBytes(settings, std::vector<BYTE>(bytes.begin(), bytes.end())));
    }
    HostProcess host({"--settings", settings, g_pluginDll});
    ASSERT_TRUE(host.WaitForTools(1)) << host.Errors();
    const HWND tool = host.Tools()[0];
    CalWaitFor([&] { return host.MarksOf(tool, today.wYear, today.wMonth) > 0; });
    EXPECT_EQ(host.MarksOf(tool, today.wYear, today.wMonth), int64_t{1} << (today.wDay - 1));

    // The list on the second tab; Remove, then Cancel: nothing changes.
    auto open = [&](HWND* list, HWND* sheet) {
        SendMessageA(host.panel(), WM_COMMAND, IDM_HOST_PROPERTIES, 0);
        *sheet = host.Sheet();
        ASSERT_NE(*sheet, nullptr);
        HWND toolPage = FindWindowExA(*sheet, nullptr, "#32770", nullptr);
        HWND filesPage = FindWindowExA(*sheet, toolPage, "#32770", nullptr);
        ASSERT_NE(filesPage, nullptr);
        EXPECT_FALSE(IsWindowVisible(filesPage));
        PostMessageA(GetDlgItem(*sheet, IDC_SHEET_TABS), WM_KEYDOWN, VK_RIGHT, 0);
        EXPECT_TRUE(CalWaitFor([&] { return IsWindowVisible(filesPage) && !IsWindowVisible(toolPage); }));
        *list = GetDlgItem(filesPage, IDC_CALENDARS_LIST);
        ASSERT_EQ(SendMessageA(*list, LB_GETCOUNT, 0, 0), 1);
        EXPECT_EQ(SendMessageA(*list, LB_GETTEXTLEN, 0, 0), static_cast<LRESULT>(file.size()));
        SendMessageA(GetDlgItem(filesPage, IDC_CALENDARS_REMOVE), BM_CLICK, 0, 0);
        EXPECT_EQ(SendMessageA(*list, LB_GETCOUNT, 0, 0), 0);
    };
    HWND list = nullptr;
    HWND sheet = nullptr;
    open(&list, &sheet);
    SendMessageA(GetDlgItem(sheet, IDCANCEL), BM_CLICK, 0, 0);
    std::vector<BYTE> bytes = ReadBytes(settings);
    EXPECT_EQ(HostDecodeSettings(bytes.data(), bytes.size()).panel.calendars, std::vector<std::string>{file});

    // Remove and OK: the file is dropped from the settings and its marks from the tool.
    open(&list, &sheet);
    SendMessageA(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    bytes = ReadBytes(settings);
    const HostDecodeResult saved = HostDecodeSettings(bytes.data(), bytes.size());
    EXPECT_EQ(saved.status, HostFileStatus::ok);
    EXPECT_TRUE(saved.panel.calendars.empty());
    EXPECT_EQ(bytes[8], 1);  // a panel without files is written as the first version was
    EXPECT_LE(host.MarksOf(tool, today.wYear, today.wMonth), 0);
    PostMessageA(host.panel(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host.Wait(), 0u);
}
