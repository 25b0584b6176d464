// The iCalendar files whose events mark the calendars' days: the files the
// user keeps in the settings and those named on the command line. Each is
// read on a thread of the host's own, so that a large or slow file never
// stops the panel, and read again within two seconds of a change on disk.
// What a file held stays until the file can be read again: a file that goes
// missing or is locked loses nothing that was shown.
#ifndef PANELHOST_CALENDAR_FILES_H
#define PANELHOST_CALENDAR_FILES_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/event_calendar.h"

// Posted to the window given to HostCalendarFiles when reading has news.
constexpr UINT HOSTN_CALENDARSREAD = WM_APP + 4;

// What a read found, for the status line.
struct HostCalendarNews {
    std::wstring path;
    size_t events = 0;    // events the file holds, as last read
    std::string problem;  // empty when the file was read whole
};

struct HostCalendarUpdate {
    std::vector<HostCalendarNews> news;  // reads whose outcome differs from the last one's
    bool refresh = false;                // the marks changed, or a question went unanswered: ask the tools again
};

class HostCalendarFiles {
public:
    explicit HostCalendarFiles(HWND notify);
    ~HostCalendarFiles();  // waits for a read under way to end
    HostCalendarFiles(const HostCalendarFiles&) = delete;
    HostCalendarFiles& operator=(const HostCalendarFiles&) = delete;

    // The files to read; a file already read and unchanged is not read again.
    void SetFiles(const std::vector<std::wstring>& kept, const std::vector<std::wstring>& named);
    const std::vector<std::wstring>& Kept() const;
    bool Empty() const;
    // A file is being read, or waits to be.
    bool Reading() const;

    // Looks at every file's time and size: a new, changed or locked file is read.
    void Poll();
    // Takes the reads that have ended into the calendars.
    HostCalendarUpdate TakeFinished();

    // A month's marks and a day's events over every file. False while a read
    // holds the reader: the caller answers later, when TakeFinished says refresh.
    bool MonthMarks(int32_t year, int32_t month, uint32_t* days);
    bool DayEvents(int32_t year, int32_t month, int32_t day, std::vector<HostDayEvent>* events);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Whether two paths name the same file as the file system compares names:
// without regard to case.
bool HostSamePath(const std::wstring& a, const std::wstring& b);

// UTF-16 from the platform's ANSI code page, and from and to UTF-8.
std::wstring HostWideFromAnsi(const std::string& text);
std::wstring HostWideFromUtf8(const std::string& text);
std::string HostUtf8FromWide(const std::wstring& text);

#endif
